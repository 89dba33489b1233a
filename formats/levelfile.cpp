// Level files: an archive is recognised by its first bytes, so a level renamed to .gob, or an
// archive saved as .goo (Mysteries of the Sith), is read for what it is.
#include "formats/levelfile.h"

namespace skyvane {

ReadResult<LevelFile> openLevelFile(const std::string& path) {
    return readAllOrNothing<LevelFile>([&] {
        LevelFile file;
        file.bytes = readFileBytes(path);
        file.archive = isGobArchive(file.bytes);
        if (!file.archive)
            return file;
        auto directory = readGobDirectory(file.bytes);
        if (!directory.ok)
            throw FormatError(directory.reason);
        file.directory = std::move(directory.value);
        file.levels = gobLevelNames(file.directory);
        if (file.levels.empty())
            throw FormatError("the archive holds no level (.jkl)");
        return file;
    });
}

ReadResult<Level> readLevelOf(const LevelFile& file, const std::string& entry) {
    if (!file.archive)
        return readLevel(file.bytes);
    const auto bytes = gobEntryBytes(file.bytes, file.directory, entry);
    if (!bytes)
        return {false, {}, "the archive holds no entry " + quotedText(entry)};
    ReadResult<Level> level = readLevel(*bytes);
    if (!level.ok)
        level.reason = entry + ", " + level.reason;
    return level;
}

} // namespace skyvane
