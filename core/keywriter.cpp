// The KEY writer: the document as the keyframe text the game reads, byte for byte. The whole
// text is produced before anything touches the disk, so a cell that does not convert can never
// leave a half-written file.
#include <algorithm>
#include <array>
#include <cstdint>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "core/keymotion.h"
#include "core/numbers.h"

namespace skyvane {

namespace {

constexpr const char* kEndOfLine = "\r\n";
constexpr const char* kCredit =
    "# Made with Skyvane, a keyframe editor for Jedi Knight and Mysteries of the Sith";
constexpr const char* kSectionRule = "###############";
constexpr const char* kEntryComment = "#num:\tframe:flags:\tx:\t\ty:\t\tz:\t\tpch:\t\tyaw:\t\trol:";
constexpr const char* kChangeComment = "#\t\t\t\tdx:\t\tdy:\t\tdz:\t\tdpch:\t\tdyaw:\t\tdrol:";

class KeyText {
public:
    // Enough room for a typical document, so the text is not copied while it grows.
    explicit KeyText(const TKeyDocument& document) {
        std::size_t entries = 0;
        for (const TNode& node : document.Nodes)
            entries += static_cast<std::size_t>(std::max<int>(node.Entries, 0));
        text_.reserve(kHeaderBytes + document.Nodes.size() * kNodeBytes + entries * kEntryBytes);
    }
    void line(std::string_view text = {}) {
        text_ += text;
        text_ += kEndOfLine;
    }
    void values(const KeyValues& values) {
        for (int i = 0; i < kValueCount; ++i) {
            if (i > 0)
                text_ += '\t';
            text_ += formatPattern(values[i], kKeyValuePattern, kFileSeparator);
        }
        text_ += kEndOfLine;
    }
    std::string& raw() { return text_; }

private:
    static constexpr std::size_t kHeaderBytes = 400;
    static constexpr std::size_t kNodeBytes = 200;
    static constexpr std::size_t kEntryBytes = 160;
    std::string text_;
};

// Markers sit between the header and the nodes, in the layout the engine reads and writes.
void writeMarkers(KeyText& out, const std::vector<KeyMarker>& markers) {
    if (markers.empty())
        return;
    out.line();
    out.line();
    out.line(kSectionRule);
    out.line("SECTION: MARKERS");
    out.line();
    out.line("MARKERS " + std::to_string(markers.size()));
    out.line();
    for (const KeyMarker& marker : markers)
        out.line(formatPattern(marker.frame, kKeyValuePattern, kFileSeparator) + " " +
                 std::to_string(marker.type));
}

void writeHeader(KeyText& out, const TKeyDocument& document, std::string_view fileName,
                 std::string_view date, std::string_view time) {
    const KeyHeader& header = document.Header;
    const std::size_t nodeCount = document.Nodes.size();
    out.line("# KEYFRAME " + std::string(fileName));
    out.line("# Created on " + std::string(date) + " at " + std::string(time) + " by Skyvane");
    out.line(kCredit);
    out.line();
    out.line(kSectionRule);
    out.line("SECTION: HEADER");
    out.line();
    out.line("FLAGS  " + header.flags);
    out.line("TYPE   " + header.type);
    out.line("FRAMES " + std::to_string(keyFrameCount(document)));
    out.line("FPS    " + formatGeneral(document.Fps, kFileSeparator));
    out.line("JOINTS " + std::to_string(jointCount(document)));
    writeMarkers(out, header.markers);
    out.line();
    out.line();
    out.line(kSectionRule);
    out.line("SECTION: KEYFRAME NODES");
    out.line();
    out.line("NODES " + std::to_string(nodeCount));
    out.line();
}

void writeEntry(KeyText& out, int index, std::int32_t frame, const KeyValues& values,
                const KeyMotion& motion) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string& text = out.raw();
    text += ' ';
    text += std::to_string(index);
    text += ":\t";
    text += std::to_string(frame);
    text += "\t0x000";
    text += kHexDigits[motion.flags];
    text += '\t';
    out.values(values);
    text += "\t\t\t\t";
    out.values(motion.changes);
}

void writeNode(KeyText& out, const TNode& node, int k, std::int32_t joint) {
    out.line("NODE    " + std::to_string(joint));
    out.line("MESH NAME " + node.Mesh);
    out.line("ENTRIES " + std::to_string(node.Entries));
    out.line();
    out.line(kEntryComment);
    out.line(kChangeComment);
    KeyValues values{};
    for (int i = 0; i < node.Entries; ++i) {
        atEntry(k, i, [&] {
            // The Frame is written as its plain decimal value: the game reads it as a C float
            // and cannot take "$1F" or a sign.
            const std::int32_t frame = parseInt(node.Data.cell(ColFrame, i));
            const std::int32_t steps = parseInt(node.Data.cell(ColSteps, i));
            if (i == 0)
                values = keyValues(node.Data, i);
            // The last entry neither moves nor turns.
            KeyMotion motion;
            KeyValues next{};
            if (i + 1 < node.Entries) {
                next = keyValues(node.Data, i + 1);
                motion = keyMotion(values, next, steps);
            }
            writeEntry(out, i, frame, values, motion);
            values = next;
        });
    }
    out.line();
}

} // namespace

std::int32_t largestFrame(const EntryTable& table, int entries, int node) {
    std::int32_t largest = 0;
    for (int i = 0; i < entries; ++i)
        largest =
            std::max(largest, atEntry(node, i, [&] { return parseInt(table.cell(ColFrame, i)); }));
    return largest;
}

std::int64_t loopLength(const KeyHeader& header, std::int32_t largestFrame) {
    // A kept loop length holds the pose after the last entry; it never cuts an entry off.
    return std::max(header.frames.value_or(0), std::int64_t{largestFrame} + 1);
}

std::int64_t keyFrameCount(const TKeyDocument& document) {
    std::int32_t largest = 0;
    for (int k = 0; k < static_cast<int>(document.Nodes.size()); ++k) {
        const TNode& node = document.Nodes[k];
        largest = std::max(largest, largestFrame(node.Data, node.Entries, k));
    }
    return loopLength(document.Header, largest);
}

std::string baseFileName(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string keyFileText(const TKeyDocument& document, std::string_view fileName,
                        std::string_view date, std::string_view time) {
    KeyText out(document);
    writeHeader(out, document, baseFileName(fileName), date, time);
    for (int k = 0; k < static_cast<int>(document.Nodes.size()); ++k)
        writeNode(out, document.Nodes[k], k, nodeJoint(document, k));
    return std::move(out.raw());
}

void saveKeyFile(const std::string& path, const TKeyDocument& document, std::string_view date,
                 std::string_view time) {
    const auto notSaved = [&](const std::exception& e) {
        return "Cannot write file \"" + path + "\": " + e.what();
    };
    std::string text;
    try {
        text = keyFileText(document, path, date, time);
    } catch (const ConversionError& e) {
        throw ConversionError(notSaved(e));
    } catch (const MathError& e) {
        throw MathError(notSaved(e));
    }
    writeFileAtomically(path, text);
}

} // namespace skyvane
