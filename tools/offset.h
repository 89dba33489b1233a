// Offset Values: shifts a range of entries by constant amounts.
#pragma once

#include <QDialog>

namespace skyvane {

class GridHost;

class TOffsetWindow : public QDialog {
    Q_OBJECT
public:
    explicit TOffsetWindow(GridHost& host, QWidget* parent = nullptr);

    // The range chosen in the frame selector (first and last entry, both included).
    void setRange(int firstEntry, int lastEntry);

private:
    GridHost& host_;
    int firstEntry_ = 0;
    int lastEntry_ = 0;
};

} // namespace skyvane
