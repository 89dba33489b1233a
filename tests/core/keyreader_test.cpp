// The KEY reader: what the cells show after reading, Steps derived from the changes, the
// all-or-nothing failures with the line they name, and the write/read/write round trip.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>

#include <unistd.h>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

std::string crlfLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const std::string kHeader =
    crlfLines({"# KEYFRAME cam.KEY", "", "###############", "SECTION: HEADER", "", "FLAGS  0x0000",
               "TYPE   0xFFFF", "FRAMES 31", "FPS    15", "JOINTS 1", "", "###############",
               "SECTION: KEYFRAME NODES", "", "NODES 1", ""});

const std::string kWorkedExampleNode = crlfLines({
    "NODE    0",
    "MESH NAME cam",
    "ENTRIES 2",
    "",
    "#num:\tframe:flags:\tx:\t\ty:\t\tz:\t\tpch:\t\tyaw:\t\trol:",
    "#\t\t\t\tdx:\t\tdy:\t\tdz:\t\tdpch:\t\tdyaw:\t\tdrol:",
    " 0:\t0\t0x0003\t0.000000\t0.000000\t0.000000\t0.000000\t350.000000\t0.000000",
    "\t\t\t\t0.100000\t-0.050000\t0.025000\t0.333333\t1.000000\t0.000000",
    " 1:\t30\t0x0000\t3.000000\t-1.500000\t0.750000\t10.000000\t20.000000\t0.000000",
    "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000",
    "",
});

// One node holding the given entry and change lines after the node header.
std::string oneNodeFile(std::initializer_list<std::string_view> entryLines, int entries = -1) {
    const int count = entries >= 0 ? entries : static_cast<int>((entryLines.size() + 1) / 2);
    return kHeader + crlfLines({"NODE    0", "MESH NAME m", "ENTRIES " + std::to_string(count)}) +
           crlfLines(entryLines);
}

std::vector<std::string> rowCells(const TKeyDocument& document, int node, int entry) {
    const EntryRow& row = document.Nodes.at(node).Data.row(entry);
    return {row.begin() + ColFrame, row.end()};
}

using Cells = std::vector<std::string>;

std::string withReplaced(std::string text, std::string_view from, std::string_view to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST(KeyReader, workedExample_fillsTheDocument) {
    const KeyReadResult read = readKeyText(kHeader + kWorkedExampleNode);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Fps, 15.0f);
    // FRAMES and JOINTS that the entries and nodes give again are not kept: they follow edits.
    EXPECT_TRUE(read.document.Header == KeyHeader{});
    ASSERT_EQ(read.document.Nodes.size(), 1u);
    const TNode& node = read.document.Nodes[0];
    EXPECT_EQ(node.Mesh, "cam");
    EXPECT_EQ(node.Entries, 2);
    EXPECT_EQ(rowCells(read.document, 0, 0),
              (Cells{"0", "30", "0.00000000", "0.00000000", "0.00000000", "0.00000000",
                     "350.00000000", "0.00000000"}));
    EXPECT_EQ(rowCells(read.document, 0, 1),
              (Cells{"30", "1", "3.00000000", "-1.50000000", "0.75000000", "10.00000000",
                     "20.00000000", "0.00000000"}));
    EXPECT_EQ(rowCells(read.document, 0, 2), Cells(8));
}

TEST(KeyReader, fpsLine_givesTheFrameRateAsA32BitValue) {
    std::string text = kHeader + kWorkedExampleNode;
    text.replace(text.find("FPS    15"), 9, "FPS 29.97");
    const KeyReadResult read = readKeyText(text);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Fps, 29.97f);
}

TEST(KeyReader, cells_useTheEditorSeparatorWhileTheFileUsesDot) {
    setDecimalSeparator(',');
    const KeyReadResult read = readKeyText(kHeader + kWorkedExampleNode);
    setDecimalSeparator('.');
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Nodes[0].Data.cell(ColY, 1), "-1,50000000");
}

struct ValueCase {
    const char* field;
    int column;
    const char* cell;
};

TEST(KeyReader, values_showEightDecimalsOfTheir32BitValue) {
    const ValueCase cases[] = {
        {"0.1", ColX, "0.10000000"},
        {"1234.567", ColY, "1234.56701660"},
        {"-0.000000", ColZ, "0.00000000"},
        {"-90", ColPitch, "270.00000000"},
        {"400", ColYaw, "400.00000000"},
        {"-720.5", ColRoll, "359.50000000"},
        {"-0.000000001", ColRoll, "0.00000000"},
        {"1e-2", ColX, "0.01000000"},
    };
    for (const ValueCase& c : cases) {
        std::string fields[6] = {"0", "0", "0", "0", "0", "0"};
        fields[c.column - ColX] = c.field;
        std::string line = " 0:\t0\t0x0000";
        for (const std::string& f : fields)
            line += "\t" + f;
        const KeyReadResult read = readKeyText(oneNodeFile({line, "0 0 0 0 0 0"}));
        ASSERT_TRUE(read.ok) << read.reason;
        EXPECT_EQ(read.document.Nodes[0].Data.cell(c.column, 0), c.cell) << c.field;
    }
}

struct StepsCase {
    const char* name;
    const char* first;
    const char* change;
    const char* second;
    const char* steps;
};

TEST(KeyReader, steps_areDerivedFromTheChanges) {
    const StepsCase cases[] = {
        // The frame distance, whenever every change agrees with it.
        {"agreeing changes give the distance", " 0: 0 0 0 0 0 0 0 0", "0.1 -0.05 0 0 0 0",
         " 1: 30 0 3 -1.5 0 0 0 0", "30"},
        {"hold of 10 frames", " 0: 0 0 5 5 5 5 5 5", "0 0 0 0 0 0", " 1: 10 0 5 5 5 5 5 5", "10"},
        {"zero changes but values differ", " 0: 0 0 5 5 5 5 5 5", "0 0 0 0 0 0",
         " 1: 10 0 6 5 5 5 5 5", "1"},
        {"yaw forward over 0", " 0: 0 0 0 0 0 0 350 0", "0 0 0 0 1 0", " 1: 30 0 0 0 0 0 20 0",
         "30"},
        {"yaw backward over 0", " 0: 0 0 0 0 0 0 20 0", "0 0 0 0 -1 0", " 1: 30 0 0 0 0 0 350 0",
         "30"},
        {"previous angle as adjusted", " 0: 0 0 0 0 0 0 -90 0", "0 0 0 0 1 0",
         " 1: 10 0 0 0 0 0 -80 0", "10"},
        {"too small change agrees with the distance", " 0: 0 0 0 0 0 0 0 0", "0.000003 0 0 0 0 0",
         " 1: 30 0 0.0001 0 0 0 0 0", "30"},
        {"zero quotient agrees with the distance", " 0: 0 0 0 0 0 0 0 0", "0.000001 0 0 0 0 0",
         " 1: 30 0 0.0000001 0 0 0 0 0", "30"},
        // Otherwise the largest change decides.
        {"largest change decides", " 0: 0 0 0 0 0 0 0 0", "1 0 0 0 0 2", " 1: 40 0 8 0 0 0 0 20",
         "10"},
        {"largest change decides over a tiny last one", " 0: 0 0 0 0 0 0 0 0",
         "10 0 0.000001 0 0 0", " 1: 30 0 100 0 0.000014 0 0 0", "10"},
        {"equal magnitudes: the last decides", " 0: 0 0 0 0 0 0 0 0", "1 -1 0 0 0 0",
         " 1: 30 0 5 -7 0 0 0 0", "7"},
        {"equal magnitudes: the last decides, also when smaller", " 0: 0 0 0 0 0 0 0 0",
         "1 0 0 0 0 -1", " 1: 30 0 7 0 0 0 0 355", "5"},
        {"halves to even", " 0: 0 0 0 0 0 0 0 0", "2 0 0 0 0 0", " 1: 30 0 25 0 0 0 0 0", "12"},
        {"steps below frame distance kept", " 0: 0 0 0 0 0 0 0 0", "1 0 0 0 0 0",
         " 1: 30 0 10 0 0 0 0 0", "10"},
        {"negative quotient gives frame distance", " 0: 0 0 5 0 0 0 0 0", "1 0 0 0 0 0",
         " 1: 7 0 0 0 0 0 0 0", "7"},
        {"quotient beyond the distance gives the distance", " 0: 0 0 0 0 0 0 0 0", "1 0 0 0 0 0",
         " 1: 7 0 100 0 0 0 0 0", "7"},
        {"quotient beyond a distance of one gives one", " 0: 0 0 0 0 0 0 0 0", "1 0 0 0 0 0",
         " 1: 1 0 3 0 0 0 0 0", "1"},
        // Without a frame distance nothing is agreed or mended.
        {"no frame distance", " 0: 0 0 0 0 0 0 0 0", "0.000003 0 0 0 0 0",
         " 1: 3O 0 0.0001 0 0 0 0 0", "33"},
        {"no frame distance, hold", " 0: 0 0 5 5 5 5 5 5", "0 0 0 0 0 0", " 1: ten 0 5 5 5 5 5 5",
         "1"},
        {"no mend when frames do not advance", " 0: 5 0 0 0 0 0 0 0", "1 0 0 0 0 0",
         " 1: 5 0 -3 0 0 0 0 0", "-3"},
    };
    for (const StepsCase& c : cases) {
        const KeyReadResult read = readKeyText(oneNodeFile({c.first, c.change, c.second, "0"}));
        ASSERT_TRUE(read.ok) << c.name << ": " << read.reason;
        EXPECT_EQ(read.document.Nodes[0].Data.cell(ColSteps, 0), c.steps) << c.name;
        EXPECT_EQ(read.document.Nodes[0].Data.cell(ColSteps, 1), "1") << c.name;
    }
}

TEST(KeyReader, frameField_isKeptAsItStands) {
    const KeyReadResult read = readKeyText(oneNodeFile({" 0: 000 0 0 0 0 0 0 0"}));
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Nodes[0].Data.cell(ColFrame, 0), "000");
}

TEST(KeyReader, unknownLines_areSkippedAndDelimitersMayVary) {
    const std::string text =
        crlfLines({"# comment", "SECTION: HEADER", "junk line here", "FPS,  10", "", "JOINTS\t2",
                   "Section: keyframe nodes", "SECTION:,KEYFRAME NODES", "NODE 00", "NODE 0",
                   "MESH NAME a b", "MESH NAME,first", "ENTRIES 1", "#c", " 0:,0,0,1,2,3,4,5,6",
                   "anything", "NODE 1", "MESH NAME second", "ENTRIES 0"});
    const KeyReadResult read = readKeyText(text + "\n");
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Fps, 10.0f);
    ASSERT_EQ(read.document.Nodes.size(), 2u);
    EXPECT_EQ(read.document.Nodes[0].Mesh, "first");
    EXPECT_EQ(read.document.Nodes[0].Data.cell(ColRoll, 0), "6.00000000");
    EXPECT_EQ(read.document.Nodes[1].Mesh, "second");
    EXPECT_EQ(read.document.Nodes[1].Entries, 0);
}

TEST(KeyReader, lineAfterAnEntry_isAlwaysItsChangeLine) {
    const KeyReadResult read =
        readKeyText(oneNodeFile({" 0: 0 0 0 0 0 0 0 0", "# a comment", "0 0 0 0 0 0", " 1: 5"}, 2));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.reason, "line 21: the change line of entry 0 of node 0 needs 6 numbers");
}

TEST(KeyReader, lfOnlyAndMissingFinalLineEnd_areRead) {
    std::string text = kHeader + kWorkedExampleNode;
    std::string lf;
    for (char c : text)
        if (c != '\r')
            lf += c;
    lf.erase(lf.find_last_not_of('\n') + 1);
    const KeyReadResult read = readKeyText(lf);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Nodes[0].Data.cell(ColYaw, 1), "20.00000000");
}

TEST(KeyReader, moreNodesThanTheEditorShows_areReadWhole) {
    std::string text =
        withReplaced(withReplaced(kHeader, "JOINTS 1", "JOINTS 60"), "NODES 1", "NODES 60");
    for (int k = 0; k < 60; ++k)
        text += "NODE " + std::to_string(k) + "\nMESH NAME m" + std::to_string(k) + "\nENTRIES 0\n";
    const KeyReadResult read = readKeyText(text);
    ASSERT_TRUE(read.ok) << read.reason;
    ASSERT_EQ(read.document.Nodes.size(), 60u);
    EXPECT_EQ(read.document.Nodes[59].Mesh, "m59");
}

TEST(KeyReader, nodesLine_decidesTheBlockCount_withoutOneJointsDoes) {
    const std::string text =
        withReplaced(kHeader + kWorkedExampleNode + "NODE 1\r\nMESH NAME x\r\nENTRIES 0\r\n",
                     "JOINTS 1", "JOINTS 2");
    const KeyReadResult nodes = readKeyText(text);
    ASSERT_TRUE(nodes.ok) << nodes.reason;
    EXPECT_EQ(nodes.document.Nodes.size(), 1u);
    EXPECT_EQ(nodes.document.Header.joints, 2);
    const std::string noNodesLine = withReplaced(text, "NODES 1", "");
    const KeyReadResult joints = readKeyText(noNodesLine);
    ASSERT_TRUE(joints.ok) << joints.reason;
    EXPECT_EQ(joints.document.Nodes.size(), 2u);
    EXPECT_EQ(joints.document.Header.joints, std::nullopt);
    const KeyReadResult none = readKeyText(withReplaced(noNodesLine, "JOINTS 2", "JOINTS 0"));
    ASSERT_TRUE(none.ok) << none.reason;
    EXPECT_TRUE(none.document.Nodes.empty());
}

struct FailureCase {
    const char* name;
    std::string text;
    const char* reason;
};

TEST(KeyReader, unreadableFiles_failNamingTheLine) {
    const std::string good = kHeader + kWorkedExampleNode;
    const FailureCase cases[] = {
        {"empty", "", "line 1: the file ends without a \"SECTION: HEADER\" line"},
        {"header on the last line", "\r\n# x\r\nSECTION: HEADER\r\n \r\n",
         "line 3: the file ends without a \"SECTION: HEADER\" line"},
        {"no FPS line", withReplaced(good, "FPS    15", "SPEED 15"),
         "line 27: the file ends without a \"JOINTS\" line"},
        {"no JOINTS line", withReplaced(good, "JOINTS 1", "JOINTS"),
         "line 26: the file ends without a \"JOINTS\" line"},
        {"no nodes section", withReplaced(good, "SECTION: KEYFRAME NODES", "SECTION: NODES"),
         "line 26: the file ends without a \"SECTION: KEYFRAME NODES\" line"},
        {"bad FPS", withReplaced(good, "FPS    15", "FPS 15,5"),
         "line 27: the file ends without a \"JOINTS\" line"},
        {"FPS not a number", withReplaced(good, "FPS    15", "FPS 1O"),
         "line 9: '1O' is not a valid floating point value"},
        {"JOINTS not a number", withReplaced(good, "JOINTS 1", "JOINTS 1.0"),
         "line 10: '1.0' is not a valid integer value"},
        {"more joints than blocks without a NODES line",
         withReplaced(withReplaced(good, "JOINTS 1", "JOINTS 3"), "NODES 1", ""),
         "line 27: the file ends before the \"NODE 1\" line"},
        {"fewer blocks than NODES",
         withReplaced(withReplaced(good, "JOINTS 1", "JOINTS 3"), "NODES 1", "NODES 3"),
         "line 27: the file ends before the \"NODE\" line of node block 1"},
        {"a joint number equal to JOINTS", withReplaced(good, "NODE    0", "NODE    1"),
         "line 17: joint 1 is not below JOINTS 1"},
        {"the same joint twice",
         withReplaced(withReplaced(good, "JOINTS 1", "JOINTS 2"), "NODES 1", "NODES 2") +
             kWorkedExampleNode,
         "line 28: joint 0 has a node block already"},
        {"nine markers",
         withReplaced(good, "JOINTS 1",
                      "JOINTS 1\r\nSECTION: MARKERS\r\nMARKERS 9\r\n0 1\r\n1 2\r\n2 1\r\n3 2\r\n"
                      "4 1\r\n5 2\r\n6 1\r\n7 2\r\n8 1"),
         "line 12: MARKERS 9 is not 0 to 8 markers"},
        {"a marker without its type",
         withReplaced(good, "JOINTS 1", "JOINTS 1\r\nSECTION: MARKERS\r\nMARKERS 1\r\n7.5"),
         "line 13: a marker needs a frame and a type"},
        {"more joints than can be held", withReplaced(good, "JOINTS 1", "JOINTS 501"),
         "line 10: JOINTS 501 is more than 500 nodes"},
        {"huge joints", withReplaced(good, "JOINTS 1", "JOINTS 2000000000"),
         "line 10: JOINTS 2000000000 is more than 500 nodes"},
        {"no MESH NAME", withReplaced(good, "MESH NAME cam", "MESH NAME"),
         "line 27: the file ends before the \"MESH NAME\" line of node 0"},
        {"mesh name with a blank", withReplaced(good, "MESH NAME cam", "MESH NAME a b"),
         "line 18: a mesh name with a blank or a comma is not read, and the file ends before "
         "the \"MESH NAME\" line of node 0"},
        {"mesh name with a comma, taking the next node's name",
         withReplaced(withReplaced(withReplaced(good + "NODE 1\r\nMESH NAME x\r\nENTRIES 0\r\n",
                                                "JOINTS 1", "JOINTS 2"),
                                   "NODES 1", "NODES 2"),
                      "MESH NAME cam", "MESH NAME a,b"),
         "line 18: a mesh name with a blank or a comma is not read, and the file ends before "
         "the \"NODE\" line of node block 1"},
        {"no ENTRIES", withReplaced(good, "ENTRIES 2", "ENTRIES"),
         "line 27: the file ends before the \"ENTRIES\" line of node 0"},
        {"ENTRIES above 1000", withReplaced(good, "ENTRIES 2", "ENTRIES 1001"),
         "line 19: ENTRIES 1001 is not 0 to 1000"},
        {"ENTRIES below 0", withReplaced(good, "ENTRIES 2", "ENTRIES -1"),
         "line 19: ENTRIES -1 is not 0 to 1000"},
        {"more entries than lines", withReplaced(good, "ENTRIES 2", "ENTRIES 3"),
         "line 27: the file ends before entry 2 of node 0"},
        {"ends after an entry line", oneNodeFile({" 0: 0 0 0 0 0 0 0 0"}, 2),
         "line 20: the file ends before the change line of entry 0 of node 0"},
        {"entry value not a number", withReplaced(good, "\t-1.500000\t", "\t-1.5x\t"),
         "line 25: '-1.5x' is not a valid floating point value"},
        {"written with a decimal comma", withReplaced(good, "\t-1.500000\t", "\t-1,500000\t"),
         "line 27: the file ends before entry 1 of node 0"},
        {"change not a number", withReplaced(good, "\t0.333333\t", "\t0.33-3\t"),
         "line 24: '0.33-3' is not a valid floating point value"},
        {"NUL inside a field", withReplaced(good, "\t-1.500000\t", std::string("\t-1.5\0x\t", 8)),
         "line 25: '-1.5\\0x' is not a valid floating point value"},
        {"field of 100 digits",
         withReplaced(good, "\t-1.500000\t", "\t" + std::string(100, '9') + "x\t"),
         "line 25: '999999999999999999999999999999999999999999999999999999999999...' is not a "
         "valid floating point value"},
        {"value beyond 32 bits", withReplaced(good, "\t-1.500000\t", "\t1e39\t"),
         "line 25: Floating point overflow"},
        {"quotient beyond 64 bits", withReplaced(good, "\t0.333333\t", "\t1e-30\t"),
         "line 25: Invalid floating point operation"},
    };
    for (const FailureCase& c : cases) {
        const KeyReadResult read = readKeyText(c.text);
        EXPECT_FALSE(read.ok) << c.name;
        EXPECT_EQ(read.reason, c.reason) << c.name;
        EXPECT_TRUE(read.document.Nodes.empty()) << c.name;
    }
}

TEST(KeyReader, missingFile_failsWithTheFileError) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "skyvane_no_such_dir" / "x.KEY").string();
    const KeyReadResult read = readKeyFile(path);
    EXPECT_FALSE(read.ok);
    EXPECT_NE(read.reason.find(path), std::string::npos) << read.reason;
}

// A document that validates, with moves, turns over 0, tiny changes and gaps in the frames.
TKeyDocument roundTripDocument() {
    const char* rows[][8] = {
        {"0", "30", "0", "0", "0", "0", "350", "0"},
        {"30", "10", "3", "-1.5", "0.75", "10", "20", "359.5"},
        {"45", "30", "1234.567", "0.1", "0.0001", "180", "200", "0.5"},
        {"75", "5", "1234.567", "0.1", "0", "0", "20", "0.5"},
        {"80", "7", "1234.567", "0.1", "0", "0", "20", "0.5"},
        {"200", "128", "-7", "100.1", "-0.25", "359.999", "0.001", "90"},
        {"328", "1", "-6", "99", "1000000", "0", "180", "270"},
    };
    TKeyDocument document;
    document.Fps = 29.97f;
    for (int k = 0; k < 2; ++k) {
        TNode node;
        node.Mesh = "mesh" + std::to_string(k);
        const int count = k == 0 ? 7 : 1;
        for (int e = 0; e < count; ++e)
            for (int c = 0; c < 8; ++c)
                node.Data.setCell(ColFrame + c, e, rows[e][c]);
        node.Entries = static_cast<std::int16_t>(count);
        document.Nodes.push_back(node);
    }
    return document;
}

TEST(KeyReader, writeReadWrite_givesTheSameText) {
    const std::string first = keyFileText(roundTripDocument(), "r.KEY", "d", "t");
    const KeyReadResult read = readKeyText(first);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(keyFileText(read.document, "r.KEY", "d", "t"), first);
    EXPECT_EQ(read.document.Fps, 29.97f);
    const std::vector<std::string> steps = {"30", "10", "30", "5", "7", "128", "1"};
    for (int e = 0; e < 7; ++e)
        EXPECT_EQ(read.document.Nodes[0].Data.cell(ColSteps, e), steps[e]) << "entry " << e;
}

// The longest text the writer gives each field, for a document the reader accepts: 500 nodes
// (the most it reads) of 1000 entries, each Frame the longest integer and each value and change
// of 25 or 26 characters (values swing by half of 10^18, so every change stays below 10^18,
// from where the shorter general format is used).
TKeyDocument largestDocument() {
    const char* values[2][6] = {
        {"-499999990000000000", "-499999990000000000", "-499999990000000000", "499999990000000000",
         "499999990000000000", "499999990000000000"},
        {"499999990000000000", "499999990000000000", "499999990000000000", "999999980000000000",
         "999999980000000000", "999999980000000000"},
    };
    TNode node;
    node.Mesh = std::string(31, 'm');
    node.Entries = kMaxEntries;
    for (int e = 0; e < kMaxEntries; ++e) {
        node.Data.setCell(ColFrame, e, "-2147483648");
        node.Data.setCell(ColSteps, e, "1");
        for (int v = 0; v < 6; ++v)
            node.Data.setCell(ColX + v, e, values[e % 2][v]);
    }
    TKeyDocument document;
    document.Fps = 29.97f;
    document.Nodes.assign(500, node);
    return document;
}

TEST(KeyReader, largestWrittenDocument_readsBack) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("skyvane_largest_" + std::to_string(::getpid()) + ".KEY"))
                                 .string();
    {
        const std::string text = keyFileText(largestDocument(), file, "31/12/2026", "23:59:59");
        EXPECT_GT(text.size(), std::size_t{170'000'000});
        std::ofstream(file, std::ios::binary) << text;
    }
    const KeyReadResult read = readKeyFile(file);
    std::filesystem::remove(file);
    ASSERT_TRUE(read.ok) << read.reason;
    ASSERT_EQ(read.document.Nodes.size(), 500u);
    EXPECT_EQ(
        rowCells(read.document, 499, 999),
        (Cells{"-2147483648", "1", "499999992153374720.00000000", "499999992153374720.00000000",
               "499999992153374720.00000000", "999999984306749440.00000000",
               "999999984306749440.00000000", "999999984306749440.00000000"}));
}

// How far the peak resident memory rose while `action` ran; nothing where the system cannot
// reset the peak first.
std::optional<long> peakMemoryGrowth(const std::function<void()>& action) {
    const auto peak = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                return std::stol(line.substr(6)) * 1024;
        return -1L;
    };
    if (!(std::ofstream("/proc/self/clear_refs") << "5" << std::flush))
        return std::nullopt;
    const long before = peak();
    action();
    const long after = peak();
    if (before < 0 || after < 0)
        return std::nullopt;
    return after - before;
}

// A field of 50 million digits, valid or not, costs no more than reading past it: the reason
// quotes its start only, and nothing of the size of the field is copied.
TEST(KeyReader, fieldOfFiftyMillionDigits_isReadInBoundedMemory) {
    const std::string digits(50'000'000, '7');
    const std::string good = kHeader + kWorkedExampleNode;
    const std::string quotedStart = "'" + std::string(60, '7') + "...'";
    struct HugeCase {
        const char* name;
        std::string text;
        std::string reason; // empty: read
    };
    const HugeCase cases[] = {
        {"value", withReplaced(good, "\t-1.500000\t", "\t-1." + digits + "\t"), ""},
        {"value not a number", withReplaced(good, "\t-1.500000\t", "\t" + digits + "x\t"),
         "line 25: " + quotedStart + " is not a valid floating point value"},
        {"FPS beyond every range", withReplaced(good, "FPS    15", "FPS " + digits),
         "line 9: " + quotedStart + " is not a valid floating point value"},
        {"JOINTS", withReplaced(good, "JOINTS 1", "JOINTS " + digits),
         "line 10: " + quotedStart + " is not a valid integer value"},
    };
    for (const HugeCase& c : cases) {
        KeyReadResult read;
        const std::optional<long> growth = peakMemoryGrowth([&] { read = readKeyText(c.text); });
        EXPECT_EQ(read.ok, c.reason.empty()) << c.name;
        EXPECT_EQ(read.reason, c.reason) << c.name;
        if (growth) {
            EXPECT_LT(*growth, long(digits.size() / 4)) << c.name;
        }
    }
    const KeyReadResult value = readKeyText(cases[0].text);
    ASSERT_TRUE(value.ok);
    EXPECT_EQ(value.document.Nodes[0].Data.cell(ColY, 1), "-1.77777779");
}

} // namespace
} // namespace skyvane
