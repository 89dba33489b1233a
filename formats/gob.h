// GOB archives of Jedi Knight and Mysteries of the Sith: a directory of named entries, each a
// run of bytes inside the archive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/readresult.h"

namespace skyvane {

struct GobEntry {
    std::string name; // as stored, e.g. "jkl\01narshadda.jkl"
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

// True when the bytes begin the way every archive begins ("GOB ").
bool isGobArchive(std::string_view bytes);

// The directory of an archive. Refuses, naming the byte offset, bytes that are no archive of
// these games, a directory that does not fit in the file and an entry that runs past its end.
ReadResult<std::vector<GobEntry>> readGobDirectory(std::string_view bytes);

// The bytes of the entry of that name, whatever the letter case and whether "/" or "\"
// separates folders; nothing when the directory holds no such entry.
std::optional<std::string_view> gobEntryBytes(std::string_view bytes,
                                              const std::vector<GobEntry>& directory,
                                              std::string_view name);

// The names of the level entries (ending in ".jkl"), in directory order.
std::vector<std::string> gobLevelNames(const std::vector<GobEntry>& directory);

} // namespace skyvane
