// The program's windows: created in start-up order and handed to the main window; placed on
// the screen at start-up.
#include "AppWindows.h"

#include <QLocale>

#include "FileDrops.h"
#include "WindowPlacement.h"

namespace skyvane {
namespace {

const QString kMainPlaceKey = QStringLiteral("Places/MainWindow");
const QString kPreviewPlaceKey = QStringLiteral("Places/PreviewWindow");
// The preview's panel of read-outs (200 by 300 pixels) and a picture as wide.
constexpr Size kPreviewMinimum{400, 300};

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

void AppWindows::show(const QString& file) {
    placeStartWindows();
    mainWindow.show();
    previewWindow.show();
    mainWindow.activateWindow();
    if (!file.isEmpty())
        mainWindow.openFile(file);
}

void AppWindows::placeStartWindows() {
    StartScreen screen;
    screen.areas = availableAreas();
    screen.frame = frameMarginsOf(mainWindow);
    screen.main = placeOf(mainWindow);
    screen.preview = placeOf(previewWindow);
    screen.mainMinimum = minimumSizeOf(mainWindow);
    screen.previewMinimum = kPreviewMinimum;
    screen.rememberedMain = rememberedPlace(kMainPlaceKey);
    screen.rememberedPreview = rememberedPlace(kPreviewPlaceKey);
    const StartPlaces places = skyvane::placeStartWindows(screen);
    setPlace(mainWindow, places.main);
    setPlace(previewWindow, places.preview);
}

void AppWindows::rememberPlaces() const {
    rememberPlace(kMainPlaceKey, mainWindow);
    rememberPlace(kPreviewPlaceKey, previewWindow);
}

} // namespace skyvane
