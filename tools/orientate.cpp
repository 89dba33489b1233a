#include "orientate.h"

#include "GridHost.h"

namespace skyvane {

TOrientateWindow::TOrientateWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setWindowTitle(QStringLiteral("Auto Orientate"));
}

} // namespace skyvane

void skyvane::TOrientateWindow::setRange(int firstEntry, int lastEntry) {
    firstEntry_ = firstEntry;
    lastEntry_ = lastEntry;
}
