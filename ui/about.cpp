#include "about.h"

namespace skyvane {

TAboutWin::TAboutWin(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Skyvane"));
}

} // namespace skyvane
