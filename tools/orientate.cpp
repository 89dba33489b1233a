// Auto Orientate: checks the positions of the range when it opens, reads the point in point
// mode, lets orientatecalc compute every angle and writes them all at once.
#include "tools/orientate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

#include "widgets/EditBoxes.h"
#include "widgets/ErrorReport.h"
#include "widgets/GridHost.h"
#include "widgets/Text.h"
#include "tools/dialogsupport.h"
#include "core/numbers.h"
#include "tools/orientatecalc.h"

namespace skyvane {
namespace {

constexpr int kMinimumWidth = 300;
constexpr int kDialogHeight = 180;
constexpr int kRadioLeft = 16;
constexpr int kRadioWidth = 260;
constexpr int kLineHeight = 22;
constexpr int kNextEntryTop = 12;
constexpr int kPointTop = 38;
constexpr int kPointLabelTop = 70;
constexpr int kPointBoxTop = 88;
constexpr int kPointLeft = 34;
constexpr int kPointGap = 8;
// The boxes are at least this wide, and wide enough for any number of six and six digits.
constexpr int kPointWidth = 76;
constexpr int kRightMargin = 16;
constexpr int kButtonTop = 136;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 20;

constexpr std::array<const char*, 3> kPointBoxNames = {"EdX", "EdY", "EdZ"};
constexpr std::array<const char*, 3> kPointLabels = {"X", "Y", "Z"};

constexpr const char* kInvalidNumber = "Error: Invalid number";

} // namespace

TOrientateWindow::TOrientateWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    createGui();
    connect(RBPoint, &QRadioButton::toggled, this, [this](bool point) {
        for (QLineEdit* box : pointBoxes_)
            box->setEnabled(point);
    });
    connect(BBOk, &QPushButton::clicked, this, [this] { BBOkClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TOrientateWindow::createGui() {
    setObjectName(QStringLiteral("OrientateWindow"));
    setWindowTitle(QStringLiteral("Auto Orientate"));
    RBNextEntry = new QRadioButton(QStringLiteral("Face towards next entry"), this);
    RBNextEntry->setObjectName(QStringLiteral("RBNextEntry"));
    RBNextEntry->setGeometry(kRadioLeft, kNextEntryTop, kRadioWidth, kLineHeight);
    RBNextEntry->setChecked(true);
    RBPoint = new QRadioButton(QStringLiteral("Focus on one Point"), this);
    RBPoint->setObjectName(QStringLiteral("RBPoint"));
    RBPoint->setGeometry(kRadioLeft, kPointTop, kRadioWidth, kLineHeight);

    const QString zero = fromBytes(formatPattern(0, "0.000"));
    int boxWidth = kPointWidth;
    int left = kPointLeft;
    for (std::size_t i = 0; i < pointBoxes_.size(); ++i) {
        const QString name = QString::fromLatin1(kPointBoxNames[i]);
        auto* label = new QLabel(QString::fromLatin1(kPointLabels[i]), this);
        label->setObjectName(QStringLiteral("Label") + name);
        auto* box = new QLineEdit(zero, this);
        box->setObjectName(name);
        box->setEnabled(false);
        label->setBuddy(box);
        pointBoxes_[i] = box;
        boxWidth = std::max(boxWidth, numberBoxWidth(*box));
        label->setGeometry(left, kPointLabelTop, boxWidth, kLineHeight - 4);
        box->setGeometry(left, kPointBoxTop, boxWidth, kLineHeight);
        left += boxWidth + kPointGap;
    }
    // The point is a place in the level, in the entry table's unit.
    auto* unit = new QLabel(QStringLiteral("(JKU)"), this);
    unit->setObjectName(QStringLiteral("UnitPoint"));
    unit->setGeometry(left, kPointBoxTop, unit->sizeHint().width(), kLineHeight);
    const int width = std::max(kMinimumWidth, unit->geometry().right() + kRightMargin);
    setFixedSize(width, kDialogHeight);

    BBOk = new QPushButton(QStringLiteral("OK"), this);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(width / 2 - kButtonGap / 2 - kButtonWidth, kButtonTop, kButtonWidth,
                      kButtonHeight);
    BBOk->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(width / 2 + kButtonGap / 2, kButtonTop, kButtonWidth, kButtonHeight);
    selectTextOnFocus(this);
}

void TOrientateWindow::setRange(int firstEntry, int lastEntry) {
    firstEntry_ = firstEntry;
    lastEntry_ = lastEntry;
}

void TOrientateWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once per opening: the dialog's own message boxes do not count as leaving it.
    if (!event->spontaneous())
        FormActivate();
}

void TOrientateWindow::FormActivate() {
    // Every bad entry is reported in turn, so the cursor ends on the last of them.
    const std::vector<CellRef> faults = positionFaults(host_.entries(), firstEntry_, lastEntry_);
    for (const CellRef& fault : faults) {
        host_.setStatus(QString::fromLatin1(kInvalidNumber));
        host_.setCursor(fault.column, fault.entry);
    }
    BBOk->setEnabled(faults.empty());
    if (faults.empty()) {
        host_.setStatus(QString());
        return;
    }
    warnWhenShown(this, QString::fromLatin1(kErrorInData));
}

void TOrientateWindow::BBOkClick() {
    runGuarded(
        [this] {
            std::optional<Point3> point;
            if (RBPoint->isChecked()) {
                const std::optional<std::vector<float>> values =
                    readNumberBoxes(this, {pointBoxes_.begin(), pointBoxes_.end()});
                if (!values)
                    return;
                point = Point3{(*values)[0], (*values)[1], (*values)[2]};
            }
            host_.session().applyCellEdits(
                orientEntries(host_.entries(), firstEntry_, lastEntry_, point), kStepAutoOrientate);
            accept();
        },
        this);
}

} // namespace skyvane
