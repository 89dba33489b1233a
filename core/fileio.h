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

// The whole file. Throws FileError ("Cannot read file \"PATH\": REASON"), also for a folder.
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
