// Entry validation: which entries can be written to a KEY file and fed to the tools, and the
// pre-save rules for the frame rate and the mesh names. Only verdicts here; windows show them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/document.h"

namespace skyvane {

inline constexpr const char* kNoErrors = "No Errors";

struct EntryCheck {
    enum class Outcome {
        RangeEnded, // the range ended without an empty Frame cell: the status line stays as it was
        EmptyFrame, // an empty Frame cell ended the check: the status line shows "No Errors"
        Fault,      // message, and the faulty cell (column, entry)
    };
    Outcome outcome = Outcome::RangeEnded;
    std::string message; // "No Errors" for EmptyFrame, the fault's text for Fault, else empty
    int column = 0;
    int entry = 0;

    bool fault() const { return outcome == Outcome::Fault; }
};

// Checks entries first..last of a working-copy table in the fixed rule order; stops at the
// first fault or the first empty Frame cell.
EntryCheck checkEntries(const EntryTable& table, int first, int last);

// The check of a whole node before it is left or saved: entries 0..999 as checkEntries, then,
// when an empty Frame cell at entry E ended that check, a fault on E's Frame cell if a later
// entry holds data, which saving would drop.
EntryCheck checkNode(const EntryTable& table);

// The frame-rate text converts to a float that a 32-bit float can hold.
bool frameRateIsValid(std::string_view text);

enum class MeshNameFault { None, Missing, Malformed };
inline constexpr const char* kMeshNameMissing = "You have not entered one of more Mesh Names !";
inline constexpr const char* kMeshNameMalformed =
    "Mesh names must have 1 to 31 characters and no blanks, commas, # or accented letters !";
inline constexpr std::size_t kMaxMeshNameLength = 31;

// Empty: Missing. More than 31 characters, or any character but the printable ASCII ones
// (codes 33 to 126) other than ',' and '#': Malformed.
MeshNameFault checkMeshName(std::string_view mesh);
const char* meshNameMessage(MeshNameFault fault);

struct NodeMeshFault {
    int node = 0;
    MeshNameFault fault = MeshNameFault::None;
};
// The first node whose mesh name is refused, if any.
std::optional<NodeMeshFault> firstMeshNameFault(const TKeyDocument& document);

inline constexpr const char* kJointNumbersWrong =
    "Joint numbers must be different and below the Joints count !";
inline constexpr const char* kTooManyMarkers = "A KEY file holds at most 8 markers !";
inline constexpr const char* kMarkerOutsideFrames =
    "Markers must lie between frame 0 and the Frames count !";
inline constexpr const char* kTypeNotHex = "Type must be 0x and four hexadecimal digits !";

// The first fault of a document's header and joint numbers, in this order: a Type that is not
// four hexadecimal digits, more than 8 markers, a marker outside 0..loopLength, a joint number
// outside 0..jointCount-1 or driven by two nodes. None when there is none.
std::optional<std::string> headerFault(const KeyHeader& header,
                                       const std::vector<std::int32_t>& joints,
                                       std::int32_t jointCount, std::int64_t loopLength);
// The same for a whole document as it would be saved.
std::optional<std::string> headerFault(const TKeyDocument& document);

// What keeps one node of a document from being saved: its first entry fault, its mesh-name
// fault, or both.
struct NodeFaults {
    int node = 0;
    std::optional<EntryCheck> entry;
    MeshNameFault mesh = MeshNameFault::None;
};
// Every node that has a fault, in node order; empty when the document can be saved.
std::vector<NodeFaults> documentFaults(const TKeyDocument& document);

} // namespace skyvane
