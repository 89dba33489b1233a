// Whole-file reads and all-or-nothing writes over POSIX calls, so every failure carries the
// reason the system gave.
#include "fileio.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skyvane {

namespace {

long systemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

WriteFunction writeFunction = systemWrite;

[[noreturn]] void failRead(const std::string& path, const std::string& reason) {
    throw FileError("Cannot read file \"" + path + "\": " + reason);
}

[[noreturn]] void failRead(const std::string& path, int error) {
    failRead(path, std::strerror(error));
}

[[noreturn]] void failTooLarge(const std::string& path) {
    failRead(path, "it is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
}

[[noreturn]] void failWrite(const std::string& path, int error) {
    throw FileError("Cannot write file \"" + path + "\": " + std::strerror(error));
}

// Closes the descriptor when the scope is left early.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closing can report a failed write-back of data, so it is checked.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The temporary file of a save: removed again unless the save got as far as renaming it.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& folder) : name_(folder + "/.skyvane-XXXXXX") {
        fd_ = ::mkstemp(name_.data());
    }
    ~TemporaryFile() {
        if (!renamed_ && fd_ >= 0) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    int renameTo(const std::string& target) {
        const int result = ::rename(name_.c_str(), target.c_str());
        renamed_ = result == 0;
        return result;
    }

private:
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

// Saving through a symbolic link replaces the file it points to and keeps the link.
std::string resolveLink(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::vector<char> resolved(PATH_MAX);
    return ::realpath(path.c_str(), resolved.data()) ? std::string(resolved.data()) : path;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// An existing file keeps its permission bits; a new one gets what the umask allows (read by
// setting it and back: the program has one thread).
mode_t modeFor(const struct stat* existing) {
    if (existing) {
        return existing->st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long written = writeFunction(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            failWrite(path, errno);
        }
        if (written == 0) {
            failWrite(path, EIO);
        }
        done += static_cast<std::size_t>(written);
    }
}

// Makes the rename itself durable; the file is already saved, so a failure here changes nothing.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string readFileBytes(const std::string& path) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        failRead(path, errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        failRead(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        failRead(path, EISDIR);
    }
    std::string bytes;
    if (S_ISREG(info.st_mode)) {
        if (static_cast<std::size_t>(info.st_size) > kMaxFileBytes) {
            failTooLarge(path);
        }
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            failRead(path, errno);
        }
        if (count == 0) {
            return bytes;
        }
        if (bytes.size() + static_cast<std::size_t>(count) > kMaxFileBytes) {
            failTooLarge(path); // a pipe or device that gives more than a file may hold
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

void writeFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string target = resolveLink(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        failWrite(path, EISDIR);
    }
    // The rename would replace a write-protected file all the same: refuse, as opening it would.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        failWrite(path, errno);
    }

    const std::string folder = folderOf(target);
    TemporaryFile temporary(folder);
    if (temporary.fd() < 0) {
        failWrite(path, errno);
    }
    Descriptor file(temporary.fd());
    if (::fchmod(file.get(), modeFor(exists ? &existing : nullptr)) != 0) {
        failWrite(path, errno);
    }
    writeAll(file.get(), bytes, path);
    if (::fsync(file.get()) != 0 || file.close() != 0) {
        failWrite(path, errno);
    }
    if (temporary.renameTo(target) != 0) {
        failWrite(path, errno);
    }
    syncFolder(folder);
}

WriteFunction setWriteFunction(WriteFunction write) {
    const WriteFunction previous = writeFunction;
    writeFunction = write ? write : systemWrite;
    return previous;
}

} // namespace skyvane
