// Edit boxes and spin boxes as every window of the program uses them.
#include "EditBoxes.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace skyvane {
namespace {

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

} // namespace

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
