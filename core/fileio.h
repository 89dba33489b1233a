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

// KEY and 3DO files are small (a full 50-node KEY file is about 7 MB); larger files are
// refused rather than read into memory.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

// The whole file. Throws FileError ("Cannot read file \"PATH\": REASON"), also for a folder
// and for a file of more than kMaxFileBytes.
std::string readFileBytes(const std::string& path);

// Writes to a temporary file in the target's folder and renames it over the target, so an
// existing file is either replaced whole or left untouched. A symbolic link is followed and
// stays a link; an existing file keeps its permission bits, and one without write permission is
// refused. Throws FileError ("Cannot write file \"PATH\": REASON").
void writeFileAtomically(const std::string& path, const std::string& bytes);

// The call that writes the saved bytes (POSIX write by default). Tests replace it to make a
// save fail part-way; returns the previous one.
using WriteFunction = long (*)(int fd, const void* data, std::size_t size);
WriteFunction setWriteFunction(WriteFunction write);

} // namespace skyvane
