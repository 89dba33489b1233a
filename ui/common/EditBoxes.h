// Edit boxes and spin boxes as every window of the program uses them.
#pragma once

#include <QSpinBox>

namespace skyvane {

// An integer spin box that takes any number of digits while it is typed into, and brings a
// typed value into its range when the typing ends (Enter, leaving the box, reading the text):
// 150 in a box of 1 to 100 becomes 100, 0 becomes 1, an empty box its minimum.
class ClampingSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

} // namespace skyvane
