// The standard file dialogs: where they open, and that listing a folder opens none of its
// files, so a FIFO or a /proc file that would block a read cannot stall them.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "widgets/Prompts.h"

using namespace skyvane;

namespace {

FileDialogSettings openKeySettings(const QString& lastChosen) {
    return {QStringLiteral("OpenKEY"),
            QStringLiteral("Open KEY"),
            QStringLiteral("Jedi Knight keyframe files|*.KEY"),
            QStringLiteral("KEY"),
            false,
            lastChosen};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The names of the folder's entries that something opened or read since the watch began.
QStringList openedNames(int watch) {
    QStringList names;
    alignas(inotify_event) char buffer[4096];
    ssize_t length = 0;
    while ((length = ::read(watch, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if (event->len > 0 && !(event->mask & IN_ISDIR))
                names.append(QString::fromLocal8Bit(event->name));
            at += sizeof(inotify_event) + event->len;
        }
    }
    names.removeDuplicates();
    return names;
}

} // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private slots:
    // The FIFO is held open for writing and filled, so a reader that slipped in would neither
    // block on opening it nor on reading it: it would show up in the watch and drain the pipe.
    void listingFolder_opensNoFileInIt() {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_RDWR | O_NONBLOCK);
        QVERIFY(writer >= 0);
        const QByteArray fill(64 * 1024, 'x');
        ssize_t queued = 0;
        for (ssize_t n = 0; (n = ::write(writer, fill.constData(), 4096)) > 0;)
            queued += n;
        QVERIFY(QFile::link(pipe, dir.filePath(QStringLiteral("pipe.KEY"))));
        writeFile(dir.filePath(QStringLiteral("notes")), "no extension tells what this is");
        writeFile(dir.filePath(QStringLiteral("track.KEY")), "KEYFRAME\r\n");

        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(dir.path()).constData(),
                                    IN_OPEN | IN_ACCESS) >= 0);

        const std::unique_ptr<QFileDialog> dialog =
            makeFileDialog(nullptr, openKeySettings(dir.filePath(QStringLiteral("track.KEY"))));
        auto* model = dialog->findChild<QFileSystemModel*>();
        QVERIFY(model);
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog->show();
        QTRY_VERIFY(!loaded.isEmpty());
        // Every entry's icon and type, as the views ask for them.
        const QModelIndex folder = model->index(dir.path());
        for (int row = 0; row < model->rowCount(folder); ++row) {
            model->data(model->index(row, 0, folder), Qt::DecorationRole);
            model->data(model->index(row, 2, folder), Qt::DisplayRole);
        }
        QCoreApplication::processEvents();
        dialog->hide();

        QCOMPARE(openedNames(watch), QStringList());
        int left = 0;
        QCOMPARE(::ioctl(writer, FIONREAD, &left), 0);
        QCOMPARE(left, int(queued));
        ::close(watch);
        ::close(writer);
    }

    // Qt opens a new dialog where any dialog was last shown; a folder where a command failed
    // must not come back that way.
    void dialog_opensInFolderOfOfferedName_data() {
        QTest::addColumn<bool>("offersName");
        QTest::newRow("no name: the working folder") << false;
        QTest::newRow("the offered name's folder") << true;
    }
    void dialog_opensInFolderOfOfferedName() {
        QFETCH(bool, offersName);
        QTemporaryDir stray;
        QTemporaryDir kept;
        {
            QFileDialog elsewhere;
            elsewhere.setOption(QFileDialog::DontUseNativeDialog);
            elsewhere.setDirectory(stray.path());
        }
        const QString name = kept.filePath(QStringLiteral("kept.KEY"));
        const std::unique_ptr<QFileDialog> dialog =
            makeFileDialog(nullptr, openKeySettings(offersName ? name : QString()));
        QCOMPARE(dialog->directory().absolutePath(),
                 offersName ? QDir(kept.path()).absolutePath() : QDir::currentPath());
    }

    // A long list (a huge archive's levels) is shown another way; the choice comes back alike.
    void chooser_givesThePickedItem_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("a few levels") << 3;
        QTest::newRow("thousands of levels") << 5000;
    }
    void chooser_givesThePickedItem() {
        QFETCH(int, count);
        QStringList levels;
        for (int i = 0; i < count; ++i)
            levels << QStringLiteral("level%1.jkl").arg(i);
        QTimer::singleShot(0, [] {
            auto* box = QApplication::activeModalWidget()->findChild<QComboBox*>();
            box->setCurrentIndex(2);
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
        });
        QCOMPARE(prompts().chooseItem(nullptr, QStringLiteral("Load Level"), QString(), levels),
                 QStringLiteral("level2.jkl"));
        QVERIFY(!QApplication::overrideCursor());
    }
};

#include "filedialog_test.moc"

std::unique_ptr<QObject> makeFileDialogTest() {
    return std::make_unique<FileDialogTest>();
}
