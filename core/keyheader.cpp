// Header values and marker types of KEY files.
#include "core/keyheader.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <utility>

#include "core/numbers.h"

namespace skyvane {

namespace {

// What the engine's puppet does when an animation passes a marker of each type.
constexpr std::array<std::pair<std::int32_t, const char*>, 14> kMarkerTypes = {{
    {1, "Left footstep"},
    {2, "Right footstep"},
    {3, "Attack"},
    {4, "Swing"},
    {5, "Swing end"},
    {6, "Swim left"},
    {7, "Tread"},
    {8, "Left run footstep"},
    {9, "Right run footstep"},
    {10, "Death fall"},
    {11, "Jump"},
    {12, "High jump"},
    {13, "Swim right"},
    {14, "Swing reset"},
}};

constexpr std::size_t kHexDigits = 4;

bool hexDigits(std::string_view digits) {
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    return !digits.empty();
}

std::string_view withoutPrefix(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    return text;
}

} // namespace

std::optional<std::string> fourDigitHex(std::string_view text) {
    std::string_view digits = withoutPrefix(text);
    while (digits.size() > kHexDigits && digits.front() == '0')
        digits.remove_prefix(1);
    if (digits.size() > kHexDigits || !hexDigits(digits))
        return std::nullopt;
    const unsigned long value = std::stoul(std::string(digits), nullptr, 16);
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04lX", value);
    return std::string(buffer);
}

bool isFourDigitHex(std::string_view text) {
    const std::string_view digits = withoutPrefix(text);
    return digits.size() == kHexDigits && digits.size() + 2 == text.size() && hexDigits(digits);
}

ParsedMarkers parseMarkers(const std::vector<MarkerText>& rows) {
    ParsedMarkers parsed;
    for (const MarkerText& row : rows) {
        const int index = static_cast<int>(parsed.markers.size());
        if (!isSingle(row.frame)) {
            parsed.badRow = index;
            parsed.badColumn = 0;
            return parsed;
        }
        const std::optional<std::int32_t> type = tryParseInt(row.type);
        if (!type) {
            parsed.badRow = index;
            parsed.badColumn = 1;
            return parsed;
        }
        parsed.markers.push_back({parseSingle(row.frame), *type});
    }
    return parsed;
}

const char* markerTypeName(std::int32_t type) {
    for (const auto& [number, name] : kMarkerTypes)
        if (number == type)
            return name;
    return "Unknown";
}

std::vector<std::int32_t> knownMarkerTypes() {
    std::vector<std::int32_t> types;
    for (const auto& entry : kMarkerTypes)
        types.push_back(entry.first);
    return types;
}

} // namespace skyvane
