// Whole-file reads and all-or-nothing writes over POSIX calls, so every failure carries the
// reason the system gave.
#include "core/fileio.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skyvane {

namespace {

constexpr const char* kNotRegular = "it is not a regular file";
// As many links as the system follows before it reports a loop.
constexpr int kMaxLinkDepth = 40;

long systemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

WriteFunction writeFunction = systemWrite;
bool unnamedTemporaryFiles = true;

[[noreturn]] void failRead(const std::string& path, const std::string& reason) {
    throw FileError("Cannot read file \"" + path + "\": " + reason);
}

[[noreturn]] void failRead(const std::string& path, int error) {
    failRead(path, std::strerror(error));
}

[[noreturn]] void failTooLarge(const std::string& path) {
    failRead(path, "it is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
}

[[noreturn]] void failWrite(const std::string& path, const std::string& reason) {
    throw FileError("Cannot write file \"" + path + "\": " + reason);
}

[[noreturn]] void failWrite(const std::string& path, int error) {
    failWrite(path, std::strerror(error));
}

// Why a file of this kind cannot be read or written, or nothing for a regular file.
std::optional<std::string> notAFileReason(const struct stat& info) {
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    return S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : kNotRegular;
}

// Closes the descriptor when the scope is left early.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
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

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name a symbolic link points to, taken relative to the link's folder.
std::string readLink(const std::string& link, const std::string& path) {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (length < 0)
        failWrite(path, errno);
    if (static_cast<std::size_t>(length) == buffer.size())
        failWrite(path, ENAMETOOLONG);
    const std::string target(buffer.data(), static_cast<std::size_t>(length));
    return !target.empty() && target.front() == '/' ? target : folderOf(link) + "/" + target;
}

// The file a save replaces: symbolic links are followed to their end, also when that end does
// not exist yet, so a link stays a link and the file it names is written.
std::string followLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0;; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        if (depth == kMaxLinkDepth)
            failWrite(path, ELOOP);
        current = readLink(current, path);
    }
}

// What a save is about to replace: the file's name after the links, and its state when it
// exists. Anything but a regular file is refused before a temporary file is made.
struct SaveTarget {
    std::string file;
    std::optional<struct stat> existing;
};

SaveTarget saveTarget(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // A missing file, or a dangling link, is created; a link loop or a missing folder is
        // reported as the system names it.
        if (errno != ENOENT)
            failWrite(path, errno);
        return {followLinks(path), std::nullopt};
    }
    if (const std::optional<std::string> reason = notAFileReason(info))
        failWrite(path, *reason);
    SaveTarget target{followLinks(path), info};
    // The rename would replace a write-protected file all the same: refuse, as opening it would.
    if (::faccessat(AT_FDCWD, target.file.c_str(), W_OK, AT_EACCESS) != 0)
        failWrite(path, errno);
    return target;
}

// An existing file keeps its permission bits but never set-user-ID or set-group-ID, which must
// not pass to content the program wrote; a new one gets what the umask allows (read by setting
// it and back: the program has one thread).
mode_t modeFor(const std::optional<struct stat>& existing) {
    if (existing)
        return existing->st_mode & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Root saving over another user's file leaves it theirs. Others may only give it a group they
// belong to; where even that is not allowed, the new file stays the saving user's.
void keepOwner(int fd, const struct stat& existing) {
    if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
    }
}

void writeAll(int fd, const std::string& bytes, const std::string& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long written = writeFunction(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            failWrite(path, errno);
        if (written == 0)
            failWrite(path, EIO);
        done += static_cast<std::size_t>(written);
    }
}

// Owner, permissions and every byte, on the disk before the file takes the target's place.
void fillTemporary(int fd, const SaveTarget& target, const std::string& bytes,
                   const std::string& path) {
    if (target.existing)
        keepOwner(fd, *target.existing);
    if (::fchmod(fd, modeFor(target.existing)) != 0)
        failWrite(path, errno);
    writeAll(fd, bytes, path);
    if (::fsync(fd) != 0)
        failWrite(path, errno);
}

// Makes the rename itself durable; the file is already saved, so a failure here changes nothing.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The hidden name of a temporary file beside the target; mkstemp fills in the Xs.
std::string temporaryName(const std::string& folder) {
    return folder + "/.skyvane-XXXXXX";
}

// The same name with the Xs filled in at random, for a file that mkstemp cannot create.
std::string randomTemporaryName(const std::string& folder, std::mt19937& random) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string name = temporaryName(folder);
    for (auto c = name.end() - 6; c != name.end(); ++c)
        *c = kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// The named way: a hidden file beside the target, renamed over it once complete; removed again
// unless the save got that far.
class NamedTemporary {
public:
    explicit NamedTemporary(const std::string& folder) : name_(temporaryName(folder)) {
        fd_ = ::mkstemp(name_.data());
    }
    ~NamedTemporary() {
        if (!renamed_ && fd_ >= 0)
            ::unlink(name_.c_str());
    }
    NamedTemporary(const NamedTemporary&) = delete;
    NamedTemporary& operator=(const NamedTemporary&) = delete;

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

void saveNamed(const std::string& path, const SaveTarget& target, const std::string& bytes) {
    NamedTemporary temporary(folderOf(target.file));
    if (temporary.fd() < 0)
        failWrite(path, errno);
    Descriptor file(temporary.fd());
    fillTemporary(file.get(), target, bytes, path);
    if (file.close() != 0)
        failWrite(path, errno);
    if (temporary.renameTo(target.file) != 0)
        failWrite(path, errno);
}

// Gives the unnamed file `fd` the name `name`; fails with EEXIST when the name is taken. The
// /proc way needs no privilege, unlike linking the descriptor itself.
int linkUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
}

// Links the complete unnamed file into place. A new target is linked directly. Linking cannot
// replace a file, so an existing target is replaced by a rename from a fresh hidden name; only a
// kill between those two calls can leave that name behind. False when the link is not allowed
// here, before anything got a name.
bool placeUnnamed(int fd, const SaveTarget& target, const std::string& path) {
    if (!target.existing && linkUnnamed(fd, target.file) == 0)
        return true;
    const std::string folder = folderOf(target.file);
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = randomTemporaryName(folder, random);
        if (linkUnnamed(fd, name) != 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (::rename(name.c_str(), target.file.c_str()) != 0) {
            const int error = errno;
            ::unlink(name.c_str());
            failWrite(path, error);
        }
        return true;
    }
    return false;
}

// The unnamed way. False, with nothing left behind, where the system or file system does not
// allow it; a failure while writing throws as the named way would.
bool saveUnnamed(const std::string& path, const SaveTarget& target, const std::string& bytes) {
#ifdef O_TMPFILE
    Descriptor file(::open(folderOf(target.file).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (file.get() < 0)
        return false;
    fillTemporary(file.get(), target, bytes, path);
    return placeUnnamed(file.get(), target, path);
#else
    (void)path;
    (void)target;
    (void)bytes;
    return false;
#endif
}

} // namespace

std::string readFileBytes(const std::string& path) {
    // A FIFO, socket or device is refused before it is opened: opening one may block until a
    // writer comes, or act on the device.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (const std::optional<std::string> reason = notAFileReason(info))
            failRead(path, *reason);
    }
    // Without blocking all the same, for a FIFO put in the file's place since.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.get() < 0)
        failRead(path, errno);
    if (::fstat(file.get(), &info) != 0)
        failRead(path, errno);
    if (const std::optional<std::string> reason = notAFileReason(info))
        failRead(path, *reason);
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        failRead(path, errno);
    if (static_cast<std::size_t>(info.st_size) > kMaxFileBytes)
        failTooLarge(path);
    // The size the file has now, read straight into the text in one block; what lies beyond it
    // (a file that grew, or one whose size the system does not know) comes in small steps.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    char beyond[1 << 12];
    for (;;) {
        const bool inPlace = filled < bytes.size();
        const ssize_t count = inPlace
                                  ? ::read(file.get(), bytes.data() + filled, bytes.size() - filled)
                                  : ::read(file.get(), beyond, sizeof beyond);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            failRead(path, errno);
        if (count == 0) {
            bytes.resize(filled); // the file shrank while it was read
            return bytes;
        }
        if (!inPlace) {
            if (bytes.size() + static_cast<std::size_t>(count) > kMaxFileBytes)
                failTooLarge(path); // the file grew while it was read
            bytes.append(beyond, static_cast<std::size_t>(count));
        }
        filled += static_cast<std::size_t>(count);
    }
}

std::string readStreamBytes(int fd, const std::string& name) {
    // A stream that never ends is refused at the size limit.
    std::string bytes;
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t count = ::read(fd, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            failRead(name, errno);
        if (count == 0)
            return bytes;
        if (bytes.size() + static_cast<std::size_t>(count) > kMaxFileBytes)
            failTooLarge(name);
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

void writeFileAtomically(const std::string& path, const std::string& bytes) {
    const SaveTarget target = saveTarget(path);
    if (!(unnamedTemporaryFiles && saveUnnamed(path, target, bytes)))
        saveNamed(path, target, bytes);
    syncFolder(folderOf(target.file));
}

WriteFunction setWriteFunction(WriteFunction write) {
    const WriteFunction previous = writeFunction;
    writeFunction = write ? write : systemWrite;
    return previous;
}

bool setUnnamedTemporaryFiles(bool enabled) {
    const bool previous = unnamedTemporaryFiles;
    unnamedTemporaryFiles = enabled;
    return previous;
}

} // namespace skyvane
