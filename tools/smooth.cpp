// Smooth Path: reads the spacing and the curve, lets smoothcalc work out every entry and writes
// them at once, or says there is no room.
#include "tools/smooth.h"

#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include "widgets/EditBoxes.h"
#include "widgets/GridHost.h"
#include "widgets/Prompts.h"
#include "tools/smoothcalc.h"

namespace skyvane {
namespace {

constexpr int kWidth = 260;
constexpr int kHeight = 176;
constexpr int kLeft = 16;
constexpr int kLineHeight = 22;
constexpr int kSpacingTop = 14;
constexpr int kSpacingBoxLeft = 150;
constexpr int kSpacingBoxWidth = 80;
constexpr int kCurveLabelTop = 48;
constexpr int kRadioLeft = 34;
constexpr int kCatmullRomTop = 70;
constexpr int kLinearTop = 96;
constexpr int kButtonTop = 136;
constexpr int kMostSpacing = 999; // entries are never further apart than a whole node

} // namespace

TSmoothWindow::TSmoothWindow(GridHost& host, QWidget* parent) : RangeDialog(host, parent) {
    createGui();
}

void TSmoothWindow::createGui() {
    setObjectName(QStringLiteral("SmoothWindow"));
    setWindowTitle(QStringLiteral("Smooth Path"));
    auto* spacingLabel = new QLabel(QStringLiteral("Spacing (frames):"), this);
    spacingLabel->setObjectName(QStringLiteral("LabelSpacing"));
    spacingLabel->setGeometry(kLeft, kSpacingTop, kSpacingBoxLeft - kLeft, kLineHeight);
    SESpacing = new ClampingSpinBox(this);
    SESpacing->setObjectName(QStringLiteral("SESpacing"));
    SESpacing->setRange(1, kMostSpacing);
    SESpacing->setValue(1);
    SESpacing->setGeometry(kSpacingBoxLeft, kSpacingTop, kSpacingBoxWidth, kLineHeight);
    spacingLabel->setBuddy(SESpacing);

    auto* curveLabel = new QLabel(QStringLiteral("Curve:"), this);
    curveLabel->setObjectName(QStringLiteral("LabelCurve"));
    curveLabel->setGeometry(kLeft, kCurveLabelTop, kWidth - 2 * kLeft, kLineHeight);
    RBCatmullRom = new QRadioButton(QStringLiteral("Catmull-Rom"), this);
    RBCatmullRom->setObjectName(QStringLiteral("RBCatmullRom"));
    RBCatmullRom->setGeometry(kRadioLeft, kCatmullRomTop, kWidth - kRadioLeft, kLineHeight);
    RBCatmullRom->setChecked(true);
    RBLinear = new QRadioButton(QStringLiteral("Linear"), this);
    RBLinear->setObjectName(QStringLiteral("RBLinear"));
    RBLinear->setGeometry(kRadioLeft, kLinearTop, kWidth - kRadioLeft, kLineHeight);
    addButtons(kWidth, kButtonTop, kHeight);
    selectTextOnFocus(this);
}

void TSmoothWindow::BBOkClick() {
    // A spacing still being typed counts as entered.
    SESpacing->interpretText();
    const PathCurve curve = RBLinear->isChecked() ? PathCurve::Linear : PathCurve::CatmullRom;
    const std::optional<std::vector<CellEdit>> edits =
        smoothPath(host_.entries(), firstEntry_, lastEntry_, SESpacing->value(), curve);
    if (!edits) {
        showMessage(this, MessageKind::Error,
                    QStringLiteral("Not enough room to smooth the path!"));
        return;
    }
    host_.session().applyCellEdits(*edits, kStepSmoothPath);
    accept();
}

} // namespace skyvane
