// Recent files: a list of at most eight absolute paths in QSettings, newest first, shown as a
// menu in which files that are gone are greyed out.
#include "ui/RecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace skyvane {
namespace {

const QString kSettingsKey = QStringLiteral("RecentFiles");
// Long paths are shortened in the middle, where the folders of little interest are.
constexpr int kEntryWidth = 480;

void store(const QStringList& files) {
    QSettings settings;
    settings.setValue(kSettingsKey, files);
}

} // namespace

RecentFiles::RecentFiles(QMenu* menu, Opener open) : QObject(menu), menu_(menu), open_(open) {
    menu_->setToolTipsVisible(true);
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::fillMenu);
    // Filled once now as well, so that the menu is never met empty.
    fillMenu();
}

QStringList RecentFiles::files() const {
    return QSettings().value(kSettingsKey).toStringList().mid(0, kMaxFiles);
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = files();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxFiles));
}

void RecentFiles::clear() {
    store({});
}

void RecentFiles::fillMenu() {
    menu_->clear();
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QString& path = list[i];
        QString shown = menu_->fontMetrics().elidedText(path, Qt::ElideMiddle, kEntryWidth);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        entry->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
        entry->setToolTip(path);
        entry->setEnabled(QFileInfo(path).isFile());
        connect(entry, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_->addSeparator();
    QAction* clearAll = menu_->addAction(QStringLiteral("&Clear Recent Files"));
    clearAll->setObjectName(QStringLiteral("ClearRecent1"));
    clearAll->setEnabled(!list.isEmpty());
    connect(clearAll, &QAction::triggered, this, &RecentFiles::clear);
}

} // namespace skyvane
