// The line tokenizer and the forward searches that both readers build on.
#include <gtest/gtest.h>

#include "core/linetokens.h"

namespace skyvane {
namespace {

using Fields = std::vector<std::string_view>;

TEST(LineTokens, tokenizeLine_cutsAtTabSpaceCommaAndTrimsControlCharacters) {
    const std::pair<std::string_view, Fields> cases[] = {
        {"", {}},
        {" \t ", {}},
        {" , ,\t,", {}},
        {"a", {"a"}},
        {"  NODE    12  ", {"NODE", "12"}},
        {"a\t\tb,,c , d", {"a", "b", "c", "d"}},
        {",a,", {"a"}},
        {"\x01\x1f"
         "a\x7f\x20\r",
         {"a\x7f"}},
        {"a\x01"
         "b\rc",
         {"a\x01"
          "b\rc"}},
        {"\xe9t\xe9 x", {"\xe9t\xe9", "x"}},
        {"1;2|3", {"1;2|3"}},
        {" 0:\t0\t0x0003\t0.000000", {"0:", "0", "0x0003", "0.000000"}},
    };
    for (const auto& [line, fields] : cases)
        EXPECT_EQ(tokenizeLine(line), fields) << '"' << line << '"';
}

TEST(LineTokens, find_matchesFieldCountAndLeadingKeywordsExactly) {
    LineSearch lines("MESH NAME a b\nmesh name c\nMESH NAME\nMESH NAME d\nMESH NAME e\n");
    ASSERT_TRUE(lines.find(3, {"MESH", "NAME"}));
    EXPECT_EQ(lines.fields(), (Fields{"MESH", "NAME", "d"}));
    EXPECT_EQ(lines.lineNumber(), 4u);
    // The next search starts on the line after the one found.
    ASSERT_TRUE(lines.find(3, {"MESH", "NAME"}));
    EXPECT_EQ(lines.fields().back(), "e");
    EXPECT_FALSE(lines.find(3, {"MESH", "NAME"}));
    EXPECT_TRUE(lines.fields().empty());
    EXPECT_EQ(lines.lineNumber(), 5u);
}

TEST(LineTokens, lines_endAtLfAndDropOneCr) {
    LineSearch lines("a 1\r\nb\r2\r\r\nc 3");
    ASSERT_TRUE(lines.next());
    EXPECT_EQ(lines.fields(), (Fields{"a", "1"}));
    ASSERT_TRUE(lines.next());
    EXPECT_EQ(lines.fields(), (Fields{"b\r2"}));
    ASSERT_TRUE(lines.next());
    EXPECT_EQ(lines.fields(), (Fields{"c", "3"}));
    EXPECT_EQ(lines.lineNumber(), 3u);
    EXPECT_FALSE(lines.next());
}

TEST(LineTokens, next_keepsAtMostTheFieldsAskedFor) {
    LineSearch lines("1 2 3 4 5 6 7 8\n\n");
    ASSERT_TRUE(lines.next(6));
    EXPECT_EQ(lines.fields(), (Fields{"1", "2", "3", "4", "5", "6"}));
    ASSERT_TRUE(lines.next());
    EXPECT_TRUE(lines.fields().empty());
    EXPECT_FALSE(lines.next());
}

struct EarlyStopCase {
    const char* name;
    const char* text;
    bool found;
    std::size_t lineNumber;
};

TEST(LineTokens, earlyStop_neverExaminesTheLastNonBlankLine) {
    const EarlyStopCase cases[] = {
        {"match before the last line", "FPS 15\nJOINTS 1\n", true, 1},
        {"match on the last line", "x\nFPS 15", false, 2},
        {"match followed by blank lines", "FPS 15\r\n \r\n\t\r\n", false, 1},
        {"match followed by control characters", "FPS 15\n\x01\x02", false, 1},
        {"empty text", "", false, 0},
        {"only blank lines", "\n\n\n", false, 1},
    };
    for (const EarlyStopCase& c : cases) {
        LineSearch lines(c.text);
        EXPECT_EQ(lines.find(2, {"FPS"}, true), c.found) << c.name;
        EXPECT_EQ(lines.lineNumber(), c.lineNumber) << c.name;
        LineSearch plain(c.text);
        EXPECT_EQ(plain.find(2, {"FPS"}), std::string_view(c.text).find("FPS") != std::string::npos)
            << c.name;
    }
}

} // namespace
} // namespace skyvane
