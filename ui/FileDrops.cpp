// Dropping files: any drag that carries local files is taken, so that the drop always gets an
// answer; the answer waits until the drop is over, since a message box or a save question must
// not hold up the program the files came from.
#include "ui/FileDrops.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "widgets/Prompts.h"

namespace skyvane {
namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    return files;
}

QString refusal(const QStringList& files) {
    if (files.size() > 1)
        return QStringLiteral("Cannot open %1 files at once: drop one file.").arg(files.size());
    return QStringLiteral("Cannot open \"%1\": it is neither a KEY file nor a 3DO model. Drop "
                          "a Jedi Knight keyframe file (*.KEY) to open it, or a 3DO model "
                          "(*.3DO) for its mesh names.")
        .arg(QFileInfo(files.constFirst()).fileName());
}

} // namespace

bool isKeyFileName(const QString& path) {
    return path.endsWith(QStringLiteral(".key"), Qt::CaseInsensitive);
}

bool is3doFileName(const QString& path) {
    return path.endsWith(QStringLiteral(".3do"), Qt::CaseInsensitive);
}

FileDrops::FileDrops(QWidget* window, Opener open)
    : QObject(window), window_(window), open_(std::move(open)) {
    window_->setAcceptDrops(true);
    window_->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop:
        drop(*static_cast<QDropEvent*>(event));
        return true;
    default:
        return false;
    }
}

void FileDrops::drop(QDropEvent& event) {
    const QStringList files = localFiles(event.mimeData());
    if (files.size() == 1 &&
        (isKeyFileName(files.constFirst()) || is3doFileName(files.constFirst()))) {
        event.acceptProposedAction();
        const QString path = files.constFirst();
        later([this, path] { open_(path); });
        return;
    }
    event.ignore();
    if (files.isEmpty())
        return;
    const QString text = refusal(files);
    later([this, text] { showMessage(window_, MessageKind::Error, text); });
}

void FileDrops::later(std::function<void()> action) {
    QTimer::singleShot(0, this, std::move(action));
}

} // namespace skyvane
