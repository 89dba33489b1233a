// The main window: start-up state, nodes and tabs, entry defaults, the file commands with
// every answer, Check Data and the Transform gate.
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "UiFixture.h"
#include "core/fileio.h"
#include "core/numbers.h"

using namespace skyvane;
using namespace skyvane::test;

Q_DECLARE_METATYPE(skyvane::MessageAnswer)

namespace {

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QStringList actionNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* action : menu->actions())
        names.append(action->objectName());
    return names;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    // One valid entry with X 1, so that the document holds data.
    void giveData() { ui.setEntry(0, {"0", "1", "1", "0", "0", "0", "0", "0"}); }
    void giveMeshName(const QString& name = QStringLiteral("cam")) {
        ui.main().MeshName->setEditText(name);
    }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    void startUp_showsOneEmptyUntitledNode() {
        TMainWindow& main = ui.main();
        QCOMPARE(shownCaption(main), QStringLiteral("Skyvane - UNTITLED"));
        QCOMPARE(main.NodeTabs->count(), 1);
        QCOMPARE(main.NodeTabs->tabText(0), QStringLiteral("Node 0"));
        QCOMPARE(main.NodeTabs->currentIndex(), 0);
        QCOMPARE(main.SENodes->value(), 1);
        QCOMPARE(main.FrameRate->text(), QStringLiteral("15.000"));
        QCOMPARE(main.NumEntries->text(), QStringLiteral("0"));
        QVERIFY(main.NumEntries->isReadOnly());
        QVERIFY(main.PNLErrors->text().isEmpty());
        QVERIFY(main.PNLErrors->font().bold());
        QVERIFY(!main.Paste1->isEnabled());
        QVERIFY(!main.Paste2->isEnabled());
        QCOMPARE(main.focusWidget(), static_cast<QWidget*>(main.DataGrid));
        QCOMPARE(main.document().Nodes.size(), std::size_t(1));
        QCOMPARE(ui.cell(ColEntry, 0), QStringLiteral("0"));
        QCOMPARE(ui.cell(ColEntry, 999), QStringLiteral("999"));
        QCOMPARE(ui.grid().model()->rowCount(), kMaxEntries);
        QCOMPARE(ui.grid().cursorEntry(), 0);
        QCOMPARE(ui.grid().cursorColumn(), int(ColFrame));
        QCOMPARE(main.frameClipboard().rowCount(), kClipboardStartRows);
        QVERIFY(!ui.selector().isVisible());
        QCOMPARE(ui.selector().windowTitle(), QStringLiteral("Select Frames"));
        QCOMPARE(ui.selector().windowType(), Qt::Tool);
        // The theme's icon, or the same picture built in.
        QVERIFY(QGuiApplication::windowIcon().availableSizes().contains(QSize(48, 48)));
        QVERIFY(ui.selector().width() >=
                ui.selector().fontMetrics().horizontalAdvance(ui.selector().windowTitle()) + 80);
        QCOMPARE(ui.windows->insertWindow.windowTitle(), QStringLiteral("Insert Frames"));
        QCOMPARE(main.BtnGetMeshName->text(), QStringLiteral("Get Mesh Names from 3DO"));
    }

    // Only the main window ends the program; the others are hidden when closed.
    void startUp_showsPreviewBesideMainAndKeepsSecondaryWindows() {
        AppWindows& windows = *ui.windows;
        windows.show();
        QVERIFY(windows.previewWindow.isVisible());
        QVERIFY(windows.mainWindow.testAttribute(Qt::WA_QuitOnClose));
        const QList<QWidget*> secondary = {&windows.frameSelector,   &windows.insertWindow,
                                           &windows.offsetWindow,    &windows.previewWindow,
                                           &windows.orientateWindow, &windows.transformWindow,
                                           &windows.aboutWin,        &windows.helpWin};
        for (QWidget* window : secondary) {
            QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
            QVERIFY(!window->testAttribute(Qt::WA_DeleteOnClose));
        }
        QVERIFY(windows.previewWindow.close());
        QVERIFY(!windows.previewWindow.isVisible());
        QVERIFY(windows.mainWindow.isVisible());
    }

    void decimalSeparator_comesFromLocaleWhenItIsOneByte_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<char>("separator");
        QTest::newRow("C") << "C" << '.';
        QTest::newRow("German") << "de_DE" << ',';
        QTest::newRow("Arabic, beyond 8 bits") << "ar_EG" << '.';
    }
    void decimalSeparator_comesFromLocaleWhenItIsOneByte() {
        QFETCH(QString, locale);
        QFETCH(char, separator);
        QCOMPARE(decimalSeparatorOf(QLocale(locale)), separator);
    }

    // An error escaping a command is shown with a "." and the program goes on.
    void commandError_reachesDefaultHandler() {
        // Two entries that pass the entry check, with a change between them beyond 32 bits.
        ui.setEntry(0, {"0", "1", "3e38", "0", "0", "0", "0", "0"});
        ui.setEntry(1, {"1", "1", "-3e38", "0", "0", "0", "0", "0"});
        ui.trigger("CheckPlayback1");
        QCOMPARE(ui.prompts->errors, QStringList({"node 0 entry 0: Floating point overflow."}));
        QVERIFY(ui.main().isVisible());
    }

    void startUp_gridHasDesignedHeadersAndRows() {
        EntryGrid& grid = ui.grid();
        for (int column = ColFrame; column < kColumnCount; ++column)
            QCOMPARE(grid.model()->headerData(column, Qt::Horizontal).toString(),
                     QString::fromLatin1(kColumnHeaders[column]));
        QVERIFY(grid.isColumnHidden(ColEntry)); // shown as the fixed row header instead
        QCOMPARE(grid.rowHeight(0), 16);
        QCOMPARE(grid.model()->headerData(5, Qt::Vertical).toString(), QStringLiteral("5"));
        QVERIFY(!(grid.model()->flags(grid.model()->index(0, ColEntry)) & Qt::ItemIsEditable));
    }

    // Where the style puts a cell's text, the widest value read from a file fits whole, in
    // every column; so do the headers, the Entry caption among them.
    void startUp_everyColumnShowsItsHeaderAndAWideValueWhole() {
        EntryGrid& grid = ui.grid();
        const QString widest = QStringLiteral("-12345.12345678");
        ui.setEntry(0, QStringList(8, widest));
        for (int column = ColFrame; column < kColumnCount; ++column) {
            QStyleOptionViewItem option;
            option.initFrom(grid.viewport());
            option.rect = grid.visualRect(grid.model()->index(0, column));
            option.text = widest;
            option.features = QStyleOptionViewItem::HasDisplay;
            const QRect text =
                grid.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &grid);
            QVERIFY2(grid.fontMetrics().horizontalAdvance(widest) <= text.width(),
                     kColumnHeaders[column]);
            QVERIFY2(grid.horizontalHeader()->sectionSizeHint(column) <= grid.columnWidth(column),
                     kColumnHeaders[column]);
        }
        const QFontMetrics header(grid.verticalHeader()->font());
        const int margins =
            2 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid.verticalHeader());
        QVERIFY(header.horizontalAdvance(QStringLiteral("Entry")) + margins <=
                grid.verticalHeader()->width());
    }

    // The window grows, up to the whole screen, and so does the grid. (That it starts showing
    // all nine columns is tried on screens large enough, in screen_tests.)
    void window_growsAndTheGridWithIt() {
        EntryGrid& grid = ui.grid();
        // Sizing the window to the grid leaves every control its height.
        QVERIFY(ui.main().NodeTabs->height() >= ui.main().NodeTabs->sizeHint().height());
        const QSize before = grid.size();
        ui.main().resize(ui.main().size() + QSize(300, 200));
        QTRY_COMPARE(grid.size(), before + QSize(300, 200));
        QVERIFY(ui.main().maximumSize().width() > ui.main().width());
        QVERIFY(!(ui.main().windowFlags() & Qt::MSWindowsFixedSizeDialogHint));
        ui.main().showMaximized();
        QTRY_VERIFY(ui.main().isMaximized());
    }

    // Dragging the right edge of a column's header widens the column.
    void grid_columnWidensByDraggingItsHeaderEdge() {
        QHeaderView* header = ui.grid().horizontalHeader();
        const int before = ui.grid().columnWidth(ColY);
        const int edge = header->sectionViewportPosition(ColY) + header->sectionSize(ColY) - 1;
        const int y = header->height() / 2;
        QTest::mousePress(header->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(edge, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 40, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                            QPoint(edge + 40, y));
        QCOMPARE(ui.grid().columnWidth(ColY), before + 40);
    }

    // The help explains every command of the menus and every verdict of the check, and says
    // where reports go.
    void help_explainsEveryCommandAndCheckMessage() {
        QString help;
        UiFixture::whenModal([&] {
            THelpWin& window = ui.windows->helpWin;
            help = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
            window.reject();
        });
        ui.trigger("Contents1");
        QStringList commands;
        for (const QMenu* menu : ui.main().MainMenu1->findChildren<QMenu*>())
            if (menu->parent() == ui.main().MainMenu1)
                for (const QAction* action : menu->actions())
                    if (!action->isSeparator())
                        commands.append(action->text().remove(QLatin1Char('&')));
        QVERIFY(commands.size() >= 18);
        const QStringList verdicts = {
            "No Errors",
            "Error: Invalid integer",
            "Error: Must be greater than 0",
            "Error: Must be greater than or equal to 0",
            "Error: Frame number of first entry must be 0",
            "Error: Must equal at least (Frame number + step) of previous entry",
            "Error: Invalid number",
            "Error: Must be >= 0 and < 360",
            "Select Frames",
        };
        for (const QString& term : commands + verdicts)
            QVERIFY2(help.contains(term), qPrintable(term));
        QVERIFY(help.contains(QStringLiteral("issue tracker of the Skyvane project")));
        QVERIFY(!help.contains(QStringLiteral("to the author")));
    }

    void startUp_menusHaveCaptionsOrderAndNoShortcuts() {
        const QMenuBar* bar = ui.main().MainMenu1;
        QStringList titles;
        for (const QAction* action : bar->actions())
            titles.append(action->text());
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&Tools", "&Help"}));
        const auto menu = [&](const char* name) {
            return bar->findChild<QMenu*>(QString::fromLatin1(name));
        };
        QCOMPARE(actionTexts(menu("FileMenu")),
                 QStringList({"&New KEY", "&Open KEY", "Open &Recent", "&Save KEY",
                              "Save KEY &As...", "-", "E&xit"}));
        QCOMPARE(actionNames(menu("FileMenu")),
                 QStringList({"New1", "Open", "OpenRecent1", "Save", "SaveAs1", "N1", "Exit1"}));
        QCOMPARE(actionTexts(menu("EditMenu")),
                 QStringList({"&Undo", "R&edo", "-", "&Copy Frames", "&Paste Frames", "-",
                              "&Insert Frames", "Clea&r Frames", "&Delete Frames", "-",
                              "&Markers..."}));
        QCOMPARE(actionTexts(menu("ToolsMenu")),
                 QStringList({"&Check Data", "Check Pla&yback", "&Mend Jumps", "-",
                              "&Transform Object", "&Offset Values", "&Auto Orientate",
                              "&Smooth Path...", "&Retime...", "-", "3D &Preview"}));
        QCOMPARE(
            actionNames(menu("ToolsMenu")),
            QStringList({"Check1", "CheckPlayback1", "MendJumps1", "N8", "FillDown1", "OffsetVal1",
                         "AutoOrientate1", "SmoothPath1", "Retime1", "N9", "Preview1"}));
        QStringList toolsLetters;
        for (const QString& text : actionTexts(menu("ToolsMenu")))
            if (text.contains('&'))
                toolsLetters.append(text.mid(text.indexOf('&') + 1, 1).toLower());
        toolsLetters.removeDuplicates();
        QCOMPARE(toolsLetters.size(), 9); // every item of the Tools menu has its own letter
        QCOMPARE(actionTexts(menu("HelpMenu")), QStringList({"&Contents", "-", "&About"}));
        QCOMPARE(actionTexts(ui.main().PopupMenu1),
                 QStringList({"Undo", "Redo", "-", "Copy Frames", "Paste Frames", "-",
                              "Insert Frames", "Clear Frames", "Delete Frames", "-", "Check Data",
                              "Check Playback", "Transform Object", "Offset values",
                              "Auto Orientate", "Smooth Path...", "-", "3D Preview"}));
        QCOMPARE(
            actionNames(ui.main().PopupMenu1),
            QStringList({"Undo2", "Redo2", "N11", "Copy2", "Paste2", "N7", "InsFrames2",
                         "ClrFrames2", "DelFrames2", "N4", "Check2", "CheckPlayback2", "FillDown2",
                         "OffsetVal2", "AutoOrientate2", "SmoothPath2", "N6", "Preview2"}));
        // Keys only for the commands every desktop editor has them for.
        QStringList keys;
        for (const QAction* action : ui.main().findChildren<QAction*>())
            if (!action->shortcuts().isEmpty())
                keys.append(action->objectName() + QLatin1Char('=') +
                            QKeySequence::listToString(action->shortcuts()));
        keys.sort();
        QCOMPARE(keys, QStringList({"Contents1=F1", "New1=Ctrl+N", "Open=Ctrl+O",
                                    "Redo1=Ctrl+Shift+Z; Ctrl+Y", "Save=Ctrl+S",
                                    "SaveAs1=Ctrl+Shift+S", "Undo1=Ctrl+Z"}));
        // No access letter is taken twice within a menu.
        for (QMenu* each : bar->findChildren<QMenu*>()) {
            QStringList letters;
            for (const QString& text : actionTexts(each))
                if (text.contains('&'))
                    letters.append(text.mid(text.indexOf('&') + 1, 1).toLower());
            const int count = int(letters.size());
            letters.removeDuplicates();
            QVERIFY2(letters.size() == count, qPrintable(each->objectName()));
        }
    }

    // Typing into the node count is disabled; its arrow keys step it.
    void grid_tabMovesBetweenCellsAndCtrlTabLeavesIt() {
        TMainWindow& main = ui.main();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ui.grid().setFocus();
        QTest::keyClick(&ui.grid(), Qt::Key_Tab);
        QCOMPARE(ui.grid().cursorColumn(), int(ColSteps));
        QVERIFY(ui.grid().hasFocus());
        QTest::keyClick(&ui.grid(), Qt::Key_Tab, Qt::ControlModifier);
        QVERIFY(!ui.grid().hasFocus());
        QVERIFY(main.isAncestorOf(QApplication::focusWidget()));
    }

    void nodeCount_ignoresTypingAndStepsWithArrows() {
        QSpinBox* nodes = ui.main().SENodes;
        QTest::keyClicks(nodes, QStringLiteral("7"));
        QCOMPARE(nodes->value(), 1);
        QTest::keyClick(nodes, Qt::Key_Up);
        QTest::keyClick(nodes, Qt::Key_Up);
        QCOMPARE(nodes->value(), 3);
        QCOMPARE(ui.main().NodeTabs->count(), 3);
        QCOMPARE(ui.main().NodeTabs->tabText(2), QStringLiteral("Node 2"));
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 0);
        QCOMPARE(ui.main().document().Nodes.size(), std::size_t(3));
        QVERIFY(ui.prompts->messages.isEmpty());
    }

    void nodeCount_neverExceedsFifty() {
        for (int i = 0; i < 60; ++i)
            ui.main().SENodes->stepUp();
        QCOMPARE(ui.main().SENodes->value(), kMaxNodes);
        QCOMPARE(ui.main().NodeTabs->count(), kMaxNodes);
    }

    void lowering_withLastTabCurrent_snapsBackSilently() {
        ui.main().SENodes->setValue(2);
        ui.main().NodeTabs->setCurrentIndex(1);
        QTest::keyClick(ui.main().SENodes, Qt::Key_Down);
        QCOMPARE(ui.main().SENodes->value(), 2);
        QCOMPARE(ui.main().NodeTabs->count(), 2);
        QVERIFY(ui.prompts->messages.isEmpty());
    }

    void lowering_withEarlierTab_asksBeforeRemoving_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<int>("nodesAfter");
        QTest::newRow("OK removes the last node") << MessageAnswer::Ok << 2;
        QTest::newRow("Cancel keeps every node") << MessageAnswer::Cancel << 3;
    }
    void lowering_withEarlierTab_asksBeforeRemoving() {
        QFETCH(MessageAnswer, answer);
        QFETCH(int, nodesAfter);
        ui.main().SENodes->setValue(2);
        ui.main().SENodes->setValue(3);
        ui.prompts->answers = {answer};
        QTest::keyClick(ui.main().SENodes, Qt::Key_Down);
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"This will remove the last Node. Proceed?"}));
        QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Confirm);
        QCOMPARE(ui.prompts->messages.first().buttons, MessageButtons::OkCancel);
        QCOMPARE(ui.main().SENodes->value(), nodesAfter);
        QCOMPARE(ui.main().NodeTabs->count(), nodesAfter);
        QCOMPARE(int(ui.main().document().Nodes.size()), nodesAfter);
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 0);
    }

    void tabChange_withFault_staysAndShowsFault() {
        ui.main().SENodes->setValue(2);
        ui.setEntry(0, {"5", "1", "0", "0", "0", "0", "0", "0"});
        QTest::mouseClick(ui.main().NodeTabs, Qt::LeftButton, Qt::NoModifier,
                          ui.main().NodeTabs->tabRect(1).center());
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 0);
        QCOMPARE(ui.main().currentNode(), 0);
        QCOMPARE(ui.main().PNLErrors->text(),
                 QStringLiteral("Error: Frame number of first entry must be 0"));
        QCOMPARE(ui.grid().cursorEntry(), 0);
        QCOMPARE(ui.grid().cursorColumn(), int(ColFrame));
        QVERIFY(ui.prompts->messages.isEmpty());

        // Fixed, the change happens, and the node comes back as it was left.
        ui.typeCell(ColFrame, 0, QStringLiteral("0"));
        ui.main().MeshName->setEditText(QStringLiteral("cam"));
        QTest::mouseClick(ui.main().NodeTabs, Qt::LeftButton, Qt::NoModifier,
                          ui.main().NodeTabs->tabRect(1).center());
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 1);
        QCOMPARE(ui.main().PNLErrors->text(), QStringLiteral("No Errors"));
        QCOMPARE(ui.cell(ColFrame, 0), QString());
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("0"));
        QCOMPARE(ui.main().MeshName->currentText(), QString());
        ui.main().NodeTabs->setCurrentIndex(0);
        QCOMPARE(ui.cell(ColFrame, 0), QStringLiteral("0"));
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("cam"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("1"));
    }

    // What is still being typed into a cell counts first; then the clicked tab is reached.
    void tabChange_whileTypingACell_keepsTheCellAndChanges() {
        ui.fillEntries(2);
        ui.main().SENodes->setValue(2);
        ui.grid().setFocus();
        ui.grid().setCursor(ColX, 1);
        QTest::keyClicks(&ui.grid(), QStringLiteral("4"));
        QVERIFY(ui.grid().indexWidget(ui.grid().currentIndex()));
        QTest::mouseClick(ui.main().NodeTabs, Qt::LeftButton, Qt::NoModifier,
                          ui.main().NodeTabs->tabRect(1).center());
        QCOMPARE(ui.main().currentNode(), 1);
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 1);
        ui.main().NodeTabs->setCurrentIndex(0);
        QCOMPARE(ui.cell(ColX, 1), QStringLiteral("4"));
    }

    void typing_fillsFrameAndStepsAtOnce() {
        ui.typeCell(ColX, 0, QStringLiteral("12.5"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("12.5"));
        QCOMPARE(ui.cell(ColFrame, 0), QStringLiteral("0"));
        QCOMPARE(ui.cell(ColSteps, 0), QStringLiteral("1"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("1"));
        ui.typeCell(ColY, 1, QStringLiteral("3"));
        QCOMPARE(ui.cell(ColFrame, 1), QStringLiteral("1"));
        QCOMPARE(ui.cell(ColSteps, 1), QStringLiteral("1"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("2"));
    }

    void typing_takesFramePlusStepsOfEntryAbove() {
        ui.typeCell(ColFrame, 0, QStringLiteral("5"));
        ui.typeCell(ColSteps, 0, QStringLiteral("10"));
        ui.typeCell(ColY, 1, QStringLiteral("1"));
        QCOMPARE(ui.cell(ColFrame, 1), QStringLiteral("15"));
        // An entry above without an integer Frame gives the entry its own index.
        ui.typeCell(ColFrame, 1, QStringLiteral("x"));
        ui.typeCell(ColRoll, 2, QStringLiteral("1"));
        QCOMPARE(ui.cell(ColFrame, 2), QStringLiteral("2"));
    }

    // A value still being typed, not yet confirmed with Enter or Tab, counts when a command
    // is chosen from the menus or another node's tab is clicked.
    void valueBeingTyped_isTakenByMenuCommandAndTabChange_data() {
        QTest::addColumn<bool>("tabChange");
        QTest::newRow("Tools > Check Data by its access letters") << false;
        QTest::newRow("a click on the tab of Node 1") << true;
    }
    void valueBeingTyped_isTakenByMenuCommandAndTabChange() {
        QFETCH(bool, tabChange);
        TMainWindow& main = ui.main();
        main.SENodes->setValue(2);
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "0", "0"});
        ui.grid().setFocus();
        ui.grid().setCursor(ColYaw, 0);
        QTest::keyClicks(&ui.grid(), QStringLiteral("4"));
        QWidget* editor = ui.grid().indexWidget(ui.grid().currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("00"));
        if (tabChange) {
            QTest::mouseClick(main.NodeTabs, Qt::LeftButton, Qt::NoModifier,
                              main.NodeTabs->tabRect(1).center());
        } else {
            QTest::keyClick(editor, Qt::Key_T, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
        }
        // 400 is no angle: the check sees it, and the tab stays.
        QCOMPARE(ui.cell(ColYaw, 0), QStringLiteral("400"));
        QCOMPARE(main.PNLErrors->text(), QStringLiteral("Error: Must be >= 0 and < 360"));
        QCOMPARE(main.NodeTabs->currentIndex(), 0);
    }

    void emptyingFrameOfFilledEntry_doesNotLast() {
        ui.fillEntries(10);
        ui.grid().setFocus();
        ui.grid().setCursor(ColFrame, 5);
        QTest::keyClick(&ui.grid(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(ui.grid().indexWidget(ui.grid().currentIndex()));
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(ui.cell(ColFrame, 5), QStringLiteral("50"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("10"));
    }

    void tabKey_movesToNextCell() {
        ui.grid().setFocus();
        ui.grid().setCursor(ColFrame, 0);
        QTest::keyClick(&ui.grid(), Qt::Key_Tab);
        QCOMPARE(ui.grid().cursorColumn(), int(ColSteps));
        QTest::keyClicks(&ui.grid(), QStringLiteral("4"));
        QWidget* editor = ui.grid().indexWidget(ui.grid().currentIndex());
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(ui.cell(ColSteps, 0), QStringLiteral("4"));
        QCOMPARE(ui.grid().cursorColumn(), int(ColX));
    }

    void checkData_reportsVerdict_data() {
        QTest::addColumn<QStringList>("entry0");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("box");
        QTest::newRow("valid") << QStringList({"0", "1", "0", "0", "0", "0", "0", "0"})
                               << "No Errors" << int(ColFrame) << "No Errors found!";
        QTest::newRow("yaw 360") << QStringList({"0", "1", "0", "0", "0", "0", "360", "0"})
                                 << "Error: Must be >= 0 and < 360" << int(ColYaw)
                                 << "Error found in Data!";
        QTest::newRow("steps 0") << QStringList({"0", "0", "0", "0", "0", "0", "0", "0"})
                                 << "Error: Must be greater than 0" << int(ColSteps)
                                 << "Error found in Data!";
    }
    void checkData_reportsVerdict() {
        QFETCH(QStringList, entry0);
        QFETCH(QString, status);
        QFETCH(int, column);
        QFETCH(QString, box);
        ui.setEntry(0, entry0);
        ui.grid().setCursor(ColFrame, 0);
        ui.trigger("Check1");
        QCOMPARE(ui.main().PNLErrors->text(), status);
        QCOMPARE(ui.grid().cursorColumn(), column);
        QCOMPARE(ui.prompts->messageTexts(), QStringList({box}));
        QCOMPARE(ui.prompts->messages.first().kind,
                 status == "No Errors" ? MessageKind::Information : MessageKind::Error);
    }

    void transform_withInvalidFrameRate_refuses_data() {
        QTest::addColumn<QString>("rate");
        QTest::newRow("empty") << QString();
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("beyond 32 bits") << QStringLiteral("1e39");
    }
    void transform_withInvalidFrameRate_refuses() {
        QFETCH(QString, rate);
        ui.main().FrameRate->setText(rate);
        bool opened = false;
        UiFixture::whenModal([&] {
            opened = ui.windows->transformWindow.isVisible();
            ui.windows->transformWindow.reject();
        });
        ui.trigger("FillDown1");
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Invalid frame-rate value!"}));
        QCOMPARE(ui.main().focusWidget(), static_cast<QWidget*>(ui.main().FrameRate));
    }

    void transform_withValidFrameRate_opensDialog() {
        bool opened = false;
        UiFixture::whenModal([&] {
            opened = ui.windows->transformWindow.isVisible();
            ui.windows->transformWindow.reject();
        });
        ui.trigger("FillDown2");
        QVERIFY(opened);
        QVERIFY(ui.prompts->messages.isEmpty());
    }

    void newKey_onUntouchedDocument_asksNothing() {
        ui.trigger("New1");
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED"));
    }

    // Every way through New KEY's question.
    void newKey_withData_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("mesh");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("reset");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Cancel keeps everything") << MessageAnswer::Cancel << "cam"
                                                 << "" << false << false;
        QTest::newRow("No discards") << MessageAnswer::No << "cam"
                                     << "" << true << false;
        QTest::newRow("Yes, dialog cancelled") << MessageAnswer::Yes << "cam"
                                               << "" << false << false;
        QTest::newRow("Yes, check fails") << MessageAnswer::Yes << ""
                                          << "new.KEY" << false << false;
        QTest::newRow("Yes, saved") << MessageAnswer::Yes << "cam"
                                    << "new.KEY" << true << true;
    }
    void newKey_withData() {
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, mesh);
        QFETCH(QString, file);
        QFETCH(bool, reset);
        QFETCH(bool, saved);
        giveData();
        giveMeshName(mesh);
        ui.prompts->answers = {answer};
        if (!file.isEmpty())
            ui.prompts->files = {ui.path(file)};
        ui.trigger("New1");
        QCOMPARE(ui.prompts->messages.first().text,
                 QStringLiteral("Do you want to save your data?"));
        QCOMPARE(ui.prompts->messages.first().buttons, MessageButtons::YesNoCancel);
        QCOMPARE(ui.main().MeshName->currentText(), reset ? QString() : mesh);
        QCOMPARE(ui.cell(ColX, 0), reset ? QString() : QStringLiteral("1"));
        QCOMPARE(QFile::exists(ui.path(QStringLiteral("new.KEY"))), saved);
        if (!reset)
            QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
    }

    // A fault reported for the document that is gone does not stay in the status panel.
    void newAndOpen_emptyTheStatusPanel_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("New KEY") << "New1";
        QTest::newRow("Open KEY") << "Open";
    }
    void newAndOpen_emptyTheStatusPanel() {
        QFETCH(QString, action);
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "400", "0"});
        ui.trigger("Check1");
        QCOMPARE(ui.main().PNLErrors->text(), QStringLiteral("Error: Must be >= 0 and < 360"));
        ui.prompts->answers = {MessageAnswer::No};
        ui.prompts->files = {
            ui.writeKey(QStringLiteral("other.KEY"), UiFixture::makeDocument(1, 2))};
        ui.trigger(action.toLatin1().constData());
        QCOMPARE(ui.cell(ColYaw, 0), action == "New1" ? QString() : QStringLiteral("90.00000000"));
        QCOMPARE(ui.main().PNLErrors->text(), QString());
    }

    void newKey_withDataOnlyInOtherNode_asks() {
        ui.main().SENodes->setValue(2);
        giveData();
        ui.main().NodeTabs->setCurrentIndex(1);
        ui.prompts->answers = {MessageAnswer::No};
        ui.trigger("New1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Do you want to save your data?"}));
    }

    void save_writesFileReadBackIdentically() {
        giveMeshName();
        ui.fillEntries(3);
        ui.main().SENodes->setValue(2);
        ui.main().NodeTabs->setCurrentIndex(1);
        giveMeshName(QStringLiteral("second"));
        ui.setEntry(0, {"0", "1", "0", "0", "7", "0", "0", "0"});
        const QString file = ui.path(QStringLiteral("saved.KEY"));
        ui.prompts->files = {file};
        ui.trigger("Save");
        QCOMPARE(ui.prompts->dialogs.size(), 1);
        QCOMPARE(ui.prompts->dialogs.first().title, QStringLiteral("Save KEY"));
        QCOMPARE(ui.prompts->dialogs.first().filter,
                 QStringLiteral("Jedi Knight keyframe files|*.KEY"));
        QCOMPARE(ui.prompts->dialogs.first().defaultExtension, QStringLiteral("KEY"));
        QVERIFY(ui.prompts->dialogs.first().save);
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file);
        const KeyReadResult read = readKeyFile(file.toStdString());
        QVERIFY2(read.ok, read.reason.c_str());
        QCOMPARE(read.document.Nodes.size(), std::size_t(2));
        QCOMPARE(read.document.Nodes[0].Mesh, std::string("cam"));
        QCOMPARE(read.document.Nodes[0].Entries, std::int16_t(3));
        QCOMPARE(read.document.Nodes[1].Mesh, std::string("second"));
        QCOMPARE(read.document.Nodes[1].Entries, std::int16_t(1));
        QCOMPARE(read.document.Fps, 15.0f);

        // Once the document has a name, Save writes to it; Save As asks, offering it.
        ui.setEntry(1, {"2", "1", "0", "0", "8", "0", "0", "0"});
        ui.trigger("Save");
        QCOMPARE(ui.prompts->dialogs.size(), 1);
        QCOMPARE(readKeyFile(file.toStdString()).document.Nodes[1].Entries, std::int16_t(2));
        ui.prompts->files = {QString()};
        ui.trigger("SaveAs1");
        QCOMPARE(ui.prompts->dialogs.size(), 2);
        QCOMPARE(ui.prompts->dialogs.last().lastChosen, file);
    }

    void save_withBadFrameRateAndMissingMesh_showsBothAndWritesNothing() {
        ui.fillEntries(2);
        ui.main().FrameRate->setText(QStringLiteral("abc"));
        ui.prompts->files = {ui.path(QStringLiteral("x.KEY"))};
        ui.trigger("Save");
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"Invalid value !", "You have not entered one of more Mesh Names !"}));
        QCOMPARE(ui.prompts->messages[0].kind, MessageKind::Error);
        QCOMPARE(ui.prompts->messages[1].kind, MessageKind::Warning);
        QVERIFY(ui.prompts->dialogs.isEmpty());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
    }

    void save_withEntryFault_showsItInStatusOnly() {
        giveMeshName();
        ui.setEntry(0, {"0", "1", "0", "0", "0", "0", "400", "0"});
        ui.trigger("Save");
        QCOMPARE(ui.main().PNLErrors->text(), QStringLiteral("Error: Must be >= 0 and < 360"));
        QVERIFY(ui.prompts->messages.isEmpty());
        QVERIFY(ui.prompts->dialogs.isEmpty());
    }

    // A name some reader could not find again, or the game could not hold, is refused.
    void save_refusesMalformedMeshName_data() {
        QTest::addColumn<QString>("mesh");
        QTest::addColumn<bool>("refused");
        QTest::newRow("blank") << "my mesh" << true;
        QTest::newRow("tab") << "my\tmesh" << true;
        QTest::newRow("comma") << "my,mesh" << true;
        QTest::newRow("32 characters") << QString(32, 'm') << true;
        QTest::newRow("31 characters") << QString(31, 'm') << false;
        QTest::newRow("comment mark first") << "#cam" << true;
        QTest::newRow("comment mark inside") << "mesh#3" << true;
        QTest::newRow("accented letter") << QStringLiteral("cam\u00e9") << true;
        QTest::newRow("control character") << QStringLiteral("cam\u0001") << true;
        QTest::newRow("dollars") << "$$dummy" << false;
        QTest::newRow("dash, underscore, dot") << "x-wing_body.l" << false;
    }
    void save_refusesMalformedMeshName() {
        QFETCH(QString, mesh);
        QFETCH(bool, refused);
        ui.fillEntries(1);
        giveMeshName(mesh);
        const QString file = ui.path(QString::fromLatin1(QTest::currentDataTag()) + ".KEY");
        ui.prompts->files = {file};
        ui.trigger("Save");
        QCOMPARE(QFile::exists(file), !refused);
        if (!refused)
            return;
        QCOMPARE(ui.prompts->messageTexts(),
                 QStringList({"Mesh names must have 1 to 31 characters and no blanks, commas, # "
                              "or accented letters !"}));
        QCOMPARE(ui.prompts->messages.first().kind, MessageKind::Warning);
        QWidget* focus = ui.main().focusWidget();
        QVERIFY(focus == ui.main().MeshName || focus == ui.main().MeshName->lineEdit());
    }

    void save_thatFails_reportsAndKeepsCaption() {
        giveMeshName();
        ui.fillEntries(1);
        QDir(ui.dir.path()).mkdir(QStringLiteral("taken.KEY"));
        ui.prompts->files = {ui.path(QStringLiteral("taken.KEY"))};
        ui.trigger("Save");
        QCOMPARE(ui.prompts->errors.size(), 1);
        QVERIFY(ui.prompts->errors.first().endsWith('.'));
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        QVERIFY(QFileInfo(ui.path(QStringLiteral("taken.KEY"))).isDir());
    }

    // A dialog offers again only a name whose command went through.
    void failedCommand_nameIsNotOfferedAgain_data() {
        QTest::addColumn<QString>("action");
        QTest::newRow("Save KEY As into a folder's name") << "SaveAs1";
        QTest::newRow("Open KEY of a file that is none") << "Open";
    }
    void failedCommand_nameIsNotOfferedAgain() {
        QFETCH(QString, action);
        giveMeshName();
        ui.fillEntries(1);
        const QString good = ui.writeKey(QStringLiteral("good.KEY"), UiFixture::makeDocument(1, 1));
        const QString refused = ui.path(action + QStringLiteral("-refused.KEY"));
        if (action == "SaveAs1")
            QVERIFY(QDir(ui.dir.path()).mkdir(QFileInfo(refused).fileName()));
        else
            QVERIFY(QFile(refused).open(QIODevice::WriteOnly));
        ui.prompts->files = {good, refused};
        for (int run = 0; run < 3; ++run) {
            // Open asks first whether to save what the grid holds; a refused file is reported.
            ui.prompts->answers = {MessageAnswer::No, MessageAnswer::Ok};
            ui.trigger(action.toLatin1().constData());
        }
        QCOMPARE(ui.prompts->dialogs.size(), 3);
        QCOMPARE(ui.prompts->dialogs[1].lastChosen, good);
        QCOMPARE(ui.prompts->dialogs[2].lastChosen, good);
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + good);
    }

    void save_writesTypedFrameRate() {
        giveMeshName();
        ui.fillEntries(1);
        ui.main().FrameRate->selectAll();
        QTest::keyClicks(ui.main().FrameRate, QStringLiteral("30"));
        const QString file = ui.path(QStringLiteral("fps.KEY"));
        ui.prompts->files = {file};
        ui.trigger("Save");
        const KeyReadResult read = readKeyFile(file.toStdString());
        QVERIFY(read.ok);
        QCOMPARE(read.document.Fps, 30.0f);
    }

    void save_keepsFrameRateReadFromFileAtFullPrecision() {
        const QString source =
            ui.writeKey(QStringLiteral("src.KEY"), UiFixture::makeDocument(1, 2, 12.345f));
        ui.prompts->files = {source};
        ui.trigger("Open");
        QCOMPARE(ui.main().FrameRate->text(), QStringLiteral("12.35"));
        const QString copy = ui.path(QStringLiteral("copy.KEY"));
        ui.prompts->files = {copy};
        ui.trigger("SaveAs1");
        const KeyReadResult read = readKeyFile(copy.toStdString());
        QVERIFY(read.ok);
        QCOMPARE(read.document.Fps, 12.345f);
    }

    void open_readsFileAndLoadsFirstNode() {
        const QString file =
            ui.writeKey(QStringLiteral("three.KEY"), UiFixture::makeDocument(3, 4, 30.0f));
        {
            // A list offered by a model before, not a name given.
            const QSignalBlocker quiet(ui.main().MeshName);
            ui.main().MeshName->addItem(QStringLiteral("old choice"));
        }
        ui.prompts->files = {file};
        ui.trigger("Open");
        QCOMPARE(ui.prompts->dialogs.first().title, QStringLiteral("Open KEY"));
        QVERIFY(!ui.prompts->dialogs.first().save);
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - ") + file);
        QCOMPARE(ui.main().NodeTabs->count(), 3);
        QCOMPARE(ui.main().NodeTabs->tabText(2), QStringLiteral("Node 2"));
        QCOMPARE(ui.main().NodeTabs->currentIndex(), 0);
        QCOMPARE(ui.main().SENodes->value(), 3);
        QCOMPARE(ui.main().FrameRate->text(), QStringLiteral("30.00"));
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("mesh0"));
        QCOMPARE(ui.main().MeshName->count(), 0);
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("4"));
        QCOMPARE(ui.cell(ColEntry, 3), QStringLiteral("3"));
        QVERIFY(!ui.cell(ColX, 3).isEmpty());
        ui.main().NodeTabs->setCurrentIndex(2);
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("mesh2"));
    }

    void open_cancelled_keepsDocument() {
        giveData();
        ui.prompts->answers = {MessageAnswer::No};
        ui.trigger("Open");
        QCOMPARE(ui.prompts->dialogs.size(), 1);
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("1"));
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
    }

    void open_afterSavingFirst_thenCancelled_keepsDocument() {
        giveData();
        giveMeshName();
        const QString file = ui.path(QStringLiteral("first.KEY"));
        ui.prompts->answers = {MessageAnswer::Yes};
        ui.prompts->files = {file, QString()};
        ui.trigger("Open");
        QVERIFY(QFile::exists(file));
        QCOMPARE(ui.prompts->dialogs.size(), 2);
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("1"));
    }

    void open_withCancelledQuestion_showsNoDialog() {
        giveData();
        ui.prompts->answers = {MessageAnswer::Cancel};
        ui.trigger("Open");
        QVERIFY(ui.prompts->dialogs.isEmpty());
    }

    void openUnreadableFile_keepsDocument() {
        ui.main().SENodes->setValue(2);
        giveData();
        giveMeshName();
        const QString file = ui.path(QStringLiteral("bad.KEY"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("this is no keyframe file\r\n");
        out.close();
        ui.prompts->answers = {MessageAnswer::No};
        ui.prompts->files = {file};
        ui.trigger("Open");
        QCOMPARE(ui.prompts->messages.size(), 2);
        const AskedMessage& box = ui.prompts->messages[1];
        QCOMPARE(box.kind, MessageKind::Error);
        QVERIFY(box.text.startsWith(QStringLiteral("Not a valid KEY file!\n")));
        QVERIFY(box.text.size() > QStringLiteral("Not a valid KEY file!\n").size());
        QCOMPARE(shownCaption(ui.main()), QStringLiteral("Skyvane - UNTITLED*"));
        QCOMPARE(ui.main().NodeTabs->count(), 2);
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("1"));
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("cam"));
        QCOMPARE(ui.main().FrameRate->text(), QStringLiteral("15.000"));
    }

    void openFileWithoutNodes_givesOneEmptyNode() {
        const QString file =
            ui.writeKey(QStringLiteral("empty.KEY"), UiFixture::makeDocument(0, 0));
        ui.prompts->files = {file};
        ui.trigger("Open");
        QVERIFY(ui.prompts->errors.isEmpty());
        QCOMPARE(ui.main().NodeTabs->count(), 1);
        QCOMPARE(ui.main().NodeTabs->tabText(0), QStringLiteral("Node 0"));
        QCOMPARE(ui.main().SENodes->value(), 1);
        QCOMPARE(ui.main().document().Nodes.size(), std::size_t(1));
        ui.typeCell(ColX, 0, QStringLiteral("2"));
        QCOMPARE(ui.main().NumEntries->text(), QStringLiteral("1"));
    }

    void openFileWithMoreThanFiftyNodes_keepsAllWithoutAsking() {
        const QString file =
            ui.writeKey(QStringLiteral("many.KEY"), UiFixture::makeDocument(52, 1));
        ui.prompts->files = {file};
        ui.trigger("Open");
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(ui.main().NodeTabs->count(), 52);
        QCOMPARE(ui.main().document().Nodes.size(), std::size_t(52));
        QCOMPARE(ui.main().SENodes->value(), kMaxNodes);

        // Lowering the box then removes one node per confirmed step.
        ui.prompts->answers = {MessageAnswer::Ok};
        QTest::keyClick(ui.main().SENodes, Qt::Key_Down);
        QCOMPARE(ui.main().document().Nodes.size(), std::size_t(51));
        QCOMPARE(ui.main().SENodes->value(), kMaxNodes);
    }

    // A name beyond ASCII in a file is read as it stands, byte for byte; saving it is refused
    // (nothing written, the document kept) until the user renames it.
    void meshNameBeyondAscii_isReadButNotSaved() {
        TKeyDocument document = UiFixture::makeDocument(1, 1);
        document.Nodes[0].Mesh = "cam\xe9";
        const QString source = ui.writeKey(QStringLiteral("latin.KEY"), document);
        ui.prompts->files = {source};
        ui.trigger("Open");
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("cam\u00e9"));
        const QString copy = ui.path(QStringLiteral("latin2.KEY"));
        ui.prompts->files = {copy};
        ui.trigger("Save");
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(ui.prompts->messageTexts().last(),
                 QStringLiteral("Mesh names must have 1 to 31 characters and no blanks, commas, "
                                "# or accented letters !"));
        QCOMPARE(ui.main().document().Nodes[0].Mesh, std::string("cam\xe9"));
        QCOMPARE(ui.cell(ColFrame, 0), QStringLiteral("0"));

        ui.main().MeshName->setEditText(QStringLiteral("cam"));
        ui.prompts->files = {copy};
        ui.trigger("SaveAs1");
        QVERIFY(fileBytes(copy).contains("\r\nMESH NAME cam\r\n"));
    }

    void exit_untouched_closesWithoutQuestion() {
        QVERIFY(ui.main().close());
        QVERIFY(ui.prompts->messages.isEmpty());
    }

    void exit_withData_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("closed");
        QTest::newRow("Cancel stays") << MessageAnswer::Cancel << "" << false;
        QTest::newRow("No quits") << MessageAnswer::No << "" << true;
        QTest::newRow("Yes, dialog cancelled, stays") << MessageAnswer::Yes << "" << false;
        QTest::newRow("Yes saves, then quits") << MessageAnswer::Yes << "exit.KEY" << true;
    }
    void exit_withData() {
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, file);
        QFETCH(bool, closed);
        giveData();
        giveMeshName();
        ui.prompts->answers = {answer};
        if (!file.isEmpty())
            ui.prompts->files = {ui.path(file)};
        ui.trigger("Exit1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Do you want to save your data?"}));
        QCOMPARE(ui.main().isVisible(), !closed);
        if (!file.isEmpty())
            QVERIFY(QFile::exists(ui.path(file)));
    }

    void exit_withFailedCheck_stays() {
        giveData();
        ui.trigger("Exit1");
        QVERIFY(ui.prompts->messageTexts().contains(
            QStringLiteral("You have not entered one of more Mesh Names !")));
        QVERIFY(ui.main().isVisible());
    }

    void getMeshNames_fillsChoicesOrRefuses() {
        const QString model = ui.path(QStringLiteral("ship.3DO"));
        QFile out(model);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("SECTION: HEADER\r\n3DO 2.1\r\nSECTION: GEOMETRYDEF\r\nMESHES 2\r\n"
                  "MESH 0\r\nNAME hull\r\nMESH 1\r\nNAME wing\r\n");
        out.close();
        ui.prompts->files = {model};
        QTest::mouseClick(ui.main().BtnGetMeshName, Qt::LeftButton);
        QCOMPARE(ui.prompts->dialogs.first().title, QStringLiteral("Open 3DO"));
        QCOMPARE(ui.prompts->dialogs.first().filter, QStringLiteral("Jedi Knight 3DO files|*.3DO"));
        QCOMPARE(ui.main().MeshName->count(), 2);
        QCOMPARE(ui.main().MeshName->itemText(1), QStringLiteral("wing"));
        QCOMPARE(ui.main().MeshName->currentText(), QStringLiteral("hull"));

        const QString notModel =
            ui.writeKey(QStringLiteral("k.KEY"), UiFixture::makeDocument(1, 1));
        ui.prompts->files = {notModel};
        QTest::mouseClick(ui.main().BtnGetMeshName, Qt::LeftButton);
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"Not a valid 3DO file!"}));
        QCOMPARE(ui.main().MeshName->count(), 2);
        QCOMPARE(ui.prompts->dialogs.last().lastChosen, model);

        // The preview's Load 3DO offers the model that gave the names.
        QTest::mouseClick(ui.windows->previewWindow.findChild<QPushButton*>("BtnLoad3DO"),
                          Qt::LeftButton);
        QCOMPARE(ui.prompts->dialogs.last().objectName, QStringLiteral("Open3DO"));
        QCOMPARE(ui.prompts->dialogs.last().lastChosen, model);
    }

    // The preview poses an object by every node: the current one as it stands in the grid and
    // the mesh-name box, not as last stored.
    void keyNodes_giveTheCurrentNodeAsEdited() {
        giveData();
        giveMeshName(QStringLiteral("hull"));
        ui.main().SENodes->setValue(2);
        ui.main().NodeTabs->setCurrentIndex(1);
        ui.setEntry(0, {"0", "1", "5", "0", "0", "0", "0", "0"});
        ui.setEntry(1, {"10", "1", "6", "0", "0", "0", "0", "0"});
        giveMeshName(QStringLiteral("wing"));
        const std::vector<KeyNodeTrack> nodes = ui.main().keyNodes();
        QCOMPARE(ui.main().currentNode(), 1);
        QCOMPARE(nodes.size(), std::size_t{2});
        QCOMPARE(nodes[0].mesh, std::string("hull"));
        QCOMPARE(nodes[0].count, 1);
        QCOMPARE(nodes[0].table->cell(ColX, 0), std::string("1"));
        QCOMPARE(nodes[1].mesh, std::string("wing"));
        QCOMPARE(nodes[1].count, 2);
        QCOMPARE(nodes[1].table, &ui.main().entries());
    }
};

#include "mainwin_test.moc"

std::unique_ptr<QObject> makeMainWindowTest() {
    return std::make_unique<MainWindowTest>();
}
