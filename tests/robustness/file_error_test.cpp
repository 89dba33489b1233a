// Save KEY and Open KEY through the main window when the file system says no: a clear error,
// the old file intact byte for byte, and the document and the caption as they were.
#include <QDataStream>
#include <QDir>
#include <QPushButton>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "RobustFixture.h"
#include "core/fileio.h"

namespace skyvane::test {
namespace {

constexpr uid_t kNobody = 65534;

// What a command left behind, gathered where it ran.
struct Outcome {
    QStringList messages;
    QStringList errors;
    QString difference; // of the document, in words; empty when unchanged
};

QByteArray serialise(const Outcome& outcome) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << outcome.messages << outcome.errors << outcome.difference;
    return bytes;
}

Outcome deserialise(const QByteArray& bytes) {
    Outcome outcome;
    QDataStream in(bytes);
    in >> outcome.messages >> outcome.errors >> outcome.difference;
    return outcome;
}

// Runs the command and tells what it showed and what it changed.
Outcome run(RobustFixture& f, const std::function<void()>& command) {
    const DocumentView before = f.view();
    command();
    return {f.prompts->messageTexts(), f.prompts->errors, f.view().differenceFrom(before)};
}

// Root ignores permission bits, so when the tests run as root the command runs in a child
// process that has become "nobody", and reports back through a pipe.
Outcome runAsNobody(RobustFixture& f, const std::function<void()>& command) {
    if (::geteuid() != 0)
        return run(f, command);
    int channel[2];
    if (::pipe(channel) != 0)
        qFatal("pipe: %s", std::strerror(errno));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(3);
        const QByteArray bytes = serialise(run(f, command));
        const bool sent = ::write(channel[1], bytes.constData(), std::size_t(bytes.size())) ==
                          ssize_t(bytes.size());
        ::_exit(sent ? 0 : 4); // no clean-up: the parent owns the windows and the files
    }
    ::close(channel[1]);
    QByteArray bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        qWarning("child ended with status %d", status);
    return deserialise(bytes);
}

// Replaces the write call for one save and puts the real one back afterwards.
class WriteHook {
public:
    explicit WriteHook(WriteFunction hook) : previous_(setWriteFunction(hook)) {}
    ~WriteHook() { setWriteFunction(previous_); }
    WriteHook(const WriteHook&) = delete;
    WriteHook& operator=(const WriteHook&) = delete;

private:
    WriteFunction previous_;
};

int writeCalls = 0;

// A few bytes arrive, then the disk is full.
long fullDiskAfterFirstWrite(int fd, const void* data, std::size_t size) {
    if (writeCalls++ == 0)
        return long(::write(fd, data, std::min<std::size_t>(size, 5)));
    errno = ENOSPC;
    return -1;
}

// The device fails at once.
long failingDevice(int, const void*, std::size_t) {
    errno = EIO;
    return -1;
}

void makeFile(const QString& file, const QByteArray& bytes, QFile::Permissions permissions) {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    QCOMPARE(out.write(bytes), bytes.size());
    out.close();
    QVERIFY(out.setPermissions(permissions));
}

const QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
const QFile::Permissions kOpen = kReadOnly | QFile::WriteOwner | QFile::WriteGroup |
                                 QFile::WriteOther | QFile::ExeOwner | QFile::ExeGroup |
                                 QFile::ExeOther;

// How a save is made to fail: the target it is given, how the file system is prepared, and the
// reason the error must name.
struct SaveFault {
    const char* tag;
    const char* target; // inside the test folder
    std::function<void(RobustFixture&)> prepare;
    bool asNobody;
    WriteFunction hook;
    const char* reason;
};

const QByteArray kOldBytes("an older KEY file\r\n");

const SaveFault kSaveFaults[] = {
    // The folder was there when the dialog closed and is gone when the file is written.
    {"folder gone after the dialog", "gone/new.KEY",
     [](RobustFixture& f) {
         QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("gone")));
         QVERIFY(QDir(f.dir.path()).rmdir(QStringLiteral("gone")));
     },
     false, nullptr, "No such file or directory"},
    {"parent is a file", "plain.txt/new.KEY",
     [](RobustFixture& f) { makeFile(f.path(QStringLiteral("plain.txt")), "x", kOpen); }, false,
     nullptr, "Not a directory"},
    {"read-only folder", "locked/new.KEY",
     [](RobustFixture& f) {
         QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("locked")));
         QVERIFY(QFile::setPermissions(f.path(QStringLiteral("locked")),
                                       kReadOnly | QFile::ExeOwner | QFile::ExeGroup |
                                           QFile::ExeOther));
     },
     true, nullptr, "Permission denied"},
    {"write-protected file", "old.KEY",
     [](RobustFixture& f) { makeFile(f.path(QStringLiteral("old.KEY")), kOldBytes, kReadOnly); },
     true, nullptr, "Permission denied"},
    {"disk full part-way", "old.KEY",
     [](RobustFixture& f) { makeFile(f.path(QStringLiteral("old.KEY")), kOldBytes, kOpen); }, false,
     fullDiskAfterFirstWrite, "No space left on device"},
    {"device fails", "old.KEY",
     [](RobustFixture& f) { makeFile(f.path(QStringLiteral("old.KEY")), kOldBytes, kOpen); }, false,
     failingDevice, "Input/output error"},
};

const QString kNotRegular = QStringLiteral("it is not a regular file");

QString makeFifo(const QString& file) {
    if (::mkfifo(QFile::encodeName(file).constData(), 0666) != 0)
        qFatal("mkfifo: %s", std::strerror(errno));
    return file;
}

// How an open is made to fail, and the reason the message must give (empty: the reader's own
// reason, whatever it says).
struct OpenFault {
    const char* tag;
    std::function<QString(RobustFixture&)> prepare; // gives the file to open
    bool asNobody;
    QString reason;
};

const OpenFault kOpenFaults[] = {
    {"unreadable by permission",
     [](RobustFixture& f) {
         const QString file = f.path(QStringLiteral("secret.KEY"));
         makeFile(file, RobustFixture::bytesOf(f.original), QFile::WriteOwner);
         return file;
     },
     true, QStringLiteral("Permission denied")},
    {"a directory",
     [](RobustFixture& f) {
         QDir(f.dir.path()).mkdir(QStringLiteral("folder.KEY"));
         return f.path(QStringLiteral("folder.KEY"));
     },
     false, QStringLiteral("Is a directory")},
    {"an empty file",
     [](RobustFixture& f) {
         const QString file = f.path(QStringLiteral("empty.KEY"));
         makeFile(file, QByteArray(), kOpen);
         return file;
     },
     false, QString()},
    {"a binary file",
     [](RobustFixture& f) {
         QByteArray bytes;
         for (int i = 0; i < 4096; ++i)
             bytes.append(char((i * 7919) & 0xFF));
         const QString file = f.path(QStringLiteral("binary.KEY"));
         makeFile(file, bytes, kOpen);
         return file;
     },
     false, QString()},
    // Sparse: it takes no room on the disk, but says it is larger than any KEY file may be.
    {"a file over 192 MiB",
     [](RobustFixture& f) {
         const QString file = f.path(QStringLiteral("huge.KEY"));
         makeFile(file, RobustFixture::bytesOf(f.original), kOpen);
         QFile huge(file);
         huge.resize(qint64(kMaxFileBytes) + 1);
         return file;
     },
     false, QStringLiteral("it is larger than 192 MiB")},
    // Opening one would wait for a writer for good; the box comes at once instead.
    {"a FIFO", [](RobustFixture& f) { return makeFifo(f.path(QStringLiteral("fifo.KEY"))); }, false,
     kNotRegular},
    {"a link to a device",
     [](RobustFixture& f) {
         const QString file = f.path(QStringLiteral("device.KEY"));
         QFile::link(QStringLiteral("/dev/null"), file);
         return file;
     },
     false, kNotRegular},
};

// The files in the test folder, so a save that failed is seen to leave no temporary file.
QStringList folderContents(const RobustFixture& f) {
    return QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class FileErrorTest : public QObject {
    Q_OBJECT

    RobustFixture f;

private slots:
    void init() {
        f.start();
        // A child that has become nobody must reach the test folder.
        QVERIFY(QFile::setPermissions(f.dir.path(), kOpen));
    }
    void cleanup() { QCOMPARE(f.stop(), QStringList()); }

    void saveFails_data() {
        QTest::addColumn<int>("fault");
        for (std::size_t i = 0; i < std::size(kSaveFaults); ++i)
            QTest::addRow("%s", kSaveFaults[i].tag) << int(i);
    }
    void saveFails() {
        QFETCH(int, fault);
        const SaveFault& save = kSaveFaults[fault];
        save.prepare(f);
        const QString target = f.path(QString::fromLatin1(save.target));
        const QByteArray oldBytes = RobustFixture::bytesOf(target);
        const bool existed = QFileInfo::exists(target);
        const QStringList filesBefore = folderContents(f);
        f.prompts->files.push_back(target);
        writeCalls = 0;

        const auto saveKey = [&] { f.trigger("SaveAs1"); };
        Outcome outcome;
        if (save.asNobody) {
            outcome = runAsNobody(f, saveKey);
        } else {
            std::optional<WriteHook> hook;
            if (save.hook)
                hook.emplace(save.hook);
            outcome = run(f, saveKey);
        }

        QCOMPARE(outcome.messages, QStringList());
        QCOMPARE(outcome.errors, QStringList{QStringLiteral("Cannot write file \"%1\": %2.")
                                                 .arg(target, QString::fromLatin1(save.reason))});
        QCOMPARE(outcome.difference, QString());
        QCOMPARE(QFileInfo::exists(target), existed);
        QCOMPARE(RobustFixture::bytesOf(target), oldBytes);
        QCOMPARE(folderContents(f), filesBefore);
    }

    void openFails_data() {
        QTest::addColumn<int>("fault");
        for (std::size_t i = 0; i < std::size(kOpenFaults); ++i)
            QTest::addRow("%s", kOpenFaults[i].tag) << int(i);
    }
    void openFails() {
        QFETCH(int, fault);
        const OpenFault& open = kOpenFaults[fault];
        const QString file = open.prepare(f);
        // The document is as it was opened: nothing to save first.
        f.prompts->files.push_back(file);

        const auto openKey = [&] { f.trigger("Open"); };
        const Outcome outcome = open.asNobody ? runAsNobody(f, openKey) : run(f, openKey);

        QCOMPARE(outcome.errors, QStringList());
        QCOMPARE(outcome.difference, QString());
        QCOMPARE(outcome.messages.size(), 1);
        const QStringList lines = outcome.messages[0].split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("Not a valid KEY file!"));
        if (open.reason.isEmpty())
            QVERIFY(!lines[1].isEmpty());
        else
            QCOMPARE(lines[1],
                     QStringLiteral("Cannot read file \"%1\": %2").arg(file, open.reason));
    }

    // The editor writes KEY files far beyond 64 MiB, so such a file opens (here a small
    // document followed by comment lines).
    void openFileOverTheOldLimit_readsIt() {
        const QString file = f.path(QStringLiteral("long.KEY"));
        QByteArray bytes = RobustFixture::bytesOf(f.original);
        const QByteArray comment = QByteArray(1022, '#') + "\r\n";
        while (bytes.size() <= qint64(64) << 20)
            bytes += comment;
        makeFile(file, bytes, kOpen);
        f.prompts->files.push_back(file);
        f.trigger("Open");
        QCOMPARE(f.prompts->messageTexts(), QStringList());
        QCOMPARE(shownCaption(f.main()), QStringLiteral("Skyvane - ") + file);
        QCOMPARE(f.main().MeshName->currentText(), QStringLiteral("ship"));
        QCOMPARE(f.main().NumEntries->text(), QStringLiteral("3"));
    }

    // A field too long to show, or holding a NUL byte: the box comes at once and quotes the
    // start of the field, with nothing after a NUL lost.
    void openFileWithAnOddField_showsItsStart_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("50 million digits")
            << QByteArray(50'000'000, '7') + 'x' << QString(60, QLatin1Char('7')) + "...";
        QTest::newRow("a NUL byte") << QByteArray("-1.5\0x", 6) << QStringLiteral("-1.5\\0x");
    }
    void openFileWithAnOddField_showsItsStart() {
        QFETCH(QByteArray, field);
        QFETCH(QString, quoted);
        QByteArray bytes = RobustFixture::bytesOf(f.original);
        const QByteArray value = "\t1.000000\t"; // X of entry 1 of node 0
        const qsizetype at = bytes.indexOf(value);
        QVERIFY(at > 0);
        const qsizetype line = bytes.left(at).count('\n') + 1;
        bytes.replace(at, value.size(), '\t' + field + '\t');
        const QString file = f.path(QStringLiteral("odd.KEY"));
        makeFile(file, bytes, kOpen);
        f.prompts->files.push_back(file);

        const Outcome outcome = run(f, [&] { f.trigger("Open"); });

        QCOMPARE(outcome.errors, QStringList());
        QCOMPARE(outcome.difference, QString());
        QCOMPARE(outcome.messages,
                 QStringList({QStringLiteral("Not a valid KEY file!\nline %1: '%2' is not a valid "
                                             "floating point value")
                                  .arg(line)
                                  .arg(quoted)}));
    }

    // A Frame is read as it stands, however long: the grid shows its start, editing gets all.
    void openFileWithAHugeFrame_gridShowsItsStart() {
        QByteArray bytes = RobustFixture::bytesOf(f.original);
        const QByteArray frame = QByteArray(50'000'000, '7');
        const QByteArray entry = " 0:\t0\t";
        QVERIFY(bytes.contains(entry));
        bytes.replace(entry, " 0:\t" + frame + '\t');
        const QString file = f.path(QStringLiteral("frame.KEY"));
        makeFile(file, bytes, kOpen);
        f.prompts->answers.push_back(MessageAnswer::No);
        f.prompts->files.push_back(file);
        f.trigger("Open");
        QCOMPARE(shownCaption(f.main()), QStringLiteral("Skyvane - ") + file);
        const QModelIndex cell = f.grid().model()->index(0, ColFrame); // entry 0
        QCOMPARE(cell.data(Qt::DisplayRole).toString(), QString(60, QLatin1Char('7')) + "...");
        QCOMPARE(cell.data(Qt::EditRole).toString().size(), frame.size());
    }

    // A 3DO file that cannot be read gets the box of any file that is no 3DO model, with the
    // reason; the mesh-name choices stay.
    void getMeshNamesFails_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a FIFO") << QStringLiteral("fifo.3DO") << kNotRegular;
        QTest::newRow("a directory")
            << QStringLiteral("folder.3DO") << QStringLiteral("Is a directory");
        QTest::newRow("missing") << QStringLiteral("missing.3DO")
                                 << QStringLiteral("No such file or directory");
    }
    void getMeshNamesFails() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString file = f.path(name);
        if (name.startsWith(QLatin1String("fifo")))
            makeFifo(file);
        else if (name.startsWith(QLatin1String("folder")))
            QVERIFY(QDir(f.dir.path()).mkdir(name));
        f.main().MeshName->addItem(QStringLiteral("hull"));
        f.prompts->files.push_back(file);

        const Outcome outcome =
            run(f, [&] { QTest::mouseClick(f.main().BtnGetMeshName, Qt::LeftButton); });

        QCOMPARE(outcome.errors, QStringList());
        QCOMPARE(outcome.difference, QString());
        QCOMPARE(outcome.messages,
                 QStringList{QStringLiteral("Not a valid 3DO file!\nCannot read file \"%1\": %2")
                                 .arg(file, reason)});
        QCOMPARE(f.main().MeshName->itemText(f.main().MeshName->count() - 1),
                 QStringLiteral("hull"));
    }
};

} // namespace skyvane::test

QTEST_MAIN(skyvane::test::FileErrorTest)
#include "file_error_test.moc"
