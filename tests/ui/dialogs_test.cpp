// The tools as a new user meets them through the main window: typing into a dialog that has
// just opened, a decimal-comma locale, the frames and angles Transform Object writes.
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>

#include "UiFixture.h"
#include "numbers.h"

using namespace skyvane;
using namespace skyvane::test;

class DialogsTest : public QObject {
    Q_OBJECT

    UiFixture ui;

    // Once `dialog` has opened and become the active window, types `text` into whatever holds
    // its focus, as the keyboard does, then presses `key`.
    static void typeWhenOpen(QDialog& dialog, const QString& text, Qt::Key key) {
        UiFixture::whenModal([&dialog, text, key] {
            // Whatever happens, the dialog does not stay open to hang the test.
            const auto close = qScopeGuard([&dialog] {
                if (dialog.isVisible())
                    dialog.reject();
            });
            QTRY_VERIFY(QApplication::activeWindow() == &dialog);
            QWidget* focus = dialog.focusWidget();
            QVERIFY(focus);
            QTest::keyClicks(focus, text);
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
        ui.grid().setCursor(ColX, 4);
        openTransform(QStringLiteral("5"), Qt::Key_Escape);
        QCOMPARE(start->value(), 5);
        openTransform(QStringLiteral("2"), Qt::Key_Escape);
        QCOMPARE(start->value(), 2);
    }
};

#include "dialogs_test.moc"

std::unique_ptr<QObject> makeDialogsTest() {
    return std::make_unique<DialogsTest>();
}
