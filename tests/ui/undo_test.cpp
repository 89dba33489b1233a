// Undo and redo through the real window, the modified marker in the caption and the save
// question that follows it.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QComboBox>

#include "UiFixture.h"

using namespace skyvane;
using namespace skyvane::test;

Q_DECLARE_METATYPE(std::function<void(skyvane::test::UiFixture&)>)

namespace {

using Action = std::function<void(UiFixture&)>;

// Every node's mesh and cells, the current one as shown.
std::vector<std::pair<std::string, EntryTable>> nodesOf(TMainWindow& main) {
    std::vector<std::pair<std::string, EntryTable>> nodes;
    for (const TNode& node : main.session().snapshot().Nodes)
        nodes.emplace_back(node.Mesh, node.Data);
    return nodes;
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    void pressKey(int key, Qt::KeyboardModifiers modifiers) {
        // A dialog just closed may still count as the active window for a moment.
        ui.main().activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &ui.main());
        ui.grid().setFocus();
        QTest::keyClick(&ui.grid(), Qt::Key(key), modifiers);
    }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    void ctrlZ_takesBackTheLastStepWhole_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("entry"); // where the cursor stood for the step
        QTest::addColumn<QString>("step");
        QTest::newRow("Transform Object") << Action([](UiFixture& fixture) {
            UiFixture::whenModal(
                [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
            fixture.trigger("FillDown1");
        }) << 13 << "Transform Object";
        QTest::newRow("Paste Frames")
            << Action([](UiFixture& fixture) { fixture.main().Paste1Click(); }) << 2
            << "Paste Frames";
        QTest::newRow("typing a cell")
            << Action([](UiFixture& fixture) { fixture.typeCell(ColX, 12, QStringLiteral("7.5")); })
            << 12 << "typing in entry 12";
        QTest::newRow("removing a node") << Action([](UiFixture& fixture) {
            fixture.prompts->answers = {MessageAnswer::Ok};
            fixture.main().SENodes->setValue(2);
        }) << 4 << "Remove Node";
    }
    void ctrlZ_takesBackTheLastStepWhole() {
        QFETCH(Action, action);
        QFETCH(int, entry);
        QFETCH(QString, step);
        QVERIFY(!ui.main().Undo1->isEnabled());
        QCOMPARE(ui.main().Undo1->text(), QStringLiteral("&Undo"));
        ui.fillEntries(14);
        ui.main().SENodes->setValue(2);
        ui.main().SENodes->setValue(3);
        const auto before = nodesOf(ui.main());
        ui.grid().setCursor(ColX, entry);
        action(ui);
        const auto after = nodesOf(ui.main());
        QVERIFY(after != before);
        QCOMPARE(ui.main().Undo1->text(), QStringLiteral("&Undo ") + step);
        QCOMPARE(ui.main().Undo2->text(), QStringLiteral("Undo ") + step);

        ui.grid().setCursor(ColFrame, 500);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(nodesOf(ui.main()) == before);
        QCOMPARE(ui.main().SENodes->value(), 3);
        QCOMPARE(ui.main().NodeTabs->count(), 3);
        QCOMPARE(ui.grid().cursorEntry(), entry);
        QCOMPARE(ui.main().Redo1->text(), QStringLiteral("R&edo ") + step);

        pressKey(Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(nodesOf(ui.main()) == after);
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        pressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(nodesOf(ui.main()) == after);
        QVERIFY(!ui.main().Redo1->isEnabled());
    }

    // The boxes pass every keystroke to the session, so their undo keys are the session's: a
    // box's own undo would be a new step that throws the redo history away.
    void undoKeys_inTheFrameRateAndMeshNameBoxes_undoTheSession_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("step");
        QTest::newRow("frame rate") << "FrameRate" << "Frame Rate";
        QTest::newRow("mesh name") << "MeshName" << "Mesh Name";
    }
    void undoKeys_inTheFrameRateAndMeshNameBoxes_undoTheSession() {
        QFETCH(QString, box);
        QFETCH(QString, step);
        QLineEdit* edit = box == QStringLiteral("FrameRate") ? ui.main().FrameRate
                                                             : ui.main().MeshName->lineEdit();
        ui.main().activateWindow();
        QTRY_VERIFY(QApplication::activeWindow() == &ui.main());
        edit->setFocus();
        const QString before = edit->text();
        // Typed and taken back: nothing to undo, and the key does not undo the box either.
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClicks(edit, QStringLiteral("3"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), before);
        QVERIFY(!ui.main().Undo1->isEnabled());

        ui.typeCell(ColX, 0, QStringLiteral("1"));
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("25"));
        const QString typed = edit->text();
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), before);
        QCOMPARE(ui.main().Redo1->text(), QStringLiteral("R&edo ") + step);
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ui.main().session().entries().cell(ColX, 0), std::string());
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(edit->text(), typed);
        QVERIFY(!ui.main().Redo1->isEnabled());
    }

    void exit_rightAfterSave_asksNothing() {
        ui.main().MeshName->setEditText(QStringLiteral("cam"));
        ui.fillEntries(2);
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        const QString file = ui.path(QStringLiteral("saved.KEY"));
        ui.prompts->files = {file};
        ui.trigger("Save");
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file);
        ui.trigger("Exit1");
        QVERIFY(ui.prompts->messages.isEmpty());
        QVERIFY(!ui.main().isVisible());
    }

    void exit_afterTypingOnlyAMeshName_asks() {
        ui.main().MeshName->setFocus();
        QTest::keyClicks(ui.main().MeshName->lineEdit(), QStringLiteral("ship"));
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        QCOMPARE(ui.main().Undo1->text(), QStringLiteral("&Undo Mesh Name"));
        ui.prompts->answers = {MessageAnswer::Cancel};
        ui.trigger("Exit1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Do you want to save your data?"}));
        QVERIFY(ui.main().isVisible());
    }

    // Ctrl+S writes an opened file again without a dialog; undoing back to it clears the marker.
    void ctrlS_savesToTheOpenedFile_andUndoComesBackToIt() {
        const QString file = ui.writeKey(QStringLiteral("open.KEY"), UiFixture::makeDocument(1, 3));
        QVERIFY(ui.main().openFile(file));
        ui.typeCell(ColZ, 1, QStringLiteral("4.5"));
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file + QLatin1Char('*'));
        pressKey(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(ui.prompts->dialogs.isEmpty());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file);
        QCOMPARE(readKeyFile(file.toStdString()).document.Nodes[0].Data.cell(ColZ, 1),
                 std::string("4.50000000"));
        pressKey(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file + QLatin1Char('*'));
        pressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file);
    }
};

std::unique_ptr<QObject> makeUndoTest() {
    return std::make_unique<UndoTest>();
}

#include "undo_test.moc"
