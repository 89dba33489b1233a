// The 3D preview window: the current node's trajectory over a ground grid, steered by keys.
#pragma once

#include <QWidget>

#include "scene.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace skyvane {

class GridHost;

class TPreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewWindow(GridHost& host, QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGui();
    void FormActivate();
    void FormResize();
    void SpEntryChange();
    void FormKeyDown(const QKeyEvent& key);
    void DrawScene();
    void showReadOuts(unsigned readOuts);

    GridHost& host_;
    Camera camera_ = startCamera();
    int EntryCount = 0;

    QWidget* LeftPanel = nullptr;
    QFrame* RightPanel = nullptr;
    QSpinBox* SpEntry = nullptr;
    QLineEdit* EDX = nullptr;
    QLineEdit* EDY = nullptr;
    QLineEdit* EDZ = nullptr;
    QLineEdit* EDu = nullptr;
    QLineEdit* EDv = nullptr;
    QLineEdit* EDw = nullptr;
    QLineEdit* EDZoom = nullptr;
    QLabel* Image1 = nullptr;
};

} // namespace skyvane
