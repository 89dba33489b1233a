// The frame commands: the selector protocol, Copy, Paste, Insert, Clear and Delete Frames.
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "UiFixture.h"
#include "ui/fr_insert.h"

using namespace skyvane;
using namespace skyvane::test;

class FrameCommandsTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    // The X cells of entries 0..count-1, which fillEntries sets to the entry's old index.
    QStringList xColumn(int count) {
        QStringList cells;
        for (int e = 0; e < count; ++e)
            cells.append(ui.cell(ColX, e));
        return cells;
    }

    // Chooses a selector command, selects entries first..last and presses OK.
    void runSelected(const char* action, int first, int last) {
        ui.trigger(action);
        QVERIFY(ui.selector().isVisible());
        ui.selectEntries(first, last);
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
    }

    void insertFrames(int count, bool confirm = true) {
        UiFixture::whenModal([this, count, confirm] {
            TInsertWindow& dialog = ui.windows->insertWindow;
            dialog.SENoFrames->setValue(count);
            QTest::mouseClick(confirm ? dialog.BitBtn1 : dialog.BitBtn2, Qt::LeftButton);
        });
        ui.trigger("InsFrames1");
    }

private slots:
    void init() {
        ui.start();
        ui.main().MeshName->setEditText(QStringLiteral("cam"));
    }
    void cleanup() { ui.stop(); }

    void selector_showsPromptAndSwitchesGridToRows_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<int>("command");
        QTest::newRow("copy") << "Copy1"
                              << "Select entries to Copy, then press OK" << 4;
        QTest::newRow("clear") << "ClrFrames2"
                               << "Select entries to Clear, then press OK" << 1;
        QTest::newRow("delete") << "DelFrames1"
                                << "Select entries to Remove, then press OK" << 2;
        QTest::newRow("offset") << "OffsetVal1"
                                << "Select entries to Offset, then press OK" << 3;
        QTest::newRow("orientate") << "AutoOrientate2"
                                   << "Select entries to Orientate, then press OK" << 5;
        QTest::newRow("smooth") << "SmoothPath2"
                                << "Select the keys to smooth through, then press OK" << 6;
        QTest::newRow("retime") << "Retime1"
                                << "Select entries to Retime, then press OK" << 7;
    }
    void selector_showsPromptAndSwitchesGridToRows() {
        QFETCH(QString, action);
        QFETCH(QString, prompt);
        QFETCH(int, command);
        ui.trigger(action.toLatin1().constData());
        TFrameSelector& selector = ui.selector();
        QVERIFY(selector.isVisible());
        QVERIFY(!selector.isModal());
        QVERIFY(selector.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(selector.size(), QSize(184, 83));
        QCOMPARE(selector.Label1->text(), prompt);
        QCOMPARE(selector.PendingCommand, command);
        QCOMPARE(selector.BitBtn1->text(), QStringLiteral("OK"));
        QCOMPARE(selector.BitBtn2->text(), QStringLiteral("Cancel"));
        QVERIFY(ui.grid().rowSelectionMode());
        QCOMPARE(ui.grid().editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(ui.grid().selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void copy_enablesPasteAtOnce_evenWhenCancelled() {
        ui.fillEntries(3);
        ui.trigger("Copy2");
        QVERIFY(ui.main().Paste1->isEnabled());
        QVERIFY(ui.main().Paste2->isEnabled());
        QTest::keyClick(&ui.selector(), Qt::Key_Escape);
        QVERIFY(!ui.selector().isVisible());
        QVERIFY(!ui.grid().rowSelectionMode());
        QVERIFY(ui.grid().editTriggers() & QAbstractItemView::AnyKeyPressed);
        QCOMPARE(ui.selector().PendingCommand, int(CopyCommand));
        QCOMPARE(ui.main().frameClipboard().rowCount(), kClipboardStartRows);
        QVERIFY(ui.main().Paste1->isEnabled());

        // A paste before any confirmed copy inserts five empty entries.
        ui.grid().setCursor(ColFrame, 1);
        ui.trigger("Paste1");
        QCOMPARE(xColumn(8), QStringList({"0", "", "", "", "", "", "1", "2"}));
    }

    // A click on Cancel leaves it with the selector's focus; Enter must confirm all the same,
    // and Esc cancel, whichever button holds the focus.
    void selector_enterConfirmsAndEscCancels_whateverHasFocus_data() {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clipboardRows");
        QTest::addColumn<QString>("firstX");
        QTest::newRow("Cancel clicked, then Enter") << "BitBtn2" << int(Qt::Key_Return) << 1 << "1";
        QTest::newRow("Cancel clicked, then keypad Enter")
            << "BitBtn2" << int(Qt::Key_Enter) << 1 << "1";
        QTest::newRow("OK clicked, then Esc") << "BitBtn1" << int(Qt::Key_Escape) << 3 << "0";
    }
    void selector_enterConfirmsAndEscCancels_whateverHasFocus() {
        QFETCH(QString, clicked);
        QFETCH(int, key);
        QFETCH(int, clipboardRows);
        QFETCH(QString, firstX);
        ui.fillEntries(3);
        // A first Copy Frames of entries 0..2 ends with a click on one of the buttons.
        ui.trigger("Copy1");
        ui.selectEntries(0, 2);
        auto* button = ui.selector().findChild<QPushButton*>(clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!ui.selector().isVisible());
        QCOMPARE(ui.selector().focusWidget(), static_cast<QWidget*>(button));

        // The second one, on entry 1, ends with a key.
        ui.grid().setCursor(ColX, 1);
        ui.trigger("Copy1");
        QWidget* focus = ui.selector().focusWidget();
        QTest::keyClick(focus ? focus : &ui.selector(), Qt::Key(key));
        QVERIFY(!ui.selector().isVisible());
        QCOMPARE(ui.main().frameClipboard().rowCount(), clipboardRows);
        QCOMPARE(fromBytes(ui.main().frameClipboard().cell(ColX, 0)), firstX);
    }

    void clear_withoutDragging_clearsOnlyCursorEntry() {
        ui.fillEntries(5);
        ui.grid().setCursor(ColY, 3);
        ui.trigger("ClrFrames1");
        QTest::keyClick(&ui.selector(), Qt::Key_Return);
        QCOMPARE(ui.selector().FirstEntry, 3);
        QCOMPARE(ui.selector().LastEntry, 3);
        QCOMPARE(xColumn(5), QStringList({"0", "1", "2", "", "4"}));
        QCOMPARE(ui.cell(ColFrame, 3), QString());
        QCOMPARE(ui.cell(ColEntry, 3), QStringLiteral("3"));
        QVERIFY(!ui.grid().rowSelectionMode());
    }

    void clear_ofRun_leavesGapAndCountStopsThere() {
        ui.fillEntries(10);
        runSelected("ClrFrames1", 2, 4);
        QCOMPARE(xColumn(10), QStringList({"0", "1", "", "", "", "5", "6", "7", "8", "9"}));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("2"));
    }

    void delete_ofRun_movesLaterEntriesUpWithTheirFrames() {
        ui.fillEntries(10);
        runSelected("DelFrames2", 2, 4);
        QCOMPARE(ui.selector().FirstEntry, 2);
        QCOMPARE(ui.selector().LastEntry, 4);
        QCOMPARE(xColumn(8), QStringList({"0", "1", "5", "6", "7", "8", "9", ""}));
        QCOMPARE(ui.cell(ColFrame, 2), QStringLiteral("50"));
        QCOMPARE(ui.cell(ColEntry, 2), QStringLiteral("2"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("7"));
        // A gap in the Frame numbers passes the check.
        ui.trigger("Check1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"No Errors found!"}));
    }

    void delete_atEndOfTable_leavesTailEmpty() {
        ui.setEntry(999, {"1", "1", "9"});
        ui.grid().setCursor(ColFrame, 999);
        ui.trigger("DelFrames1");
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
        QCOMPARE(ui.selector().FirstEntry, 999);
        QCOMPARE(ui.cell(ColX, 999), QString());
    }

    void insert_opensGapAtCursor() {
        ui.fillEntries(10);
        ui.grid().setCursor(ColFrame, 2);
        insertFrames(3);
        QCOMPARE(xColumn(13),
                 QStringList({"0", "1", "", "", "", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QCOMPARE(ui.cell(ColFrame, 5), QStringLiteral("20"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("2"));
        QCOMPARE(ui.cell(ColEntry, 12), QStringLiteral("12"));
        // The dialog remembers its count.
        QCOMPARE(ui.windows->insertWindow.SENoFrames->value(), 3);
    }

    void insert_cancelled_changesNothing() {
        ui.fillEntries(3);
        insertFrames(2, false);
        QCOMPARE(xColumn(3), QStringList({"0", "1", "2"}));
    }

    void insert_checksRoom_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("afterGap"); // an entry holding data after the counted ones, or -1
        QTest::addColumn<bool>("accepted");
        QTest::newRow("997 + 3 fits exactly") << 997 << -1 << true;
        QTest::newRow("998 + 3 does not fit") << 998 << -1 << false;
        QTest::newRow("data after a gap stays") << 5 << 996 << true;
        QTest::newRow("data after a gap pushed out") << 5 << 997 << false;
    }
    void insert_checksRoom() {
        QFETCH(int, entries);
        QFETCH(int, afterGap);
        QFETCH(bool, accepted);
        ui.fillEntries(entries);
        if (afterGap >= 0)
            ui.setEntry(afterGap, {"9", "1", "7", "0", "0", "0", "0", "0"});
        ui.grid().setCursor(ColFrame, 0);
        insertFrames(3);
        QCOMPARE(ui.cell(ColX, 0), accepted ? QString() : QStringLiteral("0"));
        if (afterGap >= 0)
            QCOMPARE(ui.cell(ColX, accepted ? afterGap + 3 : afterGap), QStringLiteral("7"));
        QCOMPARE(ui.prompts->messageTexts(),
                 accepted ? QStringList() : QStringList({"Not enough room to insert frames!"}));
        if (!accepted)
            QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Error);
    }

    // The count is typed and confirmed with Enter or a click on OK; a typed count outside
    // 1..100 is pulled back to the nearest end of the range, not cut to its first digits.
    void insert_typedCount_isBroughtIntoRange_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("inserted");
        QTest::addColumn<bool>("clickOk");
        QTest::newRow("37") << "37" << 37 << false;
        QTest::newRow("150 above the range") << "150" << 100 << false;
        QTest::newRow("150, OK clicked") << "150" << 100 << true;
        QTest::newRow("100000000000000000000") << "100000000000000000000" << 100 << false;
        QTest::newRow("0 below the range") << "0" << 1 << false;
        QTest::newRow("nothing, OK clicked") << "" << 1 << true;
    }
    void insert_typedCount_isBroughtIntoRange() {
        QFETCH(QString, typed);
        QFETCH(int, inserted);
        QFETCH(bool, clickOk);
        ui.fillEntries(2);
        ui.grid().setCursor(ColFrame, 1);
        UiFixture::whenModal([&] {
            QWidget* box = ui.windows->insertWindow.focusWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Backspace); // the count shown is selected
            QTest::keyClicks(box, typed);
            if (clickOk)
                QTest::mouseClick(ui.windows->insertWindow.BitBtn1, Qt::LeftButton);
            else
                QTest::keyClick(box, Qt::Key_Return);
        });
        ui.trigger("InsFrames1");
        QVERIFY(!ui.windows->insertWindow.isVisible());
        QCOMPARE(ui.cell(ColX, 1 + inserted), QStringLiteral("1"));
        QCOMPARE(ui.cell(ColX, inserted), QString());
        QCOMPARE(ui.windows->insertWindow.SENoFrames->value(), inserted);
    }

    void insertFramesDialog_limitsCountToOneHundred() {
        QSpinBox* count = ui.windows->insertWindow.SENoFrames;
        QCOMPARE(count->minimum(), 1);
        QCOMPARE(count->maximum(), 100);
        QCOMPARE(count->value(), 1);
    }

    void copyThenPaste_insertsCopiesAtCursor() {
        ui.fillEntries(10);
        runSelected("Copy1", 2, 4);
        QCOMPARE(ui.main().frameClipboard().rowCount(), 3);
        QCOMPARE(xColumn(10), QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        ui.grid().setCursor(ColFrame, 0);
        ui.trigger("Paste2");
        QCOMPARE(xColumn(13),
                 QStringList({"2", "3", "4", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
        QCOMPARE(ui.cell(ColEntry, 12), QStringLiteral("12"));
        // Higher Frame numbers above lower ones fail the check at the first such entry.
        ui.trigger("Check1");
        QCOMPARE(ui.main().PNLErrors->text(),
                 QStringLiteral("Error: Frame number of first entry must be 0"));
    }

    void paste_higherFramesAboveLower_reportsFaultWhereFramesFallBack() {
        ui.fillEntries(6);
        runSelected("Copy1", 4, 5);
        ui.grid().setCursor(ColFrame, 2);
        ui.trigger("Paste1");
        ui.trigger("Check1");
        QCOMPARE(
            ui.main().PNLErrors->text(),
            QStringLiteral("Error: Must equal at least (Frame number + step) of previous entry"));
        QCOMPARE(ui.grid().cursorEntry(), 4);
        QCOMPARE(ui.grid().cursorColumn(), int(ColFrame));
    }

    // A paste that would push an entry holding data past entry 999, or drop copied entries
    // there, pastes nothing; empty rows may still fall off the end.
    void paste_withoutRoom_refusesAndChangesNothing_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("copied"); // entries 0..copied-1 copied; 0: no copy confirmed
        QTest::addColumn<int>("cursorEntry");
        QTest::addColumn<bool>("refused");
        QTest::newRow("997 entries, 3 pasted") << 997 << 3 << 0 << false;
        QTest::newRow("998 entries, 3 pasted") << 998 << 3 << 0 << true;
        QTest::newRow("copied entries past the end") << 5 << 5 << 998 << true;
        QTest::newRow("empty rows past the end") << 5 << 0 << 998 << false;
    }
    void paste_withoutRoom_refusesAndChangesNothing() {
        QFETCH(int, entries);
        QFETCH(int, copied);
        QFETCH(int, cursorEntry);
        QFETCH(bool, refused);
        ui.fillEntries(entries);
        if (copied > 0)
            runSelected("Copy1", 0, copied - 1);
        else
            ui.main().Paste1->setEnabled(true);
        const EntryTable before = ui.main().entries();
        ui.grid().setCursor(ColFrame, cursorEntry);
        ui.trigger("Paste1");
        if (refused) {
            QCOMPARE(ui.prompts->messageTexts(), QStringList({"Not enough room to paste frames!"}));
            QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Error);
            QVERIFY(ui.main().entries() == before);
        } else {
            QVERIFY(ui.prompts->messages.isEmpty());
            QCOMPARE(ui.cell(ColX, cursorEntry), copied > 0 ? QStringLiteral("0") : QString());
        }
    }

    // Entries after an emptied one would silently stay out of the file: Check Data, the tab
    // change and Save all report the gap, and nothing is written until it is mended.
    void gapAfterClearFrames_isReportedAndNothingIsSaved() {
        const QString gap = QStringLiteral(
            "Entry 2 is empty, but later entries hold data that would not be saved !");
        ui.fillEntries(10);
        runSelected("ClrFrames1", 2, 4);
        const EntryTable before = ui.main().entries();

        ui.trigger("Check1");
        QCOMPARE(ui.main().PNLErrors->text(), gap);
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Error found in Data!"}));
        QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Error);
        QCOMPARE(ui.grid().cursorEntry(), 2);
        QCOMPARE(ui.grid().cursorColumn(), int(ColFrame));

        ui.main().SENodes->setValue(2);
        ui.main().PNLErrors->clear();
        QTest::mouseClick(ui.main().NodeTabs, Qt::LeftButton, Qt::NoModifier,
                          ui.main().NodeTabs->tabRect(1).center());
        QCOMPARE(ui.main().currentNode(), 0);
        QCOMPARE(ui.main().PNLErrors->text(), gap);
        ui.main().SENodes->setValue(1); // confirmed: node 1 goes again

        const QString file = ui.path(QStringLiteral("gap.KEY"));
        ui.prompts->files = {file};
        ui.main().PNLErrors->clear();
        ui.trigger("Save");
        QCOMPARE(ui.main().PNLErrors->text(), gap);
        QVERIFY(ui.prompts->dialogs.isEmpty());
        QVERIFY(!QFile::exists(file));
        QVERIFY(ui.main().entries() == before);

        // Deleting the empty entries mends it.
        runSelected("DelFrames1", 2, 4);
        ui.trigger("Save");
        QVERIFY(QFile::exists(file));
        const KeyReadResult read = readKeyFile(file.toStdString());
        QVERIFY(read.ok);
        QCOMPARE(int(read.document.Nodes[0].Entries), 7);
    }

    void secondCommand_retargetsShownSelector() {
        ui.fillEntries(5);
        ui.trigger("Copy1");
        ui.trigger("ClrFrames1");
        QCOMPARE(ui.selector().Label1->text(),
                 QStringLiteral("Select entries to Clear, then press OK"));
        QVERIFY(ui.grid().rowSelectionMode());
        ui.selectEntries(1, 1);
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
        QCOMPARE(xColumn(3), QStringList({"0", "", "2"}));
        QCOMPARE(ui.main().frameClipboard().rowCount(), kClipboardStartRows);
        QVERIFY(ui.main().Paste1->isEnabled());
    }

    void clipboard_survivesTabChangeAndNew() {
        ui.fillEntries(3);
        runSelected("Copy1", 0, 1);
        ui.main().SENodes->setValue(2);
        ui.main().NodeTabs->setCurrentIndex(1);
        QCOMPARE(ui.main().currentNode(), 1);
        ui.grid().setCursor(ColFrame, 0);
        ui.trigger("Paste1");
        QCOMPARE(xColumn(3), QStringList({"0", "1", ""}));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("2"));

        ui.prompts->answers = {MessageAnswer::No};
        ui.trigger("New1");
        ui.trigger("Paste1");
        QCOMPARE(xColumn(3), QStringList({"0", "1", ""}));
    }

    void selection_isReadFromTabCurrentAtOk() {
        ui.fillEntries(3);
        ui.main().SENodes->setValue(2);
        ui.trigger("DelFrames1");
        ui.main().NodeTabs->setCurrentIndex(1);
        QVERIFY(ui.grid().rowSelectionMode());
        ui.setEntry(0, {"0", "1", "7"});
        ui.grid().setCursor(ColFrame, 0);
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
        QCOMPARE(ui.cell(ColX, 0), QString());
        ui.main().NodeTabs->setCurrentIndex(0);
        QCOMPARE(xColumn(3), QStringList({"0", "1", "2"}));
    }

    void cancel_returnsToEditingWithNothingChanged() {
        ui.fillEntries(4);
        runSelected("Copy1", 1, 2);
        ui.trigger("DelFrames1");
        ui.selectEntries(0, 3);
        QTest::mouseClick(ui.selector().BitBtn2, Qt::LeftButton);
        QCOMPARE(xColumn(4), QStringList({"0", "1", "2", "3"}));
        QCOMPARE(ui.selector().FirstEntry, 1);
        QCOMPARE(ui.selector().LastEntry, 2);
        QVERIFY(!ui.grid().rowSelectionMode());
        ui.typeCell(ColZ, 0, QStringLiteral("5"));
        QCOMPARE(ui.cell(ColZ, 0), QStringLiteral("5"));
    }

    void tools_openTheirDialogsWithTheRange_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("window");
        QTest::newRow("offset") << "OffsetVal2"
                                << "OffsetWindow";
        QTest::newRow("orientate") << "AutoOrientate1"
                                   << "OrientateWindow";
        QTest::newRow("smooth") << "SmoothPath1"
                                << "SmoothWindow";
        QTest::newRow("retime") << "Retime1"
                                << "RetimeWindow";
    }
    void tools_openTheirDialogsWithTheRange() {
        QFETCH(QString, action);
        QFETCH(QString, window);
        ui.fillEntries(5);
        auto* dialog = ui.main().findChild<QDialog*>(window);
        QVERIFY(dialog);
        bool shown = false;
        ui.trigger(action.toLatin1().constData());
        ui.selectEntries(1, 3);
        UiFixture::whenModal([&] {
            shown = dialog->isVisible();
            dialog->reject();
        });
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
        QVERIFY(shown);
        QCOMPARE(ui.selector().FirstEntry, 1);
        QCOMPARE(ui.selector().LastEntry, 3);
    }
};

#include "frames_test.moc"

std::unique_ptr<QObject> makeFrameCommandsTest() {
    return std::make_unique<FrameCommandsTest>();
}
