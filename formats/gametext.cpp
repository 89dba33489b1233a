// The game's text lines: comments are cut before a line is looked at, so a "#" inside a line
// ends it just as it does for the game.
#include "formats/gametext.h"

#include <algorithm>
#include <optional>

#include "core/messagetext.h"
#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {

namespace {

template <typename Iterator> std::string joined(Iterator first, Iterator last) {
    std::string text;
    for (Iterator word = first; word != last; ++word) {
        if (word != first)
            text += ' ';
        text += *word;
    }
    return text;
}

// The fields in front of the first "#", which starts a comment wherever it stands.
void cutComment(std::vector<std::string_view>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t hash = fields[i].find('#');
        if (hash == std::string_view::npos)
            continue;
        fields[i] = fields[i].substr(0, hash);
        fields.resize(fields[i].empty() ? i : i + 1);
        return;
    }
}

} // namespace

std::string quotedText(std::string_view text) {
    return '"' + excerpt(text) + '"';
}

GameText::GameText(std::string_view text) : lines_(text) {}

bool GameText::tryNext() {
    while (lines_.next()) {
        fields_ = lines_.fields();
        cutComment(fields_);
        if (!fields_.empty() && fields_.front().front() != ';')
            return true;
    }
    fields_.clear();
    return false;
}

void GameText::next(std::string_view what) {
    if (!tryNext())
        fail("the file ends before " + std::string(what));
}

bool GameText::startsWith(std::initializer_list<std::string_view> keywords) const {
    return keywords.size() <= fields_.size() &&
           std::equal(keywords.begin(), keywords.end(), fields_.begin(), sameIgnoringCase);
}

bool GameText::find(std::initializer_list<std::string_view> keywords) {
    while (tryNext())
        if (startsWith(keywords))
            return true;
    return false;
}

void GameText::expect(std::initializer_list<std::string_view> keywords, std::size_t fieldCount) {
    const std::string wanted = "the \"" + joined(keywords.begin(), keywords.end()) + "\" line";
    next(wanted);
    if (!startsWith(keywords)) {
        const std::size_t shown = std::min(keywords.size(), fields_.size());
        fail("expected " + wanted + ", found " +
             quotedText(joined(fields_.begin(), fields_.begin() + shown)));
    }
    if (fields_.size() < fieldCount)
        fail(wanted + " needs " + std::to_string(fieldCount) + " fields");
}

void GameText::expectItem(std::size_t fieldCount, std::string_view what) {
    next(what);
    const std::string_view label = fields_.front();
    if (label.size() < 2 || label.back() != ':' || !tryParseInt(label.substr(0, label.size() - 1)))
        fail("expected " + std::string(what) + ", found " + quotedText(label));
    if (fields_.size() < fieldCount)
        fail(std::string(what) + " needs " + std::to_string(fieldCount) + " fields, found " +
             std::to_string(fields_.size()));
}

std::string_view GameText::field(std::size_t i) const {
    if (i >= fields_.size())
        fail("field " + std::to_string(i + 1) + " is missing");
    return fields_[i];
}

std::int32_t GameText::integer(std::size_t i) const {
    const std::optional<std::int32_t> value = tryParseInt(field(i));
    if (!value)
        fail(quotedText(fields_[i]) + " is not a whole number");
    return *value;
}

std::int32_t GameText::count(std::size_t i) const {
    const std::int32_t value = integer(i);
    if (value < 0)
        fail("the count " + std::to_string(value) + " is below 0");
    return value;
}

float GameText::number(std::size_t i) const {
    std::optional<float> value;
    try {
        value = tryParseSingle(field(i), kFileSeparator);
    } catch (const MathError&) {
        fail(quotedText(fields_[i]) + " is beyond the range of a 32-bit float");
    }
    if (!value)
        fail(quotedText(fields_[i]) + " is not a number");
    return *value;
}

Vec3f GameText::point(std::size_t first) const {
    return {number(first), number(first + 1), number(first + 2)};
}

Polygon GameText::polygon(std::size_t countField, int minCorners, int vertexCount,
                          std::string_view what) const {
    const std::string name(what);
    const int corners = integer(countField);
    if (corners < minCorners)
        fail(name + " has " + std::to_string(corners) + " corners");
    // Counted against the fields present, so a huge count never asks for memory.
    const std::size_t firstCorner = countField + 1;
    if ((fields_.size() - firstCorner) / 2 < static_cast<std::size_t>(corners))
        fail(name + " lists fewer than its " + std::to_string(corners) + " corners");
    Polygon result;
    result.reserve(static_cast<std::size_t>(corners));
    for (std::size_t c = 0; c < static_cast<std::size_t>(corners); ++c) {
        const int vertex = integer(firstCorner + 2 * c);
        if (vertex < 0 || vertex >= vertexCount)
            fail(name + " uses vertex " + std::to_string(vertex) + " of " +
                 std::to_string(vertexCount));
        result.push_back(vertex);
    }
    return result;
}

void GameText::fail(std::string_view why) const {
    failAtLine(lineNumber(), why);
}

void GameText::failAtLine(std::size_t line, std::string_view why) {
    throw FormatError("line " + std::to_string(std::max<std::size_t>(line, 1)) + ": " +
                      std::string(why));
}

} // namespace skyvane
