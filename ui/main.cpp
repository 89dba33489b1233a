// Start-up: the application, its windows, and the event loop.
#include <QApplication>

#include "MainWin.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    skyvane::TMainWindow mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
