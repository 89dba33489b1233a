// Insert Frames: asks how many empty entries to insert at the grid cursor.
#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

namespace skyvane {

class TInsertWindow : public QDialog {
    Q_OBJECT
public:
    explicit TInsertWindow(QWidget* parent = nullptr);

    // The count last confirmed; the box keeps it for the next time.
    int frameCount() const;

    void BitBtn1Click(); // OK

    QSpinBox* SENoFrames = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createGui();
};

} // namespace skyvane
