// The editing session: every change goes through one place, which records what it changed.
#include "core/session.h"

#include <algorithm>

#include "core/keyfile.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

const std::string kNoStep;

// A shown frame rate: after a reset with three decimals, after a read as the file gives it.
constexpr const char* kResetRatePattern = "00.000";
constexpr const char* kReadRatePattern = "#.00";

std::size_t textBytes(const std::string& text) {
    return sizeof(std::string) + (text.capacity() > 15 ? text.capacity() : 0);
}

} // namespace

std::vector<EditSession::CellChange> EditSession::changedCells(const EntryTable& before,
                                                               const EntryTable& after) {
    std::vector<CellChange> cells;
    for (int e = 0; e < kMaxEntries; ++e) {
        const EntryRow& old = before.row(e);
        const EntryRow& now = after.row(e);
        for (int c = 0; c < kColumnCount; ++c)
            if (old[static_cast<std::size_t>(c)] != now[static_cast<std::size_t>(c)])
                cells.push_back(
                    {c, e, old[static_cast<std::size_t>(c)], now[static_cast<std::size_t>(c)]});
    }
    return cells;
}

std::string typingStepName(int entry) {
    return "typing in entry " + std::to_string(entry);
}

EditSession::EditSession() {
    newDocument();
}

// ---- Reading

TKeyDocument EditSession::snapshot() const {
    TKeyDocument document = document_;
    storeWorkingCopy(document, currentNode_, working_);
    return document;
}

int EditSession::entryCount() const {
    return countEntries(working_.table);
}

std::optional<float> EditSession::typedFrameRate() const {
    if (!frameRateIsValid(frameRateText_))
        return std::nullopt;
    return parseSingle(frameRateText_);
}

std::optional<float> EditSession::savedFrameRate() const {
    if (frameRateText_ == frameRateShown_)
        return document_.Fps;
    return typedFrameRate();
}

PlaybackTiming EditSession::playbackTiming() const {
    std::int32_t largest = largestFrame(working_.table, entryCount(), currentNode_);
    for (int k = 0; k < nodeCount(); ++k) {
        const TNode& node = document_.Nodes[static_cast<std::size_t>(k)];
        if (k != currentNode_)
            largest = std::max(largest, largestFrame(node.Data, node.Entries, k));
    }
    return {skyvane::loopLength(document_.Header, largest), savedFrameRate()};
}

std::vector<KeyNodeTrack> EditSession::keyNodes() const {
    std::vector<KeyNodeTrack> nodes;
    for (int k = 0; k < nodeCount(); ++k) {
        const TNode& node = document_.Nodes[static_cast<std::size_t>(k)];
        nodes.push_back({node.Mesh, &node.Data, node.Entries, joint(k)});
    }
    nodes[static_cast<std::size_t>(currentNode_)] = {working_.mesh, &working_.table, entryCount(),
                                                     joint(currentNode_)};
    return nodes;
}

std::int32_t EditSession::jointCount() const {
    return skyvane::jointCount(document_);
}

// ---- Whole documents

void EditSession::newDocument() {
    resetDocument(document_);
    fileName_.clear();
    skyvane::addNode(document_);
    frameRateText_ = formatPattern(document_.Fps, kResetRatePattern);
    frameRateShown_ = frameRateText_;
    currentNode_ = 0;
    loadCurrent();
    cursor_ = GridCursor{};
    freshHistory();
}

void EditSession::install(TKeyDocument document, std::string fileName) {
    document_ = std::move(document);
    fileName_ = std::move(fileName);
    if (document_.Nodes.empty())
        skyvane::addNode(document_);
    frameRateText_ = formatPattern(document_.Fps, kReadRatePattern);
    frameRateShown_ = frameRateText_;
    currentNode_ = 0;
    loadCurrent();
    cursor_ = GridCursor{};
    freshHistory();
}

std::optional<std::string> EditSession::open(const std::string& path) {
    KeyReadResult result = readKeyFile(path);
    if (!result.ok)
        return result.reason;
    install(std::move(result.document), path);
    return std::nullopt;
}

void EditSession::freshHistory() {
    undo_.clear();
    redo_.clear();
    typingOpen_ = false;
    baseId_ = nextId_++;
    savedId_ = baseId_;
    changed();
}

void EditSession::changed() const {
    if (listener_)
        listener_();
}

// ---- Edits

template <typename Edit>
void EditSession::recordCells(const std::string& name, Edit edit,
                              std::vector<NodeChanges> otherNodes) {
    const EntryTable before = working_.table;
    edit(working_.table);
    settleWorkingCopy();
    Step step;
    step.kind = StepKind::Cells;
    step.name = name;
    step.cells = changedCells(before, working_.table);
    step.otherNodes = std::move(otherNodes);
    // A command that changed nothing leaves nothing to undo.
    if (!step.cells.empty() || !step.otherNodes.empty())
        push(std::move(step));
    changed();
}

void EditSession::push(Step step) {
    step.id = nextId_++;
    step.node = currentNode_;
    step.cursor = cursor_;
    undo_.push_back(std::move(step));
    if (undo_.size() > kHistorySteps) {
        // The state after the forgotten step is where undoing all ends now.
        baseId_ = undo_.front().id;
        undo_.pop_front();
    }
    redo_.clear();
    typingOpen_ = false;
}

void EditSession::applyCellEdits(const std::vector<CellEdit>& edits, const std::string& stepName) {
    recordCells(stepName, [&](EntryTable& table) { skyvane::applyCellEdits(table, edits); });
}

void EditSession::applyNodeCellEdits(const std::vector<NodeCellEdits>& edits,
                                     const std::string& stepName) {
    std::vector<NodeChanges> otherNodes;
    for (const NodeCellEdits& node : edits) {
        if (node.node == currentNode_)
            continue;
        EntryTable& table = document_.Nodes.at(static_cast<std::size_t>(node.node)).Data;
        const EntryTable before = table;
        skyvane::applyCellEdits(table, node.edits);
        std::vector<CellChange> cells = changedCells(before, table);
        if (!cells.empty())
            otherNodes.push_back({node.node, std::move(cells)});
    }
    recordCells(
        stepName,
        [&](EntryTable& table) {
            for (const NodeCellEdits& node : edits)
                if (node.node == currentNode_)
                    skyvane::applyCellEdits(table, node.edits);
        },
        std::move(otherNodes));
}

void EditSession::typeCell(int column, int entry, std::string text) {
    // Undo comes back to the cell that was typed into, wherever the cursor went on.
    cursor_ = {column, entry};
    recordCells(typingStepName(entry),
                [&](EntryTable& table) { table.setCell(column, entry, std::move(text)); });
}

void EditSession::clearEntries(int first, int last) {
    recordCells(kStepClearFrames,
                [&](EntryTable& table) { skyvane::clearEntries(table, first, last); });
}

void EditSession::deleteEntries(int first, int last) {
    recordCells(kStepDeleteFrames, [&](EntryTable& table) { closeGap(table, first, last); });
}

bool EditSession::insertEntries(int count, int at) {
    // Entries after an emptied one are not counted but still hold data.
    if (entryCount() + count > kMaxEntries || insertLosesEntries(working_.table, count, at))
        return false;
    recordCells(kStepInsertFrames, [&](EntryTable& table) { openGap(table, count, at); });
    return true;
}

bool EditSession::pasteEntries(int at) {
    if (pasteLosesEntries(working_.table, clipboard_, at))
        return false;
    recordCells(kStepPasteFrames,
                [&](EntryTable& table) { skyvane::pasteEntries(table, clipboard_, at); });
    return true;
}

bool EditSession::addNode() {
    if (nodeCount() >= kMaxNodes)
        return false;
    skyvane::addNode(document_);
    Step step;
    step.kind = StepKind::AddNode;
    step.name = kStepAddNode;
    push(std::move(step));
    changed();
    return true;
}

bool EditSession::removeLastNode() {
    if (!canRemoveLastNode())
        return false;
    Step step;
    step.kind = StepKind::RemoveNode;
    step.name = kStepRemoveNode;
    const TNode& last = document_.Nodes.back();
    step.removed.joint = last.Joint;
    step.removed.mesh = last.Mesh;
    step.removed.entries = last.Entries;
    step.removed.numbered.resize(kMaxEntries);
    for (int e = 0; e < kMaxEntries; ++e) {
        const EntryRow& row = last.Data.row(e);
        const bool numbered = row[ColEntry] == std::to_string(e);
        if (holdsData(row) || !(numbered || row[ColEntry].empty()))
            step.removed.rows.emplace_back(e, row);
        step.removed.numbered[static_cast<std::size_t>(e)] = numbered;
    }
    skyvane::removeLastNode(document_);
    push(std::move(step));
    changed();
    return true;
}

std::string& EditSession::textOf(StepKind kind) {
    return kind == StepKind::MeshName ? working_.mesh : frameRateText_;
}

void EditSession::setText(StepKind kind, std::string text) {
    std::string& current = textOf(kind);
    if (current == text)
        return;
    Step* top = undo_.empty() ? nullptr : &undo_.back();
    if (typingOpen_ && top && top->kind == kind && top->node == currentNode_) {
        top->after = text;
        current = std::move(text);
        // Typed back to where the step began: nothing is left to undo.
        if (top->after == top->before) {
            undo_.pop_back();
            typingOpen_ = false;
        }
    } else {
        Step step;
        step.kind = kind;
        step.name = kind == StepKind::MeshName ? kStepMeshName : kStepFrameRate;
        step.before = current;
        step.after = text;
        current = std::move(text);
        push(std::move(step));
        typingOpen_ = true;
    }
    changed();
}

void EditSession::setMeshName(std::string mesh) {
    setText(StepKind::MeshName, std::move(mesh));
}

void EditSession::pickMeshName(std::string mesh) {
    typingOpen_ = false;
    setMeshName(std::move(mesh));
    typingOpen_ = false;
}

void EditSession::setFrameRateText(std::string text) {
    setText(StepKind::FrameRate, std::move(text));
}

void EditSession::setHeader(KeyHeader header, const std::string& stepName) {
    if (header == document_.Header)
        return;
    Step step;
    step.kind = StepKind::Header;
    step.name = stepName;
    step.headerBefore = document_.Header;
    step.headerAfter = header;
    document_.Header = std::move(header);
    push(std::move(step));
    changed();
}

void EditSession::setJoint(std::int32_t joint) {
    std::optional<std::int32_t>& current =
        document_.Nodes[static_cast<std::size_t>(currentNode_)].Joint;
    if (joint == this->joint(currentNode_))
        return;
    Step step;
    step.kind = StepKind::Joint;
    step.name = kStepJoint;
    step.jointBefore = current;
    step.jointAfter = joint;
    current = joint;
    push(std::move(step));
    changed();
}

// After every change of the working copy: the entry defaults.
void EditSession::settleWorkingCopy() {
    applyEntryDefaults(working_.table);
}

// ---- Nodes and checks

void EditSession::storeCurrent() {
    storeWorkingCopy(document_, currentNode_, working_);
}

void EditSession::loadCurrent() {
    loadNode(document_, currentNode_, working_);
    settleWorkingCopy();
}

void EditSession::goToNode(int node) {
    if (node == currentNode_)
        return;
    storeCurrent();
    currentNode_ = node;
    loadCurrent();
}

void EditSession::copyEntries(int first, int last) {
    clipboard_ = skyvane::copyEntries(working_.table, first, last);
}

EntryCheck EditSession::changeNode(int node) {
    const EntryCheck check = checkNode();
    if (!check.fault() && node != currentNode_) {
        goToNode(node);
        typingOpen_ = false;
        changed();
    }
    return check;
}

EntryCheck EditSession::checkEntries(int first, int last) const {
    return skyvane::checkEntries(working_.table, first, last);
}

EntryCheck EditSession::checkNode() const {
    return skyvane::checkNode(working_.table);
}

// ---- Saving

SaveCheck EditSession::checkForSave() {
    storeCurrent();
    SaveCheck check;
    check.node = checkNode();
    check.frameRateInvalid = !frameRateIsValid(frameRateText_);
    check.mesh = firstMeshNameFault(document_);
    check.header = headerFault();
    return check;
}

std::optional<std::string> EditSession::headerFault() const {
    return skyvane::headerFault(snapshot());
}

TKeyDocument EditSession::documentToSave() const {
    TKeyDocument document = snapshot();
    document.Fps = savedFrameRate().value_or(document_.Fps);
    return document;
}

SaveCheck EditSession::save(const std::string& path, const DocumentWriter& write) {
    const SaveCheck check = checkForSave();
    if (check.fault())
        return check;
    write(path, documentToSave());
    fileName_ = path;
    markSaved();
    return check;
}

void EditSession::markSaved() {
    savedId_ = stateId();
    typingOpen_ = false;
    changed();
}

// ---- History

const std::string& EditSession::undoName() const {
    return undo_.empty() ? kNoStep : undo_.back().name;
}

const std::string& EditSession::redoName() const {
    return redo_.empty() ? kNoStep : redo_.back().name;
}

void EditSession::undo() {
    if (undo_.empty())
        return;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    apply(step, false);
    redo_.push_back(std::move(step));
    changed();
}

void EditSession::redo() {
    if (redo_.empty())
        return;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    apply(step, true);
    undo_.push_back(std::move(step));
    changed();
}

// Goes back to the node and the cursor of the step, then sets what it changed to its state
// after (forward) or before.
void EditSession::apply(const Step& step, bool forward) {
    typingOpen_ = false;
    goToNode(step.node);
    cursor_ = step.cursor;
    switch (step.kind) {
    case StepKind::Cells:
        for (const CellChange& change : step.cells)
            working_.table.setCell(change.column, change.entry,
                                   forward ? change.after : change.before);
        // Backwards on undo, so a node listed twice ends as it was before the first.
        for (std::size_t i = 0; i < step.otherNodes.size(); ++i) {
            const NodeChanges& node = step.otherNodes[forward ? i : step.otherNodes.size() - 1 - i];
            for (const CellChange& change : node.cells)
                document_.Nodes[static_cast<std::size_t>(node.node)].Data.setCell(
                    change.column, change.entry, forward ? change.after : change.before);
        }
        break;
    case StepKind::MeshName:
    case StepKind::FrameRate:
        textOf(step.kind) = forward ? step.after : step.before;
        break;
    case StepKind::Header:
        document_.Header = forward ? step.headerAfter : step.headerBefore;
        break;
    case StepKind::Joint:
        document_.Nodes[static_cast<std::size_t>(step.node)].Joint =
            forward ? step.jointAfter : step.jointBefore;
        break;
    case StepKind::AddNode:
        if (forward)
            skyvane::addNode(document_);
        else
            skyvane::removeLastNode(document_);
        break;
    case StepKind::RemoveNode:
        if (forward) {
            skyvane::removeLastNode(document_);
        } else {
            skyvane::addNode(document_);
            TNode& node = document_.Nodes.back();
            node.Joint = step.removed.joint;
            node.Mesh = step.removed.mesh;
            node.Entries = step.removed.entries;
            for (int e = 0; e < kMaxEntries; ++e)
                if (step.removed.numbered[static_cast<std::size_t>(e)])
                    node.Data.setCell(ColEntry, e, std::to_string(e));
            for (const auto& [entry, row] : step.removed.rows)
                node.Data.row(entry) = row;
        }
        break;
    }
}

std::size_t EditSession::historyBytes() const {
    std::size_t bytes = 0;
    const auto add = [&bytes](const Step& step) {
        bytes += sizeof(Step) + textBytes(step.name) + textBytes(step.before) +
                 textBytes(step.after) + textBytes(step.removed.mesh);
        const auto addCells = [&bytes](const std::vector<CellChange>& cells) {
            for (const CellChange& change : cells)
                bytes += sizeof(CellChange) + textBytes(change.before) + textBytes(change.after) -
                         2 * sizeof(std::string);
        };
        addCells(step.cells);
        for (const NodeChanges& node : step.otherNodes) {
            bytes += sizeof(NodeChanges);
            addCells(node.cells);
        }
        bytes += step.removed.numbered.size() / 8;
        for (const auto& stored : step.removed.rows) {
            bytes += sizeof(stored);
            for (const std::string& cell : stored.second)
                bytes += textBytes(cell) - sizeof(std::string);
        }
    };
    for (const Step& step : undo_)
        add(step);
    for (const Step& step : redo_)
        add(step);
    return bytes;
}

} // namespace skyvane
