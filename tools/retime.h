// Retime: a range of entries stretched or squeezed to a new duration.
#pragma once

#include <cstdint>
#include <optional>

#include "tools/rangedialog.h"

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace skyvane {

class TRetimeWindow : public RangeDialog {
    Q_OBJECT
public:
    explicit TRetimeWindow(GridHost& host, QWidget* parent = nullptr);

    QRadioButton* RBDuration = nullptr;
    QSpinBox* SEDuration = nullptr;
    QRadioButton* RBFactor = nullptr;
    QLineEdit* EdFactor = nullptr;

protected:
    void rangeOpened() override;
    void BBOkClick() override;

private:
    void createGui();
    // The duration asked for, or nothing after telling the user why not.
    std::optional<std::int64_t> newDuration();
};

} // namespace skyvane
