#include "temphelp.h"

namespace skyvane {

THelpWin::THelpWin(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Helpa !"));
}

} // namespace skyvane
