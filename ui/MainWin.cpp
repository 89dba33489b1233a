#include "MainWin.h"

namespace skyvane {

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Skyvane - UNTITLED"));
}

} // namespace skyvane
