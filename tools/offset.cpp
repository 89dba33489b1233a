#include "offset.h"

#include "GridHost.h"

namespace skyvane {

TOffsetWindow::TOffsetWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setWindowTitle(QStringLiteral("Offset Values"));
}

} // namespace skyvane

void skyvane::TOffsetWindow::setRange(int firstEntry, int lastEntry) {
    firstEntry_ = firstEntry;
    lastEntry_ = lastEntry;
}
