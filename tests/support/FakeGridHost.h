// A stand-in for the main window, so the tool dialogs and the preview can be tested alone.
#pragma once

#include <QWidget>

#include "GridHost.h"
#include "keyfile.h"
#include "validation.h"

namespace skyvane::test {

class FakeGridHost : public GridHost {
public:
    WorkingCopy copy;
    QString status;
    int cursorColumn = 1;
    int row = 1;
    bool gridFocused = false;
    QWidget main;

    const EntryTable& entries() const override { return copy.table; }
    void applyCellEdits(const std::vector<CellEdit>& edits) override {
        skyvane::applyCellEdits(copy.table, edits);
        applyEntryDefaults(copy.table);
        copy.numEntries = std::to_string(countEntries(copy.table));
    }
    int cursorRow() const override { return row; }
    void setCursor(int column, int newRow) override {
        cursorColumn = column;
        row = newRow;
    }
    void setCursorRow(int newRow) override { row = newRow; }
    void focusGrid() override { gridFocused = true; }
    void setStatus(const QString& text) override { status = text; }
    QString numEntriesText() const override { return QString::fromStdString(copy.numEntries); }
    bool checkEntries(int first, int last) override {
        const EntryCheck check = skyvane::checkEntries(copy.table, first, last);
        if (check.outcome != EntryCheck::Outcome::RangeEnded)
            status = QString::fromStdString(check.message);
        if (check.fault())
            setCursor(check.column, check.entry + 1);
        return check.fault();
    }
    QWidget* mainWidget() override { return &main; }
    PlaybackTiming playbackTiming() const override {
        return {largestFrame(copy.table, countEntries(copy.table), 0) + 1, fps};
    }
    std::optional<float> fps = 15.0f;
    // The dialog Get Mesh Names last used.
    FileDialogSettings meshNamesDialog{"Open3DO", "Open 3DO", "Jedi Knight 3DO files|*.3DO",
                                       "3DO",     false,      QString()};

    std::vector<KeyNodeTrack> keyNodes() const override {
        return {{copy.mesh, &copy.table, countEntries(copy.table)}};
    }
    int currentNode() const override { return 0; }
    FileDialogSettings open3doDialog() const override { return meshNamesDialog; }

    // Fills entry e with the given cells (Frame, Steps, X, Y, Z, Pitch, Yaw, Roll).
    void setEntry(int entry, const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            copy.table.setCell(static_cast<int>(c) + 1, entry, cells[c]);
        copy.numEntries = std::to_string(countEntries(copy.table));
    }
};

} // namespace skyvane::test
