// Edit boxes and spin boxes as every window of the program uses them.
#include "widgets/EditBoxes.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <limits>

namespace skyvane {
namespace {

const QString kWidestNumber = QStringLiteral("-999999.999999");

bool isDigits(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(text).hasMatch();
}

// Digits read as a number; too many of them read as the largest number there is.
qlonglong digitsValue(const QString& text) {
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return ok ? value : std::numeric_limits<qlonglong>::max();
}

// Watches one window: its showing, and the focus arriving in its boxes.
class FocusTextSelector : public QObject {
public:
    explicit FocusTextSelector(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
        for (QLineEdit* box : window->findChildren<QLineEdit*>())
            box->installEventFilter(this);
        for (QAbstractSpinBox* box : window->findChildren<QAbstractSpinBox*>())
            box->installEventFilter(this);
        // The first focus change after the window opened is the opening's; later ones are
        // the user's. Qt reports the change after the box has had its focus event.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && window_->isAncestorOf(now))
                opening_ = false;
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_) {
            if (event->type() == QEvent::Show)
                opening_ = true;
        } else if (event->type() == QEvent::FocusIn && selects(*static_cast<QFocusEvent*>(event))) {
            if (auto* spinBox = qobject_cast<QAbstractSpinBox*>(watched))
                spinBox->selectAll();
            else
                static_cast<QLineEdit*>(watched)->selectAll();
        }
        return false;
    }

private:
    bool selects(const QFocusEvent& focus) const {
        switch (focus.reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason:
            return true;
        case Qt::ActiveWindowFocusReason:
            return opening_;
        default: // a click, a menu or popup closing
            return false;
        }
    }

    QWidget* window_;
    bool opening_ = false;
};

} // namespace

int numberBoxWidth(const QLineEdit& box) {
    // What QLineEdit adds around its text: a margin each side, the caret, then the frame the
    // style draws.
    constexpr int kTextMargin = 2;
    constexpr int kCaret = 1;
    const QMargins margins = box.textMargins();
    const int text = box.fontMetrics().horizontalAdvance(kWidestNumber) + 2 * kTextMargin +
                     kCaret + margins.left() + margins.right();
    QStyleOptionFrame option;
    option.initFrom(&box);
    option.lineWidth =
        box.hasFrame() ? box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &box) : 0;
    option.state |= QStyle::State_Sunken;
    return box.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(text, box.height()), &box)
        .width();
}

void showText(QLineEdit* box, const QString& text) {
    box->setText(text);
    // The box being typed into keeps the caret where the typing left it.
    if (!box->hasFocus())
        box->home(false);
}

void selectTextOnFocus(QWidget* window) {
    new FocusTextSelector(window);
}

QValidator::State ClampingSpinBox::validate(QString& input, int& /*pos*/) const {
    if (input.isEmpty())
        return QValidator::Intermediate;
    if (!isDigits(input))
        return QValidator::Invalid;
    const qlonglong value = digitsValue(input);
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                    : QValidator::Intermediate;
}

void ClampingSpinBox::fixup(QString& input) const {
    const qlonglong value = isDigits(input) ? digitsValue(input) : minimum();
    input = textFromValue(int(std::clamp<qlonglong>(value, minimum(), maximum())));
}

} // namespace skyvane
