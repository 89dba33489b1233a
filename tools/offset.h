// Offset Values: shifts a range of entries by constant amounts.
#pragma once

#include <QDialog>
#include <array>

#include "core/values.h"

class QLineEdit;
class QPushButton;

namespace skyvane {

class GridHost;

class TOffsetWindow : public QDialog {
    Q_OBJECT
public:
    explicit TOffsetWindow(GridHost& host, QWidget* parent = nullptr);

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

    // EDX, EDY, EDZ, EDPitch, EDYaw, EDRoll.
    std::array<QLineEdit*, kValueCount> offsetBoxes_{};
    QPushButton* BBOk = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

} // namespace skyvane
