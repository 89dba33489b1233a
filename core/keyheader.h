// What a KEY file carries besides its nodes: the header values the game reads (flags, the type
// that decides which joints an animation drives, the loop length, the joint count) and the
// markers, the events the engine fires as the animation plays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skyvane {

inline constexpr int kMaxMarkers = 8;
inline constexpr const char* kNewFlags = "0x0000";
inline constexpr const char* kNewType = "0xFFFF";

struct KeyMarker {
    float frame = 0;
    std::int32_t type = 0;
    bool operator==(const KeyMarker& other) const {
        return frame == other.frame && type == other.type;
    }
    bool operator!=(const KeyMarker& other) const { return !(*this == other); }
};

struct KeyHeader {
    std::string flags = kNewFlags; // hexadecimal text, written as it stands
    std::string type = kNewType;
    // The loop length when it is longer than the entries make it; none: it follows them.
    std::optional<std::int64_t> frames;
    // The model's joint count when it is more than the nodes; none: it follows the node count.
    std::optional<std::int32_t> joints;
    std::vector<KeyMarker> markers; // in file order

    bool operator==(const KeyHeader& other) const {
        return flags == other.flags && type == other.type && frames == other.frames &&
               joints == other.joints && markers == other.markers;
    }
    bool operator!=(const KeyHeader& other) const { return !(*this == other); }
};

// "0x" and four upper-case hexadecimal digits for a text the engine reads as a value of at most
// 0xFFFF ("0xf", "0X000f", "F"); none for anything else.
std::optional<std::string> fourDigitHex(std::string_view text);
// Whether the text is "0x" followed by exactly four hexadecimal digits.
bool isFourDigitHex(std::string_view text);

// Markers as typed: a frame (float text) and a type (integer text) per row.
struct MarkerText {
    std::string frame;
    std::string type;
};
// The markers the texts give, or the first row and column (0 frame, 1 type) that is no number.
struct ParsedMarkers {
    std::vector<KeyMarker> markers;
    int badRow = -1;
    int badColumn = 0;
};
ParsedMarkers parseMarkers(const std::vector<MarkerText>& rows);

// The name the engine's puppet gives a marker type ("Attack"), or "Unknown" for one it ignores.
const char* markerTypeName(std::int32_t type);
// The types the engine acts on, in number order.
std::vector<std::int32_t> knownMarkerTypes();

} // namespace skyvane
