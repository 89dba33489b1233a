// skyvane-key: checks and normalises KEY files in bulk, with the editor's own reader, entry
// check and writer. Other programs depend on its messages and exit codes.
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "fileio.h"
#include "keyfile.h"
#include "keymotion.h"
#include "numbers.h"
#include "validation.h"

namespace {

using namespace skyvane;

constexpr int kExitOk = 0;
constexpr int kExitFault = 1;
constexpr int kExitUnreadable = 2;

constexpr const char* kUsage = "Usage: skyvane-key check FILE...\n"
                               "       skyvane-key resave IN OUT\n"
                               "       skyvane-key info FILE\n"
                               "       skyvane-key --help\n";

constexpr const char* kHelp =
    "Checks and normalises Jedi Knight keyframe (.KEY) files.\n"
    "\n"
    "  check FILE...   reads each FILE and prints its faults, or \"FILE: OK\"\n"
    "  resave IN OUT   reads IN and, when it has no fault, writes it anew as OUT\n"
    "                  (FPS from IN, the current date and time)\n"
    "  info FILE       prints the header, the markers and one line per node\n"
    "                  (joint, mesh name, entries, first and last Frame)\n"
    "\n"
    "Exit status: 0 no fault; 1 a fault was found (resave writes nothing);\n"
    "2 a file could not be read or written, the output could not be written,\n"
    "or the arguments were wrong.\n";

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
    const std::int32_t joints =
        header.joints.value_or(static_cast<std::int32_t>(document.Nodes.size()));
    std::vector<std::string> lines = {
        "FLAGS " + header.flags, "TYPE " + header.type,
        "FRAMES " + std::to_string(keyFrameCount(document)),
        "FPS " + formatGeneral(document.Fps, kKeyFileSeparator), "JOINTS " + std::to_string(joints),
        "MARKERS " + std::to_string(header.markers.size())};
    for (const KeyMarker& marker : header.markers)
        lines.push_back("marker frame " + formatPattern(marker.frame, kKeyValuePattern, kKeyFileSeparator) +
                        " type " + std::to_string(marker.type) + " " +
                        markerTypeName(marker.type));
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

int check(const std::vector<std::string>& files) {
    bool unreadable = false;
    bool faulty = false;
    for (const std::string& file : files) {
        const KeyReadResult read = readKeyFile(file);
        if (!read.ok) {
            std::cout << unreadableLine(file, read.reason) << '\n';
            unreadable = true;
            continue;
        }
        const std::vector<std::string> faults = faultLines(file, read.document);
        for (const std::string& line : faults)
            std::cout << line << '\n';
        if (faults.empty())
            std::cout << file << ": OK\n";
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
    const KeyReadResult read = readKeyFile(file);
    if (!read.ok) {
        std::cerr << unreadableLine(file, read.reason) << '\n';
        return kExitUnreadable;
    }
    try {
        for (const std::string& line : infoLines(read.document))
            std::cout << line << '\n';
    } catch (const ConversionError& e) { // a Frame that is no integer
        std::cerr << file << ": " << e.what() << '\n';
        return kExitFault;
    }
    return kExitOk;
}

int resave(const std::string& in, const std::string& out) {
    const KeyReadResult read = readKeyFile(in);
    if (!read.ok) {
        std::cerr << unreadableLine(in, read.reason) << '\n';
        return kExitUnreadable;
    }
    const std::vector<std::string> faults = faultLines(in, read.document);
    if (!faults.empty()) {
        for (const std::string& line : faults)
            std::cerr << line << '\n';
        return kExitFault;
    }
    try {
        const auto [date, time] = nowTexts();
        saveKeyFile(out, read.document, date, time);
    } catch (const std::runtime_error& e) { // FileError, or a value the writer cannot convert
        std::cerr << "skyvane-key: " << e.what() << '\n';
        return kExitUnreadable;
    }
    return kExitOk;
}

int usageError() {
    std::cerr << kUsage << "Try 'skyvane-key --help' for more information.\n";
    return kExitUnreadable;
}

int run(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage << '\n' << kHelp;
        return kExitOk;
    }
    if (args.size() >= 2 && args[0] == "check")
        return check({args.begin() + 1, args.end()});
    if (args.size() == 3 && args[0] == "resave")
        return resave(args[1], args[2]);
    if (args.size() == 2 && args[0] == "info")
        return info(args[1]);
    return usageError();
}

// Output that never arrived (a full disk, a closed pipe or descriptor) is a failure: a caller
// must not take a missing report for a clean one.
int withOutputChecked(int status) {
    errno = 0;
    const bool written = std::cout.flush() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (written)
        return status;
    const int error = errno != 0 ? errno : EIO;
    std::cerr << "skyvane-key: cannot write the output: " << std::strerror(error) << '\n';
    return kExitUnreadable;
}

} // namespace

int main(int argc, char** argv) {
    // Only the date and time follow the user's locale; numbers in KEY files always use '.'.
    std::setlocale(LC_TIME, "");
    return withOutputChecked(run({argv + 1, argv + argc}));
}
