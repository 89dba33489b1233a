// Offset Values: checks the range when it opens, reads the six offsets, lets offsetcalc shift
// the range and writes every new cell at once.
#include "tools/offset.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "widgets/EditBoxes.h"
#include "widgets/ErrorReport.h"
#include "widgets/GridHost.h"
#include "widgets/Text.h"
#include "tools/dialogsupport.h"
#include "core/numbers.h"
#include "tools/offsetcalc.h"

namespace skyvane {
namespace {

constexpr int kDialogHeight = 248;
constexpr int kMargin = 20; // left of, between and right of the two columns
// The boxes are at least this wide, and wide enough for any number of six and six digits.
constexpr int kBoxWidth = 100;
constexpr int kLineHeight = 22;
constexpr int kUnitTop = 8;
constexpr int kFirstLabelTop = 32;
constexpr int kLabelToBox = 18;
constexpr int kRowPitch = 50;
constexpr int kButtonTop = 206;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 20;

constexpr int kRowsPerColumn = 3;
// The units of the two columns: the offsets are in the entry table's own units.
constexpr std::array<const char*, 2> kUnitNames = {"UnitPosition", "UnitAngle"};
constexpr std::array<const char*, 2> kUnits = {"(JKU)", "(degrees)"};

// The offset boxes in axis order: positions down the left column, angles down the right.
struct OffsetNames {
    const char* box;
    const char* label;
};
constexpr std::array<OffsetNames, kValueCount> kOffsetNames = {{
    {"EDX", "X"},
    {"EDY", "Y"},
    {"EDZ", "Z"},
    {"EDPitch", "Pitch"},
    {"EDYaw", "Yaw"},
    {"EDRoll", "Roll"},
}};

} // namespace

TOffsetWindow::TOffsetWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    createGui();
    connect(BBOk, &QPushButton::clicked, this, [this] { BBOkClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
}

void TOffsetWindow::createGui() {
    setObjectName(QStringLiteral("OffsetWindow"));
    setWindowTitle(QStringLiteral("Offset Values"));

    const QString zero = fromBytes(formatPattern(0, "0.000"));
    int boxWidth = 0;
    std::array<int, 2> columnLefts{};
    for (int axis = 0; axis < kValueCount; ++axis) {
        const OffsetNames& names = kOffsetNames[axis];
        auto* label = new QLabel(QString::fromLatin1(names.label), this);
        label->setObjectName(QStringLiteral("Label") + QString::fromLatin1(names.box));
        auto* box = new QLineEdit(zero, this);
        box->setObjectName(QString::fromLatin1(names.box));
        label->setBuddy(box);
        offsetBoxes_[axis] = box;
        if (axis == 0) {
            boxWidth = std::max(kBoxWidth, numberBoxWidth(*box));
            columnLefts = {kMargin, 2 * kMargin + boxWidth};
        }
        const int left = columnLefts[axis / kRowsPerColumn];
        const int top = kFirstLabelTop + (axis % kRowsPerColumn) * kRowPitch;
        label->setGeometry(left, top, boxWidth, kLineHeight - 4);
        box->setGeometry(left, top + kLabelToBox, boxWidth, kLineHeight);
    }
    for (std::size_t column = 0; column < kUnits.size(); ++column) {
        auto* unit = new QLabel(QString::fromLatin1(kUnits[column]), this);
        unit->setObjectName(QString::fromLatin1(kUnitNames[column]));
        unit->setGeometry(columnLefts[column], kUnitTop, boxWidth, kLineHeight - 4);
    }
    const int width = columnLefts[1] + boxWidth + kMargin;
    setFixedSize(width, kDialogHeight);

    BBOk = new QPushButton(QStringLiteral("OK"), this);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(width / 2 - kButtonGap / 2 - kButtonWidth, kButtonTop, kButtonWidth,
                      kButtonHeight);
    BBOk->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(width / 2 + kButtonGap / 2, kButtonTop, kButtonWidth, kButtonHeight);
    selectTextOnFocus(this);
}

void TOffsetWindow::setRange(int firstEntry, int lastEntry) {
    firstEntry_ = firstEntry;
    lastEntry_ = lastEntry;
}

void TOffsetWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening: the dialog's own message boxes do not count as leaving it.
    if (!event->spontaneous())
        FormActivate();
}

void TOffsetWindow::FormActivate() {
    const bool fault = host_.checkEntries(firstEntry_, lastEntry_);
    BBOk->setEnabled(!fault);
    if (!fault) {
        host_.setStatus(QString());
        return;
    }
    warnWhenShown(this, QString::fromLatin1(kErrorInData));
}

void TOffsetWindow::BBOkClick() {
    runGuarded(
        [this] {
            const std::optional<std::vector<float>> values =
                readNumberBoxes(this, {offsetBoxes_.begin(), offsetBoxes_.end()});
            if (!values)
                return;
            Offsets offsets{};
            std::copy(values->begin(), values->end(), offsets.begin());
            host_.session().applyCellEdits(
                offsetEntries(host_.entries(), firstEntry_, lastEntry_, offsets),
                kStepOffsetValues);
            accept();
        },
        this);
}

} // namespace skyvane
