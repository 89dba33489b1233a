// Standard prompts: QMessageBox with the program's captions and button texts, and QFileDialog
// with the program's filters.
#include "widgets/Prompts.h"

#include "widgets/BusyCursor.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

namespace skyvane {
namespace {

// Beyond this many choices the chooser shows a busy cursor while it is filled, and a width of
// this many characters.
constexpr int kManyChoices = 1000;
constexpr int kManyChoicesWidth = 40;

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirm:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// "Jedi Knight keyframe files|*.KEY" as a Qt filter. File names on Linux are case-sensitive,
// so the lower-case pattern is offered beside the upper-case one.
QString qtFilter(const QString& filter) {
    const QString description = filter.section('|', 0, 0);
    const QString pattern = filter.section('|', 1, 1);
    QString patterns = pattern;
    if (pattern.toLower() != pattern)
        patterns += ' ' + pattern.toLower();
    return QStringLiteral("%1 (%2)").arg(description, patterns);
}

// Qt's own provider asks the MIME database for every file a dialog lists, and the database
// opens and reads any file whose name does not settle its type. In /proc that read can block
// for good (kmsg), on the user-interface thread. Icons and type names here come from the kind
// of entry and its name alone; no file is ever opened.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot())
            return QAbstractFileIconProvider::icon(Drive);
        return QAbstractFileIconProvider::icon(info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QAbstractFileIconProvider::type(info); // folder, drive, link, other: by kind
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("File")
                                : QStringLiteral("%1 File").arg(suffix.toUpper());
    }
};

// The folder a dialog opens in: the one of the name it offers, else the working folder. Qt
// would open every new dialog where any dialog was last shown, even where a command failed.
QString startFolder(const FileDialogSettings& settings) {
    if (settings.lastChosen.isEmpty())
        return QDir::currentPath();
    return QFileInfo(settings.lastChosen).absolutePath();
}

// A box taller than the screen cannot be read or closed: a long text shows its first lines,
// and all of it scrolls under "Show Details...".
constexpr int kMostLinesShown = 25;

void setLongText(QMessageBox& box, const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() <= kMostLinesShown)
        return;
    box.setText(lines.mid(0, kMostLinesShown).join(QLatin1Char('\n')) +
                QStringLiteral("\n... and %1 more lines under Show Details.")
                    .arg(lines.size() - kMostLinesShown));
    box.setDetailedText(text);
}

class StandardPrompts : public Prompts {
public:
    MessageAnswer message(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons) override {
        QMessageBox box(iconOf(kind), messageCaption(kind), text, QMessageBox::NoButton, parent);
        setLongText(box, text);
        QAbstractButton* ok = nullptr;
        QAbstractButton* yes = nullptr;
        QAbstractButton* no = nullptr;
        if (buttons == MessageButtons::YesNoCancel) {
            yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
            no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        } else {
            ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        }
        QAbstractButton* mend = nullptr;
        if (buttons == MessageButtons::OkMend)
            mend = box.addButton(QStringLiteral("Mend"), QMessageBox::ActionRole);
        QAbstractButton* cancel = nullptr;
        if (buttons == MessageButtons::OkCancel || buttons == MessageButtons::YesNoCancel)
            cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel ? cancel : ok);
        box.exec();
        const QAbstractButton* pressed = box.clickedButton();
        if (pressed == ok)
            return MessageAnswer::Ok;
        if (pressed == yes)
            return MessageAnswer::Yes;
        if (pressed == no)
            return MessageAnswer::No;
        if (pressed == mend)
            return MessageAnswer::Mend;
        return MessageAnswer::Cancel;
    }

    void errorReport(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text,
                        QMessageBox::NoButton, parent);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
    }

    QString chooseFile(QWidget* parent, const FileDialogSettings& settings) override {
        const std::unique_ptr<QFileDialog> dialog = makeFileDialog(parent, settings);
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return QString();
        return dialog->selectedFiles().constFirst();
    }

    QString chooseItem(QWidget* parent, const QString& title, const QString& label,
                       const QStringList& items) override {
        QInputDialog dialog(parent);
        dialog.setWindowTitle(title);
        dialog.setLabelText(label);
        dialog.setComboBoxEditable(false);
        if (items.size() > kManyChoices) {
            const BusyCursor busy;
            dialog.setComboBoxItems(items);
            sizeWithoutMeasuringEachItem(dialog);
        } else {
            dialog.setComboBoxItems(items);
        }
        return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
    }

private:
    // A list box sized to fit its longest item measures every item before it appears: for a
    // million entries of a huge archive that took seconds. A fixed width does instead.
    static void sizeWithoutMeasuringEachItem(QInputDialog& dialog) {
        auto* box = dialog.findChild<QComboBox*>();
        if (!box)
            return;
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kManyChoicesWidth);
        if (auto* list = qobject_cast<QListView*>(box->view()))
            list->setUniformItemSizes(true);
    }
};

StandardPrompts standardPrompts;
Prompts* current = &standardPrompts;

} // namespace

QString messageCaption(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Warning");
    case MessageKind::Error:
        return QStringLiteral("Error");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirm:
        return QStringLiteral("Confirm");
    }
    return QString();
}

Prompts& prompts() {
    return *current;
}

void setPrompts(Prompts* replacement) {
    current = replacement ? replacement : &standardPrompts;
}

std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, const FileDialogSettings& settings) {
    static NameOnlyIconProvider iconProvider;
    auto dialog = std::make_unique<QFileDialog>(parent, settings.title);
    dialog->setObjectName(settings.objectName);
    // The platform's own dialog would pick its icons and types beyond our reach.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(&iconProvider);
    dialog->setNameFilter(qtFilter(settings.filter));
    dialog->setDefaultSuffix(settings.defaultExtension);
    if (settings.save) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    dialog->setDirectory(startFolder(settings));
    if (!settings.lastChosen.isEmpty())
        dialog->selectFile(settings.lastChosen);
    return dialog;
}

MessageAnswer showMessage(QWidget* parent, MessageKind kind, const QString& text,
                          MessageButtons buttons) {
    return prompts().message(parent, kind, text, buttons);
}

QString FileDialog::execute(QWidget* parent) {
    return prompts().chooseFile(parent, settings_);
}

} // namespace skyvane
