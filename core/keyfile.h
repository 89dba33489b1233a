// KEY files: the writer (text produced whole, then saved all or nothing) and the reader
// (builds a new document, handed over only on success).
#pragma once

#include <string>
#include <string_view>

#include "core/document.h"

namespace skyvane {

// The file name without its folder: the part after the last '/', '\' or ':'.
std::string baseFileName(std::string_view path);

// The largest Frame among the first `entries` entries of a node's table, 0 without entries.
// Throws ConversionError naming node and entry for a Frame that is no integer.
std::int32_t largestFrame(const EntryTable& table, int entries, int node);

// The loop length: the kept FRAMES of the header, but never less than the largest Frame plus one.
std::int64_t loopLength(const KeyHeader& header, std::int32_t largestFrame);

// FRAMES of the file: the largest Frame over all entries of all nodes, plus one (1 without
// entries), or the kept loop length when that is longer. Throws ConversionError naming node and entry for a Frame that is no integer.
std::int64_t keyFrameCount(const TKeyDocument& document);

// The whole KEY text, CR LF line ends, '.' as decimal separator. Throws ConversionError for a
// cell that does not parse and MathError for an arithmetic fault.
std::string keyFileText(const TKeyDocument& document, std::string_view fileName,
                        std::string_view date, std::string_view time);

// keyFileText, then an all-or-nothing write; throws FileError naming the file on failure.
void saveKeyFile(const std::string& path, const TKeyDocument& document, std::string_view date,
                 std::string_view time);

struct KeyReadResult {
    bool ok = false;
    TKeyDocument document; // valid only when ok; cells formatted as the editor shows them
    std::string reason;    // when not ok: where the reader stopped and why, naming the line
};

KeyReadResult readKeyText(std::string_view text);
// Reads the file; an unreadable file gives ok == false with the file error as reason.
KeyReadResult readKeyFile(const std::string& path);

} // namespace skyvane
