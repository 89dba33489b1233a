// Whole-file reads and all-or-nothing writes of 8-bit text files.
#pragma once

#include <stdexcept>
#include <string>

namespace skyvane {

// A file that could not be read or written; the message names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string readFileBytes(const std::string& path);

// Writes to a temporary file in the target's folder and renames it over the target, so an
// existing file is either replaced whole or left untouched.
void writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace skyvane
