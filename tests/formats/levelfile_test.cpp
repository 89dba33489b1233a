// Level files as the user picks them: a level's text, an archive of levels to choose from, and
// what is refused on the way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <stdlib.h>

#include "formats/levelfile.h"
#include "testdata.h"

namespace skyvane {
namespace {

namespace fs = std::filesystem;

const std::string kRooms = testdata::text("tworooms.jkl");

class LevelFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder of its own: CTest runs the tests of this file side by side.
        std::string pattern = (fs::temp_directory_path() / "skyvane-levelfile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path folder_;
};

TEST_F(LevelFiles, levelText_isOneLevel_whateverItsName) {
    for (const char* name : {"rooms.jkl", "rooms.gob"}) {
        const auto file = openLevelFile(write(name, kRooms));
        ASSERT_TRUE(file.ok) << file.reason;
        EXPECT_FALSE(file.value.archive) << name;
        EXPECT_TRUE(file.value.levels.empty()) << name;
        const auto level = readLevelOf(file.value);
        ASSERT_TRUE(level.ok) << level.reason;
        EXPECT_EQ(level.value.edges.size(), 20u) << name;
    }
}

TEST_F(LevelFiles, archive_offersItsLevelsAndReadsTheOneChosen) {
    const std::string second = testdata::edited(kRooms, "8:\t6.000000", "8:\t7");
    const auto file = openLevelFile(
        write("episode.goo", testdata::gobArchive({{"jkl\\one.jkl", kRooms},
                                                   {"cog\\door.cog", "symbols\nend\n"},
                                                   {"jkl\\two.jkl", second}})));
    ASSERT_TRUE(file.ok) << file.reason;
    EXPECT_TRUE(file.value.archive);
    EXPECT_EQ(file.value.levels, (std::vector<std::string>{"jkl\\one.jkl", "jkl\\two.jkl"}));
    const auto two = readLevelOf(file.value, "jkl\\two.jkl");
    ASSERT_TRUE(two.ok) << two.reason;
    EXPECT_EQ(two.value.vertices.at(8).x, 7.0f);
}

TEST_F(LevelFiles, refusals_sayWhichFileEntryAndPlace) {
    const std::string broken = testdata::edited(kRooms, "World surfaces 12", "World surfaces x");
    const auto archive = openLevelFile(write(
        "two.gob", testdata::gobArchive({{"jkl\\good.jkl", kRooms}, {"jkl\\bad.jkl", broken}})));
    ASSERT_TRUE(archive.ok) << archive.reason;
    EXPECT_EQ(readLevelOf(archive.value, "jkl\\bad.jkl").reason,
              "jkl\\bad.jkl, line " +
                  std::to_string(testdata::lineOf(kRooms, "World surfaces 12")) +
                  ": \"x\" is not a whole number");
    EXPECT_EQ(readLevelOf(archive.value, "jkl\\none.jkl").reason,
              "the archive holds no entry \"jkl\\none.jkl\"");

    const auto noLevels =
        openLevelFile(write("art.gob", testdata::gobArchive({{"mat\\wall.mat", "MAT "}})));
    EXPECT_EQ(noLevels.reason, "the archive holds no level (.jkl)");
    const auto cut = openLevelFile(
        write("cut.gob", testdata::gobArchive({{"jkl\\a.jkl", kRooms}}).substr(0, 40)));
    EXPECT_EQ(cut.reason.rfind("byte 8: ", 0), 0u) << cut.reason;
    const auto missing = openLevelFile((folder_ / "nothing.jkl").string());
    EXPECT_EQ(missing.reason.rfind("Cannot read file", 0), 0u) << missing.reason;
}

} // namespace
} // namespace skyvane
