// What the dialogs of Smooth Path and Retime share: a range chosen in the frame selector that
// must pass the entry check each time the dialog opens, and OK and Cancel below.
#pragma once

#include <QDialog>

class QPushButton;

namespace skyvane {

class GridHost;

class RangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit RangeDialog(GridHost& host, QWidget* parent = nullptr);

    // The range chosen in the frame selector (first and last entry, both included).
    void setRange(int firstEntry, int lastEntry);

    QPushButton* BBOk = nullptr;
    QPushButton* BBCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // OK and Cancel side by side, centred in a dialog `width` wide, at `top`; then the dialog
    // takes that width and `height`.
    void addButtons(int width, int top, int height);
    // Once the range passed its check on opening.
    virtual void rangeOpened() {}
    virtual void BBOkClick() = 0;

    GridHost& host_;
    int firstEntry_ = 0;
    int lastEntry_ = 0;
};

} // namespace skyvane
