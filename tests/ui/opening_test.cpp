// Opening files the ways the desktop offers: the command line, a file dropped on a window, and
// File > Open Recent across runs.
#include <QDir>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "ui/CommandLine.h"
#include "ui/RecentFiles.h"
#include "UiFixture.h"

using namespace skyvane;
using namespace skyvane::test;

Q_DECLARE_METATYPE(skyvane::CommandLine::Action)

namespace {

const QString kSaveQuestion = QStringLiteral("Do you want to save your data?");
const QString kNotValid = QStringLiteral("Not a valid KEY file!\n");
const QByteArray kModel = "SECTION: HEADER\r\n3DO 2.1\r\nSECTION: GEOMETRYDEF\r\nMESHES 2\r\n"
                          "MESH 0\r\nNAME hull\r\nMESH 1\r\nNAME wing\r\n";

// A real drag over `target` and a drop on it, as the window system delivers them. Returns
// whether the drag was taken.
bool dropFiles(QWidget* target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
}

QString writeText(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

class OpeningTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    QString caption(const QString& path) { return QStringLiteral("Skyvane - ") + path; }
    QString keyFile(const QString& name, int nodes = 2) {
        return ui.writeKey(name, UiFixture::makeDocument(nodes, 3));
    }
    QMenu* recentMenu() {
        auto* menu = ui.main().findChild<QMenu*>(QStringLiteral("RecentMenu"));
        // The list is made when the menu opens.
        if (menu)
            emit menu->aboutToShow();
        return menu;
    }
    QStringList recentEntries() {
        QStringList entries;
        for (const QAction* action : recentMenu()->actions())
            if (action->objectName().startsWith(QStringLiteral("RecentFile")))
                entries.append(action->toolTip());
        return entries;
    }
    QAction* recentAction(const char* name) {
        return recentMenu()->findChild<QAction*>(QString::fromLatin1(name));
    }
    // A mesh name offered by a model counts as a change.
    void expectUntitledEmpty() {
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED"));
        QCOMPARE(ui.main().NodeTabs->count(), 1);
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("0"));
    }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    // --- command line ---------------------------------------------------------------------

    void commandLine_isUnderstood_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text"); // a part of the printed text

        using A = CommandLine::Action;
        const QString here = QDir::current().absoluteFilePath(QStringLiteral("cam.KEY"));
        QTest::newRow("nothing") << QStringList{"skyvane"} << A::Run << QString() << QString();
        QTest::newRow("relative file")
            << QStringList{"skyvane", "cam.KEY"} << A::Run << here << QString();
        QTest::newRow("absolute file")
            << QStringList{"skyvane", "/keys/a b.KEY"} << A::Run << "/keys/a b.KEY" << QString();
        QTest::newRow("file after --")
            << QStringList{"skyvane", "--", "-odd.KEY"} << A::Run
            << QDir::current().absoluteFilePath(QStringLiteral("-odd.KEY")) << QString();
        QTest::newRow("--help") << QStringList{"skyvane", "--help"} << A::Print << QString()
                                << "[options] [FILE]";
        QTest::newRow("-h with a file")
            << QStringList{"skyvane", "-h", "cam.KEY"} << A::Print << QString() << "FILE";
        QTest::newRow("--version") << QStringList{"skyvane", "--version"} << A::Print << QString()
                                   << QCoreApplication::applicationName() + ' ';
        QTest::newRow("two files") << QStringList{"skyvane", "a.KEY", "b.KEY"} << A::Fail
                                   << QString() << "Only one file can be opened at a time.";
        QTest::newRow("unknown option")
            << QStringList{"skyvane", "--bogus"} << A::Fail << QString() << "Try 'skyvane --help'.";
    }
    void commandLine_isUnderstood() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, file);
        QFETCH(QString, text);
        const CommandLine command = parseCommandLine(arguments);
        QCOMPARE(command.action, action);
        QCOMPARE(command.file, file);
        QVERIFY2(command.text.contains(text), qPrintable(command.text));
        QCOMPARE(command.text.isEmpty(), action == CommandLine::Action::Run);
    }

    void startUpFile_good_opensIt() {
        const QString file = keyFile(QStringLiteral("cam.KEY"), 3);
        ui.windows->show(file);
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(shownCaption(ui.main()), caption(file));
        QCOMPARE(ui.main().NodeTabs->count(), 3);
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("3"));
        QCOMPARE(ui.cell(ColX, 2), QStringLiteral("0.00000000"));
        QVERIFY(ui.windows->previewWindow.isVisible());
    }

    void startUpFile_model_offersItsMeshNames() {
        ui.windows->show(writeText(ui.path(QStringLiteral("ship.3DO")), kModel));
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("hull"));
        // Nothing to save yet: the name came with starting from the model.
        expectUntitledEmpty();

        ui.windows->show(writeText(ui.path(QStringLiteral("bad.3DO")), "SECTION: HEADER\r\n"));
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Not a valid 3DO file!"}));
        QCOMPARE(ui.main().MeshName->count(), 2);
    }

    void startUpFile_unreadable_reportsAndStaysEmpty_data() {
        QTest::addColumn<QByteArray>("content"); // empty: the file does not exist
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a KEY file") << QByteArray("-----BEGIN PGP PUBLIC KEY BLOCK-----\n");
        QTest::newRow("header only") << QByteArray("SECTION: HEADER\r\nFRAMES 3\r\n");
    }
    void startUpFile_unreadable_reportsAndStaysEmpty() {
        QFETCH(QByteArray, content);
        QString file = ui.path(QStringLiteral("bad.KEY"));
        if (!content.isEmpty())
            writeText(file, content);
        ui.windows->show(file);
        QCOMPARE(ui.prompts->messages.size(), 1);
        QCOMPARE(ui.prompts->messages[0].kind, MessageKind::Error);
        QVERIFY2(ui.prompts->messages[0].text.startsWith(kNotValid),
                 qPrintable(ui.prompts->messages[0].text));
        QVERIFY(ui.prompts->messages[0].text.size() > kNotValid.size());
        expectUntitledEmpty();
        QVERIFY(recentEntries().isEmpty());
    }

    // --- drag and drop --------------------------------------------------------------------

    void drop_keyFileOnGrid_opensIt() {
        const QString file = keyFile(QStringLiteral("dropped.key"));
        QVERIFY(dropFiles(ui.grid().viewport(), {file}));
        QTRY_COMPARE(shownCaption(ui.main()), caption(file));
        QCOMPARE(ui.main().NodeTabs->count(), 2);
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(recentEntries(), QStringList({file}));
    }

    void drop_keyFileOnModifiedDocument_asksFirst_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("opened");
        QTest::newRow("No: opens") << MessageAnswer::No << true;
        QTest::newRow("Cancel: keeps") << MessageAnswer::Cancel << false;
    }
    void drop_keyFileOnModifiedDocument_asksFirst() {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, opened);
        const QString file = keyFile(QStringLiteral("later.KEY"));
        ui.typeCell(ColX, 0, QStringLiteral("7"));
        ui.prompts->answers = {answer};
        QVERIFY(dropFiles(ui.grid().viewport(), {file}));
        QTRY_COMPARE(ui.prompts->messages.size(), 1);
        QCOMPARE(ui.prompts->messages[0].text, kSaveQuestion);
        QCOMPARE(shownCaption(ui.main()),
                 opened ? caption(file) : QStringLiteral("Skyvane - UNTITLED*"));
        QCOMPARE(ui.cell(ColX, 0), opened ? QStringLiteral("0.00000000") : QStringLiteral("7"));
    }

    void drop_refused_saysWhyAndKeepsDocument_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("reason");
        QTest::newRow("picture")
            << QStringList{"shot.png"}
            << "Cannot open \"shot.png\": it is neither a KEY file nor a 3DO model. Drop a Jedi "
               "Knight keyframe file (*.KEY) to open it, or a 3DO model (*.3DO) for its mesh "
               "names.";
        QTest::newRow("KEY in the middle of the name")
            << QStringList{"cam.KEY.bak"} << "\"cam.KEY.bak\": it is neither a KEY file";
        QTest::newRow("two KEY files")
            << QStringList{"a.KEY", "b.KEY"} << "Cannot open 2 files at once: drop one file.";
    }
    void drop_refused_saysWhyAndKeepsDocument() {
        QFETCH(QStringList, names);
        QFETCH(QString, reason);
        ui.typeCell(ColX, 0, QStringLiteral("7"));
        QStringList paths;
        for (const QString& name : names)
            paths.append(keyFile(name));
        QVERIFY(dropFiles(&ui.main(), paths));
        QTRY_COMPARE(ui.prompts->messages.size(), 1);
        QCOMPARE(ui.prompts->messages[0].kind, MessageKind::Error);
        QVERIFY2(ui.prompts->messages[0].text.contains(reason),
                 qPrintable(ui.prompts->messages[0].text));
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("7"));
    }

    // A model gives its mesh names, as Get Mesh Names does, and leaves the document alone.
    void drop_3doModel_offersItsMeshNames() {
        ui.typeCell(ColX, 0, QStringLiteral("7"));
        const QString model = writeText(ui.path(QStringLiteral("ship.3do")), kModel);
        QVERIFY(dropFiles(&ui.main(), {model}));
        QTRY_COMPARE(ui.main().MeshName->count(), 2);
        QCOMPARE(ui.main().MeshName->itemText(1), QStringLiteral("wing"));
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("7"));
        QVERIFY(recentEntries().isEmpty());
    }

    // The name a model fills into a file that was opened is a change to that file.
    void drop_3doModelOnOpenedFile_marksItModified() {
        const QString file = keyFile(QStringLiteral("cam.KEY"));
        ui.windows->show(file);
        QVERIFY(dropFiles(&ui.main(), {writeText(ui.path(QStringLiteral("ship.3do")), kModel)}));
        QTRY_COMPARE(ui.main().MeshName->currentText(), QStringLiteral("hull"));
        QCOMPARE(shownCaption(ui.main()), caption(file) + QLatin1Char('*'));
    }

    // Text and web addresses are not files: the drag is not taken at all.
    void drag_withoutLocalFiles_isNotTaken() {
        QMimeData data;
        data.setText(QStringLiteral("/tmp/cam.KEY"));
        data.setUrls({QUrl(QStringLiteral("https://example.org/cam.KEY"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui.grid().viewport(), &enter);
        QVERIFY(!enter.isAccepted());
    }

    void drop_onPreview_opensInMainWindow() {
        const QString file = keyFile(QStringLiteral("preview.KEY"));
        ui.windows->show();
        QVERIFY(dropFiles(&ui.windows->previewWindow, {file}));
        QTRY_COMPARE(shownCaption(ui.main()), caption(file));
    }

    // --- recent files ---------------------------------------------------------------------

    void recentFiles_areKeptAcrossRuns() {
        const QString opened = keyFile(QStringLiteral("opened.KEY"));
        const QString saved = ui.path(QStringLiteral("saved.KEY"));
        QVERIFY(ui.main().openFile(opened));
        ui.prompts->files = {saved};
        ui.trigger("SaveAs1");
        QCOMPARE(recentEntries(), QStringList({saved, opened}));

        ui.restart();
        QCOMPARE(recentEntries(), QStringList({saved, opened}));
        QCOMPARE(recentAction("RecentFile1")->text(), QStringLiteral("&1 ") + saved);
        recentAction("RecentFile2")->trigger();
        QCOMPARE(shownCaption(ui.main()), caption(opened));
        QCOMPARE(recentEntries(), QStringList({opened, saved}));
    }

    void recentFiles_greyOutFilesThatAreGone() {
        const QString kept = keyFile(QStringLiteral("kept.KEY"));
        const QString gone = keyFile(QStringLiteral("gone.KEY"));
        QVERIFY(ui.main().openFile(kept));
        ui.prompts->answers = {MessageAnswer::No};
        QVERIFY(ui.main().openFile(gone));
        QVERIFY(QFile::remove(gone));
        ui.restart();
        QCOMPARE(recentEntries(), QStringList({gone, kept}));
        QVERIFY(!recentAction("RecentFile1")->isEnabled());
        QVERIFY(recentAction("RecentFile2")->isEnabled());
    }

    void recentFiles_clear_emptiesTheList() {
        QVERIFY(ui.main().openFile(keyFile(QStringLiteral("one.KEY"))));
        QVERIFY(recentAction("ClearRecent1")->isEnabled());
        recentAction("ClearRecent1")->trigger();
        QVERIFY(recentEntries().isEmpty());
        QVERIFY(!recentAction("ClearRecent1")->isEnabled());
        ui.restart();
        QVERIFY(recentEntries().isEmpty());
    }

    void recentFiles_keepEightNewestOnceEach() {
        RecentFiles recent(new QMenu(&ui.main()), [](const QString&) {});
        QStringList expected;
        for (int i = 0; i < 10; ++i) {
            const QString path = ui.path(QStringLiteral("f%1.KEY").arg(i));
            recent.add(path);
            expected.prepend(path);
        }
        expected = expected.mid(0, RecentFiles::kMaxFiles);
        QCOMPARE(recent.files(), expected);
        // Opening one of them again brings it to the top without a second entry.
        recent.add(expected[5]);
        expected.move(5, 0);
        QCOMPARE(recent.files(), expected);
        QCOMPARE(recentEntries(), expected);
    }

    void recentFiles_showAmpersandsAsTyped() {
        const QString file = keyFile(QStringLiteral("salt & pepper.KEY"));
        QVERIFY(ui.main().openFile(file));
        ui.prompts->answers = {MessageAnswer::No, MessageAnswer::No};
        QVERIFY(ui.main().openFile(keyFile(QStringLiteral("other.KEY"))));
        QAction* entry = recentAction("RecentFile2");
        QVERIFY(entry->text().endsWith(QStringLiteral("salt && pepper.KEY")));
        entry->trigger();
        QCOMPARE(shownCaption(ui.main()), caption(file));
    }
};

std::unique_ptr<QObject> makeOpeningTest() {
    return std::make_unique<OpeningTest>();
}

#include "opening_test.moc"
