// Saving a file the editor opened changes nothing that plays: documents saved with Steps equal
// to their frame distance read back with those Steps, and from the second save on every save
// writes the same bytes.
#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <random>

#include "core/keyfile.h"
#include "core/numbers.h"

namespace skyvane {
namespace {

std::vector<std::string> splitAt(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + separator.size();
    }
}

// Editor documents of every kind: values of every magnitude, moves and turns large and tiny,
// holds of single quantities and of whole entries, turns over 0 and by exactly 180 degrees,
// and Steps always equal to the distance to the next entry's Frame.
class DocumentGenerator {
public:
    explicit DocumentGenerator(unsigned seed) : random_(seed) {}

    TKeyDocument next() {
        TKeyDocument document;
        document.Fps = 30.0f;
        const int nodes = between(1, 2);
        for (int k = 0; k < nodes; ++k)
            document.Nodes.push_back(node(k));
        return document;
    }

private:
    TNode node(int k) {
        TNode result;
        result.Mesh = "mesh" + std::to_string(k);
        const int entries = between(2, 40);
        result.Entries = static_cast<std::int16_t>(entries);
        std::array<float, 6> values{};
        for (int v = 0; v < 3; ++v)
            values[v] = position();
        for (int a = 3; a < 6; ++a)
            values[a] = angle();
        std::int64_t frame = 0;
        std::int64_t steps = 1;
        for (int e = 0; e < entries; ++e) {
            // Entry e is reached over the Steps of entry e-1; one in ten is a hold.
            if (e > 0 && !chance(0.1))
                values = moved(values, steps);
            steps = e + 1 < entries ? stepCount() : 1;
            result.Data.setCell(ColFrame, e, std::to_string(frame));
            result.Data.setCell(ColSteps, e, std::to_string(steps));
            for (int v = 0; v < 6; ++v)
                result.Data.setCell(ColX + v, e, cellText(values[v]));
            frame += steps;
        }
        return result;
    }

    // The values of the next entry, reached over `steps` frames.
    std::array<float, 6> moved(std::array<float, 6> values, std::int64_t steps) {
        lastSteps_ = steps;
        for (int v = 0; v < 3; ++v)
            values[v] = nextPosition(values[v]);
        for (int a = 3; a < 6; ++a)
            values[a] = nextAngle(values[a]);
        return values;
    }

    float nextPosition(float from) {
        const double p = uniform(0, 1);
        if (p < 0.3)
            return from;
        if (p < 0.5)
            return static_cast<float>(from + signedMagnitude(1e-8, 1e-3));
        if (p < 0.8)
            return static_cast<float>(from + signedMagnitude(1e-3, 1e3));
        return position();
    }

    float nextAngle(float from) {
        const double p = uniform(0, 1);
        if (p < 0.3)
            return from;
        double turn = p < 0.5 ? signedMagnitude(1e-8, 1e-3) : uniform(-180, 180);
        // Exactly half a turn, from an angle that six decimals hold exactly (elsewhere their
        // rounding may tip a half turn to the other side, which is the writer's choice).
        if (p > 0.9 && std::ldexp(from, 6) == std::round(std::ldexp(from, 6)))
            turn = chance(0.5) ? 180 : -180;
        // A turn over 0 whose change per frame is too small for six decimals is written as no
        // change at all, so nothing could read the turn back; such a turn goes the other way.
        const bool overZero = from + turn < 0 || from + turn >= 360;
        if (overZero && std::fabs(turn) / static_cast<double>(lastSteps_) < 1e-6)
            turn = -turn;
        return wrapAngleRaiseThenLower(static_cast<float>(from + turn));
    }

    float position() {
        static const double kMagnitudes[][2] = {{0, 0},     {1e-7, 1e-3}, {1e-3, 1},   {1, 1e3},
                                                {1e3, 1e7}, {1e7, 1e20},  {1e20, 1e30}};
        const auto& range = kMagnitudes[between(0, 6)];
        return static_cast<float>(range[1] == 0 ? 0 : signedMagnitude(range[0], range[1]));
    }

    // Any angle, or one on a 1/64 degree.
    float angle() {
        const double degrees = uniform(0, 360);
        return wrapAngleRaiseThenLower(
            static_cast<float>(chance(0.5) ? degrees : std::floor(degrees * 64) / 64));
    }

    std::int64_t stepCount() {
        const double p = uniform(0, 1);
        if (p < 0.2)
            return 1;
        if (p < 0.6)
            return between(2, 30);
        if (p < 0.95)
            return between(31, 1000);
        return between(1001, 200000);
    }

    // The shortest text that reads back as the same 32-bit value, as a user might type it.
    static std::string cellText(float value) {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        return std::string(buffer, end);
    }

    // A magnitude spread evenly over the powers of ten between `low` and `high`, either sign.
    double signedMagnitude(double low, double high) {
        const double magnitude = std::pow(10.0, uniform(std::log10(low), std::log10(high)));
        return chance(0.5) ? magnitude : -magnitude;
    }

    bool chance(double p) { return uniform(0, 1) < p; }
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    int between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }

    std::mt19937 random_;
    std::int64_t lastSteps_ = 1;
};

std::vector<std::string> stepsCells(const TKeyDocument& document) {
    std::vector<std::string> cells;
    for (const TNode& node : document.Nodes)
        for (int e = 0; e < node.Entries; ++e)
            cells.push_back(node.Data.cell(ColSteps, e));
    return cells;
}

std::string written(const TKeyDocument& document) {
    return keyFileText(document, "trip.KEY", "01/01/2026", "12:00:00");
}

TEST(KeyRoundTrip, threeSaves_keepStepsAndSettleAfterTheFirst) {
    DocumentGenerator generator(20260110);
    for (int n = 0; n < 300; ++n) {
        const TKeyDocument document = generator.next();
        const std::string first = written(document);
        const KeyReadResult firstRead = readKeyText(first);
        ASSERT_TRUE(firstRead.ok) << firstRead.reason;
        const std::string second = written(firstRead.document);
        const KeyReadResult secondRead = readKeyText(second);
        ASSERT_TRUE(secondRead.ok) << secondRead.reason;
        const std::string third = written(secondRead.document);

        ASSERT_EQ(stepsCells(firstRead.document), stepsCells(document)) << "document " << n;
        ASSERT_EQ(stepsCells(secondRead.document), stepsCells(firstRead.document))
            << "document " << n;
        ASSERT_EQ(third, second) << "document " << n;
    }
}

// X 0 -> 100 and Z 0 -> 0.0002 over frames 0 -> 128: the first save writes dx 0.781250 and
// dz 0.000002, which must not decide Steps when the file is opened and saved again.
TEST(KeyRoundTrip, tinyChangeBesideLargeOne_secondSaveWritesTheSameBytes) {
    TKeyDocument document;
    document.Nodes.emplace_back();
    TNode& node = document.Nodes[0];
    node.Mesh = "ship";
    node.Entries = 2;
    const char* rows[2][8] = {{"0", "128", "0", "0", "0", "0", "0", "0"},
                              {"128", "1", "100", "0", "0.0002", "0", "0", "0"}};
    for (int e = 0; e < 2; ++e)
        for (int c = 0; c < 8; ++c)
            node.Data.setCell(ColFrame + c, e, rows[e][c]);
    const std::string first = keyFileText(document, "ship.KEY", "01/01/2026", "12:00:00");
    ASSERT_NE(first.find("\t\t\t\t0.781250\t0.000000\t0.000002\t"), std::string::npos) << first;
    const KeyReadResult read = readKeyText(first);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.document.Nodes[0].Data.cell(ColSteps, 0), "128");
    const std::string second = keyFileText(read.document, "ship.KEY", "02/02/2027", "13:00:00");
    std::vector<std::string> firstLines = splitAt(first, "\r\n");
    std::vector<std::string> secondLines = splitAt(second, "\r\n");
    EXPECT_NE(firstLines[1], secondLines[1]);
    firstLines.erase(firstLines.begin() + 1);
    secondLines.erase(secondLines.begin() + 1);
    EXPECT_EQ(secondLines, firstLines);
}

// KEY files shaped like the game's own and other tools': markers, a torso-only TYPE, FLAGS, a
// loop longer than the entries, NODES below JOINTS with the blocks in any order, lower-case
// keywords and eight decimals.
struct GameFile {
    const char* name;
    std::string flags;
    std::string type;
    int frames;
    int joints;
    int markers;
    std::vector<int> blockJoints;
    bool lowerCase;
    int decimals;
};

std::string gameFileText(const GameFile& file) {
    const auto number = [&](double value) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", file.decimals, value);
        return std::string(buffer);
    };
    std::string text = "# KEYFRAME made by another tool\n\n###############\nSECTION: HEADER\n\nFLAGS  " +
                       file.flags + "\nTYPE   " + file.type + "\nFRAMES " +
                       std::to_string(file.frames) + "\nFPS    25.000\nJOINTS " +
                       std::to_string(file.joints) + "\n";
    if (file.markers > 0) {
        text += "\n###############\nSECTION: MARKERS\n\nMARKERS " + std::to_string(file.markers) + "\n\n";
        for (int m = 0; m < file.markers; ++m)
            text += number(2.5 * m) + " " + std::to_string(m + 1) + "\n";
    }
    text += "\n###############\nSECTION: KEYFRAME NODES\n\nNODES " +
            std::to_string(file.blockJoints.size()) + "\n\n";
    for (int joint : file.blockJoints) {
        text += "NODE    " + std::to_string(joint) + "\nMESH NAME " +
                (joint == 1 ? std::string("$$$dummy") : "k_node" + std::to_string(joint)) +
                "\nENTRIES 3\n\n# num: frame: flags: x: y: z: p: y: r:\n";
        for (int i = 0; i < 3; ++i) {
            const bool last = i == 2;
            text += std::to_string(i) + ":  " + std::to_string(10 * i) + "  0x0003  " +
                    number(joint + 0.123456789 * i) + " " + number(-0.25 * i) + " " +
                    number(0.0125 * i) + " 0 " + number(10.0 * i) + " 0\n          " +
                    (last ? "0 0 0 0 0 0" : number(0.0123456789) + " " + number(-0.025) + " " +
                                                number(0.00125) + " 0 " + number(1.0) + " 0") +
                    "\n";
        }
    }
    if (file.lowerCase)
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Values as the file carries them: a file's eight decimals are six after the first save.
std::string savedValue(const std::string& cell, int column) {
    return column == ColFrame ? cell : formatPattern(parseSingle(cell), "####0.000000");
}

void expectSameContent(const TKeyDocument& a, const TKeyDocument& b, const std::string& what) {
    EXPECT_EQ(a.Header, b.Header) << what;
    EXPECT_EQ(a.Fps, b.Fps) << what;
    ASSERT_EQ(a.Nodes.size(), b.Nodes.size()) << what;
    for (std::size_t k = 0; k < a.Nodes.size(); ++k) {
        EXPECT_EQ(nodeJoint(a, static_cast<int>(k)), nodeJoint(b, static_cast<int>(k))) << what;
        EXPECT_EQ(a.Nodes[k].Mesh, b.Nodes[k].Mesh) << what;
        ASSERT_EQ(a.Nodes[k].Entries, b.Nodes[k].Entries) << what;
        for (int i = 0; i < a.Nodes[k].Entries; ++i)
            for (int c : {ColFrame, ColX, ColY, ColZ, ColPitch, ColYaw, ColRoll})
                EXPECT_EQ(savedValue(a.Nodes[k].Data.cell(c, i), c),
                          savedValue(b.Nodes[k].Data.cell(c, i), c))
                    << what << ", node " << k << " entry " << i << " column " << c;
    }
}

TEST(GameFiles, readWrittenAndReadAgain_keepEverythingTheGameUses) {
    const GameFile files[] = {
        {"torso swing, two markers", "0x0003", "0x000F", 24, 4, 2, {1, 3}, false, 6},
        {"no markers, the loop held", "0x0000", "0x7F", 48, 4, 0, {3, 1}, false, 6},
        {"eight markers, blocks reversed", "0x0", "0x007f", 31, 5, 8, {4, 3, 2, 1, 0}, false, 8},
        {"lower-case keywords", "0x0003", "0x000F", 71, 6, 3, {5, 0}, true, 8},
    };
    for (const GameFile& file : files) {
        const KeyReadResult first = readKeyText(gameFileText(file));
        ASSERT_TRUE(first.ok) << file.name << ": " << first.reason;
        EXPECT_TRUE(isFourDigitHex(first.document.Header.type)) << file.name;
        EXPECT_EQ(first.document.Header.frames, file.frames) << file.name;
        EXPECT_EQ(first.document.Header.markers.size(), static_cast<std::size_t>(file.markers));
        for (std::size_t k = 0; k < file.blockJoints.size(); ++k)
            EXPECT_EQ(nodeJoint(first.document, static_cast<int>(k)), file.blockJoints[k]);

        const std::string written = keyFileText(first.document, "x.KEY", "d", "t");
        EXPECT_NE(written.find("FRAMES " + std::to_string(file.frames) + "\r\n"), std::string::npos)
            << file.name;
        EXPECT_NE(written.find("JOINTS " + std::to_string(file.joints) + "\r\n"), std::string::npos)
            << file.name;
        const KeyReadResult second = readKeyText(written);
        ASSERT_TRUE(second.ok) << file.name << ": " << second.reason;
        expectSameContent(first.document, second.document, file.name);

        const std::string secondWrite = keyFileText(second.document, "x.KEY", "d", "t");
        const KeyReadResult third = readKeyText(secondWrite);
        ASSERT_TRUE(third.ok) << file.name << ": " << third.reason;
        EXPECT_EQ(keyFileText(third.document, "x.KEY", "d", "t"), secondWrite) << file.name;
    }
}

} // namespace
} // namespace skyvane
