// The program's windows: created in start-up order and handed to the main window; placed on
// the screen at start-up.
#include "ui/AppWindows.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>

#include "ui/EntryGrid.h"
#include "ui/FileDrops.h"
#include "ui/WindowPlacement.h"

namespace skyvane {
namespace {

const QString kMainPlaceKey = QStringLiteral("Places/MainWindow");
const QString kPreviewPlaceKey = QStringLiteral("Places/PreviewWindow");
// The preview's panel of read-outs (200 by 300 pixels) and a picture as wide.
constexpr Size kPreviewMinimum{400, 300};
// Over the main window: the panel, which scrolls, beside a small picture.
constexpr Size kPreviewSmallest{320, 200};
constexpr int kKeptEntries = 5;

} // namespace

char decimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() != 1 || point.at(0).unicode() > 0xFF)
        return '.';
    return static_cast<char>(point.at(0).toLatin1());
}

AppWindows::AppWindows()
    : frameSelector(mainWindow, &mainWindow), insertWindow(&mainWindow),
      offsetWindow(mainWindow, &mainWindow), previewWindow(mainWindow, nullptr),
      orientateWindow(mainWindow, &mainWindow), transformWindow(mainWindow, &mainWindow),
      aboutWin(&mainWindow), helpWin(&mainWindow), smoothWindow(mainWindow, &mainWindow),
      retimeWindow(mainWindow, &mainWindow) {
    QGuiApplication::setWindowIcon(applicationIcon());
    mainWindow.setSecondaryWindows({&frameSelector, &insertWindow, &offsetWindow, &previewWindow,
                                    &orientateWindow, &transformWindow, &aboutWin, &helpWin,
                                    &smoothWindow, &retimeWindow});
    // Only the main window ends the program; the others are hidden when closed.
    for (QWidget* window : std::initializer_list<QWidget*>{
             &frameSelector, &insertWindow, &offsetWindow, &previewWindow, &orientateWindow,
             &transformWindow, &aboutWin, &helpWin, &smoothWindow, &retimeWindow})
        window->setAttribute(Qt::WA_QuitOnClose, false);
    for (QWidget* window : std::initializer_list<QWidget*>{
             &mainWindow, &frameSelector, &insertWindow, &offsetWindow, &previewWindow,
             &orientateWindow, &transformWindow, &aboutWin, &helpWin, &smoothWindow, &retimeWindow})
        keepOnScreen(*window);
    // A file dropped on the preview is meant for the document.
    new FileDrops(&previewWindow, [this](const QString& path) { mainWindow.openFile(path); });
}

QIcon applicationIcon() {
    QIcon bundled;
    const QDir pictures(QStringLiteral(":/icons"));
    for (const QString& picture : pictures.entryList())
        bundled.addFile(pictures.filePath(picture));
    return QIcon::fromTheme(QStringLiteral("skyvane"), bundled);
}

GridAreas gridAreasOf(const TMainWindow& main) {
    const EntryGrid& grid = *main.DataGrid;
    const QPoint origin = grid.mapTo(&main, QPoint(0, 0));
    const QWidget& cells = *grid.viewport();
    const QPoint from = cells.mapTo(&main, QPoint(grid.columnViewportPosition(ColFrame), 0));
    const QPoint to =
        cells.mapTo(&main, QPoint(grid.columnViewportPosition(ColZ) + grid.columnWidth(ColZ),
                                  grid.rowViewportPosition(kKeptEntries - 1) +
                                      grid.rowHeight(kKeptEntries - 1)));
    return {{origin.x(), origin.y(), grid.width(), grid.height()},
            {from.x(), origin.y(), to.x() - from.x(), to.y() - origin.y()}};
}

void AppWindows::show(const QString& file) {
    StartScreen screen = startScreen();
    setPlace(mainWindow, skyvane::placeStartWindows(screen).main);
    mainWindow.show();
    // Where the grid lies is known once the main window is laid out.
    const GridAreas grid = gridAreasOf(mainWindow);
    screen.grid = grid.grid;
    screen.gridKeepVisible = grid.keepVisible;
    setPlace(previewWindow, skyvane::placeStartWindows(screen).preview);
    previewWindow.show();
    mainWindow.activateWindow();
    if (!file.isEmpty())
        mainWindow.openFile(file);
}

StartScreen AppWindows::startScreen() const {
    StartScreen screen;
    screen.areas = availableAreas();
    screen.frame = frameMarginsOf(mainWindow);
    screen.main = placeOf(mainWindow);
    screen.preview = placeOf(previewWindow);
    screen.mainMinimum = minimumSizeOf(mainWindow);
    screen.previewMinimum = kPreviewMinimum;
    screen.previewSmallest = kPreviewSmallest;
    screen.rememberedMain = rememberedPlace(kMainPlaceKey);
    screen.rememberedPreview = rememberedPlace(kPreviewPlaceKey);
    return screen;
}

void AppWindows::rememberPlaces() const {
    rememberPlace(kMainPlaceKey, mainWindow);
    rememberPlace(kPreviewPlaceKey, previewWindow);
}

} // namespace skyvane
