// The desktop's file types: which type the database gives a file, decided by its name and its
// content, and the name Qt's file dialogs show for it.
#include <QAbstractFileIconProvider>
#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include "core/keyfile.h"

namespace {

const QString kKeyframes = QStringLiteral("application/x-jedi-knight-keyframe");
const QString kModel = QStringLiteral("model/x-jedi-knight-3do");
const QString kPgp = QStringLiteral("application/pgp-keys");

// A short KEY file as Skyvane writes it.
QByteArray keyFileText() {
    skyvane::TKeyDocument document;
    document.Fps = 15.0f;
    document.Nodes.resize(1);
    document.Nodes[0].Mesh = "cam";
    return QByteArray::fromStdString(
        skyvane::keyFileText(document, "cam.KEY", "01/01/2026", "12:00:00"));
}

const QByteArray kArmoredKey = "-----BEGIN PGP PUBLIC KEY BLOCK-----\n\n"
                               "mDMEZbUd7hYJKwYBBAHaRw8BAQdAq7jvH6bD0J9rYQXkZ8lH8u7GfVbq3sPpZk3C\n"
                               "=kT2x\n-----END PGP PUBLIC KEY BLOCK-----\n";
const QByteArray k3do = "# MODEL ship.3do\r\n\r\nSECTION: HEADER\r\n3DO 2.1\r\n\r\n"
                        "SECTION: GEOMETRYDEF\r\nMESHES 1\r\n";

} // namespace

class FileTypesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void fileType_followsNameAndContent_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("shown"); // in the file dialogs' Type column

        const QString keyframes = QStringLiteral("Jedi Knight keyframe animation");
        QTest::newRow("KEY written by Skyvane")
            << "cam.KEY" << keyFileText() << kKeyframes << keyframes;
        QTest::newRow("lower-case name") << "cam.key" << keyFileText() << kKeyframes << keyframes;
        QTest::newRow("no name to go by") << "cam" << keyFileText() << kKeyframes << keyframes;
        QTest::newRow("keyframe nodes first")
            << "part.key" << QByteArray("# part\r\nSECTION: KEYFRAME NODES\r\nNODES 0\r\n")
            << kKeyframes << keyframes;
        QTest::newRow("PGP key called .key") << "alice.key" << kArmoredKey << kPgp << "PGP keys";
        QTest::newRow("binary PGP key called .key")
            << "bob.key" << QByteArray("\x99\x01\x0d\x04\x5a\x12\x34\x56", 8) << kPgp << "PGP keys";
        QTest::newRow("3DO model") << "ship.3do" << k3do << kModel << "Jedi Knight 3DO model";
        QTest::newRow("3DO model without its name")
            << "ship" << k3do << kModel << "Jedi Knight 3DO model";
        QTest::newRow("notes about both")
            << "notes.txt" << QByteArray("SECTION: HEADER\n3DO files and KEY files\n")
            << "text/plain"
            << "plain text document";
    }
    void fileType_followsNameAndContent() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, type);
        QFETCH(QString, shown);
        const QString path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), type);
        QCOMPARE(QAbstractFileIconProvider().type(QFileInfo(path)), shown);
    }
};

QTEST_MAIN(FileTypesTest)

#include "file_types_test.moc"
