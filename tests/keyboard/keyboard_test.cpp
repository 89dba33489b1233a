// The editor without a mouse: every menu command reached by its access letters (Alt + the
// menu's letter, then the item's letter), and every dialog those commands open worked with Tab,
// Enter and Esc alone: Tab visits each control that takes input, Esc closes, Enter presses the
// default button.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "ui/AppWindows.h"
#include "ScriptedPrompts.h"

namespace skyvane::test {
namespace {

// What a command showed while it ran.
struct Seen {
    QString modalCaption;
    QStringList notTabbed; // controls that take input but that Tab never reached
    bool closedByEsc = false;
};

// The controls of a window that a keyboard user must be able to reach with Tab. Of a group of
// radio buttons Tab reaches the checked one; the arrows move between them.
QWidgetList tabTargets(QWidget* window) {
    QWidgetList targets;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus) ||
            w->focusProxy() || w->objectName().isEmpty())
            continue;
        auto* radio = qobject_cast<QRadioButton*>(w);
        if (radio && !radio->isChecked())
            continue;
        targets.append(w);
    }
    return targets;
}

// The named control that holds the focus (the line edit inside a spin box reports its box).
QWidget* focusedControl() {
    QWidget* w = QApplication::focusWidget();
    while (w && w->objectName().isEmpty())
        w = w->parentWidget();
    return w;
}

QStringList notReachedByTab(QWidget* window) {
    const QWidgetList targets = tabTargets(window);
    QSet<QWidget*> reached;
    for (int press = 0; press < 2 * targets.size() + 2; ++press) {
        if (QWidget* w = focusedControl())
            reached.insert(w);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QStringList missing;
    for (QWidget* w : targets)
        if (!reached.contains(w))
            missing.append(w->objectName());
    return missing;
}

// How long a dialog may take to become the active window, in ticks of 10 ms.
constexpr int kActivationTicks = 100;

class KeyboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<AppWindows> windows;

    TMainWindow& main() { return windows->mainWindow; }

    // Runs `keys`; a modal window they open meanwhile is examined and closed: Tab around it,
    // then Esc, or Enter when `enter` is set.
    Seen watchingModal(const std::function<void()>& keys, bool enter) {
        Seen seen;
        int ticks = 0;
        QTimer watch;
        watch.setInterval(10);
        connect(&watch, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            // Keys go to the active window: wait until the dialog has become it.
            if (QApplication::activeWindow() != modal && ++ticks < kActivationTicks)
                return;
            watch.stop();
            seen.modalCaption = modal->windowTitle();
            if (!enter)
                seen.notTabbed = notReachedByTab(modal);
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : modal;
            QTest::keyClick(focus, enter ? Qt::Key_Return : Qt::Key_Escape);
            seen.closedByEsc = !enter && !modal->isVisible();
            if (modal->isVisible()) // the key did not close it: do not hang the test
                modal->close();
        });
        watch.start();
        keys();
        QCoreApplication::processEvents();
        return seen;
    }

    // Alt + the menu's letter, then the item's letter, as typed on the main window.
    Seen pressMenu(char menuLetter, char itemLetter, bool enter = false) {
        return watchingModal(
            [&] {
                // The window that had the focus before (a dialog, the selector) handed it back.
                QApplication::setActiveWindow(&main());
                QTest::keyClick(&main(), menuLetter, Qt::AltModifier);
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                    QTest::keyClick(menu, itemLetter);
            },
            enter);
    }

    // Enter in the frame selector, which stays open beside the main window.
    Seen confirmSelector() {
        return watchingModal(
            [&] {
                QApplication::setActiveWindow(&windows->frameSelector);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            },
            false);
    }

    // Entries 0..count-1 that pass the check, entry e at X = e.
    void fillEntries(int count) {
        std::vector<CellEdit> edits;
        for (int e = 0; e < count; ++e) {
            const std::string n = std::to_string(e);
            const std::array<std::string, 8> cells = {n, "1", n, "0", "0", "0", "0", "0"};
            for (int c = 0; c < 8; ++c)
                edits.push_back({ColFrame + c, e, cells[c]});
        }
        main().session().applyCellEdits(edits, "Fill");
    }

    QAction* action(const char* name) {
        return main().MainMenu1->findChild<QAction*>(QString::fromLatin1(name));
    }

private slots:
    void init() {
        prompts = std::make_unique<ScriptedPrompts>();
        windows = std::make_unique<AppWindows>();
        windows->show();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
        QApplication::setActiveWindow(&main());
        QVERIFY(QTest::qWaitForWindowActive(&main()));
    }

    void cleanup() {
        windows.reset();
        prompts.reset();
    }

    void everyItem_hasAnAccessLetterOfItsOwn() {
        for (QAction* menuAction : main().MainMenu1->actions()) {
            QSet<QChar> letters;
            for (QAction* item : menuAction->menu()->actions()) {
                if (item->isSeparator())
                    continue;
                const QString text = item->text();
                const int amp = text.indexOf(QLatin1Char('&'));
                QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
                const QChar letter = text.at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(text));
                letters.insert(letter);
            }
        }
    }

    void menuItem_runsByAccessLetters_data() {
        QTest::addColumn<char>("menu");
        QTest::addColumn<char>("item");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("modal");  // caption of the modal window it opens
        QTest::addColumn<QString>("prompt"); // or the frame selector's prompt

        const QString none;
        QTest::newRow("File New") << 'f' << 'n' << "New1" << none << none;
        QTest::newRow("File Open") << 'f' << 'o' << "Open" << none << none;
        QTest::newRow("File Save") << 'f' << 's' << "Save" << none << none;
        QTest::newRow("Edit Copy")
            << 'e' << 'c' << "Copy1" << none << "Select entries to Copy, then press OK";
        QTest::newRow("Edit Insert") << 'e' << 'i' << "InsFrames1"
                                     << "Insert Frames" << none;
        QTest::newRow("Edit Clear")
            << 'e' << 'r' << "ClrFrames1" << none << "Select entries to Clear, then press OK";
        QTest::newRow("Edit Delete")
            << 'e' << 'd' << "DelFrames1" << none << "Select entries to Remove, then press OK";
        QTest::newRow("Tools Check") << 't' << 'c' << "Check1" << none << none;
        QTest::newRow("Tools Transform") << 't' << 't' << "FillDown1"
                                         << "Transform Object" << none;
        QTest::newRow("Tools Offset")
            << 't' << 'o' << "OffsetVal1" << none << "Select entries to Offset, then press OK";
        QTest::newRow("Tools Orientate") << 't' << 'a' << "AutoOrientate1" << none
                                         << "Select entries to Orientate, then press OK";
        QTest::newRow("Tools Mend") << 't' << 'm' << "MendJumps1" << none << none;
        QTest::newRow("Tools Smooth") << 't' << 's' << "SmoothPath1" << none
                                      << "Select the keys to smooth through, then press OK";
        QTest::newRow("Tools Retime")
            << 't' << 'r' << "Retime1" << none << "Select entries to Retime, then press OK";
        QTest::newRow("Tools Preview") << 't' << 'p' << "Preview1" << none << none;
        QTest::newRow("Help Contents") << 'h' << 'c' << "Contents1"
                                       << "Helpa !" << none;
        QTest::newRow("Help About") << 'h' << 'a' << "About1"
                                    << "About Skyvane" << none;
        QTest::newRow("File Exit") << 'f' << 'x' << "Exit1" << none << none;
    }

    // Each command runs from the keyboard; a dialog it opens can be toured with Tab and
    // closed with Esc; the frame selector it opens closes with Esc.
    void menuItem_runsByAccessLetters() {
        QFETCH(char, menu);
        QFETCH(char, item);
        QFETCH(QString, action);
        QFETCH(QString, modal);
        QFETCH(QString, prompt);
        QAction* command = this->action(qPrintable(action));
        QVERIFY(command);
        QSignalSpy triggered(command, &QAction::triggered);

        const Seen seen = pressMenu(menu, item);

        QCOMPARE(triggered.count(), 1);
        QCOMPARE(seen.modalCaption, modal);
        if (!modal.isEmpty()) {
            QVERIFY2(seen.notTabbed.isEmpty(), qPrintable(seen.notTabbed.join(u' ')));
            QVERIFY(seen.closedByEsc);
        }
        TFrameSelector& selector = windows->frameSelector;
        QCOMPARE(selector.isVisible(), !prompt.isEmpty());
        if (!prompt.isEmpty()) {
            QVERIFY(selector.findChild<QLabel*>(QStringLiteral("Label1")));
            QCOMPARE(selector.findChild<QLabel*>(QStringLiteral("Label1"))->text(), prompt);
            QApplication::setActiveWindow(&selector);
            QVERIFY2(notReachedByTab(&selector).isEmpty(),
                     qPrintable(notReachedByTab(&selector).join(u' ')));
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                        : static_cast<QWidget*>(&selector),
                            Qt::Key_Escape);
            QVERIFY(!selector.isVisible());
        }
    }

    void pasteFrames_runsByAccessLettersAfterACopy() {
        pressMenu('e', 'c');
        QTest::keyClick(&windows->frameSelector, Qt::Key_Escape);
        QSignalSpy triggered(action("Paste1"), &QAction::triggered);
        pressMenu('e', 'p');
        QCOMPARE(triggered.count(), 1);
    }

    void selectorDialog_toursWithTabAndClosesWithEsc_data() {
        QTest::addColumn<char>("item");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Offset Values") << 'o' << "Offset Values";
        QTest::newRow("Auto Orientate") << 'a' << "Auto Orientate";
        QTest::newRow("Smooth Path") << 's' << "Smooth Path";
        QTest::newRow("Retime") << 'r' << "Retime";
    }

    // The tools that work on a range open their dialog when the selector is confirmed.
    void selectorDialog_toursWithTabAndClosesWithEsc() {
        QFETCH(char, item);
        QFETCH(QString, caption);
        fillEntries(3);
        pressMenu('t', item);
        const Seen seen = confirmSelector();
        QCOMPARE(seen.modalCaption, caption);
        QVERIFY2(seen.notTabbed.isEmpty(), qPrintable(seen.notTabbed.join(u' ')));
        QVERIFY(seen.closedByEsc);
    }

    // Enter presses the default button: Transform Object writes its entries, the frame
    // selector runs its command, Insert Frames inserts.
    void enter_pressesTheDefaultButton() {
        fillEntries(1);
        const Seen transform = pressMenu('t', 't', true);
        QCOMPARE(transform.modalCaption, QStringLiteral("Transform Object"));
        QVERIFY(!windows->transformWindow.isVisible());
        QCOMPARE(main().entries().cell(ColFrame, 30), std::string("30")); // 2 s at 15 per second

        pressMenu('e', 'r'); // Clear Frames: the selector waits for rows
        confirmSelector();
        QVERIFY(!windows->frameSelector.isVisible());
        QVERIFY(main().entries().cell(ColFrame, 0).empty()); // the cursor's entry was cleared

        const Seen insert = pressMenu('e', 'i', true);
        QCOMPARE(insert.modalCaption, QStringLiteral("Insert Frames"));
        QVERIFY(!windows->insertWindow.isVisible());
        QCOMPARE(main().entries().cell(ColFrame, 2), std::string("1")); // moved down by one
    }
};

} // namespace
} // namespace skyvane::test

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skyvane"));
    skyvane::test::KeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "keyboard_test.moc"
