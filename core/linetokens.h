// The line tokenizer and forward line searches shared by the KEY and 3DO readers.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace skyvane {

// Keywords and names of the game's files are equal whatever their (ASCII) letter case.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// Trims characters of code 32 or below and cuts at TAB, space and comma; runs count as one.
std::vector<std::string_view> tokenizeLine(std::string_view line);

// Reads a text line by line (LF ends a line, a CR before it is dropped) and searches forward
// for lines. The fields of the current line point into the text, which must outlive the search.
class LineSearch {
public:
    // The game reads KEY keywords in any letter case; 3DO keywords are compared exactly.
    enum class Keywords { ExactCase, AnyCase };
    explicit LineSearch(std::string_view text, Keywords keywords = Keywords::ExactCase);

    // Searches for the next line with exactly `fieldCount` fields whose leading fields equal
    // `keywords`. Returns false at the end of the text. With `stopEarly`, the search ends as
    // soon as only white space remains after the line just read, without examining it.
    bool find(std::size_t fieldCount, std::initializer_list<std::string_view> keywords,
              bool stopEarly = false);

    // Reads the next line whatever it holds, keeping at most `maxFields` of its fields; false at
    // the end of the text.
    bool next(std::size_t maxFields = std::numeric_limits<std::size_t>::max());

    // True once nothing but characters of code 32 or below is left after the current line.
    bool onlyWhiteSpaceLeft() const { return pos_ >= lastNonWhite_; }

    const std::vector<std::string_view>& fields() const { return fields_; }
    std::size_t lineNumber() const { return lineNumber_; } // 1-based number of the current line

private:
    std::string_view readLine();

    std::string_view text_;
    Keywords keywords_;
    std::size_t pos_ = 0;
    std::size_t lastNonWhite_ = 0; // one past the last non-white character of the text
    std::size_t lineNumber_ = 0;
    std::vector<std::string_view> fields_;
};

} // namespace skyvane
