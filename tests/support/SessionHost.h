// The main window's face towards the tool dialogs and the preview, without the window: a real
// editing session for the data, and the cursor, focus and status panel as plain fields.
#pragma once

#include <QWidget>

#include "widgets/GridHost.h"

namespace skyvane::test {

class SessionHost : public GridHost {
public:
    EditSession edit;
    QString status;
    int cursorColumn = ColFrame;
    int entry = 0;
    bool gridFocused = false;
    QWidget main;

    EditSession& session() override { return edit; }
    int cursorEntry() const override { return entry; }
    void setCursor(int column, int newEntry) override {
        cursorColumn = column;
        entry = newEntry;
    }
    void setCursorEntry(int newEntry) override { entry = newEntry; }
    void followEntry(int newEntry) override { entry = newEntry; }
    void focusGrid() override { gridFocused = true; }
    void setStatus(const QString& text) override { status = text; }
    QWidget* mainWidget() override { return &main; }
    // The dialog Get Mesh Names last used.
    FileDialogSettings meshNamesDialog{"Open3DO", "Open 3DO", "Jedi Knight 3DO files|*.3DO",
                                       "3DO",     false,      QString()};
    FileDialogSettings open3doDialog() const override { return meshNamesDialog; }

    // Fills entry e with the given cells (Frame, Steps, X, Y, Z, Pitch, Yaw, Roll) in one step.
    void setEntry(int e, const std::vector<std::string>& cells) {
        std::vector<CellEdit> edits;
        for (std::size_t c = 0; c < cells.size(); ++c)
            edits.push_back({static_cast<int>(c) + 1, e, cells[c]});
        edit.applyCellEdits(edits, "Fill");
    }
};

} // namespace skyvane::test
