// Reading the game's text files (models and levels) line by line the way the game reads them:
// blank lines and comments ("#" to the end of the line, or a line that starts with ";") are
// passed over, keywords match whatever their letter case, and fields after the ones a line
// needs are ignored. Every refusal names the line it stopped at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/geometry.h"
#include "core/linetokens.h"

namespace skyvane {

// A file that is not what its reader expects; the message says where and why.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// At most 60 characters of a text from a file, in double quotes, the cut marked with "...":
// a reason must stay readable whatever the file holds.
std::string quotedText(std::string_view text);

class GameText {
public:
    explicit GameText(std::string_view text);

    // Moves to the next line that holds a field; false at the end of the text.
    bool tryNext();
    // The same, but the end of the text is a failure: "the file ends before <what>".
    void next(std::string_view what);

    // True when the current line's leading fields are the keywords, in any letter case.
    bool startsWith(std::initializer_list<std::string_view> keywords) const;
    // Searches forward for a line that starts with the keywords; false at the end of the text.
    bool find(std::initializer_list<std::string_view> keywords);
    // The next line must start with the keywords and hold `fieldCount` fields in all.
    void expect(std::initializer_list<std::string_view> keywords, std::size_t fieldCount);
    // The next line must be item `what` of a numbered list ("7: ..." with at least
    // `fieldCount` fields).
    void expectItem(std::size_t fieldCount, std::string_view what);

    const std::vector<std::string_view>& fields() const { return fields_; }
    std::size_t lineNumber() const { return lines_.lineNumber(); }

    // Fields of the current line as numbers; text that is none is a failure naming the line.
    std::int32_t integer(std::size_t i) const;
    std::int32_t count(std::size_t i) const; // an integer of 0 or more
    float number(std::size_t i) const;       // a 32-bit float
    Vec3f point(std::size_t first) const;    // three numbers from field `first` on
    // A polygon: its corner count in field `countField`, then a vertex and a texture vertex
    // for each corner. Fewer than `minCorners` corners, a corner missing from the line, or a
    // vertex outside 0 .. vertexCount - 1 is a failure that names `what`.
    Polygon polygon(std::size_t countField, int minCorners, int vertexCount,
                    std::string_view what) const;

    [[noreturn]] void fail(std::string_view why) const;
    [[noreturn]] static void failAtLine(std::size_t line, std::string_view why);

private:
    // Field i of the current line; a line without it is a failure naming the line, so a reader
    // that asks for more than it made sure of still refuses the file rather than throwing.
    std::string_view field(std::size_t i) const;

    LineSearch lines_;
    std::vector<std::string_view> fields_;
};

} // namespace skyvane
