// Transform Object: the dialog reads its boxes and the start entry, lets transformcalc compute
// every new cell, and writes them all at once.
#include "tools/Transform.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <algorithm>

#include "widgets/EditBoxes.h"
#include "widgets/ErrorReport.h"
#include "widgets/GridHost.h"
#include "widgets/Prompts.h"
#include "widgets/Text.h"
#include "tools/dialogsupport.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

constexpr int kDialogHeight = 428;
constexpr int kLineHeight = 22;
constexpr int kTopRow = 14;
constexpr QRect kStartLabel(16, kTopRow, 110, kLineHeight);
constexpr QRect kStartBox(128, kTopRow, 70, kLineHeight);
constexpr QRect kTimeLabel(236, kTopRow, 100, kLineHeight);
constexpr QPoint kTimeBox(338, kTopRow);
constexpr int kGroupLeft = 8;
constexpr int kGroupHeight = 144;
constexpr int kPositionTop = 50;
constexpr int kOrientationTop = 206;
constexpr int kRowLabelLeft = 10;
constexpr int kLabelGap = 6;     // after a row's caption, before its unit
constexpr int kBoxUnitInset = 4; // between a box's own unit and its right edge
constexpr int kBoxGap = 8;
// The boxes are at least this wide, and wide enough for any number of six and six digits.
constexpr int kBoxWidth = 80;
constexpr int kGroupRightMargin = 6;
constexpr int kCheckTop = 24;
constexpr int kFirstRowTop = 52;
constexpr int kRowPitch = 30;
constexpr int kMetresLineTop = 356;
constexpr int kButtonTop = 388;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 10;
constexpr int kRightMargin = 14;

constexpr int kAxesPerGroup = 3;
constexpr int kRowsPerAxis = 3; // initial velocity, acceleration, final velocity

// Names and captions of the six axes, in axis order.
struct AxisNames {
    const char* prefix;  // XSpeed, PchAccel, RolFinSpeed, ...
    const char* check;   // CheckX, CheckPch, ...
    const char* caption; // the tick box's caption
    bool ticked;         // as the dialog starts
};
constexpr std::array<AxisNames, kValueCount> kAxisNames = {{
    {"X", "CheckX", "X", true},
    {"Y", "CheckY", "Y", true},
    {"Z", "CheckZ", "Z", true},
    {"Pch", "CheckPch", "Pitch", false},
    {"Yaw", "CheckYaw", "Yaw", false},
    {"Rol", "CheckRol", "Roll", false},
}};

constexpr const char* kInvalidMotion =
    "One of your initial velocity or acceleration values is invalid! Please check them.";
constexpr const char* kInvalidStart = "Starting entry contains invalid value(s). Please check.";

std::string textOf(const QLineEdit* box) {
    return toBytes(box->text());
}

void setTextOf(QLineEdit* box, const std::string& text) {
    showText(box, fromBytes(text));
}

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(at);
    return label;
}

QLineEdit* addBox(QWidget* parent, const QString& name, const QRect& at) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    return box;
}

} // namespace

TTransformWindow::TTransformWindow(GridHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    createGui();
    connectHandlers();
}

void TTransformWindow::createGui() {
    setObjectName(QStringLiteral("TransformWindow"));
    setWindowTitle(QStringLiteral("Transform Object"));

    addLabel(this, QStringLiteral("LabelStartEntry"), QStringLiteral("Entry to start at :"),
             kStartLabel);
    StartEntry = new QSpinBox(this);
    StartEntry->setObjectName(QStringLiteral("StartEntry"));
    StartEntry->setRange(0, kLastEntry);
    StartEntry->setGeometry(kStartBox);

    addLabel(this, QStringLiteral("LabelTime"), QStringLiteral("Time (seconds) :"), kTimeLabel);
    EDTime = addBox(this, QStringLiteral("EDTime"), QRect(kTimeBox, QSize(kBoxWidth, kLineHeight)));
    boxWidth_ = std::max(kBoxWidth, numberBoxWidth(*EDTime));
    EDTime->resize(boxWidth_, kLineHeight);
    setTextOf(EDTime, formatPattern(2, "0.00"));

    const int positionWidth =
        createAxisGroup(QStringLiteral("Position"), 0, QStringLiteral("(metres / second)"),
                        QStringLiteral("(metres / sec / sec)"), kPositionTop);
    const int orientationWidth = createAxisGroup(
        QStringLiteral("Orientation"), kAxesPerGroup, QStringLiteral("(degrees / second)"),
        QStringLiteral("(degrees / sec / sec)"), kOrientationTop);
    const int width = 2 * kGroupLeft + std::max(positionWidth, orientationWidth);
    setFixedSize(width, kDialogHeight);
    // The grid is in JKU; only this dialog takes metres.
    addLabel(this, QStringLiteral("LabelMetres"),
             QStringLiteral("Positions are typed in metres and written in JKU (1 JKU = 10 m)."),
             QRect(kGroupLeft, kMetresLineTop, width - 2 * kGroupLeft, kLineHeight));

    const int cancelLeft = width - kRightMargin - kButtonWidth;
    BBOk = new QPushButton(QStringLiteral("OK"), this);
    BBOk->setObjectName(QStringLiteral("BBOk"));
    BBOk->setGeometry(cancelLeft - kButtonGap - kButtonWidth, kButtonTop, kButtonWidth,
                      kButtonHeight);
    BBOk->setDefault(true);
    BBCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BBCancel->setObjectName(QStringLiteral("BBCancel"));
    BBCancel->setGeometry(cancelLeft, kButtonTop, kButtonWidth, kButtonHeight);
    selectTextOnFocus(this);
}

// Three columns of boxes, one per axis, with the row captions before them and the units
// after them. Returns the group's width.
int TTransformWindow::createAxisGroup(const QString& title, int firstAxis,
                                      const QString& velocityUnit, const QString& accelerationUnit,
                                      int top) {
    const std::array<QString, kRowsPerAxis> rows = {QStringLiteral("Initial velocity :"),
                                                    QStringLiteral("Acceleration factor :"),
                                                    QStringLiteral("Final velocity :")};
    // Captions and units take the room their text needs, the boxes the rest.
    const auto widest = [this](std::initializer_list<QString> texts) {
        int width = 0;
        for (const QString& text : texts)
            width = std::max(width, fontMetrics().horizontalAdvance(text) + 2);
        return width;
    };
    // Each box's own unit, by row.
    const std::array<QString, kRowsPerAxis> boxUnits =
        isAngleValue(firstAxis)
            ? std::array<QString, kRowsPerAxis>{QStringLiteral("deg/s"), QStringLiteral("deg/s²"),
                                                QStringLiteral("deg/s")}
            : std::array<QString, kRowsPerAxis>{QStringLiteral("m/s"), QStringLiteral("m/s²"),
                                                QStringLiteral("m/s")};
    const int rowLabelWidth = widest({rows[0], rows[1], rows[2]});
    const int boxUnitWidth = widest({boxUnits[0], boxUnits[1], boxUnits[2]});
    const int firstBoxLeft = kRowLabelLeft + rowLabelWidth + kLabelGap;
    const int boxPitch = boxWidth_ + kBoxGap;
    const int unitLeft = firstBoxLeft + kAxesPerGroup * boxPitch - kBoxGap + kLabelGap;
    const int unitWidth = widest({velocityUnit, accelerationUnit});
    const int groupWidth = unitLeft + unitWidth + kGroupRightMargin;
    auto* group = new QGroupBox(title, this);
    group->setObjectName(QStringLiteral("Group") + title);
    group->setGeometry(kGroupLeft, top, groupWidth, kGroupHeight);

    const std::array<QString, kRowsPerAxis> rowNames = {
        QStringLiteral("Speed"), QStringLiteral("Accel"), QStringLiteral("FinSpeed")};
    const std::array<QString, kRowsPerAxis> units = {velocityUnit, accelerationUnit, velocityUnit};
    for (int row = 0; row < kRowsPerAxis; ++row) {
        const int y = kFirstRowTop + row * kRowPitch;
        auto* label = addLabel(group, QStringLiteral("Label") + title + rowNames[row], rows[row],
                               QRect(kRowLabelLeft, y, rowLabelWidth, kLineHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        addLabel(group, QStringLiteral("Unit") + title + rowNames[row], units[row],
                 QRect(unitLeft, y, unitWidth, kLineHeight));
    }

    const QString zero = fromBytes(formatPattern(0, "0.000"));
    for (int column = 0; column < kAxesPerGroup; ++column) {
        const int axis = firstAxis + column;
        const AxisNames& names = kAxisNames[axis];
        const int x = firstBoxLeft + column * boxPitch;
        AxisBoxes& boxes = axes_[axis];
        boxes.check = new QCheckBox(QString::fromLatin1(names.caption), group);
        boxes.check->setObjectName(QString::fromLatin1(names.check));
        boxes.check->setGeometry(x, kCheckTop, boxWidth_, kLineHeight);
        boxes.check->setChecked(names.ticked);
        const std::array<QLineEdit**, kRowsPerAxis> targets = {&boxes.speed, &boxes.accel,
                                                               &boxes.finSpeed};
        for (int row = 0; row < kRowsPerAxis; ++row) {
            const QString name = QString::fromLatin1(names.prefix) + rowNames[row];
            const int y = kFirstRowTop + row * kRowPitch;
            QLineEdit* box = addBox(group, name, QRect(x, y, boxWidth_, kLineHeight));
            *targets[row] = box;
            box->setText(zero);
            // The unit sits inside the box, at its right end, so the dialog stays as wide as
            // the small screens it must fit; a very long number scrolls under it.
            QLabel* unit = addLabel(
                box, QStringLiteral("Unit") + name, boxUnits[row],
                QRect(boxWidth_ - kBoxUnitInset - boxUnitWidth, 0, boxUnitWidth, kLineHeight));
            unit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            unit->setForegroundRole(QPalette::PlaceholderText);
            unit->setAttribute(Qt::WA_TransparentForMouseEvents);
            box->setTextMargins(0, 0, boxUnitWidth + kBoxUnitInset, 0);
        }
    }
    return groupWidth;
}

void TTransformWindow::connectHandlers() {
    connect(StartEntry, qOverload<int>(&QSpinBox::valueChanged), this,
            [this] { StartEntryChange(); });
    connect(EDTime, &QLineEdit::textChanged, this, [this] { EDTimeChange(); });
    for (int axis = 0; axis < kValueCount; ++axis) {
        connect(axes_[axis].speed, &QLineEdit::textChanged, this,
                [this, axis] { SpeedChange(axis); });
        connect(axes_[axis].accel, &QLineEdit::textChanged, this,
                [this, axis] { AccelChange(axis); });
        connect(axes_[axis].finSpeed, &QLineEdit::textChanged, this,
                [this, axis] { FinSpeedChange(axis); });
    }
    connect(BBOk, &QPushButton::clicked, this, [this] { BBOkClick(); });
    connect(BBCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTransformWindow::setFramesPerSecond(float framesPerSecond) {
    FramesPerSecond = framesPerSecond;
}

void TTransformWindow::setStartEntry(int entry) {
    StartEntry->setValue(clampStartEntry(entry));
}

void TTransformWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each opening reads the initial velocities afresh; the table may have changed meanwhile.
    if (!event->spontaneous())
        StartEntryChange();
}

void TTransformWindow::StartEntryChange() {
    runGuarded(
        [this] {
            const AxisTexts velocities =
                initialVelocities(host_.entries(), StartEntry->value(), FramesPerSecond);
            for (int axis = 0; axis < kValueCount; ++axis)
                setTextOf(axes_[axis].speed, velocities[axis]);
        },
        this);
}

void TTransformWindow::EDTimeChange() {
    runGuarded(
        [this] {
            AxisTexts initial;
            AxisTexts acceleration;
            for (int axis = 0; axis < kValueCount; ++axis) {
                initial[axis] = textOf(axes_[axis].speed);
                acceleration[axis] = textOf(axes_[axis].accel);
            }
            const AxisTexts finals = finalVelocityTexts(initial, acceleration, textOf(EDTime));
            for (int axis = 0; axis < kValueCount; ++axis)
                setTextOf(axes_[axis].finSpeed, finals[axis]);
        },
        this);
}

void TTransformWindow::SpeedChange(int axis) {
    const AxisBoxes& boxes = axes_[axis];
    runGuarded(
        [&] {
            setTextOf(boxes.finSpeed,
                      finalVelocityText(textOf(boxes.speed), textOf(boxes.accel), textOf(EDTime)));
        },
        this);
}

// A value the program writes into a box without focus starts nothing, so the acceleration
// and the final velocity cannot keep rewriting each other.
void TTransformWindow::AccelChange(int axis) {
    if (axes_[axis].accel->hasFocus())
        SpeedChange(axis);
}

void TTransformWindow::FinSpeedChange(int axis) {
    const AxisBoxes& boxes = axes_[axis];
    if (!boxes.finSpeed->hasFocus())
        return;
    runGuarded(
        [&] {
            setTextOf(boxes.accel, accelerationText(textOf(boxes.speed), textOf(boxes.finSpeed),
                                                    textOf(EDTime)));
        },
        this);
}

bool TTransformWindow::readMotions(std::array<AxisMotion, kValueCount>& motions) const {
    // All twelve are read, ticked or not: the velocities first, then the accelerations.
    bool valid = true;
    for (int axis = 0; axis < kValueCount; ++axis) {
        const std::optional<float> speed = tryParseSingle(textOf(axes_[axis].speed));
        valid = valid && speed;
        if (speed)
            motions[axis].velocity = toTableUnits(axis, *speed);
    }
    for (int axis = 0; axis < kValueCount; ++axis) {
        const std::optional<float> accel = tryParseSingle(textOf(axes_[axis].accel));
        valid = valid && accel;
        if (accel)
            motions[axis].acceleration = toTableUnits(axis, *accel);
    }
    for (int axis = 0; axis < kValueCount; ++axis)
        motions[axis].written = axes_[axis].check->isChecked();
    return valid;
}

void TTransformWindow::BBOkClick() {
    runGuarded(
        [this] {
            TrajectoryRequest request;
            request.startEntry = clampStartEntry(StartEntry->value());
            request.framesPerSecond = FramesPerSecond;
            const std::optional<float> time = tryParseSingle(textOf(EDTime));
            if (!time) {
                showMessage(this, MessageKind::Error, QString::fromLatin1(kInvalidValue));
                EDTime->setFocus();
                return;
            }
            request.time = *time;
            if (!readMotions(request.axes)) {
                showMessage(this, MessageKind::Warning, QString::fromLatin1(kInvalidMotion));
                return;
            }
            const std::optional<AxisValues> start =
                startValues(host_.entries(), request.startEntry);
            if (!start) {
                showMessage(this, MessageKind::Warning, QString::fromLatin1(kInvalidStart));
                reject();
                host_.focusGrid();
                host_.setCursorEntry(request.startEntry);
                return;
            }
            request.start = *start;
            host_.session().applyCellEdits(generateTrajectory(host_.entries(), request),
                                           kStepTransformObject);
            accept();
        },
        this);
}

} // namespace skyvane
