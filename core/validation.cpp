// Entry validation and the pre-save rules for the frame rate and the mesh names.
#include "core/validation.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/keyfile.h"
#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {

namespace {

constexpr const char* kInvalidInteger = "Error: Invalid integer";
constexpr const char* kNotPositive = "Error: Must be greater than 0";
constexpr const char* kNegative = "Error: Must be greater than or equal to 0";
constexpr const char* kFirstFrameNotZero = "Error: Frame number of first entry must be 0";
constexpr const char* kBeforePrevious =
    "Error: Must equal at least (Frame number + step) of previous entry";
constexpr const char* kInvalidNumber = "Error: Invalid number";
constexpr const char* kAngleRange = "Error: Must be >= 0 and < 360";

EntryCheck fault(const char* message, int column, int entry) {
    return {EntryCheck::Outcome::Fault, message, column, entry};
}

// An angle is kept as a 32-bit float, so the range is tested on that value. One too large for a
// 32-bit float cannot be kept at all: it is out of range rather than an arithmetic fault.
bool angleInRange(long double degrees) {
    try {
        const float kept = toSingle(degrees);
        return kept >= 0.0f && kept < 360.0f;
    } catch (const MathError&) {
        return false;
    }
}

// Rule 6: the previous entry's Frame and Steps are added in 64 bits, so no sum can wrap around.
std::optional<EntryCheck> checkFollowsPrevious(const EntryTable& table, int entry,
                                               std::int32_t frame) {
    const int previous = entry - 1;
    const auto previousFrame = tryParseInt(table.cell(ColFrame, previous));
    if (!previousFrame) {
        return fault(kInvalidInteger, ColFrame, previous);
    }
    const auto previousSteps = tryParseInt(table.cell(ColSteps, previous));
    if (!previousSteps) {
        return fault(kInvalidInteger, ColSteps, previous);
    }
    if (std::int64_t{frame} < std::int64_t{*previousFrame} + *previousSteps) {
        return fault(kBeforePrevious, ColFrame, entry);
    }
    return std::nullopt;
}

std::optional<EntryCheck> checkEntry(const EntryTable& table, int entry) {
    const auto steps = tryParseInt(table.cell(ColSteps, entry));
    if (!steps) {
        return fault(kInvalidInteger, ColSteps, entry);
    }
    if (*steps <= 0) {
        return fault(kNotPositive, ColSteps, entry);
    }
    const auto frame = tryParseInt(table.cell(ColFrame, entry));
    if (!frame) {
        return fault(kInvalidInteger, ColFrame, entry);
    }
    if (*frame < 0) {
        return fault(kNegative, ColFrame, entry);
    }
    if (entry == 0 && *frame != 0) {
        return fault(kFirstFrameNotZero, ColFrame, entry);
    }
    if (entry > 0) {
        if (auto previousFault = checkFollowsPrevious(table, entry, *frame)) {
            return previousFault;
        }
    }
    // Positions come before angles in the column order, so every position is checked first.
    for (int value = 0; value < kValueCount; ++value) {
        const int column = kValueColumns[value];
        if (!isAngleValue(value)) {
            if (!isSingle(table.cell(column, entry)))
                return fault(kInvalidNumber, column, entry);
            continue;
        }
        const auto degrees = tryParseFloat(table.cell(column, entry));
        if (!degrees)
            return fault(kInvalidNumber, column, entry);
        if (!angleInRange(*degrees))
            return fault(kAngleRange, column, entry);
    }
    return std::nullopt;
}

} // namespace

EntryCheck checkEntries(const EntryTable& table, int first, int last) {
    for (int entry = first; entry <= last; ++entry) {
        if (table.cell(ColFrame, entry).empty()) {
            return {EntryCheck::Outcome::EmptyFrame, kNoErrors, 0, 0};
        }
        if (auto entryFault = checkEntry(table, entry)) {
            return *entryFault;
        }
    }
    return {};
}

EntryCheck checkNode(const EntryTable& table) {
    const EntryCheck check = checkEntries(table, 0, kMaxEntries - 1);
    if (check.outcome != EntryCheck::Outcome::EmptyFrame) {
        return check;
    }
    const int empty = countEntries(table);
    for (int entry = empty + 1; entry < table.rowCount(); ++entry) {
        if (holdsData(table.row(entry))) {
            return {EntryCheck::Outcome::Fault,
                    "Entry " + std::to_string(empty) +
                        " is empty, but later entries hold data that would not be saved !",
                    ColFrame, empty};
        }
    }
    return check;
}

// Positions and the frame rate are saved as 32-bit floats: a number beyond that range passes
// no check only to make the save fail later.
bool frameRateIsValid(std::string_view text) {
    return isSingle(text);
}

MeshNameFault checkMeshName(std::string_view mesh) {
    if (mesh.empty()) {
        return MeshNameFault::Missing;
    }
    // The game keeps at most 31 characters. Blanks, TABs and commas cut fields, and a line break
    // would split the MESH NAME line, so such a name cannot be read back; the game and other
    // readers take '#' for the start of a comment, and a byte beyond ASCII is no text to readers
    // that expect UTF-8.
    const bool unreadable = std::any_of(mesh.begin(), mesh.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 33 || code > 126 || c == ',' || c == '#';
    });
    return mesh.size() > kMaxMeshNameLength || unreadable ? MeshNameFault::Malformed
                                                          : MeshNameFault::None;
}

const char* meshNameMessage(MeshNameFault fault) {
    switch (fault) {
    case MeshNameFault::Missing:
        return kMeshNameMissing;
    case MeshNameFault::Malformed:
        return kMeshNameMalformed;
    case MeshNameFault::None:
        break;
    }
    return "";
}

std::optional<NodeMeshFault> firstMeshNameFault(const TKeyDocument& document) {
    for (std::size_t k = 0; k < document.Nodes.size(); ++k) {
        const MeshNameFault meshFault = checkMeshName(document.Nodes[k].Mesh);
        if (meshFault != MeshNameFault::None) {
            return NodeMeshFault{static_cast<int>(k), meshFault};
        }
    }
    return std::nullopt;
}

std::vector<NodeFaults> documentFaults(const TKeyDocument& document) {
    std::vector<NodeFaults> faults;
    for (std::size_t k = 0; k < document.Nodes.size(); ++k) {
        const TNode& node = document.Nodes[k];
        NodeFaults found{static_cast<int>(k), std::nullopt, checkMeshName(node.Mesh)};
        const EntryCheck check = checkNode(node.Data);
        if (check.fault())
            found.entry = check;
        if (found.entry || found.mesh != MeshNameFault::None)
            faults.push_back(std::move(found));
    }
    return faults;
}

std::optional<std::string> headerFault(const KeyHeader& header,
                                       const std::vector<std::int32_t>& joints,
                                       std::int32_t jointCount, std::int64_t loopLength) {
    if (!isFourDigitHex(header.type))
        return kTypeNotHex;
    if (header.markers.size() > static_cast<std::size_t>(kMaxMarkers))
        return kTooManyMarkers;
    for (const KeyMarker& marker : header.markers)
        if (!(marker.frame >= 0 && marker.frame <= loopLength))
            return kMarkerOutsideFrames;
    std::vector<bool> driven(static_cast<std::size_t>(std::max(jointCount, 0)));
    for (std::int32_t joint : joints) {
        if (joint < 0 || joint >= jointCount || driven[static_cast<std::size_t>(joint)])
            return kJointNumbersWrong;
        driven[static_cast<std::size_t>(joint)] = true;
    }
    return std::nullopt;
}

std::optional<std::string> headerFault(const TKeyDocument& document) {
    std::vector<std::int32_t> joints;
    for (int k = 0; k < static_cast<int>(document.Nodes.size()); ++k)
        joints.push_back(nodeJoint(document, k));
    std::int64_t length = std::numeric_limits<std::int64_t>::max();
    try {
        length = keyFrameCount(document);
    } catch (const ConversionError&) {
        // A Frame that is no integer is the entry check's to report.
    }
    return headerFault(document.Header, joints, jointCount(document), length);
}

} // namespace skyvane
