// Entry validation, and the frame-rate and mesh-name rules of the pre-save check.
#include <gtest/gtest.h>

#include <cfloat>

#include "core/numbers.h"
#include "core/validation.h"

using namespace skyvane;

namespace {

using Outcome = EntryCheck::Outcome;

// Entries 0..count-1, each valid: Frame 30e, Steps 30, every value 0.
EntryTable validTable(int count) {
    EntryTable table(kMaxEntries);
    for (int e = 0; e < count; ++e) {
        table.row(e) = {
            std::to_string(e), std::to_string(30 * e), "30", "0", "0", "0", "0", "0", "0"};
    }
    return table;
}

struct CheckCase {
    const char* name;
    int validEntries;
    std::vector<CellEdit> edits;
    Outcome outcome;
    const char* message;
    int column;
    int entry;
};

const char* const kInvalidInteger = "Error: Invalid integer";
const char* const kNotPositive = "Error: Must be greater than 0";
const char* const kNegative = "Error: Must be greater than or equal to 0";
const char* const kFirstFrame = "Error: Frame number of first entry must be 0";
const char* const kBeforePrevious =
    "Error: Must equal at least (Frame number + step) of previous entry";
const char* const kInvalidNumber = "Error: Invalid number";
const char* const kAngleRange = "Error: Must be >= 0 and < 360";

void expectCheck(const CheckCase& c, int first, int last) {
    EntryTable table = validTable(c.validEntries);
    applyCellEdits(table, c.edits);
    const EntryCheck check = checkEntries(table, first, last);
    EXPECT_EQ(check.outcome, c.outcome) << c.name;
    EXPECT_EQ(check.message, c.message) << c.name;
    EXPECT_EQ(check.fault(), c.outcome == Outcome::Fault) << c.name;
    if (c.outcome == Outcome::Fault) {
        EXPECT_EQ(check.column, c.column) << c.name;
        EXPECT_EQ(check.entry, c.entry) << c.name;
    }
}

TEST(EntryCheck, wholeTableVerdicts) {
    const CheckCase cases[] = {
        {"empty table", 0, {}, Outcome::EmptyFrame, "No Errors", 0, 0},
        {"one valid entry", 1, {{ColSteps, 0, "1"}}, Outcome::EmptyFrame, "No Errors", 0, 0},
        {"first frame 5", 1, {{ColFrame, 0, "5"}}, Outcome::Fault, kFirstFrame, ColFrame, 0},
        {"frame below previous frame plus steps",
         2,
         {{ColFrame, 1, "29"}},
         Outcome::Fault,
         kBeforePrevious,
         ColFrame,
         1},
        {"frame equal to previous frame plus steps",
         2,
         {{ColFrame, 1, "30"}},
         Outcome::EmptyFrame,
         "No Errors",
         0,
         0},
        {"frame beyond previous frame plus steps",
         2,
         {{ColFrame, 1, "95"}},
         Outcome::EmptyFrame,
         "No Errors",
         0,
         0},
        {"steps 0", 1, {{ColSteps, 0, "0"}}, Outcome::Fault, kNotPositive, ColSteps, 0},
        {"steps -2", 1, {{ColSteps, 0, "-2"}}, Outcome::Fault, kNotPositive, ColSteps, 0},
        {"steps 1.5", 1, {{ColSteps, 0, "1.5"}}, Outcome::Fault, kInvalidInteger, ColSteps, 0},
        {"steps empty", 1, {{ColSteps, 0, ""}}, Outcome::Fault, kInvalidInteger, ColSteps, 0},
        {"steps before frame",
         1,
         {{ColSteps, 0, ""}, {ColFrame, 0, "x"}},
         Outcome::Fault,
         kInvalidInteger,
         ColSteps,
         0},
        {"steps before first frame",
         1,
         {{ColSteps, 0, "0"}, {ColFrame, 0, "5"}},
         Outcome::Fault,
         kNotPositive,
         ColSteps,
         0},
        {"frame not integer",
         1,
         {{ColFrame, 0, "0.0"}},
         Outcome::Fault,
         kInvalidInteger,
         ColFrame,
         0},
        {"frame -1 in entry 0", 1, {{ColFrame, 0, "-1"}}, Outcome::Fault, kNegative, ColFrame, 0},
        {"frame -1 in entry 1", 2, {{ColFrame, 1, "-1"}}, Outcome::Fault, kNegative, ColFrame, 1},
        {"hexadecimal frame", 2, {{ColFrame, 1, "$1E"}}, Outcome::EmptyFrame, "No Errors", 0, 0},
        {"x empty", 1, {{ColX, 0, ""}}, Outcome::Fault, kInvalidNumber, ColX, 0},
        {"z letters", 1, {{ColZ, 0, "abc"}}, Outcome::Fault, kInvalidNumber, ColZ, 0},
        {"position before angle",
         1,
         {{ColPitch, 0, "x"}, {ColY, 0, "y"}},
         Outcome::Fault,
         kInvalidNumber,
         ColY,
         0},
        {"frame before position",
         2,
         {{ColX, 1, ""}, {ColFrame, 1, "1"}},
         Outcome::Fault,
         kBeforePrevious,
         ColFrame,
         1},
        {"yaw 360", 1, {{ColYaw, 0, "360"}}, Outcome::Fault, kAngleRange, ColYaw, 0},
        {"yaw 359.99", 1, {{ColYaw, 0, "359.99"}}, Outcome::EmptyFrame, "No Errors", 0, 0},
        {"yaw -0.5", 1, {{ColYaw, 0, "-0.5"}}, Outcome::Fault, kAngleRange, ColYaw, 0},
        {"yaw rounds up to 360 in 32 bits",
         1,
         {{ColYaw, 0, "359.99999999"}},
         Outcome::Fault,
         kAngleRange,
         ColYaw,
         0},
        {"yaw -0", 1, {{ColYaw, 0, "-0"}}, Outcome::EmptyFrame, "No Errors", 0, 0},
        {"tiny negative roll rounds to -0",
         1,
         {{ColRoll, 0, "-1e-50"}},
         Outcome::EmptyFrame,
         "No Errors",
         0,
         0},
        {"x beyond 32-bit range, which cannot be saved",
         1,
         {{ColX, 0, "-1e39"}},
         Outcome::Fault,
         kInvalidNumber,
         ColX,
         0},
        {"pitch beyond 32-bit range",
         1,
         {{ColPitch, 0, "1e39"}},
         Outcome::Fault,
         kAngleRange,
         ColPitch,
         0},
        {"pitch beyond any range",
         1,
         {{ColPitch, 0, "1e99999"}},
         Outcome::Fault,
         kInvalidNumber,
         ColPitch,
         0},
        {"pitch range before yaw number",
         1,
         {{ColPitch, 0, "400"}, {ColYaw, 0, "x"}},
         Outcome::Fault,
         kAngleRange,
         ColPitch,
         0},
        {"yaw range before roll number",
         1,
         {{ColYaw, 0, "-1"}, {ColRoll, 0, ""}},
         Outcome::Fault,
         kAngleRange,
         ColYaw,
         0},
        {"roll empty", 1, {{ColRoll, 0, ""}}, Outcome::Fault, kInvalidNumber, ColRoll, 0},
        {"earliest faulty entry reported",
         6,
         {{ColX, 5, "bad"}, {ColSteps, 3, "0"}},
         Outcome::Fault,
         kNotPositive,
         ColSteps,
         3},
        {"entries after an empty frame unchecked",
         3,
         {{ColFrame, 1, ""}, {ColSteps, 2, "bad"}, {ColX, 2, "bad"}},
         Outcome::EmptyFrame,
         "No Errors",
         0,
         0},
        {"previous sum past 32 bits",
         3,
         {{ColFrame, 1, "2147483647"}, {ColSteps, 1, "1"}, {ColFrame, 2, "2147483647"}},
         Outcome::Fault,
         kBeforePrevious,
         ColFrame,
         2},
        {"largest frames in order",
         2,
         {{ColSteps, 0, "2147483647"}, {ColFrame, 1, "2147483647"}},
         Outcome::EmptyFrame,
         "No Errors",
         0,
         0},
        {"frames past 2^24 compared exactly",
         3,
         {{ColSteps, 0, "16777216"},
          {ColFrame, 1, "16777216"},
          {ColSteps, 1, "1"},
          {ColFrame, 2, "16777216"}},
         Outcome::Fault,
         kBeforePrevious,
         ColFrame,
         2},
    };
    for (const CheckCase& c : cases) {
        expectCheck(c, 0, 999);
    }
}

TEST(EntryCheck, rangesWithinTheTable) {
    struct RangeCase {
        CheckCase check;
        int first;
        int last;
    };
    const RangeCase cases[] = {
        {{"range ends without empty frame", 5, {}, Outcome::RangeEnded, "", 0, 0}, 0, 2},
        {{"full table", kMaxEntries, {}, Outcome::RangeEnded, "", 0, 0}, 0, 999},
        {{"last before first", 0, {{ColSteps, 3, "x"}}, Outcome::RangeEnded, "", 0, 0}, 3, 2},
        {{"fault outside the range", 5, {{ColX, 4, ""}}, Outcome::RangeEnded, "", 0, 0}, 1, 3},
        {{"first frame rule only for entry 0",
          3,
          {{ColFrame, 0, "9"}, {ColSteps, 0, "21"}},
          Outcome::RangeEnded,
          "",
          0,
          0},
         1,
         2},
        {{"previous entry before the range",
          4,
          {{ColSteps, 1, "100"}},
          Outcome::Fault,
          kBeforePrevious,
          ColFrame,
          2},
         2,
         3},
        {{"previous entry before the range not an integer",
          4,
          {{ColSteps, 1, "x"}},
          Outcome::Fault,
          kInvalidInteger,
          ColSteps,
          1},
         2,
         3},
        {{"previous entry before the range empty",
          4,
          {{ColFrame, 1, ""}},
          Outcome::Fault,
          kInvalidInteger,
          ColFrame,
          1},
         2,
         3},
        {{"empty frame inside the range", 2, {}, Outcome::EmptyFrame, "No Errors", 0, 0}, 1, 5},
    };
    for (const RangeCase& c : cases) {
        expectCheck(c.check, c.first, c.last);
    }
}

// Leaving or saving a node: data after the first empty entry would not be saved.
TEST(NodeCheck, reportsDataAfterTheFirstEmptyEntry) {
    const std::string gapAt3 =
        "Entry 3 is empty, but later entries hold data that would not be saved !";
    const std::string gapAt0 =
        "Entry 0 is empty, but later entries hold data that would not be saved !";
    const struct {
        CheckCase check;
        bool renumbered; // every Entry cell holds its index, as in the grid
    } cases[] = {
        {{"empty table", 0, {}, Outcome::EmptyFrame, "No Errors", 0, 0}, true},
        {{"no gap", 5, {}, Outcome::EmptyFrame, "No Errors", 0, 0}, true},
        {{"full table", kMaxEntries, {}, Outcome::RangeEnded, "", 0, 0}, false},
        {{"value after a gap", 3, {{ColX, 5, "1"}}, Outcome::Fault, gapAt3.c_str(), ColFrame, 3},
         true},
        {{"value right after the empty entry",
          3,
          {{ColX, 4, "1"}},
          Outcome::Fault,
          gapAt3.c_str(),
          ColFrame,
          3},
         true},
        {{"whole entry after a gap",
          5,
          {{ColFrame, 3, ""},
           {ColSteps, 3, ""},
           {ColX, 3, ""},
           {ColY, 3, ""},
           {ColZ, 3, ""},
           {ColPitch, 3, ""},
           {ColYaw, 3, ""},
           {ColRoll, 3, ""}},
          Outcome::Fault,
          gapAt3.c_str(),
          ColFrame,
          3},
         true},
        {{"only a Frame at the end",
          3,
          {{ColFrame, 999, "5"}},
          Outcome::Fault,
          gapAt3.c_str(),
          ColFrame,
          3},
         false},
        {{"gap at entry 0", 0, {{ColRoll, 1, "2"}}, Outcome::Fault, gapAt0.c_str(), ColFrame, 0},
         true},
        {{"a fault above the gap comes first",
          3,
          {{ColSteps, 1, "0"}, {ColX, 7, "1"}},
          Outcome::Fault,
          kNotPositive,
          ColSteps,
          1},
         true},
    };
    for (const auto& c : cases) {
        EntryTable table = validTable(c.check.validEntries);
        if (c.renumbered) {
            renumber(table);
        }
        applyCellEdits(table, c.check.edits);
        const EntryCheck check = checkNode(table);
        EXPECT_EQ(check.outcome, c.check.outcome) << c.check.name;
        EXPECT_EQ(check.message, c.check.message) << c.check.name;
        if (c.check.outcome == Outcome::Fault) {
            EXPECT_EQ(check.column, c.check.column) << c.check.name;
            EXPECT_EQ(check.entry, c.check.entry) << c.check.name;
        }
    }
}

TEST(EntryCheck, honoursTheDecimalSeparator) {
    setDecimalSeparator(',');
    EntryTable table = validTable(1);
    table.setCell(ColYaw, 0, "359,5");
    EXPECT_EQ(checkEntries(table, 0, 999).outcome, Outcome::EmptyFrame);
    table.setCell(ColYaw, 0, "359.5");
    EXPECT_EQ(checkEntries(table, 0, 999).message, kInvalidNumber);
    setDecimalSeparator('.');
}

TEST(FrameRate, validWhenTheTextIsA32BitNumber) {
    for (const char* text : {"15.000", "30", " 29.97 ", "1e3", "-5", "0", "3.4028235e38"}) {
        EXPECT_TRUE(frameRateIsValid(text)) << text;
    }
    // A frame rate is saved as a 32-bit float.
    for (const char* text : {"abc", "", "15,0", "1.2.3", "1e39", "-1e39", "3.41e38"}) {
        EXPECT_FALSE(frameRateIsValid(text)) << text;
    }
}

TEST(MeshName, missingOrMalformed) {
    const std::string longest(31, 'm');
    const struct {
        std::string name;
        MeshNameFault fault;
    } cases[] = {
        {"", MeshNameFault::Missing},
        {"ship", MeshNameFault::None},
        {"cam_01.3do", MeshNameFault::None},
        {longest, MeshNameFault::None},
        {longest + "m", MeshNameFault::Malformed},
        {"my ship", MeshNameFault::Malformed},
        {"my\tship", MeshNameFault::Malformed},
        {"my,ship", MeshNameFault::Malformed},
        {" ship", MeshNameFault::Malformed},
        {"ship\r\n", MeshNameFault::Malformed},
        {std::string("a\x01", 2), MeshNameFault::Malformed},
        // Every reader must find the same name: no comment mark, nothing beyond ASCII.
        {"#cam", MeshNameFault::Malformed},
        {"mesh#3", MeshNameFault::Malformed},
        {"cam\xe9", MeshNameFault::Malformed},
        {"\xc3\xa9t\xc3\xa9", MeshNameFault::Malformed},
        {"cam\x7f", MeshNameFault::Malformed},
        {"$$dummy", MeshNameFault::None},
        {"x-wing_body.l", MeshNameFault::None},
        {"!~", MeshNameFault::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(checkMeshName(c.name), c.fault) << c.name;
    }
    EXPECT_STREQ(meshNameMessage(MeshNameFault::Missing),
                 "You have not entered one of more Mesh Names !");
    EXPECT_STREQ(meshNameMessage(MeshNameFault::Malformed),
                 "Mesh names must have 1 to 31 characters and no blanks, commas, # or accented "
                 "letters !");
    EXPECT_STREQ(meshNameMessage(MeshNameFault::None), "");
}

TEST(MeshName, firstFaultyNodeIsReported) {
    const struct {
        std::vector<const char*> meshes;
        std::optional<int> node;
        MeshNameFault fault;
    } cases[] = {
        {{}, std::nullopt, MeshNameFault::None},
        {{"a", "b"}, std::nullopt, MeshNameFault::None},
        {{"a", "", "b c"}, 1, MeshNameFault::Missing},
        {{"a", "b c", ""}, 1, MeshNameFault::Malformed},
    };
    for (const auto& c : cases) {
        TKeyDocument document;
        for (const char* mesh : c.meshes) {
            addNode(document);
            document.Nodes.back().Mesh = mesh;
        }
        const auto found = firstMeshNameFault(document);
        ASSERT_EQ(found.has_value(), c.node.has_value()) << c.meshes.size();
        if (found) {
            EXPECT_EQ(found->node, *c.node);
            EXPECT_EQ(found->fault, c.fault);
        }
    }
}

TEST(HeaderCheck, typeMarkersAndJointNumbers) {
    const KeyHeader good{"0x0000", "0x000F", std::nullopt, std::nullopt, {{0, 1}, {24, 3}}};
    const auto with = [&](auto change) {
        KeyHeader header = good;
        change(header);
        return header;
    };
    struct Case {
        const char* name;
        KeyHeader header;
        std::vector<std::int32_t> joints;
        std::int32_t jointCount;
        std::optional<std::string> fault;
    };
    const Case cases[] = {
        {"all fine, markers on frames 0 and Frames", good, {3, 1}, 4, std::nullopt},
        {"Type of three digits", with([](KeyHeader& h) { h.type = "0xFFF"; }), {0}, 1, kTypeNotHex},
        {"Type without 0x", with([](KeyHeader& h) { h.type = "FFFF"; }), {0}, 1, kTypeNotHex},
        {"Type with a letter past F", with([](KeyHeader& h) { h.type = "0xFFFG"; }), {0}, 1,
         kTypeNotHex},
        {"nine markers", with([](KeyHeader& h) { h.markers.resize(9); }), {0}, 1, kTooManyMarkers},
        {"a marker past Frames", with([](KeyHeader& h) { h.markers[1].frame = 24.01f; }), {0}, 1,
         kMarkerOutsideFrames},
        {"a marker before 0", with([](KeyHeader& h) { h.markers[0].frame = -1; }), {0}, 1,
         kMarkerOutsideFrames},
        {"a joint equal to Joints", good, {0, 4}, 4, kJointNumbersWrong},
        {"a joint below 0", good, {-1}, 4, kJointNumbersWrong},
        {"the same joint twice", good, {2, 2}, 4, kJointNumbersWrong},
    };
    for (const Case& c : cases)
        EXPECT_EQ(headerFault(c.header, c.joints, c.jointCount, 24), c.fault) << c.name;
}

// A marker's frame is kept as a 32-bit float, by the same rule as every value cell.
TEST(MarkerRows, parsedUpToTheFirstCellThatIsNoNumber) {
    struct Case {
        std::vector<MarkerText> rows;
        int badRow;
        int badColumn;
        std::vector<KeyMarker> markers;
    };
    const Case cases[] = {
        {{{"18", "3"}, {" 0.5", "$5"}}, -1, 0, {{18, 3}, {0.5f, 5}}},
        {{{"3.4028235e38", "1"}}, -1, 0, {{FLT_MAX, 1}}},
        {{{"18", "3"}, {"3.41e38", "1"}}, 1, 0, {{18, 3}}},
        {{{"18,5", "3"}}, 0, 0, {}},
        {{{"1", "3.5"}}, 0, 1, {}},
    };
    for (const Case& c : cases) {
        const ParsedMarkers parsed = parseMarkers(c.rows);
        EXPECT_EQ(parsed.badRow, c.badRow) << c.rows.back().frame;
        EXPECT_EQ(parsed.badColumn, c.badColumn) << c.rows.back().frame;
        EXPECT_EQ(parsed.markers, c.markers) << c.rows.back().frame;
    }
}

} // namespace
