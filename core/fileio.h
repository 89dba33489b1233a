// Whole-file reads and all-or-nothing writes of 8-bit text files.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace skyvane {

// A file that could not be read or written; the message names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every file the KEY writer produces from a document the KEY reader accepts must read back.
// The largest such document has 500 nodes of 1000 entries. Written out, an entry takes at most
// 355 bytes: its line " 999:\t-2147483648\t0x0003\t" (25) and its change line "\t\t\t\t" (4)
// each carry six numbers of at most 26 characters ("-999999984306749440.000000": 18 integer
// digits, a sign and six decimals; from 1e18 on the shorter general format is used), five TABs
// and CR LF. That is 177.5 MB of entries; node and header lines add well under 1 MB (mesh names
// of at most 31 characters, a file name of at most 255). The limit leaves room above that and
// still refuses files no editor writes.
inline constexpr std::size_t kMaxFileBytes = std::size_t{192} << 20;

// The whole file. Throws FileError ("Cannot read file \"PATH\": REASON"), also for a file of
// more than kMaxFileBytes and for anything that is not a regular file ("it is not a regular
// file"; a folder gives the system's "Is a directory"). A symbolic link to a regular file is
// read; a FIFO, socket or device is refused without being opened, so reading never blocks.
std::string readFileBytes(const std::string& path);

// Everything left to read from an open descriptor, such as standard input, under the same size
// limit; `name` stands for the file in the FileError.
std::string readStreamBytes(int fd, const std::string& name);

// Writes to a temporary file in the target's folder and puts it in place of the target, so an
// existing file is either replaced whole or left untouched. Symbolic links are followed and stay
// links, also a dangling one, whose target is created. Only regular files are written: an
// existing target that is anything else is refused ("it is not a regular file") and left as it
// is. An existing file keeps its permission bits (never set-user-ID or set-group-ID) and, where
// the process may, its owner and group; one without write permission is refused. Throws
// FileError ("Cannot write file \"PATH\": REASON"); a refused or failed save leaves no file
// behind.
void writeFileAtomically(const std::string& path, const std::string& bytes);

// The call that writes the saved bytes (POSIX write by default). Tests replace it to make a
// save fail part-way; returns the previous one.
using WriteFunction = long (*)(int fd, const void* data, std::size_t size);
WriteFunction setWriteFunction(WriteFunction write);

// Whether a save first tries an unnamed temporary file (Linux O_TMPFILE, linked into place once
// complete), so a save killed part-way leaves nothing behind. On by default; where the system or
// file system does not allow it, a named hidden file beside the target is used instead. Tests
// switch it off to reach that way; returns the previous setting.
bool setUnnamedTemporaryFiles(bool enabled);

} // namespace skyvane
