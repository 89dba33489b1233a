// Smooth Path: new entries between the keys of a range, on a curve through them.
#pragma once

#include "tools/rangedialog.h"

class QRadioButton;
class QSpinBox;

namespace skyvane {

class TSmoothWindow : public RangeDialog {
    Q_OBJECT
public:
    explicit TSmoothWindow(GridHost& host, QWidget* parent = nullptr);

    QSpinBox* SESpacing = nullptr;
    QRadioButton* RBCatmullRom = nullptr;
    QRadioButton* RBLinear = nullptr;

protected:
    void BBOkClick() override;

private:
    void createGui();
};

} // namespace skyvane
