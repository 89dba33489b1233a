// Mend Jumps' arithmetic.
#include "tools/mendcalc.h"

#include <cstdint>
#include <optional>

#include "core/numbers.h"

namespace skyvane {
namespace {

std::vector<CellEdit> mendNode(const EntryTable& table, int count) {
    std::vector<CellEdit> edits;
    for (int e = 0; e + 1 < count; ++e) {
        const std::optional<std::int32_t> frame = tryParseInt(table.cell(ColFrame, e));
        const std::optional<std::int32_t> next = tryParseInt(table.cell(ColFrame, e + 1));
        const std::optional<std::int32_t> steps = tryParseInt(table.cell(ColSteps, e));
        if (!frame || !next || !steps)
            continue;
        const std::int64_t distance = std::int64_t{*next} - *frame;
        if (distance > 0 && *steps < distance)
            edits.push_back({ColSteps, e, std::to_string(distance)});
    }
    return edits;
}

} // namespace

std::vector<NodeCellEdits> mendJumps(const std::vector<KeyNodeTrack>& nodes) {
    std::vector<NodeCellEdits> mended;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        std::vector<CellEdit> edits = mendNode(*nodes[k].table, nodes[k].count);
        if (!edits.empty())
            mended.push_back({static_cast<int>(k), std::move(edits)});
    }
    return mended;
}

int mendedCount(const std::vector<NodeCellEdits>& edits) {
    int count = 0;
    for (const NodeCellEdits& node : edits)
        count += static_cast<int>(node.edits.size());
    return count;
}

std::string mendMessage(int mended) {
    if (mended == 0)
        return "Nothing to mend: every Steps reaches the next entry.";
    return "Mended " + std::to_string(mended) + (mended == 1 ? " jump." : " jumps.");
}

} // namespace skyvane
