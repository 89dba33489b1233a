// Line tokenizer and forward searches. Everything here is linear in the text: a search looks
// at each character a bounded number of times and keeps no more fields than it compares, so
// a huge single line or a file of delimiters costs no more than reading it.
#include "core/linetokens.h"

#include <algorithm>

namespace skyvane {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool isDelimiter(char c) {
    return c == '\t' || c == ' ' || c == ',';
}

std::string_view trimmed(std::string_view line) {
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    return line.substr(begin, end - begin);
}

// Fills `fields` with at most `limit` fields of the line; a caller comparing a field count
// asks for one more than it needs, which is enough to tell "too many".
void tokenizeInto(std::string_view line, std::vector<std::string_view>& fields, std::size_t limit) {
    fields.clear();
    const std::string_view text = trimmed(line);
    std::size_t pos = 0;
    while (fields.size() < limit) {
        while (pos < text.size() && isDelimiter(text[pos]))
            ++pos;
        if (pos == text.size())
            break;
        const std::size_t start = pos;
        while (pos < text.size() && !isDelimiter(text[pos]))
            ++pos;
        fields.push_back(text.substr(start, pos - start));
    }
}

} // namespace

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<std::string_view> tokenizeLine(std::string_view line) {
    std::vector<std::string_view> fields;
    tokenizeInto(line, fields, std::numeric_limits<std::size_t>::max());
    return fields;
}

LineSearch::LineSearch(std::string_view text, Keywords keywords)
    : text_(text), keywords_(keywords) {
    const auto lastWhite = std::find_if_not(text_.rbegin(), text_.rend(), isBlank);
    lastNonWhite_ = static_cast<std::size_t>(text_.rend() - lastWhite);
}

std::string_view LineSearch::readLine() {
    const std::size_t end = std::min(text_.find('\n', pos_), text_.size());
    std::string_view line = text_.substr(pos_, end - pos_);
    pos_ = end < text_.size() ? end + 1 : end;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    ++lineNumber_;
    return line;
}

bool LineSearch::find(std::size_t fieldCount, std::initializer_list<std::string_view> keywords,
                      bool stopEarly) {
    while (pos_ < text_.size()) {
        const std::string_view line = readLine();
        if (stopEarly && onlyWhiteSpaceLeft())
            break;
        tokenizeInto(line, fields_, fieldCount + 1);
        if (fields_.size() == fieldCount && keywords.size() <= fieldCount &&
            (keywords_ == Keywords::ExactCase
                 ? std::equal(keywords.begin(), keywords.end(), fields_.begin())
                 : std::equal(keywords.begin(), keywords.end(), fields_.begin(), sameIgnoringCase)))
            return true;
    }
    fields_.clear();
    return false;
}

bool LineSearch::next(std::size_t maxFields) {
    if (pos_ >= text_.size()) {
        fields_.clear();
        return false;
    }
    tokenizeInto(readLine(), fields_, maxFields);
    return true;
}

} // namespace skyvane
