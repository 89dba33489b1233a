// The small game files written for these tests, and the edits that turn them into bad ones.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/geometry.h"

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

struct Stored {
    std::string name;
    std::string bytes;
};

inline constexpr std::size_t kEntryBytes = 136; // a GOB directory entry

inline void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The entries' bytes and the directory, in either order: nothing but the offsets ties them.
// With the directory first, the last entry ends exactly at the end of the archive.
inline std::string gobArchive(const std::vector<Stored>& entries, bool directoryFirst = false) {
    std::string header = "GOB " + std::string(8, '\0');
    putU32(header, 4, 20);
    const std::size_t directoryBytes = 4 + entries.size() * kEntryBytes;
    std::size_t offset = header.size() + (directoryFirst ? directoryBytes : 0);
    std::string data;
    std::string directory(directoryBytes, '\0');
    putU32(directory, 0, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 4 + i * kEntryBytes;
        putU32(directory, at, static_cast<std::uint32_t>(offset + data.size()));
        putU32(directory, at + 4, static_cast<std::uint32_t>(entries[i].bytes.size()));
        directory.replace(at + 8, entries[i].name.size(), entries[i].name);
        data += entries[i].bytes;
    }
    putU32(header, 8,
           static_cast<std::uint32_t>(directoryFirst ? header.size() : offset + data.size()));
    return directoryFirst ? header + directory + data : header + data + directory;
}

} // namespace skyvane::testdata
