// Auto Orientate: sets Pitch and Yaw of a range so the object faces along its path or a point.
#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace skyvane {

class GridHost;

class TOrientateWindow : public QDialog {
    Q_OBJECT
public:
    explicit TOrientateWindow(GridHost& host, QWidget* parent = nullptr);

    // The range chosen in the frame selector (first and last entry, both included).
    void setRange(int firstEntry, int lastEntry);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createGui();
    void FormActivate();
    void BBOkClick();

    GridHost& host_;
    int firstEntry_ = 0;
    int lastEntry_ = 0;

    QRadioButton* RBNextEntry = nullptr;
    QRadioButton* RBPoint = nullptr;
    std::array<QLineEdit*, 3> pointBoxes_{}; // EdX, EdY, EdZ
    QPushButton* BBOk = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

} // namespace skyvane
