// The preview window over a stand-in main window: its controls, the activation rules, the
// entry box's limits and the keys.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QWindow>
#include <QtTest>

#include "FakeGridHost.h"
#include "preview.h"
#include "scene.h"

using skyvane::TPreviewWindow;
using skyvane::test::FakeGridHost;

namespace {

const char* const kReadOuts[] = {"EDX", "EDY", "EDZ", "EDu", "EDv", "EDw", "EDZoom"};

// A straight flight along +X at height 0: entry e at (e, 0, 0), facing -X (yaw 90).
void fillTrajectory(FakeGridHost& host, int count) {
    for (int e = 0; e < count; ++e)
        host.setEntry(e, {std::to_string(e), "1", std::to_string(e), "0", "0", "0", "90", "0"});
}

QColor pixelAt(const QLabel* image, int x, int y) {
    return image->pixmap().toImage().pixelColor(x, y);
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

    FakeGridHost* host = nullptr;
    TPreviewWindow* window = nullptr;

    template <typename T> T* control(const char* name) {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("control %s missing", name);
        return found;
    }
    QString text(const char* box) { return control<QLineEdit>(box)->text(); }
    QStringList readOuts() {
        QStringList texts;
        for (const char* box : kReadOuts)
            texts << text(box);
        return texts;
    }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window, &activation);
    }
    // A key as the platform delivers it: into the window, then to the focused control.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(key), modifiers);
    }
    qint64 pictureKey() { return control<QLabel>("Image1")->pixmap().cacheKey(); }

private slots:
    void init() {
        host = new FakeGridHost;
        window = new TPreviewWindow(*host, nullptr);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() {
        delete window;
        delete host;
    }

    void layout_hasItsNamedControls() {
        QCOMPARE(window->windowTitle(), QStringLiteral("3D Preview"));
        QCOMPARE(window->objectName(), QStringLiteral("PreviewWindow"));
        QCOMPARE(window->size(), QSize(650, 470));
        QVERIFY(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        for (const char* name : kReadOuts) {
            auto* box = control<QLineEdit>(name);
            QVERIFY2(box->isReadOnly(), name);
            QVERIFY2(!(box->focusPolicy() & Qt::TabFocus), name);
        }
        QVERIFY(!(control<QSpinBox>("SpEntry")->focusPolicy() & Qt::TabFocus));
        QStringList captions;
        for (const QLabel* label : window->findChildren<QLabel*>())
            captions << label->text();
        for (const char* caption :
             {"Entry :", "Use arrow keys to move around", "Use shift + arrow keys to rotate",
              "Use + and - keys to zoom in/out", "Camera Position :", "X", "Y", "Z",
              "Camera Heading:", "i", "+", "j", "k", "Zoom Factor :"})
            QVERIFY2(captions.contains(QString::fromLatin1(caption)), caption);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("LabelI"))->font().bold());
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("LabelK"))->font().italic());
    }

    void start_showsTheStartCameraAndTheGrid() {
        QCOMPARE(readOuts(),
                 QStringList({"0.000", "-49.384", "7.822", "0.000", "0.988", "-0.156", "1.0"}));
        const auto* image = control<QLabel>("Image1");
        QCOMPARE(image->width(), 650 - 200 - 2);
        QCOMPARE(image->pixmap().size(), image->size());
        const int cx = qRound(image->width() * 0.5);
        const int cy = image->height() / 2; // 468 / 2
        QCOMPARE(pixelAt(image, cx, cy), QColor(0, 0, 128));
        QCOMPARE(pixelAt(image, cx, 5), QColor(Qt::black));
    }

    void activation_setsTheEntryBoxFromCountAndCursor_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("cursorRow");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty table") << 0 << 1 << 0 << 0 << false;
        QTest::newRow("one entry") << 1 << 4 << 0 << 0 << false;
        QTest::newRow("cursor below the last entry") << 5 << 8 << 4 << 4 << true;
        QTest::newRow("cursor on entry 2") << 5 << 3 << 2 << 4 << true;
    }
    void activation_setsTheEntryBoxFromCountAndCursor() {
        QFETCH(int, entries);
        QFETCH(int, cursorRow);
        fillTrajectory(*host, entries);
        host->row = cursorRow;
        activate();
        const auto* spEntry = control<QSpinBox>("SpEntry");
        QTEST(spEntry->value(), "value");
        QTEST(spEntry->maximum(), "maximum");
        QCOMPARE(spEntry->minimum(), 0);
        QTEST(spEntry->isEnabled(), "enabled");
    }

    void activation_withGoodEntries_drawsThemAndClearsTheStatus() {
        fillTrajectory(*host, 3);
        host->row = 2; // entry 1, at (1, 0, 0)
        host->status = QStringLiteral("No Errors");
        activate();
        QCOMPARE(host->status, QString());
        const auto* image = control<QLabel>("Image1");
        const int cx = image->width() / 2;
        const int cy = image->height() / 2;
        QCOMPARE(pixelAt(image, cx - 2, cy - 2), QColor(0, 128, 0)); // entry 0, green
        QCOMPARE(pixelAt(image, cx + 25, cy), QColor(255, 0, 0));    // entry 1, red
        QCOMPARE(pixelAt(image, cx + 10, cy), QColor(255, 0, 0));    // its heading, towards -X
    }

    void activation_withAFault_keepsThePictureAndLeavesTheFaultShown() {
        fillTrajectory(*host, 3);
        host->row = 1;
        activate();
        const qint64 before = pictureKey();
        host->setEntry(2, {"2", "1", "abc", "0", "0", "0", "0", "0"});
        host->row = 2; // a new highlighted entry would redraw if it were set loudly
        activate();
        QCOMPARE(pictureKey(), before);
        QCOMPARE(host->status, QStringLiteral("Error: Invalid number"));
        QCOMPARE(host->cursorColumn, 3);
        QCOMPARE(host->row, 3);
    }

    void entryBox_changeRedraws() {
        fillTrajectory(*host, 5);
        activate();
        const qint64 before = pictureKey();
        control<QSpinBox>("SpEntry")->setValue(3);
        QVERIFY(pictureKey() != before);
    }

    void entryBox_keepsTypedValuesWithinTheEntries() {
        fillTrajectory(*host, 5);
        host->row = 3;
        activate();
        auto* spEntry = control<QSpinBox>("SpEntry");
        spEntry->setFocus();
        spEntry->selectAll();
        QTest::keyClicks(spEntry, QStringLiteral("9"));
        QVERIFY(spEntry->value() >= 0 && spEntry->value() <= 4);
        spEntry->selectAll();
        QTest::keyClicks(spEntry, QStringLiteral("x-"));
        QVERIFY(spEntry->value() >= 0 && spEntry->value() <= 4);
        spEntry->setValue(99);
        QCOMPARE(spEntry->value(), 4);
        spEntry->setValue(-3);
        QCOMPARE(spEntry->value(), 0);
    }

    void keys_moveTheCameraOncePerPress() {
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
        QCOMPARE(text("EDZ"), QStringLiteral("8.809"));
        press(Qt::Key_Down);
        QCOMPARE(text("EDY"), QStringLiteral("-49.384"));
        press(Qt::Key_Left);
        QCOMPARE(text("EDX"), QStringLiteral("-1.000"));
        for (int i = 0; i < 9; ++i)
            press(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(text("EDw"), QStringLiteral("-1.000"));
        QCOMPARE(text("EDZ"), QStringLiteral("50.000"));
    }

    void keys_withCtrlOrAlt_changeNothingAndDoNotRedraw() {
        const QStringList before = readOuts();
        const qint64 picture = pictureKey();
        press(Qt::Key_Up, Qt::ControlModifier);
        press(Qt::Key_Left, Qt::AltModifier);
        press(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(readOuts(), before);
        QCOMPARE(pictureKey(), picture);
    }

    void zoomKeys_workOnBothKeyboardsWithAndWithoutShift_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("zoom");
        QTest::newRow("equals") << int(Qt::Key_Equal) << int(Qt::NoModifier) << "2.0";
        QTest::newRow("shift plus") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << "2.0";
        QTest::newRow("keypad plus") << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << "2.0";
        QTest::newRow("ctrl plus") << int(Qt::Key_Plus) << int(Qt::ControlModifier) << "2.0";
        QTest::newRow("minus") << int(Qt::Key_Minus) << int(Qt::NoModifier) << "0.9";
        QTest::newRow("shift minus") << int(Qt::Key_Underscore) << int(Qt::ShiftModifier) << "0.9";
        QTest::newRow("keypad minus") << int(Qt::Key_Minus) << int(Qt::KeypadModifier) << "0.9";
    }
    void zoomKeys_workOnBothKeyboardsWithAndWithoutShift() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        press(key, Qt::KeyboardModifiers(modifiers));
        QTEST(text("EDZoom"), "zoom");
    }

    void keys_alsoReachTheFocusedEntryBox() {
        fillTrajectory(*host, 5);
        host->row = 3;
        activate();
        auto* spEntry = control<QSpinBox>("SpEntry");
        spEntry->setFocus();
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
        QCOMPARE(spEntry->value(), 3);
    }

    // A read-only box passes Up on to its parents; the camera still moves only once.
    void keys_ignoredByTheFocusedControl_moveTheCameraOnce() {
        control<QLineEdit>("EDX")->setFocus();
        press(Qt::Key_Up);
        QCOMPARE(text("EDY"), QStringLiteral("-49.228"));
    }

    void resize_redrawsAtTheNewSize() {
        window->resize(500, 400);
        const auto* image = control<QLabel>("Image1");
        QCOMPARE(image->size(), QSize(298, 398));
        QCOMPARE(image->pixmap().size(), QSize(298, 398));
        QCOMPARE(pixelAt(image, 149, 199), QColor(0, 0, 128));
    }

    void hiding_keepsTheCamera() {
        press(Qt::Key_Right, Qt::ShiftModifier);
        const QStringList moved = readOuts();
        window->close();
        QVERIFY(window->isHidden());
        window->show();
        QCOMPARE(readOuts(), moved);
    }
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
