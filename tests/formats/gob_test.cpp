// GOB archives: the directory, the level entries, an entry's bytes by name, and archives that
// are broken refused at the byte at fault.
#include <gtest/gtest.h>

#include "formats/gob.h"
#include "formats/level.h"
#include "testdata.h"

namespace skyvane {
namespace {

using testdata::gobArchive;
using testdata::kEntryBytes;
using testdata::putU32;
using testdata::Stored;

const std::string kRooms = testdata::text("tworooms.jkl");
const std::vector<Stored> kEntries{
    {"jkl\\tworooms.jkl", kRooms},
    {"3do\\cube.3do", testdata::text("cube.3do")},
    {"cog\\door.cog", "# a door\nsymbols\nend\n"},
    {"JKL\\SECOND.JKL", testdata::edited(kRooms, "8:\t6.000000", "8:\t7")},
    {"misc\\readme.txt", ""},
};
const std::string kArchive = gobArchive(kEntries);

std::size_t directoryOffset(const std::string& archive) {
    return archive.size() - 4 - kEntries.size() * kEntryBytes;
}

// The directory at the end, as the game's tools write it, or first, so that the last entry ends
// exactly at the end of the archive.
TEST(Gob, archive_listsEveryEntryAndItsLevels_whereverItsDirectoryStands) {
    for (const bool directoryFirst : {false, true}) {
        const std::string archive = gobArchive(kEntries, directoryFirst);
        const auto directory = readGobDirectory(archive);
        ASSERT_TRUE(directory.ok) << directory.reason;
        ASSERT_EQ(directory.value.size(), kEntries.size());
        for (std::size_t i = 0; i < kEntries.size(); ++i) {
            EXPECT_EQ(directory.value[i].name, kEntries[i].name);
            EXPECT_EQ(gobEntryBytes(archive, directory.value, kEntries[i].name),
                      std::string_view(kEntries[i].bytes))
                << kEntries[i].name << (directoryFirst ? ", directory first" : "");
        }
        EXPECT_EQ(gobLevelNames(directory.value),
                  (std::vector<std::string>{"jkl\\tworooms.jkl", "JKL\\SECOND.JKL"}));
    }
}

TEST(Gob, entryBytes_foundWhateverTheCaseAndSlash) {
    const auto directory = readGobDirectory(kArchive).value;
    const auto rooms = gobEntryBytes(kArchive, directory, "JKL/TwoRooms.JKL");
    ASSERT_TRUE(rooms);
    EXPECT_EQ(*rooms, kRooms);
    const auto second = readLevel(*gobEntryBytes(kArchive, directory, "jkl\\second.jkl"));
    ASSERT_TRUE(second.ok) << second.reason;
    EXPECT_EQ(second.value.vertices.at(8), (Vec3f{7, -3, 0}));
    EXPECT_EQ(gobEntryBytes(kArchive, directory, "misc\\readme.txt"), std::string_view());
    EXPECT_FALSE(gobEntryBytes(kArchive, directory, "jkl\\third.jkl"));
    EXPECT_FALSE(gobEntryBytes(kArchive, directory, "tworooms.jkl"));
}

TEST(Gob, nameFillingAllItsBytes_isReadWhole) {
    const std::string longName(128, 'n');
    const auto directory = readGobDirectory(gobArchive({{longName, "x"}}));
    ASSERT_TRUE(directory.ok) << directory.reason;
    EXPECT_EQ(directory.value.at(0).name, longName);
}

TEST(Gob, brokenArchives_areRefusedNamingTheByte) {
    const std::size_t at = directoryOffset(kArchive);
    std::string badVersion = kArchive;
    putU32(badVersion, 4, 21);
    std::string directoryBeyond = kArchive;
    putU32(directoryBeyond, 8, static_cast<std::uint32_t>(kArchive.size() - 3));
    std::string tooManyEntries = kArchive;
    putU32(tooManyEntries, at, 6);
    std::string entryPastEnd = kArchive;
    putU32(entryPastEnd, at + 4 + 2 * kEntryBytes + 4, 0xFFFFFFFF);
    const std::pair<std::string, std::string> cases[] = {
        {"", "byte 0: the file does not begin as a GOB archive (\"GOB \")"},
        {"GOB\x0a" + kArchive.substr(4),
         "byte 0: the file does not begin as a GOB archive (\"GOB \")"},
        {kArchive.substr(0, 9), "byte 4: the file ends inside the archive's header"},
        {badVersion, "byte 4: version 21 is not the archive version 20 of these games"},
        {directoryBeyond, "byte 8: the directory at byte " + std::to_string(kArchive.size() - 3) +
                              " lies beyond the end of the file (" +
                              std::to_string(kArchive.size()) + " bytes)"},
        {tooManyEntries, "byte " + std::to_string(at) +
                             ": the directory announces 6 entries, but the file has room for 5"},
        {entryPastEnd, "byte " + std::to_string(at + 4 + 2 * kEntryBytes) +
                           ": entry 2 \"cog\\door.cog\" runs past the end of the file"},
    };
    for (const auto& [bytes, reason] : cases) {
        const auto result = readGobDirectory(bytes);
        EXPECT_FALSE(result.ok) << reason;
        EXPECT_EQ(result.reason, reason);
    }
}

} // namespace
} // namespace skyvane
