// The KEY reader: a forgiving, search-driven reader that skips what it does not know. It builds
// a new document and hands it over only when the whole file was read, so a bad file never
// leaves a half-filled document behind.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "core/linetokens.h"
#include "core/numbers.h"
#include "core/values.h"

namespace skyvane {

namespace {

constexpr const char* kCellPattern = "###0.00000000";
constexpr std::size_t kEntryFieldCount = 9;
using EntryValues = std::array<float, kValueCount>;
// Every node holds a full table of 1000 entries, so a few bytes per node in the file would
// otherwise ask for gigabytes. Files with more nodes than the editor shows are still read whole.
constexpr int kMaxReadNodes = 10 * kMaxNodes;

// The read stops here; the reason already names the line.
struct ReadFailure {
    std::string reason;
};

class KeyReader {
public:
    explicit KeyReader(std::string_view text) : lines_(text, LineSearch::Keywords::AnyCase) {}

    TKeyDocument read() {
        TKeyDocument document;
        const std::int32_t joints = readHeader(document);
        const std::optional<std::int32_t> blocks = nodeBlockCount();
        if (!blocks) {
            // Without a NODES line every joint has its block, numbered in order.
            for (std::int32_t k = 0; k < joints; ++k)
                document.Nodes.push_back(readNode(k, k));
        } else {
            driven_.assign(static_cast<std::size_t>(joints), false);
            for (std::int32_t b = 0; b < *blocks; ++b)
                document.Nodes.push_back(readNode(b, std::nullopt));
        }
        // A joint count the nodes give again is not kept, so it follows nodes added later.
        if (joints != static_cast<std::int32_t>(document.Nodes.size()))
            document.Header.joints = joints;
        keepLoopLength(document);
        return document;
    }

    // A reason names the line where the reader stopped.
    std::string atCurrentLine(std::string_view why) const {
        return "line " + std::to_string(std::max<std::size_t>(lines_.lineNumber(), 1)) + ": " +
               std::string(why);
    }

    [[noreturn]] void fail(std::string_view why) const { throw ReadFailure{atCurrentLine(why)}; }

private:
    // The FPS, JOINTS and section lines must come in this order; each search stops early at the
    // end. FLAGS, TYPE, FRAMES and the markers are read from the lines between.
    std::int32_t readHeader(TKeyDocument& document) {
        if (!lines_.find(2, {"SECTION:", "HEADER"}, true))
            fail("the file ends without a \"SECTION: HEADER\" line");
        const LineSearch headerStart = lines_;
        if (lines_.find(2, {"FPS"}, true))
            document.Fps = parseSingle(field(1), kFileSeparator);
        if (!lines_.find(2, {"JOINTS"}, true))
            fail("the file ends without a \"JOINTS\" line");
        const std::int32_t joints = parseInt(field(1));
        if (joints > kMaxReadNodes)
            fail("JOINTS " + std::to_string(joints) + " is more than " +
                 std::to_string(kMaxReadNodes) + " nodes");
        if (joints < 0)
            fail("JOINTS " + std::to_string(joints) + " is below 0");
        if (!lines_.find(3, {"SECTION:", "KEYFRAME", "NODES"}, true))
            fail("the file ends without a \"SECTION: KEYFRAME NODES\" line");
        const LineSearch nodesStart = lines_;
        lines_ = headerStart;
        readHeaderValues(nodesStart.lineNumber(), document.Header);
        lines_ = nodesStart;
        return joints;
    }

    // FLAGS, TYPE, FRAMES and the markers section, on the lines before `end`.
    void readHeaderValues(std::size_t end, KeyHeader& header) {
        while (lines_.lineNumber() + 1 < end && lines_.next(3)) {
            const auto& fields = lines_.fields();
            if (fields.size() != 2)
                continue;
            if (sameIgnoringCase(fields[0], "FLAGS"))
                header.flags = keptHex(fields[1]);
            else if (sameIgnoringCase(fields[0], "TYPE"))
                header.type = keptHex(fields[1]);
            else if (sameIgnoringCase(fields[0], "FRAMES"))
                // One past the largest Frame can leave the 32-bit range the engine reads; such
                // a loop length is derived again from the entries.
                header.frames = tryParseInt(fields[1]);
            else if (sameIgnoringCase(fields[0], "SECTION:") &&
                     sameIgnoringCase(fields[1], "MARKERS"))
                header.markers = readMarkers();
        }
    }

    // The engine reads "MARKERS m" and then m lines of a frame and a type.
    std::vector<KeyMarker> readMarkers() {
        need(lines_.find(2, {"MARKERS"}), "the \"MARKERS\" line");
        const std::int32_t count = parseInt(field(1));
        if (count < 0 || count > kMaxMarkers)
            fail("MARKERS " + std::to_string(count) + " is not 0 to " +
                 std::to_string(kMaxMarkers) + " markers");
        std::vector<KeyMarker> markers;
        while (static_cast<std::int32_t>(markers.size()) < count) {
            need(lines_.next(2), "marker " + std::to_string(markers.size()));
            if (lines_.fields().empty() || lines_.fields()[0].front() == '#')
                continue;
            if (lines_.fields().size() < 2)
                fail("a marker needs a frame and a type");
            markers.push_back({parseSingle(field(0), kFileSeparator), parseInt(field(1))});
        }
        return markers;
    }

    // A FRAMES longer than the entries need is the loop length; the hold after the last entry
    // is part of the animation.
    // Frames that are no integers count as 0 here: the check before saving names them.
    static void keepLoopLength(TKeyDocument& document) {
        std::int64_t entriesLength = 1;
        for (const TNode& node : document.Nodes)
            for (int i = 0; i < node.Entries; ++i)
                entriesLength = std::max<std::int64_t>(
                    entriesLength,
                    std::int64_t{tryParseInt(node.Data.cell(ColFrame, i)).value_or(0)} + 1);
        if (document.Header.frames && *document.Header.frames <= entriesLength)
            document.Header.frames.reset();
    }

    // The number after a NODES line right after the section line, if there is one.
    std::optional<std::int32_t> nodeBlockCount() {
        LineSearch ahead = lines_;
        while (ahead.next(3)) {
            const auto& fields = ahead.fields();
            if (fields.size() == 2 && sameIgnoringCase(fields[0], "NODES")) {
                lines_ = ahead;
                const std::int32_t blocks = parseInt(field(1));
                if (blocks < 0 || blocks > kMaxReadNodes)
                    fail("NODES " + std::to_string(blocks) + " is not 0 to " +
                         std::to_string(kMaxReadNodes) + " nodes");
                return blocks;
            }
            if (fields.size() == 2 && sameIgnoringCase(fields[0], "NODE"))
                break;
        }
        return std::nullopt;
    }

    // Block b of the file. With `joint`, its NODE line must carry that number as it is counted
    // ("NODE 00" is not node 0); without, the NODE line's number is the joint it drives.
    TNode readNode(std::int32_t b, std::optional<std::int32_t> joint) {
        TNode node;
        std::string nodeName;
        if (joint) {
            nodeName = "node " + std::to_string(*joint);
            need(lines_.find(2, {"NODE", std::to_string(*joint)}),
                 "the \"NODE " + std::to_string(*joint) + "\" line");
            node.Joint = *joint;
        } else {
            need(lines_.find(2, {"NODE"}), "the \"NODE\" line of node block " + std::to_string(b));
            node.Joint = parseInt(field(1));
            checkJoint(*node.Joint);
            nodeName = "node " + std::to_string(*node.Joint);
        }
        need(findMeshName(), "the \"MESH NAME\" line of " + nodeName);
        node.Mesh = std::string(field(2));
        need(lines_.find(2, {"ENTRIES"}), "the \"ENTRIES\" line of " + nodeName);
        const std::int32_t count = parseInt(field(1));
        if (count < 0 || count > kMaxEntries)
            fail("ENTRIES " + std::to_string(count) + " is not 0 to " +
                 std::to_string(kMaxEntries));
        node.Entries = static_cast<std::int16_t>(count);
        readEntries(node, nodeName);
        return node;
    }

    // The engine drives each joint from one block at most, and has no joint past JOINTS.
    void checkJoint(std::int32_t joint) {
        if (joint < 0 || static_cast<std::size_t>(joint) >= driven_.size())
            fail("joint " + std::to_string(joint) + " is not below JOINTS " +
                 std::to_string(driven_.size()));
        if (driven_[static_cast<std::size_t>(joint)])
            fail("joint " + std::to_string(joint) + " has a node block already");
        driven_[static_cast<std::size_t>(joint)] = true;
    }

    // A hexadecimal header value as four upper-case digits, or the text as it stands when it
    // is no such value (the check before saving then names it).
    static std::string keptHex(std::string_view text) {
        return fourDigitHex(text).value_or(std::string(text));
    }

    void readEntries(TNode& node, const std::string& nodeName) {
        const auto ofEntry = [&](const char* what, int entry) {
            return what + std::to_string(entry) + " of " + nodeName;
        };
        EntryValues previous{};
        for (int i = 0; i < node.Entries; ++i) {
            std::optional<EntryValues> changes;
            if (i > 0) {
                // The line right after an entry line is always its change line.
                if (!lines_.next(kValueCount))
                    fail("the file ends before " + ofEntry("the change line of entry ", i - 1));
                if (lines_.fields().size() < kValueCount)
                    fail(ofEntry("the change line of entry ", i - 1) + " needs 6 numbers");
                changes = fieldValues(0);
            }
            if (!lines_.find(kEntryFieldCount, {std::to_string(i) + ":"}))
                fail("the file ends before " + ofEntry("entry ", i));
            EntryValues values = fieldValues(3);
            for (int a = kFirstAngle; a < kValueCount; ++a)
                values[a] = raiseNegativeAngle(values[a]);
            EntryRow& row = node.Data.row(i);
            row[ColFrame] = std::string(field(1));
            if (changes)
                node.Data.setCell(
                    ColSteps, i - 1,
                    std::to_string(derivedSteps(node.Data, i, previous, values, *changes)));
            if (i == node.Entries - 1)
                row[ColSteps] = "1";
            for (int v = 0; v < kValueCount; ++v)
                row[kValueColumns[v]] = formatPattern(values[v], kCellPattern);
            previous = values;
        }
    }

    // Steps of entry i-1 from its changes towards entry i. `previous` holds entry i-1's angles
    // as adjusted, the values its cells show, so that Yaw -90 then -80 with a change of 1 gives
    // 10 and not 370.
    std::int64_t derivedSteps(const EntryTable& table, int i, const EntryValues& previous,
                              const EntryValues& current, const EntryValues& changes) const {
        std::array<long double, kValueCount> from{};
        for (int v = 0; v < kValueCount; ++v)
            from[v] = previous[v];
        // An angle that went the other way round the circle is taken from one turn earlier.
        for (int a = kFirstAngle; a < kValueCount; ++a) {
            if (changes[a] != 0 && roundHalfEven((current[a] - from[a]) / changes[a]) < 0)
                from[a] += changes[a] < 0 ? 360 : -360;
        }
        std::array<long double, kValueCount> differences{};
        for (int v = 0; v < kValueCount; ++v)
            differences[v] = current[v] - from[v];
        const std::optional<std::int64_t> distance = frameDistance(table, i);
        // The writer divides by Steps, and it saves Steps equal to the frame distance unless
        // told otherwise: taking the distance whenever it fits keeps every later save the same.
        if (distance && agreesWithDistance(differences, changes, *distance))
            return *distance;
        const std::optional<int> decisive = largestChange(changes);
        if (!decisive)
            return 1;
        std::int64_t steps = roundHalfEven(differences[*decisive] / changes[*decisive]);
        if (distance && (steps < 1 || steps > *distance))
            steps = *distance;
        return steps;
    }

    // Frame(i) - Frame(i-1) when both Frame texts are integers and the distance is at least 1.
    static std::optional<std::int64_t> frameDistance(const EntryTable& table, int i) {
        const std::optional<std::int32_t> frame = tryParseInt(table.cell(ColFrame, i - 1));
        const std::optional<std::int32_t> nextFrame = tryParseInt(table.cell(ColFrame, i));
        if (!frame || !nextFrame)
            return std::nullopt;
        const std::int64_t distance = std::int64_t{*nextFrame} - *frame;
        return distance >= 1 ? std::optional<std::int64_t>(distance) : std::nullopt;
    }

    // Whether every change times the distance reaches the next value within what six decimals
    // and 32-bit storage of the change can have lost, zero changes included (a hold).
    static bool agreesWithDistance(const std::array<long double, kValueCount>& differences,
                                   const EntryValues& changes, std::int64_t distance) {
        const long double d = static_cast<long double>(distance);
        for (int v = 0; v < kValueCount; ++v) {
            const long double change = changes[v];
            const long double tolerance = d * (1e-6L + std::fabs(change) * 0x1p-22L) + 4e-6L;
            if (!(std::fabs(differences[v] - change * d) <= tolerance))
                return false;
        }
        return true;
    }

    // The change of largest magnitude, the most precise in six decimals; of equal magnitudes
    // the last. None when every change is 0.
    static std::optional<int> largestChange(const EntryValues& changes) {
        std::optional<int> largest;
        for (int v = 0; v < kValueCount; ++v) {
            if (changes[v] != 0 &&
                (!largest || std::fabs(changes[v]) >= std::fabs(changes[*largest])))
                largest = v;
        }
        return largest;
    }

    EntryValues fieldValues(std::size_t first) const {
        EntryValues values{};
        for (int v = 0; v < kValueCount; ++v)
            values[v] = parseSingle(field(first + v), kFileSeparator);
        return values;
    }

    std::string_view field(std::size_t index) const { return lines_.fields().at(index); }

    // The search for a node's "MESH NAME m" line. A name holding a blank or a comma splits into
    // more fields and is passed over, as every KEY reader does; the first such line is kept, as
    // it is the likely reason a later search runs to the end of the file.
    bool findMeshName() {
        while (lines_.next(4)) {
            const std::vector<std::string_view>& fields = lines_.fields();
            if (fields.size() < 3 || !sameIgnoringCase(fields[0], "MESH") ||
                !sameIgnoringCase(fields[1], "NAME"))
                continue;
            if (fields.size() == 3)
                return true;
            if (passedMeshNameLine_ == 0)
                passedMeshNameLine_ = lines_.lineNumber();
        }
        return false;
    }

    void need(bool found, const std::string& what) const {
        if (found)
            return;
        if (passedMeshNameLine_ != 0)
            throw ReadFailure{"line " + std::to_string(passedMeshNameLine_) +
                              ": a mesh name with a blank or a comma is not read, and the file "
                              "ends before " +
                              what};
        fail("the file ends before " + what);
    }

    LineSearch lines_;
    std::vector<bool> driven_; // which joints have a block, while blocks carry joint numbers
    std::size_t passedMeshNameLine_ = 0; // 0 while no mesh-name line was passed over
};

} // namespace

KeyReadResult readKeyText(std::string_view text) {
    KeyReadResult result;
    KeyReader reader(text);
    try {
        result.document = reader.read();
        result.ok = true;
    } catch (const ReadFailure& failure) {
        result.reason = failure.reason;
    } catch (const ConversionError& e) {
        result.reason = reader.atCurrentLine(e.what());
    } catch (const MathError& e) {
        result.reason = reader.atCurrentLine(e.what());
    }
    return result;
}

KeyReadResult readKeyFile(const std::string& path) {
    std::string text;
    try {
        text = readFileBytes(path);
    } catch (const FileError& e) {
        KeyReadResult result;
        result.reason = e.what();
        return result;
    }
    return readKeyText(text);
}

} // namespace skyvane
