// What the tools and the preview may use of the main window: the editing session for data, and
// the few things around the grid they touch (cursor, focus, status panel).
#pragma once

#include <QString>

#include "widgets/Prompts.h"
#include "core/session.h"

class QWidget;

namespace skyvane {

class GridHost {
public:
    virtual ~GridHost() = default;

    virtual EditSession& session() = 0;

    virtual int cursorEntry() const = 0;
    virtual void setCursor(int column, int entry) = 0;
    virtual void setCursorEntry(int entry) = 0; // the cursor's column stays
    // The cursor to `entry` as the preview plays, unless the user is typing into a cell or
    // selecting rows; the focus stays where it is.
    virtual void followEntry(int entry) = 0;
    virtual void focusGrid() = 0;
    virtual void setStatus(const QString& text) = 0; // PNLErrors
    virtual QWidget* mainWidget() = 0;

    const EntryTable& entries() { return session().entries(); }
    // Shows the verdict in the status panel and moves the cursor to a faulty cell. True on a
    // fault.
    bool showEntryCheck(const EntryCheck& check);
    // The entry check over first..last, shown.
    bool checkEntries(int first, int last) {
        return showEntryCheck(session().checkEntries(first, last));
    }

    // Every node of the document, the current one as it is being edited.
    std::vector<KeyNodeTrack> keyNodes() { return session().keyNodes(); }
    int currentNode() { return session().currentNode(); }
    // The Open 3DO dialog of Get Mesh Names, offering the model it last read.
    virtual FileDialogSettings open3doDialog() const = 0;
};

} // namespace skyvane
