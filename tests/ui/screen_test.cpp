// The windows on an offscreen screen whose size and scale the test run chooses: nothing outside
// the available area, the preview apart from the main window where there is room for both
// (SKYVANE_TEST_ROOM=1), the frame selector clear of the grid, and places kept between runs.
#include <QApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ui/AppWindows.h"
#include "ui/EntryGrid.h"
#include "ScriptedPrompts.h"

namespace skyvane::test {

class ScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<AppWindows> windows;

    QRect area() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // A run of the program up to its first event loop.
    void startRun() {
        windows = std::make_unique<AppWindows>();
        windows->show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows->mainWindow));
        QVERIFY(QTest::qWaitForWindowExposed(&windows->previewWindow));
    }

    QString inside(const QWidget& window) const {
        return QStringLiteral("%1 at %2,%3 %4x%5 on %6x%7")
            .arg(window.objectName())
            .arg(window.frameGeometry().x())
            .arg(window.frameGeometry().y())
            .arg(window.frameGeometry().width())
            .arg(window.frameGeometry().height())
            .arg(area().width())
            .arg(area().height());
    }

private slots:
    void init() {
        settings = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings->path());
        prompts = std::make_unique<ScriptedPrompts>();
        startRun();
    }
    void cleanup() {
        windows.reset();
        prompts.reset();
    }

    void startUp_windowsInsideTheScreenAndApartWhereThereIsRoom() {
        const TMainWindow& main = windows->mainWindow;
        const TPreviewWindow& preview = windows->previewWindow;
        QVERIFY2(area().contains(main.frameGeometry()), qPrintable(inside(main)));
        QVERIFY2(area().contains(preview.frameGeometry()), qPrintable(inside(preview)));
        if (qEnvironmentVariableIntValue("SKYVANE_TEST_ROOM") == 1)
            QVERIFY2(!main.frameGeometry().intersects(preview.frameGeometry()),
                     qPrintable(inside(main) + " / " + inside(preview)));
    }

    // Where the preview must overlap the main window, it leaves the grid's headers and first
    // five entries of the Frame to Z columns in view.
    void startUp_previewLeavesTheGridsFirstRowsInView() {
        const TMainWindow& main = windows->mainWindow;
        const Rect keep = gridAreasOf(main).keepVisible;
        const QRect kept(main.mapToGlobal(QPoint(keep.x, keep.y)), QSize(keep.width, keep.height));
        QVERIFY2(area().contains(kept), qPrintable(inside(main)));
        QVERIFY2(!windows->previewWindow.frameGeometry().intersects(kept),
                 qPrintable(inside(windows->previewWindow)));
    }

    // Where there is room, the main window starts wide enough for all nine columns.
    void startUp_gridShowsAllColumnsWhereThereIsRoom() {
        if (qEnvironmentVariableIntValue("SKYVANE_TEST_ROOM") != 1)
            QSKIP("the screen is too small for the window's starting size");
        const EntryGrid& grid = *windows->mainWindow.DataGrid;
        QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);
        QVERIFY(grid.columnViewportPosition(ColRoll) + grid.columnWidth(ColRoll) <=
                grid.viewport()->width());
    }

    void selector_opensClearOfTheGridsRows() {
        TMainWindow& main = windows->mainWindow;
        main.setCursorEntry(4);
        main.ClrFrames1Click();
        TFrameSelector& selector = windows->frameSelector;
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        const QRect grid(main.DataGrid->mapToGlobal(QPoint(0, 0)), main.DataGrid->size());
        QVERIFY2(!selector.frameGeometry().intersects(grid), qPrintable(inside(selector)));
        QVERIFY2(area().contains(selector.frameGeometry()), qPrintable(inside(selector)));
    }

    void everyDialog_opensInsideTheScreen() {
        for (QWidget* dialog : std::initializer_list<QWidget*>{
                 &windows->insertWindow, &windows->offsetWindow, &windows->orientateWindow,
                 &windows->transformWindow, &windows->aboutWin, &windows->helpWin,
                 &windows->smoothWindow, &windows->retimeWindow}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            QVERIFY2(area().contains(dialog->frameGeometry()), qPrintable(inside(*dialog)));
            dialog->hide();
        }
    }

    void places_areKeptForTheNextRunWhileTheyFit() {
        TMainWindow& main = windows->mainWindow;
        const QPoint moved = area().topLeft() + QPoint(40, 30);
        main.move(moved);
        main.resize(420, 300);
        windows->rememberPlaces();
        windows.reset();
        startRun();
        QCOMPARE(windows->mainWindow.pos(), moved);
        QCOMPARE(windows->mainWindow.size(), QSize(420, 300));

        // Remembered beyond the screen's edge: placed as designed instead, inside the screen.
        QSettings().setValue(QStringLiteral("Places/MainWindow"),
                             QRect(area().right() - 100, 40, 640, 480));
        windows.reset();
        startRun();
        QVERIFY2(area().contains(windows->mainWindow.frameGeometry()),
                 qPrintable(inside(windows->mainWindow)));
        QVERIFY(windows->mainWindow.x() < area().right() - 100);
    }
};

} // namespace skyvane::test

QTEST_MAIN(skyvane::test::ScreenTest)

#include "screen_test.moc"
