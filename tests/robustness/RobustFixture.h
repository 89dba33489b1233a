// The whole program's windows over a document opened from a KEY file, with scripted prompts,
// and a picture of everything the user sees of the document, so a test can tell whether a
// command left it alone.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
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

// What the user sees of the document and what a later save would write: the working copy and
// the fields around it, the other nodes as stored, the tabs and the caption. The current node's
// stored slot is left out: it is out of date by design until the working copy is stored back.
struct DocumentView {
    EntryTable working;
    QString frameRate;
    QString mesh;
    QString numEntries;
    QString caption;
    int currentNode = 0;
    int tabCount = 0;
    std::vector<TNode> otherNodes;

    // Where two views differ, in words; empty when they are the same.
    QString differenceFrom(const DocumentView& other) const {
        QStringList found;
        if (frameRate != other.frameRate)
            found << QStringLiteral("frame rate %1 -> %2").arg(frameRate, other.frameRate);
        if (mesh != other.mesh)
            found << QStringLiteral("mesh %1 -> %2").arg(mesh.left(40), other.mesh.left(40));
        if (numEntries != other.numEntries)
            found << QStringLiteral("entries %1 -> %2").arg(numEntries, other.numEntries);
        if (caption != other.caption)
            found << QStringLiteral("caption %1 -> %2").arg(caption, other.caption);
        if (currentNode != other.currentNode || tabCount != other.tabCount)
            found << QStringLiteral("tabs");
        for (int row = 0; row < working.rowCount(); ++row)
            for (int column = 0; column < kColumnCount; ++column)
                if (working.cell(column, row) != other.working.cell(column, row))
                    found << QStringLiteral("cell %1 of entry %2: '%3' -> '%4'")
                                 .arg(column)
                                 .arg(row)
                                 .arg(fromBytes(working.cell(column, row)).left(40),
                                      fromBytes(other.working.cell(column, row)).left(40));
        if (otherNodes.size() != other.otherNodes.size())
            found << QStringLiteral("node count");
        for (std::size_t n = 0; n < std::min(otherNodes.size(), other.otherNodes.size()); ++n)
            if (otherNodes[n].Mesh != other.otherNodes[n].Mesh ||
                otherNodes[n].Entries != other.otherNodes[n].Entries ||
                otherNodes[n].Data != other.otherNodes[n].Data)
                found << QStringLiteral("stored node");
        return found.join(QStringLiteral("; "));
    }
};

class RobustFixture {
public:
    // Node 0 holds entries 0..2 (Frame e, Steps 1, X e, the rest 0) and the mesh "ship";
    // node 1 holds one entry and the mesh "camera". Both are read from a KEY file, as a user
    // would start.
    void start() {
        prompts = std::make_unique<ScriptedPrompts>();
        windows = std::make_unique<AppWindows>();
        main().show();
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
        original = path(QStringLiteral("start.KEY"));
        saveKeyFile(original.toStdString(), startDocument(), "01/01/2026", "12:00:00");
        prompts->files.push_back(original);
        main().OpenClick();
        QCOMPARE(shownCaption(main()), QStringLiteral("Skyvane - ") + original);
        QCOMPARE(main().NumEntries->text(), QStringLiteral("3"));
        prompts->messages.clear();
        prompts->dialogs.clear();
    }
    // Closes every window. Gives the widgets still alive afterwards: a widget nobody owns stays
    // reachable through the application's widget list, where no leak checker sees it.
    QStringList stop() {
        windows.reset();
        prompts.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList alive;
        for (const QWidget* widget : QApplication::allWidgets())
            alive << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') +
                         widget->objectName();
        return alive;
    }

    static TKeyDocument startDocument() {
        TKeyDocument document;
        document.Fps = 15.0f;
        for (int n = 0; n < 2; ++n) {
            TNode node;
            node.Mesh = n == 0 ? "ship" : "camera";
            node.Entries = static_cast<std::int16_t>(n == 0 ? 3 : 1);
            for (int e = 0; e < node.Entries; ++e) {
                const std::vector<std::string> cells = {std::to_string(e),
                                                        std::to_string(e),
                                                        "1",
                                                        std::to_string(e),
                                                        "0",
                                                        "0",
                                                        "0",
                                                        "0",
                                                        "0"};
                for (int c = 0; c < kColumnCount; ++c)
                    node.Data.setCell(c, e, cells[static_cast<std::size_t>(c)]);
            }
            document.Nodes.push_back(node);
        }
        return document;
    }

    TMainWindow& main() { return windows->mainWindow; }
    EntryGrid& grid() { return *main().DataGrid; }

    DocumentView view() {
        DocumentView seen;
        seen.working = main().entries();
        seen.frameRate = main().FrameRate->text();
        seen.mesh = main().MeshName->currentText();
        seen.numEntries = main().NumEntries->text();
        seen.caption = shownCaption(main());
        seen.currentNode = main().NodeTabs->currentIndex();
        seen.tabCount = main().NodeTabs->count();
        const auto& nodes = main().document().Nodes;
        for (std::size_t n = 0; n < nodes.size(); ++n)
            if (int(n) != main().currentNode())
                seen.otherNodes.push_back(nodes[n]);
        return seen;
    }

    void trigger(const char* actionName) {
        QAction* action = main().findChild<QAction*>(QString::fromLatin1(actionName));
        QVERIFY2(action, actionName);
        action->trigger();
    }

    // Types a cell's whole text in its in-place editor and commits it with Return.
    void typeCell(int column, int entry, const QString& text) {
        grid().setFocus();
        grid().setCursor(column, entry);
        grid().edit(grid().currentIndex());
        auto* editor = qobject_cast<QLineEdit*>(grid().indexWidget(grid().currentIndex()));
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    // Runs `start`, which opens a modal dialog, and `inside` once the dialog's loop turns; the
    // dialog is closed afterwards if `inside` left it open. Returns the dialog that was shown.
    static QDialog* runModal(const std::function<void()>& start,
                             const std::function<void(QDialog&)>& inside) {
        QDialog* shown = nullptr;
        QTimer::singleShot(0, [&] {
            shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!shown)
                return;
            inside(*shown);
            if (shown->isVisible())
                shown->reject();
        });
        start();
        QCoreApplication::processEvents();
        return shown;
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    static QByteArray bytesOf(const QString& file) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString original; // the KEY file the document was opened from
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<AppWindows> windows;
};

// A control of a window by its object name; the test stops when it is missing.
template <typename T> T* control(QWidget& window, const char* name) {
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

// Shows a dialog as exec() would and makes it the active window, so focus is real.
inline bool showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&window);
    QCoreApplication::processEvents(); // what the opening queued
    return active;
}

} // namespace skyvane::test
