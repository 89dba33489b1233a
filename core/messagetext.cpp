// Excerpts of texts for messages.
#include "core/messagetext.h"

namespace skyvane {

std::string excerpt(std::string_view text) {
    const std::string_view shown = text.substr(0, kExcerptLength);
    std::string result;
    result.reserve(shown.size() + 3);
    for (const char c : shown) {
        if (c == '\0')
            result += "\\0";
        else
            result += c;
    }
    if (text.size() > kExcerptLength)
        result += "...";
    return result;
}

} // namespace skyvane
