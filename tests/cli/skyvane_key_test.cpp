// skyvane-key as other programs see it: its exact lines on standard output and error, its exit
// codes, and what resave writes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/keyfile.h"

namespace skyvane {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// One node as KEY text; each entry is "frame x y z pitch yaw roll" and the changes are zero.
std::string keyText(const std::string& mesh, const std::vector<std::string>& entries) {
    std::string text = "SECTION: HEADER\r\nFPS 15\r\nJOINTS 1\r\nSECTION: KEYFRAME NODES\r\n"
                       "NODE 0\r\nMESH NAME " +
                       mesh + "\r\nENTRIES " + std::to_string(entries.size()) + "\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        text += " " + std::to_string(i) + ": " + entries[i] + "\r\n0 0 0 0 0 0\r\n";
    return text;
}

class SkyvaneKey : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               (std::string("skyvane_key_test_") + test->name() + "_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string file(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        writeText(path, text);
        return path.string();
    }

    // Runs the program with its standard output sent to a file, or where `output` says (shell
    // redirections, or a pipe, with "%s" for the file). A watchdog ends a run that blocks.
    Outcome run(const std::vector<std::string>& args, const std::string& output = ">%s") {
        std::string command = "timeout 20 " + quoted(SKYVANE_KEY_PATH);
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        const fs::path out = dir_ / "stdout.txt";
        const fs::path err = dir_ / "stderr.txt";
        std::string redirect = output;
        if (const std::size_t at = redirect.find("%s"); at != std::string::npos)
            redirect.replace(at, 2, quoted(out.string()));
        command += " 2>" + quoted(err.string());
        // The status of a pipe is its last command's, so the program's own is kept in a file.
        const fs::path statusFile = dir_ / "status.txt";
        const bool piped = redirect.rfind("|", 0) == 0;
        command =
            piped ? "{ " + command + "; echo $? >" + quoted(statusFile.string()) + "; } " + redirect
                  : command + " " + redirect;
        const int status = std::system(command.c_str());
        Outcome result;
        result.status = piped               ? std::stoi(contents(statusFile))
                        : WIFEXITED(status) ? WEXITSTATUS(status)
                                            : -1;
        result.out = contents(out);
        result.err = contents(err);
        return result;
    }

    fs::path dir_;
};

const std::string kGood = keyText("cam", {"0 0 0 0 0 0 0 0", "30 0 1 2 3 4 5 6"});
const std::string kMalformedMesh =
    "Mesh names must have 1 to 31 characters and no blanks, commas, # or accented letters !";

TEST_F(SkyvaneKey, check_goodFilePrintsOk) {
    const std::string good = file("good.KEY", kGood);
    const Outcome r = run({"check", good});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, good + ": OK\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(SkyvaneKey, check_printsEachFaultOfEachFile) {
    const std::string frame = file("frame.KEY", keyText("cam", {"5 0 0 0 0 0 0 0"}));
    const std::string yaw = file("yaw.KEY", keyText("cam", {"0 0 0 0 0 0 400 0"}));
    const std::string both =
        file("both.KEY", keyText(std::string(32, 'm'), {"0 0 0 0 0 0 0 0", "0 0 0 0 0 0 0 0"}));
    const std::string good = file("good.KEY", kGood);
    const Outcome r = run({"check", frame, good, yaw, both});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              frame + ": node 0 entry 0 column 1: Error: Frame number of first entry must be 0\n" +
                  good + ": OK\n" + yaw +
                  ": node 0 entry 0 column 7: Error: Must be >= 0 and < 360\n" + both +
                  ": node 0 entry 1 column 1: Error: Must equal at least (Frame number + step) "
                  "of previous entry\n" +
                  both + ": node 0: " + kMalformedMesh + "\n");
}

TEST_F(SkyvaneKey, info_printsHeaderMarkersAndNodes_checkNamesAHeaderFault) {
    std::string text = kGood;
    text.replace(text.find("JOINTS 1"), 8,
                 "TYPE 0x0f\r\nFRAMES 48\r\nJOINTS 4\r\nSECTION: MARKERS\r\nMARKERS 1\r\n18 3");
    text.replace(text.find("KEYFRAME NODES"), 14, "KEYFRAME NODES\r\nNODES 1");
    text.replace(text.find("NODE 0"), 6, "NODE 2");
    const std::string swing = file("swing.KEY", text);
    const Outcome r = run({"info", swing});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "FLAGS 0x0000\nTYPE 0x000F\nFRAMES 48\nFPS 15\nJOINTS 4\nMARKERS 1\n"
                     "marker frame 18.000000 type 3 Attack\nNODES 1\n"
                     "node 0 joint 2 mesh cam entries 2 frames 0 to 30\n");
    text.replace(text.find("18 3"), 4, "49 3");
    const Outcome late = run({"check", file("late.KEY", text)});
    EXPECT_EQ(late.status, 1);
    EXPECT_EQ(late.out, dir_.string() + "/late.KEY: header: " +
                            "Markers must lie between frame 0 and the Frames count !\n");
}

// Any name a file holds is read; only names every reader finds again are checked good and
// written by resave.
TEST_F(SkyvaneKey, meshNames_onlyThoseEveryReaderAcceptsPass) {
    const struct {
        std::string mesh;
        bool good;
    } cases[] = {
        {"#cam", false},
        {"mesh#3", false},
        {"cam\xe9", false},
        {"a\x01z", false},
        {std::string(32, 'm'), false},
        {"$$dummy", true},
        {"x-wing_body.l", true},
        {std::string(31, 'm'), true},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string in =
            file("in" + std::to_string(n) + ".KEY", keyText(c.mesh, {"0 0 0 0 0 0 0 0"}));
        const std::string out = (dir_ / ("out" + std::to_string(n++) + ".KEY")).string();
        const Outcome checked = run({"check", in});
        EXPECT_EQ(checked.status, c.good ? 0 : 1) << c.mesh;
        EXPECT_EQ(checked.out, in + (c.good ? ": OK\n" : ": node 0: " + kMalformedMesh + "\n"));
        const Outcome resaved = run({"resave", in, out});
        EXPECT_EQ(resaved.status, c.good ? 0 : 1) << c.mesh;
        EXPECT_EQ(fs::exists(out), c.good) << c.mesh;
        if (c.good) {
            EXPECT_NE(contents(out).find("\r\nMESH NAME " + c.mesh + "\r\n"), std::string::npos);
        }
    }
}

TEST_F(SkyvaneKey, check_unreadableFileNamesTheLineAndGivesTwo) {
    const std::string bad = file("bad.KEY", "SECTION: HEADER\nFPS 15\nJOINTS 2\n"
                                            "SECTION: KEYFRAME NODES\nNODE 0\n\n");
    const std::string faulty = file("yaw.KEY", keyText("cam", {"0 0 0 0 0 0 400 0"}));
    const std::string missing = (dir_ / "missing.KEY").string();
    const Outcome r = run({"check", bad, faulty, missing});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, faulty + ": node 0 entry 0 column 7: Error: Must be >= 0 and < 360\n");
    const std::string expectedStart =
        bad +
        ": not a readable KEY file: line 6: the file ends before the \"MESH NAME\" line of "
        "node 0\n" +
        missing + ": not a readable KEY file: ";
    EXPECT_EQ(r.err.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(r.err.find(missing, expectedStart.size()), std::string::npos) << r.err;
}

// Into a file or onto standard output ("-"), from a file or from standard input ("-").
TEST_F(SkyvaneKey, resave_writesTheNormalisedFile) {
    const std::string in = file("in.KEY", kGood);
    const std::string out = (dir_ / "out.KEY").string();
    const KeyReadResult read = readKeyFile(in);
    ASSERT_TRUE(read.ok);
    const struct {
        std::vector<std::string> args;
        std::string redirect;
        std::string nameInFile; // the name the written file's first line gives
        bool toStandardOutput;
    } cases[] = {
        {{"resave", in, out}, ">%s", "out.KEY", false},
        {{"resave", in, "-"}, ">%s", "in.KEY", true},
        {{"resave", "-", "-"}, "<" + quoted(in) + " >%s", "-", true},
        {{"-q", "resave", "--", "-", out}, "<" + quoted(in) + " >%s", "out.KEY", false},
    };
    for (const auto& c : cases) {
        fs::remove(out);
        const Outcome r = run(c.args, c.redirect);
        EXPECT_EQ(r.status, 0) << c.nameInFile;
        EXPECT_EQ(r.err, "");
        const std::string written = c.toStandardOutput ? r.out : contents(out);
        EXPECT_EQ(c.toStandardOutput ? "" : r.out, "");
        const std::string expected = keyFileText(read.document, c.nameInFile, "DATE", "TIME");
        // Everything but the date and time of line 2 is known.
        const std::size_t line2 = written.find("\r\n") + 2;
        const std::size_t line3 = written.find("\r\n", line2) + 2;
        EXPECT_EQ(written.substr(0, line2) + written.substr(line3),
                  expected.substr(0, line2) + expected.substr(expected.find("\r\n", line2) + 2));
        const std::string dateLine = written.substr(line2, line3 - line2);
        EXPECT_EQ(dateLine.rfind("# Created on ", 0), 0u) << dateLine;
        EXPECT_NE(dateLine.find(" at "), std::string::npos) << dateLine;
        EXPECT_EQ(dateLine.substr(dateLine.size() - 13), " by Skyvane\r\n");
    }
}

// Options stand before or after the command; after "--" a name starting with "-" is a file.
TEST_F(SkyvaneKey, check_optionsAnywhereAndStandardInput) {
    const std::string good = file("good.KEY", kGood);
    const std::string yaw = file("yaw.KEY", keyText("cam", {"0 0 0 0 0 0 400 0"}));
    const std::string yawFault = yaw + ": node 0 entry 0 column 7: Error: Must be >= 0 and < 360\n";
    const struct {
        std::vector<std::string> args;
        std::string redirect;
        int status;
        std::string out;
        std::string err;
    } cases[] = {
        {{"check", good, yaw, "-q"}, ">%s", 1, yawFault, ""},
        {{"--quiet", "check", good}, ">%s", 0, "", ""},
        {{"check", "-"}, "<" + quoted(good) + " >%s", 0, "(standard input): OK\n", ""},
        {{"check", "-", good},
         "<" + quoted(yaw) + " >%s",
         1,
         "(standard input): node 0 entry 0 column 7: Error: Must be >= 0 and < 360\n" + good +
             ": OK\n",
         ""},
        {{"check", "-"},
         "</dev/null >%s",
         2,
         "",
         "(standard input): not a readable KEY file: line 1: the file ends without a "
         "\"SECTION: HEADER\" line\n"},
        {{"check", "--", "-q"},
         ">%s",
         2,
         "",
         "-q: not a readable KEY file: Cannot read file \"-q\": No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args, c.redirect);
        EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, c.out) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.err, c.err) << ::testing::PrintToString(c.args);
    }
}

TEST_F(SkyvaneKey, resave_faultOrUnreadableWritesNothing) {
    const std::string faulty = file("yaw.KEY", keyText("cam", {"0 0 0 0 0 0 400 0"}));
    const std::string unreadable = file("bad.KEY", "hello\n");
    const std::string out = (dir_ / "out.KEY").string();
    const Outcome fault = run({"resave", faulty, out});
    EXPECT_EQ(fault.status, 1);
    EXPECT_EQ(fault.out, "");
    EXPECT_EQ(fault.err, faulty + ": node 0 entry 0 column 7: Error: Must be >= 0 and < 360\n");
    const Outcome bad = run({"resave", unreadable, out});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, unreadable + ": not a readable KEY file: line 1: the file ends without a "
                                    "\"SECTION: HEADER\" line\n");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(SkyvaneKey, resave_unwritableTargetGivesTwo) {
    const std::string in = file("in.KEY", kGood);
    const std::string out = (dir_ / "no" / "out.KEY").string();
    const Outcome r = run({"resave", in, out});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
}

TEST_F(SkyvaneKey, arguments_helpVersionAndUsage) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: skyvane-key [-q] check FILE...\n", 0), 0u) << help.out;
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "skyvane-key (Skyvane) " SKYVANE_VERSION "\n");
    const std::vector<std::vector<std::string>> wrong = {
        {},           {"check"},       {"resave", "a"},    {"resave", "a", "b", "c"},
        {"fix", "a"}, {"--help", "x"}, {"--version", "x"}, {"check", "a", "--bogus"},
        {"-x"},       {"check", "--"}};
    for (const auto& args : wrong) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: skyvane-key"), std::string::npos) << r.err;
    }
    EXPECT_EQ(
        run({"check", "a", "--bogus"}).err.rfind("skyvane-key: unknown option '--bogus'\n", 0), 0u);
}

// Targets and sources that are not regular files: never read, never replaced.
TEST_F(SkyvaneKey, specialFiles_areRefusedAtOnceAndLeftAlone) {
    const std::string fifo = (dir_ / "fifo.KEY").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string device = (dir_ / "device.KEY").string();
    fs::create_symlink("/dev/null", device);
    const std::string notRegular = ": it is not a regular file\n";

    const Outcome read = run({"check", fifo, device});
    EXPECT_EQ(read.status, 2);
    EXPECT_EQ(read.err, fifo + ": not a readable KEY file: Cannot read file \"" + fifo + "\"" +
                            notRegular + device + ": not a readable KEY file: Cannot read file \"" +
                            device + "\"" + notRegular);

    const std::string in = file("in.KEY", kGood);
    const Outcome write = run({"resave", in, fifo});
    EXPECT_EQ(write.status, 2);
    EXPECT_EQ(write.err, "skyvane-key: Cannot write file \"" + fifo + "\"" + notRegular);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // Standard output into a pipe: nothing could be saved there, so nothing is reported saved.
    const Outcome pipe = run({"resave", in, "/dev/stdout"}, "| cat >%s");
    EXPECT_EQ(pipe.err, "skyvane-key: Cannot write file \"/dev/stdout\"" + notRegular);
    EXPECT_EQ(pipe.out, "");
}

TEST_F(SkyvaneKey, outputThatCannotBeWritten_givesTwoAndSaysWhy) {
    const std::string good = file("good.KEY", kGood);
    std::vector<std::string> entries;
    for (int frame = 0; frame < 1000; ++frame)
        entries.push_back(std::to_string(frame) + " 0 0 0 0 0 0 0");
    const std::string big = file("big.KEY", keyText("cam", entries));
    struct Case {
        std::vector<std::string> args;
        const char* output;
        const char* reason;
    };
    const Case cases[] = {
        {{"check", good}, ">/dev/full", "No space left on device"},
        {{"--help"}, ">/dev/full", "No space left on device"},
        {{"check", good}, ">&-", "Bad file descriptor"},
        // More than a pipe holds, to a reader that has gone.
        {{"resave", big, "-"}, "| true", "Broken pipe"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args, c.output);
        EXPECT_EQ(r.status, 2) << c.args[0] << c.output;
        EXPECT_EQ(r.err, std::string("skyvane-key: cannot write the output: ") + c.reason + "\n")
            << c.args[0] << c.output;
    }
}

TEST_F(SkyvaneKey, check_hugeFieldPrintsItsStartOnly) {
    const std::string digits(50'000'000, '7');
    const std::string huge = file("huge.KEY", keyText("cam", {"0 0 " + digits + "x 0 0 0 0 0"}));
    const Outcome r = run({"check", huge});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, huge + ": not a readable KEY file: line 8: '" + digits.substr(0, 60) +
                         "...' is not a valid floating point value\n");
}

} // namespace
} // namespace skyvane
