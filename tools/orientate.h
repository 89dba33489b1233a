// Auto Orientate: sets Pitch and Yaw of a range so the object faces along its path or a point.
#pragma once

#include <QDialog>

namespace skyvane {

class GridHost;

class TOrientateWindow : public QDialog {
    Q_OBJECT
public:
    explicit TOrientateWindow(GridHost& host, QWidget* parent = nullptr);

    // The range chosen in the frame selector (first and last entry, both included).
    void setRange(int firstEntry, int lastEntry);

private:
    GridHost& host_;
    int firstEntry_ = 0;
    int lastEntry_ = 0;
};

} // namespace skyvane
