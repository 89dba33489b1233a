// The small game files written for these tests, and the edits that turn them into bad ones.
#pragma once

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "geometry.h"

namespace skyvane {

// Readable failures for the readers' values.
inline void PrintTo(const Edge& edge, std::ostream* out) {
    *out << "{" << edge.from << ", " << edge.to << "}";
}
inline void PrintTo(const Vec3f& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ", " << point.z << ")";
}
inline bool operator==(const Vec3f& a, const Vec3f& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace skyvane

namespace skyvane::testdata {

inline std::string path(const std::string& name) {
    return std::string(SKYVANE_FORMATS_DATA) + "/" + name;
}

inline std::string text(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The text with the first occurrence of `from` replaced; the test fails loudly when the text
// no longer holds it, so an edit can never silently test the unedited file.
inline std::string edited(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("test file lacks: " + std::string(from));
    return text.replace(at, from.size(), to);
}

// The text up to (not including) the first occurrence of `marker`.
inline std::string cutBefore(const std::string& text, std::string_view marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        throw std::logic_error("test file lacks: " + std::string(marker));
    return text.substr(0, at);
}

// The 1-based number of the line holding the first occurrence of `needle`.
inline std::size_t lineOf(const std::string& text, std::string_view needle) {
    const std::size_t at = text.find(needle);
    if (at == std::string::npos)
        throw std::logic_error("test file lacks: " + std::string(needle));
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + at, '\n'));
}

inline std::string withCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace skyvane::testdata
