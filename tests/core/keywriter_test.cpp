// The KEY writer: whole texts compared byte for byte, the change and flag arithmetic, and the
// all-or-nothing save.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "nodecells.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

using test::Cells;
using test::makeNode;

TKeyDocument makeDocument(std::initializer_list<TNode> nodes, float fps = 15) {
    TKeyDocument document;
    document.Fps = fps;
    document.Nodes = nodes;
    return document;
}

const TKeyDocument& workedExample() {
    static const TKeyDocument document =
        makeDocument({makeNode("cam", {{"0", "30", "0", "0", "0", "0", "350", "0"},
                                       {"30", "1", "3", "-1.5", "0.75", "10", "20", "0"}})});
    return document;
}

// The lines of a written text; every line must end with CR LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "last line lacks CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string nodeLines(const TNode& node) {
    const std::string text = keyFileText(makeDocument({node}), "a.KEY", "d", "t");
    return text.substr(text.find("NODE    0"));
}

// The entry and change lines of entry i of a one-node document.
std::pair<std::string, std::string> entryLines(const TNode& node, int i) {
    const std::vector<std::string> lines = linesOf(nodeLines(node));
    return {lines.at(6 + 2 * i), lines.at(7 + 2 * i)};
}

TEST(KeyWriter, workedExample_isWrittenByteForByte) {
    const std::string expected =
        "# KEYFRAME cam.KEY\r\n"
        "# Created on 07/12/2026 at 21:04:05 by Skyvane\r\n"
        "# Made with Skyvane, a keyframe editor for Jedi Knight and Mysteries of the Sith\r\n"
        "\r\n"
        "###############\r\n"
        "SECTION: HEADER\r\n"
        "\r\n"
        "FLAGS  0x0000\r\n"
        "TYPE   0xFFFF\r\n"
        "FRAMES 31\r\n"
        "FPS    15\r\n"
        "JOINTS 1\r\n"
        "\r\n"
        "\r\n"
        "###############\r\n"
        "SECTION: KEYFRAME NODES\r\n"
        "\r\n"
        "NODES 1\r\n"
        "\r\n"
        "NODE    0\r\n"
        "MESH NAME cam\r\n"
        "ENTRIES 2\r\n"
        "\r\n"
        "#num:\tframe:flags:\tx:\t\ty:\t\tz:\t\tpch:\t\tyaw:\t\trol:\r\n"
        "#\t\t\t\tdx:\t\tdy:\t\tdz:\t\tdpch:\t\tdyaw:\t\tdrol:\r\n"
        " 0:\t0\t0x0003\t0.000000\t0.000000\t0.000000\t0.000000\t350.000000\t0.000000\r\n"
        "\t\t\t\t0.100000\t-0.050000\t0.025000\t0.333333\t1.000000\t0.000000\r\n"
        " 1:\t30\t0x0000\t3.000000\t-1.500000\t0.750000\t10.000000\t20.000000\t0.000000\r\n"
        "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\r\n"
        "\r\n";
    EXPECT_EQ(keyFileText(workedExample(), "C:\\anim\\cam.KEY", "07/12/2026", "21:04:05"),
              expected);
}

// The editor's separator for one test; restored even when the test fails.
class SeparatorScope {
public:
    explicit SeparatorScope(char separator) { setDecimalSeparator(separator); }
    ~SeparatorScope() { setDecimalSeparator(saved_); }

private:
    char saved_ = decimalSeparator();
};

TEST(KeyWriter, workedExample_usesDotWhateverTheEditorSeparator) {
    const SeparatorScope comma(',');
    TKeyDocument document = workedExample();
    document.Fps = 12.5f;
    document.Nodes[0].Data.setCell(ColY, 1, "-1,5");
    document.Nodes[0].Data.setCell(ColZ, 1, "0,75");
    const std::string text = keyFileText(document, "cam.KEY", "d", "t");
    EXPECT_NE(text.find("FPS    12.5\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t3.000000\t-1.500000\t0.750000\t"), std::string::npos);
    EXPECT_EQ(text.find(',', text.find("###")), std::string::npos);
}

TEST(KeyWriter, emptyNode_givesHeaderCommentsAndClosingLine) {
    const std::string text = keyFileText(makeDocument({makeNode("", {})}), "x.KEY", "d", "t");
    EXPECT_NE(text.find("FRAMES 1\r\n"), std::string::npos);
    EXPECT_NE(text.find("NODES 1\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.find("NODE    0")),
              "NODE    0\r\nMESH NAME \r\nENTRIES 0\r\n\r\n"
              "#num:\tframe:flags:\tx:\t\ty:\t\tz:\t\tpch:\t\tyaw:\t\trol:\r\n"
              "#\t\t\t\tdx:\t\tdy:\t\tdz:\t\tdpch:\t\tdyaw:\t\tdrol:\r\n\r\n");
}

TEST(KeyWriter, noNodes_endsAfterNodesLine) {
    const std::string text = keyFileText(makeDocument({}), "x.KEY", "d", "t");
    EXPECT_EQ(text.substr(text.find("FRAMES")),
              "FRAMES 1\r\nFPS    15\r\nJOINTS 0\r\n\r\n\r\n###############\r\n"
              "SECTION: KEYFRAME NODES\r\n\r\nNODES 0\r\n\r\n");
}

TEST(KeyWriter, fileName_isThePartAfterTheLastFolderMark) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\anim\\cam.KEY", "cam.KEY"}, {"/home/u/anim/cam.key", "cam.key"},
        {"C:cam.KEY", "cam.KEY"},         {"a/b\\c:d.KEY", "d.KEY"},
        {"plain.KEY", "plain.KEY"},       {"dir/", ""},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(baseFileName(path), name);
        const std::string text = keyFileText(makeDocument({}), path, "d", "t");
        EXPECT_EQ(linesOf(text).at(0), "# KEYFRAME " + std::string(name));
    }
}

TEST(KeyWriter, framesLine_isLargestFrameOfAllNodesPlusOne) {
    const TKeyDocument document =
        makeDocument({makeNode("a", {{"0", "5", "0", "0", "0", "0", "0", "0"},
                                     {"30", "99", "0", "0", "0", "0", "0", "0"}}),
                      makeNode("b", {{"0", "1", "0", "0", "0", "0", "0", "0"},
                                     {"007", "1", "0", "0", "0", "0", "0", "0"},
                                     {"$2A", "1", "0", "0", "0", "0", "0", "0"}}),
                      makeNode("c", {{"0", "1", "0", "0", "0", "0", "0", "0"},
                                     {"12", "1", "0", "0", "0", "0", "0", "0"}})});
    EXPECT_NE(keyFileText(document, "x.KEY", "d", "t").find("FRAMES 43\r\nFPS    15\r\nJOINTS 3"),
              std::string::npos);
}

TEST(KeyWriter, keptHeaderMarkersAndJoints_areWrittenInTheGamesLayout) {
    TKeyDocument document = makeDocument({makeNode("torso", {{"0", "1", "0", "0", "0", "0", "0", "0"}}),
                                          makeNode("$$$DUMMY", {})});
    document.Header = {"0x0003", "0x000F", 24, 4, {{7, 4}, {18.5f, 5}}};
    document.Nodes[0].Joint = 3;
    document.Nodes[1].Joint = 1;
    const std::string text = keyFileText(document, "swing.KEY", "d", "t");
    EXPECT_NE(text.find("SECTION: HEADER\r\n\r\nFLAGS  0x0003\r\nTYPE   0x000F\r\nFRAMES 24\r\n"
                        "FPS    15\r\nJOINTS 4\r\n\r\n\r\n###############\r\nSECTION: MARKERS\r\n\r\n"
                        "MARKERS 2\r\n\r\n7.000000 4\r\n18.500000 5\r\n\r\n\r\n###############\r\n"
                        "SECTION: KEYFRAME NODES\r\n\r\nNODES 2\r\n\r\nNODE    3\r\nMESH NAME torso\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("NODE    1\r\nMESH NAME $$$DUMMY\r\n"), std::string::npos);
    // A kept loop length never cuts an entry off.
    document.Nodes[0].Data.setCell(ColFrame, 0, "30");
    EXPECT_NE(keyFileText(document, "x.KEY", "d", "t").find("FRAMES 31\r\n"), std::string::npos);
}

TEST(KeyWriter, fpsLine_usesGeneralFormat) {
    const std::pair<float, const char*> cases[] = {
        {15.0f, "FPS    15"}, {12.5f, "FPS    12.5"}, {29.97f, "FPS    29.9699993133545"}};
    for (const auto& [fps, line] : cases)
        EXPECT_EQ(linesOf(keyFileText(makeDocument({}, fps), "x", "d", "t")).at(10), line);
}

TEST(KeyWriter, frameField_isThePlainDecimalOfTheCell) {
    const std::pair<const char*, const char*> cases[] = {
        {"007", " 1:\t7\t"}, {"+12", " 1:\t12\t"}, {" 5", " 1:\t5\t"}, {"$1F", " 1:\t31\t"}};
    for (const auto& [cell, start] : cases) {
        const TNode node = makeNode("m", {{"0", "1", "0", "0", "0", "0", "0", "0"},
                                          {cell, "1", "0", "0", "0", "0", "0", "0"}});
        EXPECT_EQ(entryLines(node, 1).first.rfind(start, 0), 0u) << cell;
    }
}

struct ChangeCase {
    const char* name;
    Cells from;
    Cells to;
    const char* changeLine;
    const char* flags;
};

TEST(KeyWriter, changesAndFlags) {
    const ChangeCase cases[] = {
        {"yaw wraps forward",
         {"0", "30", "0", "0", "0", "0", "350", "0"},
         {"30", "1", "0", "0", "0", "0", "20", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t1.000000\t0.000000",
         "0x0002"},
        {"yaw wraps backward",
         {"0", "30", "0", "0", "0", "0", "20", "0"},
         {"30", "1", "0", "0", "0", "0", "350", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t-1.000000\t0.000000",
         "0x0002"},
        {"exactly +180 stays",
         {"0", "2", "0", "0", "0", "0", "0", "0"},
         {"2", "1", "0", "0", "0", "180", "0", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t90.000000\t0.000000\t0.000000",
         "0x0002"},
        {"exactly -180 stays",
         {"0", "2", "0", "0", "0", "0", "0", "180"},
         {"2", "1", "0", "0", "0", "0", "0", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t-90.000000",
         "0x0002"},
        {"halves round away from zero",
         {"0", "128", "0", "1", "0", "0", "0", "0"},
         {"128", "1", "1", "0", "0", "0", "0", "0"},
         "\t\t\t\t0.007813\t-0.007813\t0.000000\t0.000000\t0.000000\t0.000000",
         "0x0001"},
        {"no motion",
         {"0", "7", "1", "2", "3", "4", "5", "6"},
         {"9", "1", "1", "2", "3", "4", "5", "6"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000",
         "0x0000"},
        {"tiny move still flags",
         {"0", "1000", "0", "0", "0", "0", "0", "0"},
         {"1000", "1", "0", "0", "0.0001", "0", "0", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000",
         "0x0001"},
        {"tiny negative keeps its sign",
         {"0", "1", "0", "0", "0", "0", "0", "0"},
         {"1", "1", "0", "0", "-0.0000004", "0", "0", "0"},
         "\t\t\t\t0.000000\t0.000000\t-0.000000\t0.000000\t0.000000\t0.000000",
         "0x0001"},
        {"difference extended, quotient single",
         {"0", "3", "0.1", "0", "0", "0", "0", "0"},
         {"3", "1", "1000000", "0", "0", "0", "0", "0"},
         "\t\t\t\t333333.312500\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000",
         "0x0001"},
        {"angles written as they stand",
         {"0", "1", "0", "0", "0", "-90", "400", "0"},
         {"1", "1", "0", "0", "0", "-90", "400", "0"},
         "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000",
         "0x0000"},
    };
    for (const ChangeCase& c : cases) {
        const auto [entry, change] = entryLines(makeNode("m", {c.from, c.to}), 0);
        EXPECT_EQ(change, c.changeLine) << c.name;
        EXPECT_EQ(entry.substr(entry.find("0x"), 6), c.flags) << c.name;
    }
}

TEST(KeyWriter, values_areTheir32BitValuesWithSixDecimals) {
    const TNode node =
        makeNode("m", {{"0", "1", "1234.567", "100.1", "-0.0000004", "-90", "400", "0.00000004"}});
    EXPECT_EQ(entryLines(node, 0).first,
              " 0:\t0\t0x0000\t1234.567017\t100.099998\t-0.000000\t-90.000000\t400.000000\t"
              "0.000000");
}

TEST(KeyWriter, lastEntry_hasNoFlagsAndZeroChanges) {
    const TNode node = makeNode(
        "m", {{"0", "1", "0", "0", "0", "0", "0", "0"}, {"1", "5", "9", "9", "9", "9", "9", "9"}});
    const auto [entry, change] = entryLines(node, 1);
    EXPECT_EQ(entry, " 1:\t1\t0x0000\t9.000000\t9.000000\t9.000000\t9.000000\t9.000000\t9.000000");
    EXPECT_EQ(change, "\t\t\t\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000\t0.000000");
}

struct FaultCase {
    Cells cells;
    const char* message;
};

TEST(KeyWriter, badCell_namesNodeEntryAndText) {
    const FaultCase cases[] = {
        {{"x", "1", "0", "0", "0", "0", "0", "0"},
         "node 1 entry 1: 'x' is not a valid integer value"},
        {{"1", "", "0", "0", "0", "0", "0", "0"},
         "node 1 entry 1: '' is not a valid integer value"},
        {{"1", "1", "0", "0", "0", "0", "abc", "0"},
         "node 1 entry 0: 'abc' is not a valid floating point value"},
    };
    for (const FaultCase& c : cases) {
        const TNode good = makeNode("g", {{"0", "1", "0", "0", "0", "0", "0", "0"}});
        const TNode bad = makeNode("b", {{"0", "1", "0", "0", "0", "0", "0", "0"}, c.cells});
        try {
            keyFileText(makeDocument({good, bad}), "x.KEY", "d", "t");
            ADD_FAILURE() << c.message;
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(KeyWriter, zeroSteps_isAnArithmeticFault) {
    const TNode node = makeNode(
        "m", {{"0", "0", "0", "0", "0", "0", "0", "0"}, {"1", "1", "1", "0", "0", "0", "0", "0"}});
    EXPECT_THROW(keyFileText(makeDocument({node}), "x", "d", "t"), MathError);
}

class KeySave : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("skyvane_keywriter_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static std::string contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path dir_;
};

TEST_F(KeySave, save_writesTheWholeText) {
    const std::string path = (dir_ / "cam.KEY").string();
    saveKeyFile(path, workedExample(), "d", "t");
    EXPECT_EQ(contents(path), keyFileText(workedExample(), "cam.KEY", "d", "t"));
}

TEST_F(KeySave, badCellInALaterNode_leavesExistingFileUntouched) {
    const std::string path = (dir_ / "cam.KEY").string();
    std::ofstream(path, std::ios::binary) << "old contents";
    TKeyDocument document = workedExample();
    document.Nodes.push_back(makeNode("b", {{"0", "1", "0", "0", "zz", "0", "0", "0"}}));
    try {
        saveKeyFile(path, document, "d", "t");
        ADD_FAILURE() << "saved a document with a bad cell";
    } catch (const ConversionError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot write file \"" + path +
                      "\": node 1 entry 0: 'zz' is not a valid floating point value");
    }
    EXPECT_EQ(contents(path), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(KeySave, missingFolder_raisesFileErrorNamingTheFile) {
    const std::string path = (dir_ / "no" / "cam.KEY").string();
    try {
        saveKeyFile(path, workedExample(), "d", "t");
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace skyvane
