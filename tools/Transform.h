// Transform Object: generates one entry per frame from initial velocities and accelerations.
#pragma once

#include <QDialog>

namespace skyvane {

class GridHost;

class TTransformWindow : public QDialog {
    Q_OBJECT
public:
    explicit TTransformWindow(GridHost& host, QWidget* parent = nullptr);

    // Set by the main window's command before the dialog is shown.
    void setFramesPerSecond(float framesPerSecond);
    void setStartEntry(int entry); // clamped to 0..999

private:
    GridHost& host_;
    float FramesPerSecond = 15.0f;
};

} // namespace skyvane
