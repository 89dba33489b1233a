// Bad text in every box of every window, then the command that reads it: each gets its message
// or its clamping, and the document is left as it was, or changed whole as the command says.
// One table of texts, one table of boxes with their commands and expected outcomes.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "RobustFixture.h"
#include "core/validation.h"

namespace skyvane::test {
namespace {

// How a text reads as a number.
enum class AsFloat {
    NotNumber, // refused by the float conversion
    Beyond32,  // a number, but beyond the 32-bit float range
};

struct BadText {
    const char* tag;
    QString text;
    AsFloat asFloat;
    bool isInteger;       // read by the integer conversion
    MeshNameFault asMesh; // what the pre-save check says of it as a mesh name
};

const QString kLongText(10000, QLatin1Char('1'));

const BadText kBadTexts[] = {
    {"empty", QString(), AsFloat::NotNumber, false, MeshNameFault::Missing},
    {"letters", QStringLiteral("abc"), AsFloat::NotNumber, false, MeshNameFault::None},
    {"1e39", QStringLiteral("1e39"), AsFloat::Beyond32, false, MeshNameFault::None},
    {"-1e39", QStringLiteral("-1e39"), AsFloat::Beyond32, false, MeshNameFault::None},
    {"nan", QStringLiteral("nan"), AsFloat::NotNumber, false, MeshNameFault::None},
    {"inf", QStringLiteral("inf"), AsFloat::NotNumber, false, MeshNameFault::None},
    {"hex", QStringLiteral("$7FFFFFFF"), AsFloat::NotNumber, true, MeshNameFault::None},
    {"comma", QStringLiteral("1,5"), AsFloat::NotNumber, false, MeshNameFault::Malformed},
    {"10000 digits", kLongText, AsFloat::NotNumber, false, MeshNameFault::Malformed},
};

const QString kOverflow = QStringLiteral("Floating point overflow.");
const QString kInvalidValue = QStringLiteral("Invalid value!");
const QString kInvalidStart =
    QStringLiteral("Starting entry contains invalid value(s). Please check.");
const QString kInvalidMotion = QStringLiteral(
    "One of your initial velocity or acceleration values is invalid! Please check them.");

// What a command does with the bad text.
enum class Effect {
    Unchanged, // the document is as it was after the text was entered
    Changed,   // the command did its work; the box's own check says what it did
};

struct Expected {
    QStringList messages;        // message boxes, in order
    bool overflowReport = false; // the default error handler reported an overflow (only that)
    Effect effect = Effect::Unchanged;
};

Expected message(const QString& text) {
    return {{text}, false, Effect::Unchanged};
}
Expected overflow() {
    return {{}, true, Effect::Unchanged};
}
Expected changed() {
    return {{}, false, Effect::Changed};
}

// A float box whose command refuses a text that is not a number with `refusal` and lets an
// overflow reach the default error handler.
std::function<Expected(const BadText&)> floatBox(const QString& refusal) {
    return [refusal](const BadText& bad) {
        return bad.asFloat == AsFloat::NotNumber ? message(refusal) : overflow();
    };
}

class Session : public RobustFixture {
public:
    QString savePath() const { return path(QStringLiteral("saved.KEY")); }

    TTransformWindow& transform() { return windows->transformWindow; }
    TOffsetWindow& offset() { return windows->offsetWindow; }
    TOrientateWindow& orientate() { return windows->orientateWindow; }
    TPreviewWindow& preview() { return windows->previewWindow; }
    TInsertWindow& insert() { return windows->insertWindow; }

    void typeInto(QWidget& window, const char* box, const QString& text) {
        QLineEdit* edit = control<QLineEdit>(window, box);
        edit->setFocus();
        edit->setText(text);
    }
    // A spin box given text that its validator would not let through the keyboard.
    static void forceSpinText(QSpinBox* spin, const QString& text) {
        spin->setFocus();
        control<QLineEdit>(*spin, "qt_spinbox_lineedit")->setText(text);
    }
    static void click(QWidget& window, const char* button) {
        QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    QString pending; // the text a modal dialog's box gets once it is open
};

// One box of one window, the command that reads it, and what must come of each bad text.
struct BoxCase {
    std::string name;
    std::function<void(Session&)> open; // shows the box's window; may be empty
    std::function<void(Session&, const QString&)> enter;
    std::function<void(Session&)> command;
    std::function<Expected(const BadText&)> expect;
    // Checks after the command (focus, what a changing command wrote), given the document as
    // it was just before the command; may be empty.
    std::function<void(Session&, const BadText&, const Expected&, const DocumentView&)> verify;
};

void verifyFocus(QWidget& window, const char* box) {
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(window, box));
}

// Transform Object at 15 frames per second over 2 s writes 31 entries, one frame apart, from
// the start entry on.
void verifyTrajectory(Session& s, int startEntry) {
    QVERIFY(!s.transform().isVisible());
    QCOMPARE(s.main().NumEntries->text(), QString::number(startEntry + 31));
    for (int e = startEntry; e <= startEntry + 30; ++e) {
        QCOMPARE(s.main().entries().cell(ColSteps, e), std::string("1"));
        QCOMPARE(s.main().entries().cell(ColFrame, e), std::to_string(e));
    }
}

void verifySaved(Session& s, const QString& mesh) {
    QCOMPARE(shownCaption(s.main()), QStringLiteral("Skyvane - ") + s.savePath());
    const KeyReadResult saved = readKeyFile(s.savePath().toStdString());
    QVERIFY2(saved.ok, saved.reason.c_str());
    QCOMPARE(fromBytes(saved.document.Nodes.at(0).Mesh), mesh);
}

// ---------------------------------------------------------------------------------------------
// The main window's own boxes.

std::vector<BoxCase> mainWindowCases() {
    const auto enterFrameRate = [](Session& s, const QString& text) {
        s.typeInto(s.main(), "FrameRate", text);
    };
    const auto save = [](Session& s) {
        s.prompts->files.push_back(s.savePath());
        s.trigger("SaveAs1");
    };
    std::vector<BoxCase> cases;
    // A frame rate beyond the 32-bit range cannot be saved: the pre-save check refuses it.
    cases.push_back({"FrameRate / Save KEY", nullptr, enterFrameRate, save,
                     [](const BadText&) { return message(QStringLiteral("Invalid value !")); },
                     [](Session& s, const BadText&, const Expected&, const DocumentView&) {
                         QVERIFY(s.prompts->dialogs.isEmpty());
                         verifyFocus(s.main(), "FrameRate");
                     }});
    cases.push_back(
        {"FrameRate / Transform Object", nullptr, enterFrameRate,
         [](Session& s) {
             const QDialog* shown =
                 Session::runModal([&] { s.trigger("FillDown1"); }, [](QDialog&) {});
             QVERIFY(!shown);
         },
         [](const BadText&) { return message(QStringLiteral("Invalid frame-rate value!")); },
         [](Session& s, const BadText&, const Expected&, const DocumentView&) {
             verifyFocus(s.main(), "FrameRate");
         }});
    cases.push_back(
        {"MeshName / Save KEY", nullptr,
         [](Session& s, const QString& text) { s.main().MeshName->setEditText(text); }, save,
         [](const BadText& bad) {
             return bad.asMesh == MeshNameFault::None
                        ? changed()
                        : message(QString::fromLatin1(meshNameMessage(bad.asMesh)));
         },
         [](Session& s, const BadText& bad, const Expected& expected, const DocumentView&) {
             if (expected.effect == Effect::Changed)
                 verifySaved(s, bad.text);
             else
                 verifyFocus(s.main(), "MeshName");
         }});
    // Only the arrows change the node count: typed text goes nowhere.
    cases.push_back({"SENodes / leaving the box", nullptr,
                     [](Session& s, const QString& text) {
                         s.main().SENodes->setFocus();
                         QTest::keyClicks(s.main().SENodes, text.left(100));
                         QTest::keyClick(s.main().SENodes, Qt::Key_Return);
                     },
                     [](Session& s) { s.grid().setFocus(); },
                     [](const BadText&) { return Expected{}; },
                     [](Session& s, const BadText&, const Expected&, const DocumentView&) {
                         QCOMPARE(s.main().SENodes->value(), 2);
                         QCOMPARE(int(s.main().document().Nodes.size()), 2);
                     }});
    // Text that is no count inserts one entry, at the cursor; a count beyond 100, a hundred.
    cases.push_back(
        {"SENoFrames / Insert Frames OK", [](Session& s) { s.grid().setCursor(ColX, 0); },
         [](Session& s, const QString& text) { s.pending = text; },
         [](Session& s) {
             const QDialog* shown =
                 Session::runModal([&] { s.trigger("InsFrames1"); },
                                   [&](QDialog& dialog) {
                                       Session::forceSpinText(s.insert().SENoFrames, s.pending);
                                       Session::click(dialog, "BitBtn1");
                                   });
             QVERIFY(shown);
         },
         [](const BadText&) { return changed(); },
         [](Session& s, const BadText& bad, const Expected&, const DocumentView& before) {
             const int count = bad.text == kLongText ? 100 : 1;
             QCOMPARE(s.insert().SENoFrames->value(), count);
             QVERIFY(s.main().entries().cell(ColFrame, 0).empty());
             for (int e = 0; e < 3; ++e)
                 QCOMPARE(s.main().entries().cell(ColX, e + count), before.working.cell(ColX, e));
         }});
    return cases;
}

// ---------------------------------------------------------------------------------------------
// The grid cells of entry 2, the last one, with the three commands that check them.

struct CellColumn {
    const char* name;
    Column column;
};
const CellColumn kCellColumns[] = {
    {"Frame", ColFrame}, {"Steps", ColSteps}, {"X pos", ColX}, {"Y pos", ColY},
    {"Z pos", ColZ},     {"Pitch", ColPitch}, {"Yaw", ColYaw}, {"Roll", ColRoll},
};

// The entry check's verdict on entry 2 holding the bad text in `column`; empty when the entry
// passes. An emptied Frame or Steps cell is refilled by the entry defaults. A position beyond
// the 32-bit range cannot be saved, so the check refuses it as it refuses such an angle.
QString cellVerdict(Column column, const BadText& bad) {
    if (column == ColFrame || column == ColSteps)
        return bad.isInteger || bad.text.isEmpty() ? QString()
                                                   : QStringLiteral("Error: Invalid integer");
    if (bad.asFloat == AsFloat::NotNumber || column <= ColZ)
        return QStringLiteral("Error: Invalid number");
    return QStringLiteral("Error: Must be >= 0 and < 360");
}

void verifyFaultShown(Session& s, Column column, const BadText& bad) {
    QCOMPARE(s.main().PNLErrors->text(), cellVerdict(column, bad));
    QCOMPARE(s.grid().cursorEntry(), 2);
    QCOMPARE(s.grid().cursorColumn(), int(column));
}

std::vector<BoxCase> cellCases() {
    std::vector<BoxCase> cases;
    for (const CellColumn& cell : kCellColumns) {
        const Column column = cell.column;
        const std::string name = std::string("cell ") + cell.name + " / ";
        const auto enter = [column](Session& s, const QString& text) {
            s.typeCell(column, 2, text);
        };
        const auto passes = [column](const BadText& bad) {
            return cellVerdict(column, bad).isEmpty() ? changed() : Expected{};
        };
        cases.push_back(
            {name + "Check Data", nullptr, enter, [](Session& s) { s.trigger("Check1"); },
             [column](const BadText& bad) {
                 return message(cellVerdict(column, bad).isEmpty()
                                    ? QStringLiteral("No Errors found!")
                                    : QStringLiteral("Error found in Data!"));
             },
             [column](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
                 if (!cellVerdict(column, bad).isEmpty())
                     verifyFaultShown(s, column, bad);
             }});
        cases.push_back({name + "tab change", nullptr, enter,
                         [](Session& s) { s.main().NodeTabs->setCurrentIndex(1); }, passes,
                         [column](Session& s, const BadText& bad, const Expected& expected,
                                  const DocumentView& before) {
                             if (expected.effect == Effect::Unchanged) {
                                 QCOMPARE(s.main().NodeTabs->currentIndex(), 0);
                                 verifyFaultShown(s, column, bad);
                                 return;
                             }
                             // Node 0 was stored whole and node 1 is shown.
                             QCOMPARE(s.main().NodeTabs->currentIndex(), 1);
                             QCOMPARE(s.main().MeshName->currentText(), QStringLiteral("camera"));
                             QVERIFY(s.main().document().Nodes[0].Data == before.working);
                         }});
        cases.push_back({name + "Save KEY", nullptr, enter,
                         [](Session& s) {
                             s.prompts->files.push_back(s.savePath());
                             s.trigger("SaveAs1");
                         },
                         passes,
                         [column](Session& s, const BadText& bad, const Expected& expected,
                                  const DocumentView&) {
                             if (expected.effect == Effect::Changed) {
                                 verifySaved(s, QStringLiteral("ship"));
                                 return;
                             }
                             QVERIFY(s.prompts->dialogs.isEmpty());
                             verifyFaultShown(s, column, bad);
                         }});
        // Opening Offset Values checks its range; the preview checks the table when it becomes
        // active. Neither writes anything.
        cases.push_back(
            {name + "Offset Values opening", nullptr, enter,
             [](Session& s) {
                 s.windows->offsetWindow.setRange(0, 2);
                 QVERIFY(showActive(s.windows->offsetWindow));
             },
             [column](const BadText& bad) {
                 return cellVerdict(column, bad).isEmpty()
                            ? Expected{}
                            : message(QStringLiteral("Error found in data!"));
             },
             [column](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
                 const bool clean = cellVerdict(column, bad).isEmpty();
                 QCOMPARE(control<QPushButton>(s.windows->offsetWindow, "BBOk")->isEnabled(),
                          clean);
                 if (!clean)
                     verifyFaultShown(s, column, bad);
             }});
        cases.push_back(
            {name + "preview activation", nullptr, enter,
             [](Session& s) {
                 s.windows->previewWindow.show();
                 QEvent activation(QEvent::WindowActivate);
                 QCoreApplication::sendEvent(&s.windows->previewWindow, &activation);
             },
             [](const BadText&) { return Expected{}; },
             [column](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
                 if (cellVerdict(column, bad).isEmpty())
                     QCOMPARE(s.main().PNLErrors->text(), QString());
                 else
                     verifyFaultShown(s, column, bad);
             }});
    }
    return cases;
}

// ---------------------------------------------------------------------------------------------
// Transform Object, opened from entry 1 as the main window's command opens it.

const char* const kMotionBoxes[] = {"XSpeed",   "YSpeed",   "ZSpeed",   "PchSpeed",
                                    "YawSpeed", "RolSpeed", "XAccel",   "YAccel",
                                    "ZAccel",   "PchAccel", "YawAccel", "RolAccel"};
const char* const kFinalBoxes[] = {"XFinSpeed",   "YFinSpeed",   "ZFinSpeed",
                                   "PchFinSpeed", "YawFinSpeed", "RolFinSpeed"};

void openTransform(Session& s) {
    s.grid().setCursor(ColX, 1);
    s.transform().setFramesPerSecond(15.0f);
    s.transform().setStartEntry(s.grid().cursorEntry());
    QVERIFY(showActive(s.transform()));
}

std::vector<BoxCase> transformCases() {
    const auto ok = [](Session& s) { Session::click(s.transform(), "BBOk"); };
    const auto stillOpen = [](Session& s, const BadText&, const Expected&, const DocumentView&) {
        QVERIFY(s.transform().isVisible());
    };
    std::vector<BoxCase> cases;
    // A start entry that is not a number keeps the last one (the cursor's entry, 1). The spin
    // box takes "," for digit grouping: "1,5" is entry 15, which is empty.
    cases.push_back(
        {"Transform StartEntry / OK", openTransform,
         [](Session& s, const QString& text) {
             Session::forceSpinText(control<QSpinBox>(s.transform(), "StartEntry"), text);
         },
         ok,
         [](const BadText& bad) {
             return bad.text == QStringLiteral("1,5") ? message(kInvalidStart) : changed();
         },
         [](Session& s, const BadText&, const Expected& expected, const DocumentView&) {
             QSpinBox* start = control<QSpinBox>(s.transform(), "StartEntry");
             if (expected.effect == Effect::Unchanged) {
                 QCOMPARE(start->value(), 15);
                 QVERIFY(!s.transform().isVisible());
                 return;
             }
             QCOMPARE(start->value(), 1);
             verifyTrajectory(s, 1);
         }});
    cases.push_back(
        {"Transform EDTime / OK", openTransform,
         [](Session& s, const QString& text) { s.typeInto(s.transform(), "EDTime", text); }, ok,
         floatBox(kInvalidValue),
         [](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
             QVERIFY(s.transform().isVisible());
             if (bad.asFloat == AsFloat::NotNumber)
                 verifyFocus(s.transform(), "EDTime");
         }});
    for (const char* box : kMotionBoxes)
        cases.push_back(
            {std::string("Transform ") + box + " / OK", openTransform,
             [box](Session& s, const QString& text) { s.typeInto(s.transform(), box, text); }, ok,
             floatBox(kInvalidMotion), stillOpen});
    // A typed final velocity only derives the acceleration: one that is not a number leaves
    // "?" there, which OK refuses; one too large to derive from leaves the acceleration alone.
    for (const char* box : kFinalBoxes)
        cases.push_back(
            {std::string("Transform ") + box + " / OK", openTransform,
             [box](Session& s, const QString& text) { s.typeInto(s.transform(), box, text); }, ok,
             [](const BadText& bad) {
                 return bad.asFloat == AsFloat::NotNumber ? message(kInvalidMotion)
                                                          : Expected{{}, true, Effect::Changed};
             },
             [](Session& s, const BadText&, const Expected& expected, const DocumentView&) {
                 if (expected.effect == Effect::Changed)
                     verifyTrajectory(s, 1);
                 else
                     QVERIFY(s.transform().isVisible());
             }});
    return cases;
}

// ---------------------------------------------------------------------------------------------
// Offset Values and Auto Orientate over entries 0..2, and the preview's entry box.

const char* const kOffsetBoxes[] = {"EDX", "EDY", "EDZ", "EDPitch", "EDYaw", "EDRoll"};
const char* const kPointBoxes[] = {"EdX", "EdY", "EdZ"};

std::vector<BoxCase> rangeToolCases() {
    std::vector<BoxCase> cases;
    for (const char* box : kOffsetBoxes)
        cases.push_back(
            {std::string("Offset ") + box + " / OK",
             [](Session& s) {
                 s.offset().setRange(0, 2);
                 QVERIFY(showActive(s.offset()));
             },
             [box](Session& s, const QString& text) { s.typeInto(s.offset(), box, text); },
             [](Session& s) { Session::click(s.offset(), "BBOk"); }, floatBox(kInvalidValue),
             [box](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
                 QVERIFY(s.offset().isVisible());
                 if (bad.asFloat == AsFloat::NotNumber)
                     verifyFocus(s.offset(), box);
             }});
    for (const char* box : kPointBoxes)
        cases.push_back(
            {std::string("Orientate ") + box + " / OK",
             [](Session& s) {
                 s.orientate().setRange(0, 2);
                 QVERIFY(showActive(s.orientate()));
                 QTest::mouseClick(control<QRadioButton>(s.orientate(), "RBPoint"), Qt::LeftButton);
             },
             [box](Session& s, const QString& text) { s.typeInto(s.orientate(), box, text); },
             [](Session& s) { Session::click(s.orientate(), "BBOk"); }, floatBox(kInvalidValue),
             [box](Session& s, const BadText& bad, const Expected&, const DocumentView&) {
                 QVERIFY(s.orientate().isVisible());
                 if (bad.asFloat == AsFloat::NotNumber)
                     verifyFocus(s.orientate(), box);
             }});
    // Whatever the entry box holds, the drawing reads only entries 0..2.
    cases.push_back({"Preview SpEntry / activation",
                     [](Session& s) { QVERIFY(showActive(s.preview())); },
                     [](Session& s, const QString& text) {
                         QSpinBox* entry = control<QSpinBox>(s.preview(), "SpEntry");
                         Session::forceSpinText(entry, text);
                         QTest::keyClick(entry, Qt::Key_Return);
                     },
                     [](Session& s) {
                         QVERIFY(showActive(s.main()));
                         QVERIFY(showActive(s.preview()));
                     },
                     [](const BadText&) { return Expected{}; },
                     [](Session& s, const BadText&, const Expected&, const DocumentView&) {
                         const int shown = control<QSpinBox>(s.preview(), "SpEntry")->value();
                         QVERIFY(shown >= 0 && shown <= 2);
                         QVERIFY(s.main().PNLErrors->text().isEmpty());
                         QVERIFY(!control<QLabel>(s.preview(), "Image1")->pixmap().isNull());
                     }});
    return cases;
}

const std::vector<BoxCase>& allCases() {
    static const std::vector<BoxCase> cases = [] {
        std::vector<BoxCase> all;
        for (auto part : {mainWindowCases(), cellCases(), transformCases(), rangeToolCases()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return cases;
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void badText_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("text");
        for (std::size_t b = 0; b < allCases().size(); ++b)
            for (std::size_t t = 0; t < std::size(kBadTexts); ++t)
                QTest::addRow("%s <- %s", allCases()[b].name.c_str(), kBadTexts[t].tag)
                    << int(b) << int(t);
    }

    void badText() {
        QFETCH(int, box);
        QFETCH(int, text);
        const BoxCase& boxCase = allCases()[std::size_t(box)];
        const BadText& bad = kBadTexts[text];
        Session s;
        s.start();
        auto stop = qScopeGuard([&] { s.stop(); });
        if (boxCase.open)
            boxCase.open(s);
        boxCase.enter(s, bad.text);
        const DocumentView entered = s.view();
        boxCase.command(s);
        if (QTest::currentTestFailed())
            return;

        const Expected expected = boxCase.expect(bad);
        QCOMPARE(s.prompts->messageTexts(), expected.messages);
        if (expected.overflowReport) {
            QVERIFY(!s.prompts->errors.isEmpty());
            for (const QString& report : s.prompts->errors)
                QCOMPARE(report, kOverflow);
        } else {
            QCOMPARE(s.prompts->errors, QStringList());
        }
        if (expected.effect == Effect::Unchanged) {
            QCOMPARE(s.view().differenceFrom(entered), QString());
            QVERIFY(!QFile::exists(s.savePath()));
        }
        if (boxCase.verify)
            boxCase.verify(s, bad, expected, entered);
        if (QTest::currentTestFailed())
            return;
        stop.dismiss();
        QCOMPARE(s.stop(), QStringList()); // every window and its controls are gone
    }
};

} // namespace skyvane::test

QTEST_MAIN(skyvane::test::BadInputTest)
#include "bad_input_test.moc"
