// Playback as the game does it: the values played at each frame against a written KEY file read
// back as the game reads it, and the jumps where Steps and Frames disagree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <sstream>

#include "core/keyfile.h"
#include "nodecells.h"
#include "core/playback.h"

namespace skyvane {
namespace {

using test::Cells;

TNode makeNode(std::initializer_list<Cells> entries) {
    return test::makeNode("m", entries);
}

// An entry of a KEY file as the game loads it: numbers read as 32-bit floats from the text.
struct FileEntry {
    float frame = 0;
    int flags = 0;
    KeyValues values{};
    KeyValues changes{};
};

std::vector<std::string> fieldsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

// The entry and change lines of node 0 of a written text.
std::vector<FileEntry> readBackAsTheGame(const std::string& text) {
    std::istringstream in(text.substr(text.find("NODE    0")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::vector<FileEntry> entries;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> fields = fieldsOf(lines[i]);
        if (fields.size() != 9 || fields[0].back() != ':' || fields[0][0] == '#')
            continue;
        const std::vector<std::string> changes = fieldsOf(lines[i + 1]);
        FileEntry entry;
        entry.frame = std::strtof(fields[1].c_str(), nullptr);
        entry.flags = static_cast<int>(std::strtol(fields[2].c_str(), nullptr, 16));
        for (int v = 0; v < kValueCount; ++v) {
            entry.values[v] = std::strtof(fields[3 + v].c_str(), nullptr);
            entry.changes[v] = std::strtof(changes.at(v).c_str(), nullptr);
        }
        entries.push_back(entry);
    }
    return entries;
}

// The engine's rule over the loaded entries, in plain float arithmetic.
KeyValues playByTheEngine(const std::vector<FileEntry>& entries, float t) {
    std::size_t k = 0;
    while (k + 1 < entries.size() && t >= entries[k + 1].frame)
        ++k;
    const FileEntry& entry = entries[k];
    const float elapsed = t - entry.frame;
    KeyValues values = entry.values;
    for (int v = 0; v < kValueCount; ++v) {
        const int flag = v < 3 ? 1 : 2;
        if (entry.flags & flag) {
            const float distance = entry.changes[v] * elapsed;
            values[v] = entry.values[v] + distance;
        }
    }
    return values;
}

void expectPlayedLikeTheWrittenFile(const TNode& node, int lastFrame) {
    TKeyDocument document;
    document.Nodes = {node};
    const std::vector<FileEntry> file = readBackAsTheGame(keyFileText(document, "a.KEY", "d", "t"));
    ASSERT_EQ(static_cast<int>(file.size()), node.Entries);
    for (int t = 0; t <= lastFrame; ++t) {
        const KeyValues expected = playByTheEngine(file, static_cast<float>(t));
        const KeyValues played = playedFrame(node.Data, node.Entries, t).values;
        for (int v = 0; v < kValueCount; ++v)
            EXPECT_EQ(played[v], expected[v]) << "frame " << t << " value " << v;
    }
}

const TNode& workedExample() {
    static const TNode node = makeNode({{"0", "30", "0", "0", "0", "0", "350", "0"},
                                        {"30", "1", "3", "-1.5", "0.75", "10", "20", "0"}});
    return node;
}

TEST(Playback, workedExample_playsEveryFrameAsTheWrittenFile) {
    expectPlayedLikeTheWrittenFile(workedExample(), 30);
}

TEST(Playback, workedExample_movesAndTurnsTheShorterWayThenHoldsTheLastEntry) {
    const TNode& node = workedExample();
    EXPECT_FLOAT_EQ(playedFrame(node.Data, 2, 15).values[0], 1.5f);
    EXPECT_FLOAT_EQ(playedFrame(node.Data, 2, 15).values[1], -0.75f);
    // Yaw goes up from 350 through 360 and is not brought back into range while it plays.
    EXPECT_EQ(playedFrame(node.Data, 2, 10).values[4], 360.0f);
    EXPECT_EQ(playedFrame(node.Data, 2, 29).values[4], 379.0f);
    // The file's pitch change is 0.333333, not a third.
    EXPECT_EQ(playedFrame(node.Data, 2, 29).values[3], 0.333333f * 29.0f);
    for (int t : {30, 31, 500}) {
        const PlayedFrame last = playedFrame(node.Data, 2, t);
        EXPECT_EQ(last.entry, 1);
        EXPECT_EQ(last.values, (KeyValues{3.0f, -1.5f, 0.75f, 10.0f, 20.0f, 0.0f}));
    }
}

TEST(Playback, unevenPathsAndShortSteps_playAsTheWrittenFile) {
    expectPlayedLikeTheWrittenFile(
        makeNode({{"0", "7", "0.1234567", "-3.3", "1000.001", "359.5", "0.25", "10"},
                  {"20", "3", "12.75", "-3.3", "999.9", "0.5", "300", "10"},
                  {"23", "4", "12.75", "-3.3", "999.9", "0.5", "300", "10"},
                  {"40", "1", "-7", "2.2", "0", "180", "120", "200"}}),
        45);
}

TEST(Playback, shortSteps_overshootUntilTheNextFrameThenSnap) {
    const TNode node = makeNode(
        {{"0", "10", "0", "0", "0", "0", "0", "0"}, {"30", "1", "10", "0", "0", "0", "0", "0"}});
    EXPECT_EQ(playedFrame(node.Data, 2, 10).values[0], 10.0f);
    EXPECT_EQ(playedFrame(node.Data, 2, 29).values[0], 29.0f);
    EXPECT_EQ(playedFrame(node.Data, 2, 30).values[0], 10.0f);
}

TEST(Playback, oneEntry_showsItsValuesAsTheFileCarriesThem) {
    const TNode node = makeNode({{"0", "5", "0.1234567", "2", "3", "4", "5", "6"}});
    for (int t : {0, 1, 99}) {
        const PlayedFrame played = playedFrame(node.Data, 1, t);
        EXPECT_EQ(played.entry, 0);
        EXPECT_EQ(played.values, (KeyValues{0.123457f, 2, 3, 4, 5, 6}));
    }
    EXPECT_TRUE(nodeJumps(node.Data, 1, 0).empty());
}

TEST(Playback, angleGoingDownThroughZero_isNotBroughtBackIntoRange) {
    const TNode node = makeNode(
        {{"0", "30", "0", "0", "0", "0", "20", "0"}, {"30", "1", "0", "0", "0", "0", "350", "0"}});
    EXPECT_EQ(playedFrame(node.Data, 2, 25).values[4], -5.0f);
    EXPECT_TRUE(nodeJumps(node.Data, 2, 0).empty());
}

// --- jumps --------------------------------------------------------------------------------

struct JumpCase {
    const char* name;
    Cells from;
    Cells to;
    const char* message; // nullptr: no jump
};

TEST(PlaybackJumps, betweenTwoEntries) {
    const JumpCase cases[] = {
        {"steps cover the distance",
         {"0", "30", "0", "0", "0", "0", "350", "0"},
         {"30", "1", "3", "-1.5", "0.75", "10", "20", "0"},
         nullptr},
        {"thirds that six decimals cannot hold",
         {"0", "3", "0", "0", "0", "0", "0", "0"},
         {"3", "1", "1", "1", "1", "1", "1", "1"},
         nullptr},
        {"nothing changes, whatever the steps",
         {"0", "1", "5", "5", "5", "90", "90", "90"},
         {"50", "1", "5", "5", "5", "90", "90", "90"},
         nullptr},
        {"short steps overshoot",
         {"0", "10", "0", "0", "0", "0", "0", "0"},
         {"30", "1", "10", "0", "0", "0", "0", "0"},
         "Node 0, entries 0 to 1: the object jumps 20.000 JKU at frame 30; Steps 10 is shorter "
         "than the 30 frames to the next entry."},
        {"a straight distance over three axes",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "1", "2", "2", "0", "0", "0"},
         "Node 0, entries 0 to 1: the object jumps 3.000 JKU at frame 2; Steps 1 is shorter than "
         "the 2 frames to the next entry."},
        {"yaw overshoots across 360",
         {"0", "10", "0", "0", "0", "0", "350", "0"},
         {"30", "1", "0", "0", "0", "0", "20", "0"},
         "Node 0, entries 0 to 1: the object jumps 60.000 degrees at frame 30; Steps 10 is "
         "shorter than the 30 frames to the next entry."},
        {"a whole turn too far is no jump",
         {"0", "10", "0", "0", "0", "0", "0", "0"},
         {"30", "1", "0", "0", "0", "0", "180", "0"},
         nullptr},
        {"two whole turns too far are no jump either",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"5", "1", "0", "0", "0", "0", "180", "0"},
         nullptr},
        {"position and the largest angle",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0", "0", "1", "10", "340", "2"},
         "Node 0, entries 0 to 1: the object jumps 1.000 JKU and 20.000 degrees at frame 2; "
         "Steps 1 is shorter than the 2 frames to the next entry."},
        {"just within the position tolerance",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0.0009", "0", "0", "0", "0", "0"},
         nullptr},
        {"just beyond it",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0.0011", "0", "0", "0", "0", "0"},
         "Node 0, entries 0 to 1: the object jumps 0.001 JKU at frame 2; Steps 1 is shorter "
         "than the 2 frames to the next entry."},
        {"an angle just within its tolerance",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0", "0", "0", "0.009", "0", "0"},
         nullptr},
        {"an angle just beyond it",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0", "0", "0", "0", "0", "359.988"},
         "Node 0, entries 0 to 1: the object jumps 0.012 degrees at frame 2; Steps 1 is shorter "
         "than the 2 frames to the next entry."},
        {"steps longer than the frames, as a read file may have",
         {"0", "3", "0", "0", "0", "0", "0", "0"},
         {"1", "1", "3", "0", "0", "0", "0", "0"},
         "Node 0, entries 0 to 1: the object jumps 2.000 JKU at frame 1; Steps 3 is longer than "
         "the 1 frame to the next entry."},
        {"frames that do not rise are never played",
         {"5", "3", "0", "0", "0", "0", "0", "0"},
         {"5", "1", "3", "0", "0", "0", "0", "0"},
         nullptr},
        {"far out, where 32 bits cannot land on the entry",
         {"0", "3", "0", "0", "0", "0", "0", "0"},
         {"3", "1", "30000.4", "0", "0", "0", "0", "0"},
         "Node 0, entries 0 to 1: the object jumps 0.002 JKU at frame 3; Steps 3 spans the 3 "
         "frames to the next entry, but the changes, rounded to 32 bits and six decimals, do not "
         "land on it."},
    };
    for (const JumpCase& c : cases) {
        const TNode node = makeNode({c.from, c.to});
        const std::vector<PlaybackJump> jumps = nodeJumps(node.Data, 2, 0);
        if (!c.message) {
            EXPECT_TRUE(jumps.empty()) << c.name << ": " << checkPlaybackMessage(jumps);
            continue;
        }
        ASSERT_EQ(jumps.size(), 1u) << c.name;
        EXPECT_EQ(jumpMessage(jumps[0]), c.message) << c.name;
    }
}

TEST(PlaybackJumps, message_namesThePairTheFrameAndTheCause) {
    const PlaybackJump jump{0, 12, 40, 10, 30, 3.2141L, 0};
    EXPECT_EQ(jumpMessage(jump),
              "Node 0, entries 12 to 13: the object jumps 3.214 JKU at frame 40; Steps 10 is "
              "shorter than the 30 frames to the next entry.");
}

TEST(PlaybackJumps, inALongPath_isFoundAtTheEntryWhoseStepsFallShort) {
    // Entries 0..12 stand still a frame apart; entry 12 then moves a tenth of the way to entry
    // 13 per frame for 30 frames, so the object ends two whole ways beyond entry 13.
    TNode node;
    for (int e = 0; e <= 13; ++e) {
        const Cells cells{"", "1", "0", "0", "0", "0", "0", "0"};
        for (int c = 0; c < 8; ++c)
            node.Data.setCell(ColFrame + c, e, cells[c]);
        node.Data.setCell(ColFrame, e, std::to_string(e));
    }
    node.Data.setCell(ColSteps, 12, "10");
    node.Data.setCell(ColFrame, 13, "42");
    node.Data.setCell(ColX, 13, "1.607");
    const std::vector<PlaybackJump> jumps = nodeJumps(node.Data, 14, 0);
    ASSERT_EQ(jumps.size(), 1u);
    EXPECT_EQ(jumpMessage(jumps[0]),
              "Node 0, entries 12 to 13: the object jumps 3.214 JKU at frame 42; Steps 10 is "
              "shorter than the 30 frames to the next entry.");
    // Just before the snap the object stands where the rule puts it.
    EXPECT_FLOAT_EQ(playedFrame(node.Data, 14, 41).values[0], 0.1607f * 29);
    EXPECT_EQ(playedFrame(node.Data, 14, 42).values[0], 1.607f);
    EXPECT_EQ(playedFrame(node.Data, 14, 5).entry, 5);
}

TEST(CheckPlayback, twoJumpsInTwoNodes_areListedNodeByNode) {
    TKeyDocument document;
    document.Nodes = {
        makeNode({{"0", "5", "0", "0", "0", "0", "0", "0"},
                  {"10", "1", "5", "0", "0", "0", "0", "0"},
                  {"11", "1", "6", "0", "0", "0", "0", "0"}}),
        makeNode({{"0", "1", "0", "0", "0", "0", "0", "0"},
                  {"1", "2", "0", "0", "0", "0", "90", "0"},
                  {"5", "1", "0", "0", "0", "0", "100", "0"}}),
    };
    EXPECT_EQ(checkPlaybackMessage(documentJumps(document)),
              "Node 0, entries 0 to 1: the object jumps 5.000 JKU at frame 10; Steps 5 is shorter "
              "than the 10 frames to the next entry.\n"
              "Node 1, entries 1 to 2: the object jumps 10.000 degrees at frame 5; Steps 2 is "
              "shorter than the 4 frames to the next entry.");
}

TEST(CheckPlayback, noJumps_saysSo) {
    TKeyDocument document;
    document.Nodes = {workedExample(), makeNode({}),
                      makeNode({{"0", "9", "1", "1", "1", "1", "1", "1"}})};
    EXPECT_EQ(checkPlaybackMessage(documentJumps(document)),
              "No jumps: the game plays every entry as shown.");
}

TEST(CheckPlayback, badCellInANode_namesNodeEntryAndColumnOfThatCell) {
    struct Case {
        int entry;
        int column;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {1, ColX, "abc", "node 1 entry 1, X pos: 'abc' is not a valid floating point value"},
        {1, ColFrame, "1.5", "node 1 entry 1, Frame: '1.5' is not a valid integer value"},
        {0, ColSteps, "x", "node 1 entry 0, Steps: 'x' is not a valid integer value"},
        {0, ColRoll, "", "node 1 entry 0, Roll: '' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        TKeyDocument document;
        document.Nodes = {workedExample(), makeNode({{"0", "1", "0", "0", "0", "0", "0", "0"},
                                                     {"1", "1", "0", "0", "0", "0", "0", "0"}})};
        document.Nodes[1].Data.setCell(c.column, c.entry, c.text);
        try {
            documentJumps(document);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace skyvane
