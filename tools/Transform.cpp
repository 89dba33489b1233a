#include "Transform.h"

#include "GridHost.h"

namespace skyvane {

TTransformWindow::TTransformWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setWindowTitle(QStringLiteral("Transform Object"));
}

} // namespace skyvane

void skyvane::TTransformWindow::setFramesPerSecond(float framesPerSecond) {
    FramesPerSecond = framesPerSecond;
}
void skyvane::TTransformWindow::setStartEntry(int) {}
