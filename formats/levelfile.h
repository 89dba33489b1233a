// A level file as the user picks it: the text of one level (.jkl), or a GOB archive whose level
// entries the user chooses among.
#pragma once

#include <string>
#include <vector>

#include "formats/gob.h"
#include "formats/level.h"
#include "formats/readresult.h"

namespace skyvane {

struct LevelFile {
    std::string bytes;               // the whole file
    bool archive = false;            // a GOB archive, told by its first bytes, not its name
    std::vector<GobEntry> directory; // the archive's entries
    std::vector<std::string> levels; // the archive's level entries, in directory order
};

// Reads the file and, for an archive, its directory. An archive without a level entry is
// refused ("the archive holds no level (.jkl)").
ReadResult<LevelFile> openLevelFile(const std::string& path);

// The level of a file: its text, or the named level entry of an archive.
ReadResult<Level> readLevelOf(const LevelFile& file, const std::string& entry = {});

} // namespace skyvane
