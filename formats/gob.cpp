// The GOB reader: a 12-byte header ("GOB ", version 20, directory offset), then at the
// directory a 32-bit entry count and per entry a 32-bit offset, a 32-bit size and a name of 128
// bytes; every number little-endian. Sums are formed in 64 bits so no offset can wrap.
#include "formats/gob.h"

#include <algorithm>

namespace skyvane {

namespace {

constexpr std::string_view kMagic = "GOB ";
constexpr std::uint32_t kVersion = 20;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kDirectoryOffsetAt = 8;
constexpr std::size_t kNameBytes = 128;
constexpr std::size_t kEntryBytes = 8 + kNameBytes;

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

[[noreturn]] void failAt(std::uint64_t offset, const std::string& why) {
    throw FormatError("byte " + std::to_string(offset) + ": " + why);
}

char folded(char c) {
    if (c == '/')
        return '\\';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameEntryName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return folded(x) == folded(y);
           });
}

bool endsWithFolded(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() &&
           sameEntryName(name.substr(name.size() - suffix.size()), suffix);
}

// The name runs to its first NUL; a name filling all 128 bytes has none.
std::string entryName(std::string_view bytes, std::size_t at) {
    const std::string_view field = bytes.substr(at, kNameBytes);
    return std::string(field.substr(0, field.find('\0')));
}

std::vector<GobEntry> readDirectory(std::string_view bytes) {
    const std::uint64_t size = bytes.size();
    if (!isGobArchive(bytes))
        failAt(0, "the file does not begin as a GOB archive (\"GOB \")");
    if (size < kHeaderBytes)
        failAt(kVersionAt, "the file ends inside the archive's header");
    const std::uint32_t version = littleEndian32(bytes, kVersionAt);
    if (version != kVersion)
        failAt(kVersionAt, "version " + std::to_string(version) + " is not the archive version " +
                               std::to_string(kVersion) + " of these games");
    const std::uint64_t directory = littleEndian32(bytes, kDirectoryOffsetAt);
    if (directory + 4 > size)
        failAt(kDirectoryOffsetAt, "the directory at byte " + std::to_string(directory) +
                                       " lies beyond the end of the file (" + std::to_string(size) +
                                       " bytes)");
    const std::uint64_t count = littleEndian32(bytes, static_cast<std::size_t>(directory));
    const std::uint64_t room = (size - directory - 4) / kEntryBytes;
    if (count > room)
        failAt(directory, "the directory announces " + std::to_string(count) +
                              " entries, but the file has room for " + std::to_string(room));
    std::vector<GobEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (std::uint64_t i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(directory + 4 + i * kEntryBytes);
        GobEntry entry{entryName(bytes, at + 8), littleEndian32(bytes, at),
                       littleEndian32(bytes, at + 4)};
        if (std::uint64_t{entry.offset} + entry.size > size)
            failAt(at, "entry " + std::to_string(i) + " " + quotedText(entry.name) +
                           " runs past the end of the file");
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

bool isGobArchive(std::string_view bytes) {
    return bytes.substr(0, kMagic.size()) == kMagic;
}

ReadResult<std::vector<GobEntry>> readGobDirectory(std::string_view bytes) {
    return readAllOrNothing<std::vector<GobEntry>>([&] { return readDirectory(bytes); });
}

std::optional<std::string_view> gobEntryBytes(std::string_view bytes,
                                              const std::vector<GobEntry>& directory,
                                              std::string_view name) {
    for (const GobEntry& entry : directory)
        if (sameEntryName(entry.name, name) &&
            std::uint64_t{entry.offset} + entry.size <= bytes.size())
            return bytes.substr(entry.offset, entry.size);
    return std::nullopt;
}

std::vector<std::string> gobLevelNames(const std::vector<GobEntry>& directory) {
    std::vector<std::string> names;
    for (const GobEntry& entry : directory)
        if (endsWithFolded(entry.name, ".jkl"))
            names.push_back(entry.name);
    return names;
}

} // namespace skyvane
