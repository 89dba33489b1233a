// Retime: reads the new duration, or the factor that gives it, lets retimecalc work out every
// Frame and Steps and writes them at once, or says why it cannot.
#include "tools/retime.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <cstdint>
#include <limits>
#include <optional>

#include "widgets/EditBoxes.h"
#include "widgets/GridHost.h"
#include "widgets/Prompts.h"
#include "widgets/Text.h"
#include "tools/dialogsupport.h"
#include "core/numbers.h"
#include "tools/retimecalc.h"

namespace skyvane {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 130;
constexpr int kLeft = 16;
constexpr int kLineHeight = 22;
constexpr int kDurationTop = 14;
constexpr int kFactorTop = 48;
constexpr int kBoxLeft = 190;
constexpr int kBoxWidth = 90;
constexpr int kButtonTop = 90;

} // namespace

TRetimeWindow::TRetimeWindow(GridHost& host, QWidget* parent) : RangeDialog(host, parent) {
    createGui();
    connect(RBFactor, &QRadioButton::toggled, this, [this](bool factor) {
        EdFactor->setEnabled(factor);
        SEDuration->setEnabled(!factor);
    });
}

void TRetimeWindow::createGui() {
    setObjectName(QStringLiteral("RetimeWindow"));
    setWindowTitle(QStringLiteral("Retime"));
    RBDuration = new QRadioButton(QStringLiteral("New duration (frames):"), this);
    RBDuration->setObjectName(QStringLiteral("RBDuration"));
    RBDuration->setGeometry(kLeft, kDurationTop, kBoxLeft - kLeft, kLineHeight);
    RBDuration->setChecked(true);
    SEDuration = new ClampingSpinBox(this);
    SEDuration->setObjectName(QStringLiteral("SEDuration"));
    SEDuration->setRange(1, std::numeric_limits<std::int32_t>::max());
    SEDuration->setGeometry(kBoxLeft, kDurationTop, kBoxWidth, kLineHeight);

    RBFactor = new QRadioButton(QStringLiteral("Factor:"), this);
    RBFactor->setObjectName(QStringLiteral("RBFactor"));
    RBFactor->setGeometry(kLeft, kFactorTop, kBoxLeft - kLeft, kLineHeight);
    EdFactor = new QLineEdit(fromBytes(formatPattern(1, "0.000")), this);
    EdFactor->setObjectName(QStringLiteral("EdFactor"));
    EdFactor->setGeometry(kBoxLeft, kFactorTop, kBoxWidth, kLineHeight);
    EdFactor->setEnabled(false);
    addButtons(kWidth, kButtonTop, kHeight);
    selectTextOnFocus(this);
}

void TRetimeWindow::rangeOpened() {
    // The duration the range has now, to be changed.
    SEDuration->setValue(static_cast<int>(rangeDuration(host_.entries(), firstEntry_, lastEntry_)));
}

std::optional<std::int64_t> TRetimeWindow::newDuration() {
    if (RBDuration->isChecked()) {
        SEDuration->interpretText();
        return SEDuration->value();
    }
    const std::optional<std::vector<float>> factor = readNumberBoxes(this, {EdFactor});
    if (!factor)
        return std::nullopt;
    if ((*factor)[0] <= 0) {
        showMessage(this, MessageKind::Error, QString::fromLatin1(kInvalidValue));
        EdFactor->setFocus();
        return std::nullopt;
    }
    return scaledDuration(host_.entries(), firstEntry_, lastEntry_, (*factor)[0]);
}

void TRetimeWindow::BBOkClick() {
    const std::optional<std::int64_t> duration = newDuration();
    if (!duration)
        return;
    const Retiming retiming = retime(host_.entries(), firstEntry_, lastEntry_, *duration);
    if (retiming.refusal) {
        showMessage(this, MessageKind::Error, QString::fromLatin1(retiming.refusal));
        return;
    }
    host_.session().applyCellEdits(retiming.edits, kStepRetime);
    accept();
}

} // namespace skyvane
