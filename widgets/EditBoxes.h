// Edit boxes and spin boxes as every window of the program uses them.
#pragma once

#include <QSpinBox>

class QLineEdit;
class QWidget;

namespace skyvane {

// The width at which `box`, in its font and style, shows a sign, six integer digits and six
// decimals (-999999.999999) whole.
int numberBoxWidth(const QLineEdit& box);

// Writes `text` into `box` and shows its start: a number longer than the box keeps its sign
// and leading digits in view, not its last decimals.
void showText(QLineEdit* box, const QString& text);

// Every edit box and spin box that `window` holds now selects all its text when it receives
// the focus from the keyboard (Tab), from the program (an error that sends the user back to a
// box) or from the window opening, so typing replaces what it shows. A click still puts the
// caret where it lands, and coming back to a window that was left keeps the selection as it
// was.
void selectTextOnFocus(QWidget* window);

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
