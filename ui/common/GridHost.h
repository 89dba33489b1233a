// What the tools and the preview may use of the main window: its working copy and the few
// things around the grid they touch (cursor, focus, status panel, entry check).
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "Prompts.h"
#include "document.h"
#include "playback.h"

class QWidget;

namespace skyvane {

// What playback needs of the whole document besides the current node's cells.
struct PlaybackTiming {
    std::int64_t frameCount = 1; // FRAMES as a save would write it now
    std::optional<float> fps;    // the frame rate a save would write; none while no number
};

class GridHost {
public:
    virtual ~GridHost() = default;

    // Entries 0..999 of the current node; entry e is shown in grid row e + 1.
    virtual const EntryTable& entries() const = 0;
    // Writes the cells, then shows them (the entry defaults and the entry count follow).
    virtual void applyCellEdits(const std::vector<CellEdit>& edits) = 0;

    virtual int cursorRow() const = 0; // grid row of the cursor, 1..1000
    virtual void setCursor(int column, int row) = 0;
    virtual void setCursorRow(int row) = 0; // the cursor's column stays
    virtual void focusGrid() = 0;
    virtual void setStatus(const QString& text) = 0; // PNLErrors
    virtual QString numEntriesText() const = 0;

    // Runs the entry check over first..last, shows its verdict in the status panel and moves
    // the cursor to a faulty cell. True when a fault was found.
    virtual bool checkEntries(int first, int last) = 0;

    // Throws ConversionError for a Frame of another node that is no integer.
    virtual PlaybackTiming playbackTiming() const = 0;

    virtual QWidget* mainWidget() = 0;

    // Every node of the document, the current one as it is being edited.
    virtual std::vector<KeyNodeTrack> keyNodes() const = 0;
    virtual int currentNode() const = 0;
    // The Open 3DO dialog of Get Mesh Names, offering the model it last read.
    virtual FileDialogSettings open3doDialog() const = 0;
};

} // namespace skyvane
