// How messages quote texts from files and cells: short enough for a message box or a terminal
// line, whatever the file holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skyvane {

inline constexpr std::size_t kExcerptLength = 60;

// At most kExcerptLength characters of `text`, with "..." marking a cut; a NUL byte is shown as
// \0, so the text after it is not lost where a message is taken as a C string.
std::string excerpt(std::string_view text);

} // namespace skyvane
