// The line tokenizer and forward line searches shared by the KEY and 3DO readers.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace skyvane {

// Trims characters of code 32 or below and cuts at TAB, space and comma; runs count as one.
std::vector<std::string_view> tokenizeLine(std::string_view line);

// Reads a text line by line (LF or CR LF ends a line) and searches forward for lines.
class LineSearch {
public:
    explicit LineSearch(std::string_view text);

    // Searches for the next line with exactly `fieldCount` fields whose leading fields equal
    // `keywords`. Returns false at the end of the text. With `stopEarly`, the search ends as
    // soon as only white space remains after the line just read, without examining it.
    bool find(std::size_t fieldCount, std::initializer_list<std::string_view> keywords,
              bool stopEarly = false);

    // Reads the next line whatever it holds; false at the end of the text.
    bool next();

    const std::vector<std::string_view>& fields() const { return fields_; }
    int lineNumber() const { return lineNumber_; } // 1-based number of the current line

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
    std::vector<std::string_view> fields_;
};

} // namespace skyvane
