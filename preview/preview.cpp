#include "preview.h"

#include "GridHost.h"

namespace skyvane {

TPreviewWindow::TPreviewWindow(GridHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setWindowTitle(QStringLiteral("3D Preview"));
    setObjectName(QStringLiteral("PreviewWindow"));
    setGeometry(80, 80, 650, 470);
}

} // namespace skyvane
