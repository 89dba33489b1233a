// The 3D preview window: the current node's trajectory over a ground grid, steered by keys.
#pragma once

#include <QWidget>

namespace skyvane {

class GridHost;

class TPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewWindow(GridHost& host, QWidget* parent = nullptr);

private:
    GridHost& host_;
};

} // namespace skyvane
