// Transform Object: generates one entry per frame from initial velocities and accelerations.
#pragma once

#include <QDialog>
#include <array>

#include "tools/transformcalc.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace skyvane {

class GridHost;

class TTransformWindow : public QDialog {
    Q_OBJECT
public:
    explicit TTransformWindow(GridHost& host, QWidget* parent = nullptr);

    // Set by the main window's command before the dialog is shown.
    void setFramesPerSecond(float framesPerSecond);
    void setStartEntry(int entry); // clamped to 0..999

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls of one of the six axes.
    struct AxisBoxes {
        QCheckBox* check = nullptr;
        QLineEdit* speed = nullptr;
        QLineEdit* accel = nullptr;
        QLineEdit* finSpeed = nullptr;
    };

    void createGui();
    int createAxisGroup(const QString& title, int firstAxis, const QString& velocityUnit,
                        const QString& accelerationUnit, int top);
    void connectHandlers();

    void StartEntryChange();
    void EDTimeChange();
    void SpeedChange(int axis);
    void AccelChange(int axis);
    void FinSpeedChange(int axis);
    void BBOkClick();

    // The twelve velocity and acceleration boxes in table units; false when one is not a
    // number.
    bool readMotions(std::array<AxisMotion, kValueCount>& motions) const;

    GridHost& host_;
    float FramesPerSecond = 15.0f;

    int boxWidth_ = 0; // every number box's width

    QSpinBox* StartEntry = nullptr;
    QLineEdit* EDTime = nullptr;
    std::array<AxisBoxes, kValueCount> axes_;
    QPushButton* BBOk = nullptr;
    QPushButton* BBCancel = nullptr;
};

} // namespace skyvane
