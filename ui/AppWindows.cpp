// The program's windows: created in start-up order and handed to the main window.
#include "AppWindows.h"

#include <QLocale>

namespace skyvane {

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
      aboutWin(&mainWindow), helpWin(&mainWindow) {
    mainWindow.setSecondaryWindows({&frameSelector, &insertWindow, &offsetWindow, &previewWindow,
                                    &orientateWindow, &transformWindow, &aboutWin, &helpWin});
    // Only the main window ends the program; the others are hidden when closed.
    for (QWidget* window : std::initializer_list<QWidget*>{
             &frameSelector, &insertWindow, &offsetWindow, &previewWindow, &orientateWindow,
             &transformWindow, &aboutWin, &helpWin})
        window->setAttribute(Qt::WA_QuitOnClose, false);
}

void AppWindows::show() {
    mainWindow.show();
    previewWindow.show();
    mainWindow.activateWindow();
}

} // namespace skyvane
