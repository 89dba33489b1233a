// skyvane-key: checks and normalises KEY files in bulk, with the editor's own reader, entry
// check and writer. Other programs depend on its messages and exit codes.
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "core/fileio.h"
#include "core/keyfile.h"
#include "core/keymotion.h"
#include "core/numbers.h"
#include "core/validation.h"

namespace {

using namespace skyvane;

constexpr int kExitOk = 0;
constexpr int kExitFault = 1;
constexpr int kExitUnreadable = 2;

// "-" names standard input (check, resave) or standard output (resave).
constexpr const char* kStandardStream = "-";
constexpr const char* kStandardInputName = "(standard input)";

constexpr const char* kUsage = "Usage: skyvane-key [-q] check FILE...\n"
                               "       skyvane-key resave IN OUT\n"
                               "       skyvane-key info FILE\n"
                               "       skyvane-key --help | --version\n";

constexpr const char* kHelp =
    "Checks and normalises Jedi Knight keyframe (.KEY) files.\n"
    "\n"
    "  check FILE...   reads each FILE and prints its faults, or \"FILE: OK\"\n"
    "  resave IN OUT   reads IN and, when it has no fault, writes it anew as OUT\n"
    "                  (FPS from IN, the current date and time)\n"
    "  info FILE       prints the header, the markers and one line per node\n"
    "                  (joint, mesh name, entries, first and last Frame)\n"
    "\n"
    "A FILE or IN of - is standard input, an OUT of - standard output.\n"
    "  -q, --quiet     print only faults\n"
    "  --              take every later argument as a file name\n"
    "  -h, --help      print this help\n"
    "  --version       print the version\n"
    "\n"
    "Exit status: 0 no fault; 1 a fault was found (resave writes nothing);\n"
    "2 a file could not be read or written, the output could not be written,\n"
    "or the arguments were wrong.\n";

// The first failure to write standard output; kept because later calls may change errno.
int outputError = 0;

void writeOutput(const std::string& text) {
    if (outputError != 0)
        return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        outputError = errno != 0 ? errno : EIO;
}

void writeError(const std::string& line) {
    std::fputs((line + '\n').c_str(), stderr);
}

struct Options {
    bool quiet = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> operands; // the command, then its files
    std::string wrong;                 // an unknown option, when one was given
};

// Options may stand anywhere, also after the command; after "--" everything is an operand.
Options parseArguments(const std::vector<std::string>& args) {
    Options options;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg == kStandardStream || arg.empty() || arg[0] != '-')
            options.operands.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (arg == "-q" || arg == "--quiet")
            options.quiet = true;
        else if (arg == "-h" || arg == "--help")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (options.wrong.empty())
            options.wrong = arg;
    }
    return options;
}

// The name a file is reported under.
std::string shownName(const std::string& file) {
    return file == kStandardStream ? kStandardInputName : file;
}

KeyReadResult readKey(const std::string& file) {
    if (file != kStandardStream)
        return readKeyFile(file);
    try {
        return readKeyText(readStreamBytes(STDIN_FILENO, kStandardInputName));
    } catch (const FileError& e) {
        KeyReadResult failed;
        failed.reason = e.what();
        return failed;
    }
}

// The lines `check` prints for one document: the first entry fault and the mesh-name fault of
// each node, in node order.
std::vector<std::string> faultLines(const std::string& file, const TKeyDocument& document) {
    std::vector<std::string> lines;
    for (const NodeFaults& faults : documentFaults(document)) {
        const std::string prefix = file + ": node " + std::to_string(faults.node);
        if (const std::optional<EntryCheck>& entry = faults.entry)
            lines.push_back(prefix + " entry " + std::to_string(entry->entry) + " column " +
                            std::to_string(entry->column) + ": " + entry->message);
        if (faults.mesh != MeshNameFault::None)
            lines.push_back(prefix + ": " + meshNameMessage(faults.mesh));
    }
    if (const std::optional<std::string> header = headerFault(document))
        lines.push_back(file + ": header: " + *header);
    return lines;
}

// What `info` prints: the header, the markers and one line per node.
std::vector<std::string> infoLines(const TKeyDocument& document) {
    const KeyHeader& header = document.Header;
    std::vector<std::string> lines = {"FLAGS " + header.flags,
                                      "TYPE " + header.type,
                                      "FRAMES " + std::to_string(keyFrameCount(document)),
                                      "FPS " + formatGeneral(document.Fps, kFileSeparator),
                                      "JOINTS " + std::to_string(jointCount(document)),
                                      "MARKERS " + std::to_string(header.markers.size())};
    for (const KeyMarker& marker : header.markers)
        lines.push_back("marker frame " +
                        formatPattern(marker.frame, kKeyValuePattern, kFileSeparator) + " type " +
                        std::to_string(marker.type) + " " + markerTypeName(marker.type));
    lines.push_back("NODES " + std::to_string(document.Nodes.size()));
    for (int k = 0; k < static_cast<int>(document.Nodes.size()); ++k) {
        const TNode& node = document.Nodes[static_cast<std::size_t>(k)];
        std::string line = "node " + std::to_string(k) + " joint " +
                           std::to_string(nodeJoint(document, k)) + " mesh " + node.Mesh +
                           " entries " + std::to_string(node.Entries);
        if (node.Entries > 0)
            line += " frames " + node.Data.cell(ColFrame, 0) + " to " +
                    node.Data.cell(ColFrame, node.Entries - 1);
        lines.push_back(line);
    }
    return lines;
}

std::string unreadableLine(const std::string& file, const std::string& reason) {
    return file + ": not a readable KEY file: " + reason;
}

int check(const std::vector<std::string>& files, bool quiet) {
    bool unreadable = false;
    bool faulty = false;
    for (const std::string& file : files) {
        const std::string name = shownName(file);
        const KeyReadResult read = readKey(file);
        if (!read.ok) {
            writeError(unreadableLine(name, read.reason));
            unreadable = true;
            continue;
        }
        const std::vector<std::string> faults = faultLines(name, read.document);
        for (const std::string& line : faults)
            writeOutput(line + '\n');
        if (faults.empty() && !quiet)
            writeOutput(name + ": OK\n");
        faulty = faulty || !faults.empty();
    }
    return unreadable ? kExitUnreadable : faulty ? kExitFault : kExitOk;
}

// The current local date and time in the user's formats, as the editor writes them.
std::pair<std::string, std::string> nowTexts() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[64] = "";
    char time[64] = "";
    std::strftime(date, sizeof date, "%x", &local);
    std::strftime(time, sizeof time, "%X", &local);
    return {date, time};
}

int info(const std::string& file) {
    const std::string name = shownName(file);
    const KeyReadResult read = readKey(file);
    if (!read.ok) {
        writeError(unreadableLine(name, read.reason));
        return kExitUnreadable;
    }
    try {
        for (const std::string& line : infoLines(read.document))
            writeOutput(line + '\n');
    } catch (const ConversionError& e) { // a Frame that is no integer
        writeError(name + ": " + e.what());
        return kExitFault;
    }
    return kExitOk;
}

int resave(const std::string& in, const std::string& out) {
    const std::string name = shownName(in);
    const KeyReadResult read = readKey(in);
    if (!read.ok) {
        writeError(unreadableLine(name, read.reason));
        return kExitUnreadable;
    }
    const std::vector<std::string> faults = faultLines(name, read.document);
    if (!faults.empty()) {
        for (const std::string& line : faults)
            writeError(line);
        return kExitFault;
    }
    try {
        const auto [date, time] = nowTexts();
        if (out != kStandardStream) {
            saveKeyFile(out, read.document, date, time);
        } else {
            // The file written to standard output is named after the one it came from.
            writeOutput(keyFileText(read.document, in, date, time));
        }
    } catch (const std::runtime_error& e) { // FileError, or a value the writer cannot convert
        writeError(std::string("skyvane-key: ") + e.what());
        return kExitUnreadable;
    }
    return kExitOk;
}

int usageError(const std::string& why) {
    std::fputs(why.c_str(), stderr);
    std::fputs(kUsage, stderr);
    std::fputs("Try 'skyvane-key --help' for more information.\n", stderr);
    return kExitUnreadable;
}

int run(const std::vector<std::string>& args) {
    const Options options = parseArguments(args);
    const std::vector<std::string>& operands = options.operands;
    if (!options.wrong.empty())
        return usageError("skyvane-key: unknown option '" + options.wrong + "'\n");
    if (options.help || options.version) {
        if (!operands.empty())
            return usageError("");
        writeOutput(options.help ? std::string(kUsage) + '\n' + kHelp
                                 : std::string("skyvane-key (Skyvane) ") + SKYVANE_VERSION + '\n');
        return kExitOk;
    }
    if (operands.size() >= 2 && operands[0] == "check")
        return check({operands.begin() + 1, operands.end()}, options.quiet);
    if (operands.size() == 3 && operands[0] == "resave")
        return resave(operands[1], operands[2]);
    if (operands.size() == 2 && operands[0] == "info")
        return info(operands[1]);
    return usageError("");
}

// Output that never arrived (a full disk, a closed pipe or descriptor) is a failure: a caller
// must not take a missing report for a clean one.
int withOutputChecked(int status) {
    if (outputError == 0) {
        errno = 0;
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            outputError = errno != 0 ? errno : EIO;
    }
    if (outputError == 0)
        return status;
    writeError(std::string("skyvane-key: cannot write the output: ") + std::strerror(outputError));
    return kExitUnreadable;
}

} // namespace

int main(int argc, char** argv) {
    // Only the date and time follow the user's locale; numbers in KEY files always use '.'.
    std::setlocale(LC_TIME, "");
    // A reader that went away is reported as such ("Broken pipe") instead of ending the process
    // without a word.
    std::signal(SIGPIPE, SIG_IGN);
    return withOutputChecked(run({argv + 1, argv + argc}));
}
