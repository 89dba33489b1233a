// The three tool dialogs driven as a user would: their controls, messages, focus and enabled
// states, and that a fault writes nothing.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "SessionHost.h"
#include "tools/Transform.h"
#include "tools/offset.h"
#include "tools/orientate.h"
#include "tools/retime.h"
#include "tools/smooth.h"

namespace skyvane {

using test::ScriptedPrompts;
using test::SessionHost;

namespace {

const char* const kSpeedBoxes[] = {"XSpeed",   "YSpeed",   "ZSpeed",
                                   "PchSpeed", "YawSpeed", "RolSpeed"};
const char* const kAccelBoxes[] = {"XAccel",   "YAccel",   "ZAccel",
                                   "PchAccel", "YawAccel", "RolAccel"};
const char* const kFinSpeedBoxes[] = {"XFinSpeed",   "YFinSpeed",   "ZFinSpeed",
                                      "PchFinSpeed", "YawFinSpeed", "RolFinSpeed"};
const char* const kOffsetBoxes[] = {"EDX", "EDY", "EDZ", "EDPitch", "EDYaw", "EDRoll"};

const char* const kInvalidMotion =
    "One of your initial velocity or acceleration values is invalid! Please check them.";
const char* const kInvalidStart = "Starting entry contains invalid value(s). Please check.";

QLineEdit* box(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no box %s", name);
    return found;
}

QPushButton* button(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

// Shows the dialog as exec() would and makes it the active window, so focus is real.
bool open(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&dialog);
    QCoreApplication::processEvents(); // warnings queued by the opening
    return active;
}

// Types into a box the way a user does: focus, select all, keys.
void typeInto(QLineEdit* target, const QString& text) {
    target->setFocus();
    target->selectAll();
    QTest::keyClicks(target, text);
}

void fillEntries(SessionHost& host, int count) {
    for (int entry = 0; entry < count; ++entry)
        host.setEntry(entry, {std::to_string(entry), "1", "1", "2", "3", "10", "20", "30"});
}

} // namespace

class ToolDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void transform_startsWithItsControls();
    void transform_activationReadsInitialVelocities();
    void transform_couplingFollowsTheTypingBox();
    void transform_unreadableAcceleration_refusesOk();
    void transform_unreadableTime_focusesTime();
    void transform_unreadableStartEntry_closesAndShowsTheRow();
    void transform_ok_generatesOneEntryPerFrame();
    void transform_zeroFrameRate_writesNothing();
    void transform_timeZeroInCoupling_reportsDivision();
    void transform_startEntryClamped();

    void offset_startsWithItsControls();
    void offset_badRange_disablesOk();
    void offset_goodRange_enablesOkAndClearsStatus();
    void offset_emptyBoxes_oneMessageEach();
    void offset_ok_shiftsTheRangeAndCloses();
    void offset_selectionPastLastEntry_shiftsUpToIt();
    void offset_overflow_writesNothingEvenTwice();

    void orientate_radioButtonsEnableThePoint();
    void orientate_emptyPositions_disablesOk();
    void orientate_badPointBox_oneMessage();
    void orientate_nextEntry_writesOnlyAngles();
    void orientate_overflow_writesNothing();

    void smooth_writesThePathAsOneStep_orSaysThereIsNoRoom();
    void retime_rescalesAsOneStep_orSaysWhyNot();
};

void ToolDialogsTest::transform_startsWithItsControls() {
    ScriptedPrompts prompts;
    SessionHost host;
    TTransformWindow dialog(host);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Transform Object"));
    QCOMPARE(dialog.findChild<QSpinBox*>("StartEntry")->value(), 0);
    QCOMPARE(box(dialog, "EDTime")->text(), QStringLiteral("2.00"));
    const auto unitOf = [&dialog](const char* boxName) {
        return dialog.findChild<QLabel*>(QStringLiteral("Unit") + QString::fromLatin1(boxName))
            ->text();
    };
    for (int axis = 0; axis < 6; ++axis) {
        QCOMPARE(box(dialog, kSpeedBoxes[axis])->text(), QStringLiteral("0.000"));
        QCOMPARE(box(dialog, kAccelBoxes[axis])->text(), QStringLiteral("0.000"));
        QCOMPARE(box(dialog, kFinSpeedBoxes[axis])->text(), QStringLiteral("0.000"));
        const QString unit = axis < 3 ? QStringLiteral("m/s") : QStringLiteral("deg/s");
        QCOMPARE(unitOf(kSpeedBoxes[axis]), unit);
        QCOMPARE(unitOf(kAccelBoxes[axis]), unit + QStringLiteral("²"));
        QCOMPARE(unitOf(kFinSpeedBoxes[axis]), unit);
    }
    QCOMPARE(dialog.findChild<QLabel*>("LabelMetres")->text(),
             QStringLiteral("Positions are typed in metres and written in JKU (1 JKU = 10 m)."));
    QCOMPARE(dialog.findChild<QLabel*>("UnitPositionAccel")->text(),
             QStringLiteral("(metres / sec / sec)"));
    const char* checks[] = {"CheckX", "CheckY", "CheckZ", "CheckPch", "CheckYaw", "CheckRol"};
    const char* captions[] = {"X", "Y", "Z", "Pitch", "Yaw", "Roll"};
    for (int axis = 0; axis < 6; ++axis) {
        auto* check = dialog.findChild<QCheckBox*>(checks[axis]);
        QVERIFY(check);
        QCOMPARE(check->text(), QString::fromLatin1(captions[axis]));
        QCOMPARE(check->isChecked(), axis < 3);
    }
    QVERIFY(button(dialog, "BBOk")->isDefault());
    QVERIFY(button(dialog, "BBCancel"));
}

void ToolDialogsTest::transform_activationReadsInitialVelocities() {
    ScriptedPrompts prompts;
    SessionHost host;
    host.setEntry(0, {"0", "1", "0", "2", "0", "350", "0", "0"});
    host.setEntry(1, {"1", "1", "1", "1.5", "0", "10", "0", "0"});
    TTransformWindow dialog(host);
    dialog.setFramesPerSecond(15);
    dialog.setStartEntry(1);
    QCOMPARE(box(dialog, "XSpeed")->text(), QStringLiteral("150.000"));
    // The table changes while the dialog is closed; the next opening reads it again.
    host.setEntry(1, {"1", "1", "2", "1.5", "0", "10", "0", "0"});
    QVERIFY(open(dialog));
    QCOMPARE(box(dialog, "XSpeed")->text(), QStringLiteral("300.000"));
    QCOMPARE(box(dialog, "YSpeed")->text(), QStringLiteral("-75.000"));
    QCOMPARE(box(dialog, "PchSpeed")->text(), QStringLiteral("-5100.000"));
    // Rule (a): the final velocity follows the initial one.
    QCOMPARE(box(dialog, "XFinSpeed")->text(), QStringLiteral("300.000000"));
}

void ToolDialogsTest::transform_couplingFollowsTheTypingBox() {
    ScriptedPrompts prompts;
    SessionHost host;
    TTransformWindow dialog(host);
    QVERIFY(open(dialog));
    box(dialog, "YawSpeed")->setText("5");
    QCOMPARE(box(dialog, "YawFinSpeed")->text(), QStringLiteral("5.000000"));
    typeInto(box(dialog, "YawFinSpeed"), "6");
    QCOMPARE(box(dialog, "YawAccel")->text(), QStringLiteral("0.500000"));
    QCOMPARE(box(dialog, "YawFinSpeed")->text(), QStringLiteral("6"));

    typeInto(box(dialog, "XAccel"), "0.3");
    QCOMPARE(box(dialog, "XFinSpeed")->text(), QStringLiteral("0.600000"));
    // A box written without focus starts nothing.
    box(dialog, "ZAccel")->setText("4");
    QCOMPARE(box(dialog, "ZFinSpeed")->text(), QStringLiteral("0.000"));
    // Rule (d): the time drives every final velocity.
    typeInto(box(dialog, "EDTime"), "3");
    QCOMPARE(box(dialog, "ZFinSpeed")->text(), QStringLiteral("12.000000"));
    QCOMPARE(box(dialog, "XFinSpeed")->text(), QStringLiteral("0.900000"));
}

void ToolDialogsTest::transform_unreadableAcceleration_refusesOk() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 1);
    TTransformWindow dialog(host);
    QVERIFY(open(dialog));
    typeInto(box(dialog, "YAccel"), "abc");
    QCOMPARE(box(dialog, "YFinSpeed")->text(), QStringLiteral("?"));
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList{kInvalidMotion});
    QCOMPARE(prompts.messages.front().kind, MessageKind::Warning);
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::transform_unreadableTime_focusesTime() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 1);
    TTransformWindow dialog(host);
    QVERIFY(open(dialog));
    typeInto(box(dialog, "EDTime"), "x");
    for (const char* name : kFinSpeedBoxes)
        QCOMPARE(box(dialog, name)->text(), QStringLiteral("?"));
    button(dialog, "BBOk")->setFocus();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList{"Invalid value!"});
    QCOMPARE(prompts.messages.front().kind, MessageKind::Error);
    QVERIFY(box(dialog, "EDTime")->hasFocus());
    QVERIFY(dialog.isVisible());
}

void ToolDialogsTest::transform_unreadableStartEntry_closesAndShowsTheRow() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 4);
    host.edit.typeCell(ColPitch, 2, "");
    host.cursorColumn = 5;
    host.entry = 0;
    TTransformWindow dialog(host);
    dialog.setStartEntry(2);
    QVERIFY(open(dialog));
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList{kInvalidStart});
    QVERIFY(!dialog.isVisible());
    QVERIFY(host.gridFocused);
    QCOMPARE(host.entry, 2);
    QCOMPARE(host.cursorColumn, 5);
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::transform_ok_generatesOneEntryPerFrame() {
    ScriptedPrompts prompts;
    SessionHost host;
    host.setEntry(0, {"0", "1", "0", "5", "5", "5", "5", "5"});
    TTransformWindow dialog(host);
    dialog.setFramesPerSecond(15);
    QVERIFY(open(dialog));
    box(dialog, "XSpeed")->setText("10");
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(host.entries().cell(ColX, 1), std::string("0.066667"));
    QCOMPARE(host.entries().cell(ColX, 30), std::string("2.000000"));
    QCOMPARE(host.entries().cell(ColFrame, 30), std::string("30"));
    QCOMPARE(host.entries().cell(ColY, 30), std::string("5.000000"));
    // Pitch is not ticked: the empty cell holds the start entry's angle.
    QCOMPARE(host.entries().cell(ColPitch, 30), std::string("5.000000"));
    QCOMPARE(host.entries().cell(ColFrame, 31), std::string());
}

void ToolDialogsTest::transform_zeroFrameRate_writesNothing() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 1);
    TTransformWindow dialog(host);
    dialog.setFramesPerSecond(0);
    QVERIFY(open(dialog));
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.errors, QStringList{"Invalid floating point operation."});
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::transform_timeZeroInCoupling_reportsDivision() {
    ScriptedPrompts prompts;
    SessionHost host;
    TTransformWindow dialog(host);
    QVERIFY(open(dialog));
    typeInto(box(dialog, "EDTime"), "0");
    typeInto(box(dialog, "XFinSpeed"), "7");
    QCOMPARE(prompts.errors, QStringList{"Floating point division by zero."});
    QCOMPARE(box(dialog, "XAccel")->text(), QStringLiteral("0.000"));
}

void ToolDialogsTest::transform_startEntryClamped() {
    ScriptedPrompts prompts;
    SessionHost host;
    TTransformWindow dialog(host);
    dialog.setStartEntry(5000);
    QCOMPARE(dialog.findChild<QSpinBox*>("StartEntry")->value(), 999);
    dialog.setStartEntry(-1);
    QCOMPARE(dialog.findChild<QSpinBox*>("StartEntry")->value(), 0);
}

void ToolDialogsTest::offset_startsWithItsControls() {
    ScriptedPrompts prompts;
    SessionHost host;
    TOffsetWindow dialog(host);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Offset Values"));
    for (const char* name : kOffsetBoxes)
        QCOMPARE(box(dialog, name)->text(), QStringLiteral("0.000"));
    QVERIFY(button(dialog, "BBOk")->isDefault());
    QVERIFY(button(dialog, "BBOk")->isEnabled());
    QCOMPARE(button(dialog, "BitBtn1")->text(), QStringLiteral("Cancel"));
    // The offsets are in the table's own units.
    QCOMPARE(dialog.findChild<QLabel*>("UnitPosition")->text(), QStringLiteral("(JKU)"));
    QCOMPARE(dialog.findChild<QLabel*>("UnitAngle")->text(), QStringLiteral("(degrees)"));
}

void ToolDialogsTest::offset_badRange_disablesOk() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 5);
    host.edit.typeCell(ColPitch, 3, "abc");
    TOffsetWindow dialog(host);
    dialog.setRange(1, 4);
    QVERIFY(open(dialog));
    QCOMPARE(prompts.messageTexts(), QStringList{"Error found in data!"});
    QCOMPARE(prompts.messages.front().kind, MessageKind::Warning);
    QVERIFY(!button(dialog, "BBOk")->isEnabled());
    QCOMPARE(host.status, QStringLiteral("Error: Invalid number"));
    QCOMPARE(host.entry, 3);
    QCOMPARE(host.cursorColumn, int(ColPitch));
}

void ToolDialogsTest::offset_goodRange_enablesOkAndClearsStatus() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 5);
    host.status = "Error: Invalid number";
    TOffsetWindow dialog(host);
    dialog.setRange(1, 4);
    QVERIFY(open(dialog));
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(button(dialog, "BBOk")->isEnabled());
    QCOMPARE(host.status, QString());
}

void ToolDialogsTest::offset_emptyBoxes_oneMessageEach() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 3);
    TOffsetWindow dialog(host);
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    box(dialog, "EDY")->clear();
    box(dialog, "EDPitch")->setText("1,5");
    box(dialog, "EDYaw")->clear();
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(),
             (QStringList{"Invalid value!", "Invalid value!", "Invalid value!"}));
    QVERIFY(box(dialog, "EDYaw")->hasFocus());
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::offset_ok_shiftsTheRangeAndCloses() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 6);
    TOffsetWindow dialog(host);
    dialog.setRange(2, 4);
    QVERIFY(open(dialog));
    box(dialog, "EDX")->setText("10");
    box(dialog, "EDYaw")->setText("345");
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!dialog.isVisible());
    const EntryTable& table = host.entries();
    QCOMPARE(table.cell(ColX, 1), std::string("1"));
    QCOMPARE(table.cell(ColX, 2), std::string("11.000000"));
    QCOMPARE(table.cell(ColYaw, 4), std::string("5.000000"));
    QCOMPARE(table.cell(ColZ, 4), std::string("3.000000"));
    QCOMPARE(table.cell(ColFrame, 4), std::string("4"));
    QCOMPARE(table.cell(ColX, 5), std::string("1"));
}

void ToolDialogsTest::offset_selectionPastLastEntry_shiftsUpToIt() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 10);
    TOffsetWindow dialog(host);
    dialog.setRange(5, 20);
    QVERIFY(open(dialog));
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(prompts.errors.isEmpty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(host.entries().cell(ColX, 9), std::string("1.000000"));
    QCOMPARE(host.entries().cell(ColX, 10), std::string());
    QCOMPARE(host.entries().cell(ColFrame, 10), std::string());
}

void ToolDialogsTest::offset_overflow_writesNothingEvenTwice() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 3);
    host.edit.typeCell(ColX, 2, "3e38");
    TOffsetWindow dialog(host);
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    box(dialog, "EDX")->setText("3e38");
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.errors, (QStringList{"Floating point overflow.", "Floating point overflow."}));
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::orientate_radioButtonsEnableThePoint() {
    ScriptedPrompts prompts;
    SessionHost host;
    TOrientateWindow dialog(host);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Auto Orientate"));
    auto* next = dialog.findChild<QRadioButton*>("RBNextEntry");
    auto* point = dialog.findChild<QRadioButton*>("RBPoint");
    QCOMPARE(next->text(), QStringLiteral("Face towards next entry"));
    QCOMPARE(point->text(), QStringLiteral("Focus on one Point"));
    QVERIFY(next->isChecked());
    for (const char* name : {"EdX", "EdY", "EdZ"}) {
        QCOMPARE(box(dialog, name)->text(), QStringLiteral("0.000"));
        QVERIFY(!box(dialog, name)->isEnabled());
    }
    QVERIFY(open(dialog));
    QTest::mouseClick(point, Qt::LeftButton);
    QVERIFY(box(dialog, "EdY")->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(!box(dialog, "EdZ")->isEnabled());
    QVERIFY(button(dialog, "BBOk")->isDefault());
    QCOMPARE(button(dialog, "BitBtn2")->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.findChild<QLabel*>("UnitPoint")->text(), QStringLiteral("(JKU)"));
}

void ToolDialogsTest::orientate_emptyPositions_disablesOk() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 3);
    host.edit.typeCell(ColY, 1, "y");
    TOrientateWindow dialog(host);
    dialog.setRange(0, 5);
    QVERIFY(open(dialog));
    QCOMPARE(prompts.messageTexts(), QStringList{"Error found in data!"});
    QVERIFY(!button(dialog, "BBOk")->isEnabled());
    QCOMPARE(host.status, QStringLiteral("Error: Invalid number"));
    // The cursor ends on the first bad cell of the last bad entry.
    QCOMPARE(host.cursorColumn, int(ColX));
    QCOMPARE(host.entry, 5);
}

void ToolDialogsTest::orientate_badPointBox_oneMessage() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 3);
    TOrientateWindow dialog(host);
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    QTest::mouseClick(dialog.findChild<QRadioButton*>("RBPoint"), Qt::LeftButton);
    box(dialog, "EdY")->setText("abc");
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList{"Invalid value!"});
    QVERIFY(box(dialog, "EdY")->hasFocus());
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

void ToolDialogsTest::orientate_nextEntry_writesOnlyAngles() {
    ScriptedPrompts prompts;
    SessionHost host;
    host.setEntry(0, {"0", "1", "0", "0", "0", "5", "5", "12.25"});
    host.setEntry(1, {"1", "1", "-1", "2", "0.0", "5", "5", "7"});
    TOrientateWindow dialog(host);
    dialog.setRange(0, 1);
    QVERIFY(open(dialog));
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    const EntryTable& table = host.entries();
    for (int entry = 0; entry < 2; ++entry) {
        QCOMPARE(table.cell(ColPitch, entry), std::string("0.000000"));
        QCOMPARE(table.cell(ColYaw, entry), std::string("26.565052"));
    }
    QCOMPARE(table.cell(ColRoll, 0), std::string("12.25"));
    QCOMPARE(table.cell(ColZ, 1), std::string("0.0"));
    QCOMPARE(table.cell(ColX, 1), std::string("-1"));
}

void ToolDialogsTest::orientate_overflow_writesNothing() {
    ScriptedPrompts prompts;
    SessionHost host;
    fillEntries(host, 3);
    host.edit.typeCell(ColX, 2, "-3e38");
    TOrientateWindow dialog(host);
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    QTest::mouseClick(dialog.findChild<QRadioButton*>("RBPoint"), Qt::LeftButton);
    box(dialog, "EdX")->setText("3e38");
    const EntryTable before = host.entries();
    QTest::mouseClick(button(dialog, "BBOk"), Qt::LeftButton);
    QCOMPARE(prompts.errors, QStringList{"Floating point overflow."});
    QVERIFY(dialog.isVisible());
    QVERIFY(host.entries() == before);
}

// The tool's run, undone and redone as one step.
void undoAndRedo(SessionHost& host, const EntryTable& before, const std::string& step) {
    const EntryTable after = host.entries();
    QCOMPARE(host.edit.undoName(), step);
    host.edit.undo();
    QVERIFY(host.entries() == before);
    host.edit.redo();
    QVERIFY(host.entries() == after);
}

void ToolDialogsTest::smooth_writesThePathAsOneStep_orSaysThereIsNoRoom() {
    ScriptedPrompts prompts;
    SessionHost host;
    host.setEntry(0, {"0", "4", "0", "0", "0", "0", "350", "0"});
    host.setEntry(1, {"4", "6", "4", "2", "0", "0", "10", "0"});
    host.setEntry(2, {"10", "1", "4", "8", "1", "0", "30", "0"});
    const EntryTable before = host.entries();
    TSmoothWindow dialog(host);
    QVERIFY(dialog.RBCatmullRom->isChecked());
    QCOMPARE(dialog.RBCatmullRom->text() + dialog.RBLinear->text(),
             QStringLiteral("Catmull-RomLinear"));
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    dialog.SESpacing->setFocus();
    QTest::keyClicks(dialog.SESpacing, "3");
    QTest::mouseClick(dialog.BBOk, Qt::LeftButton);
    QVERIFY(prompts.messages.isEmpty() && !dialog.isVisible());
    // Frames 0, 3 | 4, 7 | 10: the remainders are the shorter steps.
    QCOMPARE(host.edit.entryCount(), 5);
    QCOMPARE(host.entries().cell(ColFrame, 3) + host.entries().cell(ColSteps, 3),
             std::string("73"));
    undoAndRedo(host, before, "Smooth Path");

    host.edit.typeCell(ColX, 995, "1");
    const EntryTable full = host.entries();
    dialog.setRange(0, 4);
    QVERIFY(open(dialog));
    dialog.SESpacing->setFocus();
    QTest::keyClicks(dialog.SESpacing, "1");
    QTest::mouseClick(dialog.BBOk, Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(), QStringList({"Not enough room to smooth the path!"}));
    QVERIFY(dialog.isVisible() && host.entries() == full);
}

void ToolDialogsTest::retime_rescalesAsOneStep_orSaysWhyNot() {
    ScriptedPrompts prompts;
    SessionHost host;
    host.setEntry(0, {"0", "10", "0", "0", "0", "0", "0", "0"});
    host.setEntry(1, {"10", "10", "1", "0", "0", "0", "0", "0"});
    host.setEntry(2, {"20", "1", "2", "0", "0", "0", "0", "0"});
    const EntryTable before = host.entries();
    TRetimeWindow dialog(host);
    dialog.setRange(0, 1);
    QVERIFY(open(dialog));
    QCOMPARE(dialog.SEDuration->value(), 10);
    QTest::mouseClick(dialog.RBFactor, Qt::LeftButton, {}, QPoint(8, 11));
    QVERIFY(dialog.EdFactor->isEnabled() && !dialog.SEDuration->isEnabled());
    typeInto(dialog.EdFactor, "2");
    QTest::mouseClick(dialog.BBOk, Qt::LeftButton);
    QVERIFY(prompts.messages.isEmpty() && !dialog.isVisible());
    QCOMPARE(host.entries().cell(ColFrame, 1) + host.entries().cell(ColFrame, 2),
             std::string("2030"));
    undoAndRedo(host, before, "Retime");

    const EntryTable after = host.entries();
    dialog.setRange(0, 2);
    QVERIFY(open(dialog));
    typeInto(dialog.EdFactor, "-1");
    QTest::mouseClick(dialog.BBOk, Qt::LeftButton);
    dialog.RBDuration->setChecked(true);
    dialog.SEDuration->setFocus();
    QTest::keyClicks(dialog.SEDuration, "1");
    QTest::mouseClick(dialog.BBOk, Qt::LeftButton);
    QCOMPARE(prompts.messageTexts(),
             (QStringList{"Invalid value!",
                          "The new duration is too short to keep the Frames rising!"}));
    QVERIFY(dialog.isVisible() && host.entries() == after);
}

} // namespace skyvane

QTEST_MAIN(skyvane::ToolDialogsTest)
#include "tooldialogs_test.moc"
