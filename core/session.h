// The editing session: the document, the working copy of the current node, the frame clipboard,
// the grid cursor and the undo history, with every change the editor makes as one operation
// counted in entries (0..999). Windows read their widgets, call it and show its verdicts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/document.h"
#include "core/playback.h"
#include "core/validation.h"

namespace skyvane {

// What playback needs of the whole document besides the current node's cells.
struct PlaybackTiming {
    std::int64_t frameCount = 1; // FRAMES as a save would write it now
    std::optional<float> fps;    // the frame rate a save would write; none while no number
};

struct GridCursor {
    int column = ColFrame;
    int entry = 0;
    bool operator==(const GridCursor& other) const {
        return column == other.column && entry == other.entry;
    }
};

// Everything that keeps the document from being saved, all checked at once so the user sees
// every complaint.
struct SaveCheck {
    EntryCheck node;
    bool frameRateInvalid = false;
    std::optional<NodeMeshFault> mesh;
    std::optional<std::string> header; // the header or joint-number fault's message
    bool fault() const {
        return node.fault() || frameRateInvalid || mesh.has_value() || header.has_value();
    }
};

// The step names that undo and redo show, besides "typing in entry N".
inline constexpr const char* kStepClearFrames = "Clear Frames";
inline constexpr const char* kStepDeleteFrames = "Delete Frames";
inline constexpr const char* kStepInsertFrames = "Insert Frames";
inline constexpr const char* kStepPasteFrames = "Paste Frames";
inline constexpr const char* kStepAddNode = "Add Node";
inline constexpr const char* kStepRemoveNode = "Remove Node";
inline constexpr const char* kStepMeshName = "Mesh Name";
inline constexpr const char* kStepFrameRate = "Frame Rate";
inline constexpr const char* kStepType = "Type";
inline constexpr const char* kStepFrames = "Frames";
inline constexpr const char* kStepJoints = "Joints";
inline constexpr const char* kStepJoint = "Joint";
inline constexpr const char* kStepMarkers = "Markers";
inline constexpr const char* kStepMendJumps = "Mend Jumps";
inline constexpr const char* kStepSmoothPath = "Smooth Path";
inline constexpr const char* kStepRetime = "Retime";
inline constexpr const char* kStepOffsetValues = "Offset Values";
inline constexpr const char* kStepAutoOrientate = "Auto Orientate";
inline constexpr const char* kStepTransformObject = "Transform Object";

// Writes a document to a file; throws (FileError, ConversionError) when it cannot.
using DocumentWriter = std::function<void(const std::string& path, const TKeyDocument& document)>;

// The cell edits of one node, for a command that changes several nodes at once.
struct NodeCellEdits {
    int node = 0;
    std::vector<CellEdit> edits;
};

// Older steps are forgotten beyond this many.
inline constexpr std::size_t kHistorySteps = 200;

class EditSession {
public:
    EditSession();

    // ---- Reading
    // The nodes as last stored: the current node's entries live in the working copy.
    const TKeyDocument& document() const { return document_; }
    // The document with the working copy stored, as a save would see it (Fps aside).
    TKeyDocument snapshot() const;
    const WorkingCopy& working() const { return working_; }
    const EntryTable& entries() const { return working_.table; }
    int entryCount() const;
    int currentNode() const { return currentNode_; }
    int nodeCount() const { return static_cast<int>(document_.Nodes.size()); }
    const std::string& meshName() const { return working_.mesh; }
    // The file last opened or saved, as the file system takes it; empty for a new document.
    const std::string& fileName() const { return fileName_; }
    const KeyHeader& header() const { return document_.Header; }
    // The joint count a save would write: the kept one, or the node count.
    std::int32_t jointCount() const;
    // The loop length a save would write. Throws ConversionError for a Frame that is no integer.
    std::int64_t loopLength() const { return playbackTiming().frameCount; }
    std::int32_t joint(int node) const { return nodeJoint(document_, node); }
    const std::string& frameRateText() const { return frameRateText_; }
    // The number the frame-rate box shows, as Transform Object takes it: none while the text is
    // no number of the 32-bit range.
    std::optional<float> typedFrameRate() const;
    // The frame rate a save would write: the document's while the box shows what it was given,
    // the typed number once the user changed it.
    std::optional<float> savedFrameRate() const;
    const EntryTable& clipboard() const { return clipboard_; }
    GridCursor cursor() const { return cursor_; }
    // Throws ConversionError for a Frame of another node that is no integer.
    PlaybackTiming playbackTiming() const;
    // Every node as it is played, the current one as it is being edited; valid until the next
    // change.
    std::vector<KeyNodeTrack> keyNodes() const;

    // Called after every change of data, node or history (not for cursor moves).
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

    // ---- Whole documents; each starts a fresh history and counts as unmodified.
    void newDocument();
    // Takes over a document under a file name (none: not saved yet); node 0 becomes current (a
    // file without nodes gets one, so the editor stays usable).
    void install(TKeyDocument document, std::string fileName = {});
    // Reads the whole file before touching anything, then installs it under its name. Returns
    // the reader's reason when the file is refused; the document then stays as it was.
    std::optional<std::string> open(const std::string& path);

    // ---- Edits: each is one undo step.
    // A tool run: every cell written together, then the entry defaults.
    void applyCellEdits(const std::vector<CellEdit>& edits, const std::string& stepName);
    // A run over several nodes, the current one among them or not. The current node gets its
    // entry defaults; in the others the edits must keep which Frame cells are empty, as their
    // entry counts stay.
    void applyNodeCellEdits(const std::vector<NodeCellEdits>& edits, const std::string& stepName);
    void typeCell(int column, int entry, std::string text);
    void clearEntries(int first, int last);
    void deleteEntries(int first, int last);
    // False, and nothing changes, when the entries would not fit.
    bool insertEntries(int count, int at);
    // False, and nothing changes, when the paste would lose an entry holding data.
    bool pasteEntries(int at);
    // False at the node limit.
    bool addNode();
    // The current node is never removed, so the last one goes only while another is current.
    bool canRemoveLastNode() const { return currentNode_ != nodeCount() - 1; }
    // False, and nothing changes, when !canRemoveLastNode().
    bool removeLastNode();
    // Typing into the mesh-name or frame-rate box: keystrokes in a row make one step until
    // finishTyping().
    void setMeshName(std::string mesh);
    void setFrameRateText(std::string text);
    void finishTyping() { typingOpen_ = false; }
    // A mesh name picked from a model: a step of its own, never part of typing in the box.
    void pickMeshName(std::string mesh);
    // The header as a whole (Type, Frames, Joints, the markers): one step named `stepName`.
    void setHeader(KeyHeader header, const std::string& stepName);
    // The joint number of the current node.
    void setJoint(std::int32_t joint);

    // ---- Not undoable
    void setCursor(GridCursor cursor) { cursor_ = cursor; }
    void copyEntries(int first, int last);
    // The check of the current node, then, when it passes, the node is stored and `node` loaded.
    EntryCheck changeNode(int node);
    EntryCheck checkEntries(int first, int last) const;
    EntryCheck checkNode() const;

    // ---- Saving
    // Stores the current node, then runs every pre-save check.
    SaveCheck checkForSave();
    // The header and joint-number check of the document as it stands.
    std::optional<std::string> headerFault() const;
    // The document to write: the working copy stored and the frame rate as savedFrameRate().
    TKeyDocument documentToSave() const;
    // The save sequence: checkForSave(), and only when it passes, documentToSave() written to
    // `path`, which then becomes the file name, and the document counts as saved. A write that
    // throws leaves the file name and the modified state as they were.
    SaveCheck save(const std::string& path, const DocumentWriter& write);
    void markSaved();
    // Whether the document differs from what was last opened, saved or created.
    bool modified() const { return stateId() != savedId_; }

    // ---- History
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    const std::string& undoName() const;
    const std::string& redoName() const;
    void undo();
    void redo();
    std::size_t undoSteps() const { return undo_.size(); }
    // What the steps hold, in bytes, as an estimate of their memory.
    std::size_t historyBytes() const;

private:
    struct CellChange {
        int column = 0;
        int entry = 0;
        std::string before;
        std::string after;
    };
    // The cells a step changed in a node other than its own.
    struct NodeChanges {
        int node = 0;
        std::vector<CellChange> cells;
    };
    // A removed node keeps only its rows that hold data; of the others, whether their Entry
    // cell held its index.
    struct StoredNode {
        std::optional<std::int32_t> joint;
        std::string mesh;
        std::int16_t entries = 0;
        std::vector<std::pair<int, EntryRow>> rows;
        std::vector<bool> numbered;
    };
    enum class StepKind { Cells, MeshName, FrameRate, AddNode, RemoveNode, Header, Joint };
    struct Step {
        std::uint64_t id = 0;
        StepKind kind = StepKind::Cells;
        std::string name;
        int node = 0;
        GridCursor cursor;
        std::vector<CellChange> cells; // of the step's own node
        std::vector<NodeChanges> otherNodes;
        std::string before; // mesh name or frame-rate text
        std::string after;
        StoredNode removed;
        KeyHeader headerBefore;
        KeyHeader headerAfter;
        std::optional<std::int32_t> jointBefore;
        std::optional<std::int32_t> jointAfter;
    };

    std::uint64_t stateId() const { return undo_.empty() ? baseId_ : undo_.back().id; }
    void freshHistory();
    void changed() const;
    static std::vector<CellChange> changedCells(const EntryTable& before, const EntryTable& after);
    // Runs `edit` on the working table, settles it and records the cells that changed, with the
    // changes already made in other nodes, as one step.
    template <typename Edit>
    void recordCells(const std::string& name, Edit edit, std::vector<NodeChanges> otherNodes = {});
    void push(Step step);
    void settleWorkingCopy();
    void storeCurrent();
    void loadCurrent();
    void goToNode(int node);
    void setText(StepKind kind, std::string text);
    std::string& textOf(StepKind kind);
    void apply(const Step& step, bool forward);

    TKeyDocument document_;
    std::string fileName_;
    WorkingCopy working_;
    int currentNode_ = 0;
    std::string frameRateText_;
    // The frame-rate text as last given by the document: while it shows, the document's value
    // is saved at its full precision.
    std::string frameRateShown_;
    EntryTable clipboard_{kClipboardStartRows};
    GridCursor cursor_;

    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::uint64_t nextId_ = 1;
    std::uint64_t baseId_ = 0;
    std::uint64_t savedId_ = 0;
    bool typingOpen_ = false;
    std::function<void()> listener_;
};

// "typing in entry 12"
std::string typingStepName(int entry);

} // namespace skyvane
