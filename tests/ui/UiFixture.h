// What every window test of the editor needs: the nine windows, scripted prompts, and ways to
// type into the grid and to fill entries.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "ui/AppWindows.h"
#include "ui/EntryGrid.h"
#include "ScriptedPrompts.h"
#include "widgets/Text.h"
#include "WindowCaption.h"
#include "core/keyfile.h"

namespace skyvane::test {

class UiFixture {
public:
    // Fresh windows, prompts and settings for each test; the main window is shown as at
    // start-up.
    void start() {
        windows.reset();
        prompts.reset();
        settings = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings->path());
        prompts = std::make_unique<ScriptedPrompts>();
        startWindows();
    }
    // The windows made anew with the settings of the last run, as when the program is started
    // again.
    void restart() {
        windows.reset();
        startWindows();
    }
    void startWindows() {
        windows = std::make_unique<AppWindows>();
        main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }
    void stop() {
        windows.reset();
        prompts.reset();
    }

    TMainWindow& main() { return windows->mainWindow; }
    EntryGrid& grid() { return *main().DataGrid; }
    TFrameSelector& selector() { return windows->frameSelector; }
    TPreviewWindow& preview() { return windows->previewWindow; }

    void trigger(const char* actionName) {
        QAction* action = main().findChild<QAction*>(QString::fromLatin1(actionName));
        QVERIFY2(action, actionName);
        action->trigger();
    }

    QString cell(int column, int entry) { return fromBytes(main().entries().cell(column, entry)); }

    // Frame, Steps, X .. Roll of one entry, written as a tool writes them.
    void setEntry(int entry, const QStringList& cells) {
        std::vector<CellEdit> edits;
        for (int c = 0; c < cells.size(); ++c)
            edits.push_back({c + 1, entry, toBytes(cells[c])});
        main().session().applyCellEdits(edits, "Fill");
    }
    // Entries 0..count-1, entry e with Frame 10e, Steps 10, X e and zeros.
    void fillEntries(int count) {
        std::vector<CellEdit> edits;
        for (int e = 0; e < count; ++e) {
            const QStringList cells = {QString::number(10 * e),
                                       QStringLiteral("10"),
                                       QString::number(e),
                                       "0",
                                       "0",
                                       "0",
                                       "0",
                                       "0"};
            for (int c = 0; c < cells.size(); ++c)
                edits.push_back({c + 1, e, toBytes(cells[c])});
        }
        main().session().applyCellEdits(edits, "Fill");
    }

    // Types into a cell as a user does: the first key opens the editor, Return commits (once
    // the event loop turns).
    void typeCell(int column, int entry, const QString& text) {
        grid().setFocus();
        grid().setCursor(column, entry);
        QTest::keyClicks(&grid(), text.left(1));
        QWidget* editor = grid().indexWidget(grid().currentIndex());
        QVERIFY(editor);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // In the selector's row mode: a click on the first row, a Shift-click on the last.
    void selectEntries(int first, int last) {
        QWidget* viewport = grid().viewport();
        const auto centre = [&](int entry) {
            return grid().visualRect(grid().model()->index(entry, ColX)).center();
        };
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, centre(first));
        if (last != first)
            QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, centre(last));
    }

    // Runs `action` as soon as the next modal dialog's event loop turns.
    static void whenModal(std::function<void()> action) { QTimer::singleShot(0, action); }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A KEY file written by the core writer from `document`.
    QString writeKey(const QString& name, const TKeyDocument& document) {
        const QString file = path(name);
        saveKeyFile(file.toStdString(), document, "01/01/2026", "12:00:00");
        return file;
    }

    // A document of `nodes` nodes, each with a mesh name and `entries` entries.
    static TKeyDocument makeDocument(int nodes, int entries, float fps = 15.0f) {
        TKeyDocument document;
        document.Fps = fps;
        for (int n = 0; n < nodes; ++n) {
            TNode node;
            node.Mesh = "mesh" + std::to_string(n);
            node.Entries = static_cast<std::int16_t>(entries);
            for (int e = 0; e < entries; ++e) {
                const std::vector<std::string> cells = {std::to_string(e),
                                                        std::to_string(10 * e),
                                                        "10",
                                                        std::to_string(n),
                                                        "1.5",
                                                        "0",
                                                        "0",
                                                        "90",
                                                        "0"};
                for (int c = 0; c < kColumnCount; ++c)
                    node.Data.setCell(c, e, cells[static_cast<std::size_t>(c)]);
            }
            document.Nodes.push_back(node);
        }
        return document;
    }

    QTemporaryDir dir;
    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<AppWindows> windows;
};

} // namespace skyvane::test
