// Offset Values: checks the range when it opens, reads the six offsets, lets offsetcalc shift
// the range and writes every new cell at once.
#include "offset.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "EditBoxes.h"
#include "ErrorReport.h"
#include "GridHost.h"
#include "Text.h"
#include "dialogsupport.h"
#include "numbers.h"
#include "offsetcalc.h"

namespace skyvane {
namespace {

constexpr int kDialogWidth = 260;
constexpr int kDialogHeight = 228;
constexpr int kColumnLefts[2] = {20, 140};
constexpr int kBoxWidth = 100;
constexpr int kLineHeight = 22;
constexpr int kFirstLabelTop = 12;
constexpr int kLabelToBox = 18;
constexpr int kRowPitch = 50;
constexpr int kButtonTop = 186;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kOkLeft = 40;
constexpr int kCancelLeft = 140;

constexpr int kRowsPerColumn = 3;

// The offset boxes in axis order: positions down the left column, angles down the right.
struct OffsetNames {
    const char* box;
    const char* label;
};
constexpr std::array<OffsetNames, kAxisCount> kOffsetNames = {{
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
    setFixedSize(kDialogWidth, kDialogHeight);

    const QString zero = fromBytes(formatPattern(0, "0.000"));
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const OffsetNames& names = kOffsetNames[axis];
        const int left = kColumnLefts[axis / kRowsPerColumn];
        const int top = kFirstLabelTop + (axis % kRowsPerColumn) * kRowPitch;
        auto* label = new QLabel(QString::fromLatin1(names.label), this);
        label->setObjectName(QStringLiteral("Label") + QString::fromLatin1(names.box));
        label->setGeometry(left, top, kBoxWidth, kLineHeight - 4);
        auto* box = new QLineEdit(zero, this);
        box->setObjectName(QString::fromLatin1(names.box));
        box->setGeometry(left, top + kLabelToBox, kBoxWidth, kLineHeight);
        label->setBuddy(box);
        offsetBoxes_[axis] = box;
    }

    BBOk = new QPushButton(QStringLiteral("OK"), this);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(kOkLeft, kButtonTop, kButtonWidth, kButtonHeight);
    BBOk->setDefault(true);
    BitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
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
            host_.applyCellEdits(offsetEntries(host_.entries(), firstEntry_, lastEntry_, offsets));
            accept();
        },
        this);
}

} // namespace skyvane
