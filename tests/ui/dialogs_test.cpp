// The tools as a new user meets them through the main window: typing into a dialog that has
// just opened, a decimal-comma locale, the frames and angles Transform Object writes.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStyle>

#include "UiFixture.h"
#include "core/numbers.h"

using namespace skyvane;
using namespace skyvane::test;

namespace {

// The separator a German desktop gives the program at start-up, for one test; '.' after it.
struct DecimalCommaDesktop {
    DecimalCommaDesktop() {
        setDecimalSeparator(decimalSeparatorOf(QLocale(QStringLiteral("de_DE"))));
    }
    ~DecimalCommaDesktop() { setDecimalSeparator('.'); }
    DecimalCommaDesktop(const DecimalCommaDesktop&) = delete;
    DecimalCommaDesktop& operator=(const DecimalCommaDesktop&) = delete;
};

// Where a box's text begins and ends inside its frame.
int textLeft(const QLineEdit& box) {
    return box.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box) + 3;
}
int textRight(const QLineEdit& box) {
    return box.width() - 1 - textLeft(box);
}

QString boxText(QWidget& dialog, const char* name) {
    auto* box = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
    return box ? box->text() : QStringLiteral("no box %1").arg(QString::fromLatin1(name));
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    // Once `dialog` has opened and become the active window, runs `use` on it; the dialog
    // does not stay open after it, whatever happens, so the test cannot hang.
    static void whenOpen(QDialog& dialog, std::function<void()> use) {
        UiFixture::whenModal([&dialog, use] {
            const auto close = qScopeGuard([&dialog] {
                if (dialog.isVisible())
                    dialog.reject();
            });
            QTRY_VERIFY(QApplication::activeWindow() == &dialog);
            QVERIFY(dialog.focusWidget());
            use();
        });
    }

    // Types `text` into whatever holds the opened dialog's focus, as the keyboard does, then
    // presses `key`.
    static void typeWhenOpen(QDialog& dialog, const QString& text, Qt::Key key) {
        whenOpen(dialog, [&dialog, text, key] {
            QTest::keyClicks(dialog.focusWidget(), text);
            QTest::keyClick(dialog.focusWidget(), key);
        });
    }

    void offsetEntries(int first, int last, const QString& typed) {
        ui.trigger("OffsetVal1");
        ui.selectEntries(first, last);
        typeWhenOpen(ui.windows->offsetWindow, typed, Qt::Key_Return);
        QTest::mouseClick(ui.selector().BitBtn1, Qt::LeftButton);
    }

    void openTransform(const QString& typed, Qt::Key key) {
        typeWhenOpen(ui.windows->transformWindow, typed, key);
        ui.trigger("FillDown1");
    }

private slots:
    void init() { ui.start(); }
    void cleanup() { ui.stop(); }

    // The offset shown is selected as the dialog opens, the first time and every time after.
    void offsetValues_typingIntoOpenedDialog_replacesShownOffset() {
        ui.fillEntries(3);
        offsetEntries(0, 2, QStringLiteral("10"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("10.000000"));
        QCOMPARE(ui.cell(ColX, 2), QStringLiteral("12.000000"));
        offsetEntries(0, 2, QStringLiteral("1"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("11.000000"));
        QCOMPARE(ui.cell(ColX, 2), QStringLiteral("13.000000"));
        QVERIFY(ui.prompts->messages.isEmpty());
    }

    void transform_typingIntoOpenedDialog_replacesShownStartEntry() {
        ui.fillEntries(6);
        auto* start =
            ui.windows->transformWindow.findChild<QSpinBox*>(QStringLiteral("StartEntry"));
        ui.grid().setCursor(ColX, 3);
        openTransform(QStringLiteral("5"), Qt::Key_Escape);
        QCOMPARE(start->value(), 5);
        openTransform(QStringLiteral("2"), Qt::Key_Escape);
        QCOMPARE(start->value(), 2);
    }

    // A start entry typed in the dialog, with no entry before it to take a Frame from, gets
    // its own index as Frame, not the cursor's entry.
    void transform_startEntryTypedAsZero_getsFrameZero() {
        ui.fillEntries(6);
        ui.grid().setCursor(ColX, 5);
        openTransform(QStringLiteral("0"), Qt::Key_Return);
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(ui.cell(ColFrame, 0), QStringLiteral("0"));
        QCOMPARE(ui.cell(ColFrame, 30), QStringLiteral("30"));
        ui.trigger("Check1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"No Errors found!"}));
    }

    // With the ticks it starts with (X, Y, Z), a run over empty entries holds the start
    // entry's angles there, so every entry it writes passes the check.
    void transform_defaultTicksOverEmptyEntries_passesCheckData() {
        ui.setEntry(0, {"0", "1", "0", "0", "0", "10", "20", "30"});
        ui.grid().setCursor(ColX, 0);
        openTransform(QString(), Qt::Key_Return);
        QCOMPARE(ui.cell(ColFrame, 30), QStringLiteral("30"));
        QCOMPARE(ui.cell(ColPitch, 30), QStringLiteral("10.000000"));
        QCOMPARE(ui.cell(ColRoll, 30), QStringLiteral("30.000000"));
        QCOMPARE(ui.cell(ColYaw, 0), QStringLiteral("20"));
        ui.trigger("Check1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"No Errors found!"}));
    }

    // Every box a number is typed into shows a sign, six integer digits and six decimals
    // whole, from the first character to the last.
    void everyNumberBox_showsSixAndSixDigitsWhole() {
        const QString widest = QStringLiteral("-999999.999999");
        const QList<QWidget*> windows = {&ui.main(), &ui.windows->transformWindow,
                                         &ui.windows->offsetWindow, &ui.windows->orientateWindow};
        int boxes = 0;
        for (QWidget* window : windows) {
            for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
                if (box->window() != window || box->isReadOnly() ||
                    qobject_cast<QAbstractSpinBox*>(box->parentWidget()) ||
                    qobject_cast<QComboBox*>(box->parentWidget()))
                    continue;
                ++boxes;
                box->setText(widest);
                box->setCursorPosition(0);
                const QPoint end(textRight(*box), box->height() / 2);
                QVERIFY2(box->cursorPositionAt(end) == widest.size(),
                         qPrintable(box->objectName()));
            }
        }
        QCOMPARE(boxes, 2 + 19 + 6 + 3); // FrameRate, Type; Transform's; Offset's; the point's
    }

    // A number the program writes that is longer than its box shows its start: its sign and
    // leading digits, not its last decimals.
    void transform_longComputedValue_showsItsStart() {
        TTransformWindow& dialog = ui.windows->transformWindow;
        auto* accel = dialog.findChild<QLineEdit*>(QStringLiteral("YawAccel"));
        auto* final = dialog.findChild<QLineEdit*>(QStringLiteral("YawFinSpeed"));
        QString shown;
        int startAt = -1;
        whenOpen(dialog, [&] {
            accel->setFocus();
            QTest::keyClicks(accel, QStringLiteral("-1e15"));
            QCoreApplication::processEvents(); // painted as the user sees it
            shown = final->text();
            startAt = final->cursorPositionAt(QPoint(textLeft(*final), final->height() / 2));
        });
        ui.trigger("FillDown1");
        QCOMPARE(shown, QStringLiteral("-1999999973982208.000000")); // 1e15 as a 32-bit float
        QCOMPARE(startAt, 0);
    }

    // Where the entry before the start one is empty, the initial velocities read 0 in the
    // program's own notation, so the coupled boxes and OK can read them.
    void transform_decimalComma_runsFromEntryWithoutPredecessor() {
        DecimalCommaDesktop desktop;
        ui.start();
        ui.setEntry(0, {"0", "1", "1,5", "0", "0", "0", "0", "0"});
        ui.grid().setCursor(ColX, 0);
        TTransformWindow& dialog = ui.windows->transformWindow;
        QStringList shown;
        whenOpen(dialog, [&] {
            shown = QStringList{boxText(dialog, "XSpeed"), boxText(dialog, "XFinSpeed"),
                                boxText(dialog, "EDTime")};
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        ui.trigger("FillDown1");
        QCOMPARE(shown, QStringList({"0,000", "0,000", "2,00"}));
        QVERIFY(ui.prompts->messages.isEmpty());
        QCOMPARE(ui.cell(ColX, 30), QStringLiteral("1,500000"));
        QCOMPARE(ui.cell(ColFrame, 30), QStringLiteral("30"));
    }

    // Offset Values writes the separator every other tool writes, which the check reads.
    void offsetValues_decimalComma_writesCellsTheCheckAccepts() {
        DecimalCommaDesktop desktop;
        ui.start();
        ui.setEntry(0, {"0", "1", "2,5", "0", "0", "0", "0", "0"});
        ui.setEntry(1, {"1", "1", "-1", "0", "0", "10", "350,5", "0"});
        offsetEntries(0, 1, QStringLiteral("0,25"));
        QCOMPARE(ui.cell(ColX, 0), QStringLiteral("2,750000"));
        QCOMPARE(ui.cell(ColX, 1), QStringLiteral("-0,750000"));
        QCOMPARE(ui.cell(ColYaw, 1), QStringLiteral("350,500000"));
        ui.trigger("Check1");
        QCOMPARE(ui.prompts->messageTexts(), QStringList({"No Errors found!"}));
    }
};

#include "dialogs_test.moc"

std::unique_ptr<QObject> makeDialogsTest() {
    return std::make_unique<DialogsTest>();
}
