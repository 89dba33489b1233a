// Whole-file reads and all-or-nothing saves, including saves that fail part-way, special files
// that must never be read or replaced, links, and the unnamed and named temporary files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/fileio.h"

using namespace skyvane;
namespace fs = std::filesystem;

namespace {

const std::string kOldBytes = std::string("SECTION: HEADER\r\n\0\xff old\r\n", 25);
const std::string kNewBytes = "SECTION: HEADER\r\nnew content that is longer\r\n";

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "skyvane-fileio-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        // Reachable by the unprivileged child process below.
        fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::others_exec | fs::perms::group_read |
                                     fs::perms::others_read);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder_, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(folder_, ignored);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void writePlain(const std::string& name, const std::string& bytes) const {
        FILE* file = std::fopen(path(name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
        ASSERT_EQ(std::fclose(file), 0);
    }

    // The names in the folder, so a leftover temporary file shows.
    std::vector<std::string> listing(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> listing() const { return listing(folder_); }

    fs::path folder_;
};

fs::perms permissionsOf(const std::string& path) {
    return fs::status(path).permissions();
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "";
}

// Runs the action in a child process and gives its FileError text ("" when nothing was thrown).
// A watchdog kills an action that blocks, so a read or save that hangs fails the test with
// "blocked" instead of freezing it. Root ignores permission bits, so `unprivileged` makes the
// child "nobody" when the tests run as root.
std::string errorInChild(const std::function<void()>& action, bool unprivileged) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "pipe failed";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::alarm(20);
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(3);
        }
        const std::string text = errorOf(action);
        const bool sent =
            ::write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ::_exit(sent ? 0 : 4);
    }
    ::close(channel[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        return "blocked";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return text;
}

std::string errorAsUnprivileged(const std::function<void()>& action) {
    return ::geteuid() == 0 ? errorInChild(action, true) : errorOf(action);
}

// Replaces the write call for one test and puts the real one back afterwards.
class WriteHook {
public:
    explicit WriteHook(WriteFunction hook) : previous_(setWriteFunction(hook)) {}
    ~WriteHook() { setWriteFunction(previous_); }

private:
    WriteFunction previous_;
};

int hookCalls = 0;

// Writes a few bytes, then the disk is full.
long fullDiskAfterFirstWrite(int fd, const void* data, std::size_t size) {
    if (hookCalls++ == 0) {
        return static_cast<long>(::write(fd, data, std::min<std::size_t>(size, 5)));
    }
    errno = ENOSPC;
    return -1;
}

// One byte at a time, interrupted now and then: all of it must still arrive.
long shortInterruptedWrites(int fd, const void* data, std::size_t size) {
    if (hookCalls++ % 3 == 0) {
        errno = EINTR;
        return -1;
    }
    return static_cast<long>(::write(fd, data, std::min<std::size_t>(size, 1)));
}

long writesNothing(int, const void*, std::size_t) {
    return 0;
}

// Whether this folder's file system lets a file be created unnamed.
bool unnamedFilesAllowed(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// The folder's names while the bytes are being written, and a write that then goes on.
fs::path watchedFolder;
std::vector<std::string> namesDuringWrite;

long listFolderThenWrite(int fd, const void* data, std::size_t size) {
    namesDuringWrite.clear();
    for (const auto& entry : fs::directory_iterator(watchedFolder)) {
        namesDuringWrite.push_back(entry.path().filename().string());
    }
    std::sort(namesDuringWrite.begin(), namesDuringWrite.end());
    return static_cast<long>(::write(fd, data, size));
}

long killedMidWrite(int, const void*, std::size_t) {
    ::kill(::getpid(), SIGKILL);
    return -1;
}

// The save tests that matter for either kind of temporary file run both ways: with an unnamed
// one (true) and with the named one the program falls back to.
class SaveWays : public FileIo, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        FileIo::SetUp();
        previous_ = setUnnamedTemporaryFiles(GetParam());
    }
    void TearDown() override {
        setUnnamedTemporaryFiles(previous_);
        FileIo::TearDown();
    }
    bool unnamed() const { return GetParam() && unnamedFilesAllowed(folder_); }

private:
    bool previous_ = true;
};

TEST_F(FileIo, readGivesEveryByteUnchanged) {
    writePlain("a.KEY", kOldBytes);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
    fs::create_symlink("a.KEY", folder_ / "link.KEY");
    EXPECT_EQ(readFileBytes(path("link.KEY")), kOldBytes);
    writePlain("empty.KEY", "");
    EXPECT_EQ(readFileBytes(path("empty.KEY")), "");
    // A file whose size the system gives as 0 is still read to its end.
    EXPECT_EQ(readFileBytes("/proc/self/status").rfind("Name:", 0), 0u);
}

TEST_F(FileIo, readFailuresNameTheFileAndTheReason) {
    fs::create_directory(folder_ / "folder.KEY");
    writePlain("locked.KEY", kOldBytes);
    fs::permissions(path("locked.KEY"), fs::perms::none);

    EXPECT_EQ(errorOf([&] { readFileBytes(path("missing.KEY")); }),
              "Cannot read file \"" + path("missing.KEY") + "\": No such file or directory");
    EXPECT_EQ(errorOf([&] { readFileBytes(path("folder.KEY")); }),
              "Cannot read file \"" + path("folder.KEY") + "\": Is a directory");
    EXPECT_EQ(errorAsUnprivileged([&] { readFileBytes(path("locked.KEY")); }),
              "Cannot read file \"" + path("locked.KEY") + "\": Permission denied");

    // A sparse file: its size is refused before anything is read into memory.
    fs::permissions(path("locked.KEY"), fs::perms::owner_read | fs::perms::owner_write);
    fs::resize_file(path("locked.KEY"), kMaxFileBytes + 1);
    EXPECT_EQ(errorOf([&] { readFileBytes(path("locked.KEY")); }),
              "Cannot read file \"" + path("locked.KEY") + "\": it is larger than 192 MiB");
}

TEST_P(SaveWays, saveCreatesTheFileWithUmaskPermissions) {
    const mode_t mask = ::umask(022);
    writeFileAtomically(path("new.KEY"), kNewBytes);
    ::umask(mask);
    EXPECT_EQ(readFileBytes(path("new.KEY")), kNewBytes);
    EXPECT_EQ(permissionsOf(path("new.KEY")), fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(listing(), std::vector<std::string>{"new.KEY"});
}

TEST_P(SaveWays, saveReplacesAnExistingFileAndKeepsItsPermissions) {
    writePlain("a.KEY", kOldBytes);
    const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path("a.KEY"), kept);
    writeFileAtomically(path("a.KEY"), kNewBytes);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kNewBytes);
    EXPECT_EQ(permissionsOf(path("a.KEY")), kept);
    EXPECT_EQ(listing(), std::vector<std::string>{"a.KEY"});
}

TEST_F(FileIo, saveWithoutAFolderPartWritesIntoTheWorkingFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    writeFileAtomically("here.KEY", kNewBytes);
    fs::current_path(before);
    EXPECT_EQ(readFileBytes(path("here.KEY")), kNewBytes);
}

TEST_P(SaveWays, failedWriteLeavesTheOldFileByteForByte) {
    writePlain("a.KEY", kOldBytes);
    hookCalls = 0;
    WriteHook hook(fullDiskAfterFirstWrite);
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path("a.KEY"), kNewBytes); }),
              "Cannot write file \"" + path("a.KEY") + "\": No space left on device");
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
    EXPECT_EQ(listing(), std::vector<std::string>{"a.KEY"});
}

TEST_F(FileIo, writeThatMakesNoProgressFailsInsteadOfLooping) {
    WriteHook hook(writesNothing);
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path("a.KEY"), kNewBytes); }),
              "Cannot write file \"" + path("a.KEY") + "\": Input/output error");
    EXPECT_TRUE(listing().empty());
}

TEST_F(FileIo, shortAndInterruptedWritesStillSaveEverything) {
    hookCalls = 0;
    WriteHook hook(shortInterruptedWrites);
    writeFileAtomically(path("a.KEY"), kOldBytes);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
}

TEST_F(FileIo, readOnlyFolderGivesAClearErrorAndNoFile) {
    fs::create_directory(folder_ / "ro");
    fs::permissions(folder_ / "ro", fs::perms::owner_read | fs::perms::owner_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
    const std::string target = (folder_ / "ro" / "a.KEY").string();
    EXPECT_EQ(errorAsUnprivileged([&] { writeFileAtomically(target, kNewBytes); }),
              "Cannot write file \"" + target + "\": Permission denied");
    EXPECT_TRUE(listing(folder_ / "ro").empty());
}

TEST_F(FileIo, writeProtectedFileIsNotReplaced) {
    fs::permissions(folder_, fs::perms::all);
    writePlain("a.KEY", kOldBytes);
    fs::permissions(path("a.KEY"), fs::perms::owner_read | fs::perms::others_read);
    EXPECT_EQ(errorAsUnprivileged([&] { writeFileAtomically(path("a.KEY"), kNewBytes); }),
              "Cannot write file \"" + path("a.KEY") + "\": Permission denied");
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
    EXPECT_EQ(listing(), std::vector<std::string>{"a.KEY"});
}

TEST_F(FileIo, saveOverAFolderOrIntoAMissingFolderFails) {
    fs::create_directory(folder_ / "folder.KEY");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path("folder.KEY"), kNewBytes); }),
              "Cannot write file \"" + path("folder.KEY") + "\": Is a directory");
    EXPECT_TRUE(fs::is_directory(folder_ / "folder.KEY"));
    const std::string nowhere = path("missing/a.KEY");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(nowhere, kNewBytes); }),
              "Cannot write file \"" + nowhere + "\": No such file or directory");
    EXPECT_EQ(listing(), std::vector<std::string>{"folder.KEY"});
}

TEST_F(FileIo, saveThroughALinkReplacesTheLinkedFile) {
    writePlain("real.KEY", kOldBytes);
    fs::create_symlink(folder_ / "real.KEY", folder_ / "link.KEY");
    writeFileAtomically(path("link.KEY"), kNewBytes);
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.KEY"));
    EXPECT_EQ(readFileBytes(path("real.KEY")), kNewBytes);
}

TEST_F(FileIo, saveThroughADanglingLinkCreatesItsTargetAndKeepsTheLink) {
    // A relative link, reached through an absolute one: each is taken from its own folder.
    fs::create_directory(folder_ / "sub");
    fs::create_symlink("new.KEY", folder_ / "sub" / "link.KEY");
    fs::create_symlink(folder_ / "sub" / "link.KEY", folder_ / "outer.KEY");
    writeFileAtomically(path("outer.KEY"), kNewBytes);
    EXPECT_TRUE(fs::is_symlink(folder_ / "outer.KEY"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "sub" / "link.KEY"));
    EXPECT_EQ(readFileBytes(path("sub/new.KEY")), kNewBytes);
    EXPECT_EQ(listing(folder_ / "sub"), (std::vector<std::string>{"link.KEY", "new.KEY"}));
    EXPECT_EQ(listing(), (std::vector<std::string>{"outer.KEY", "sub"}));
}

TEST_F(FileIo, saveThroughALinkLoopIsRefusedWithTheSystemsReason) {
    fs::create_symlink("b.KEY", folder_ / "a.KEY");
    fs::create_symlink("a.KEY", folder_ / "b.KEY");
    EXPECT_EQ(errorInChild([&] { writeFileAtomically(path("a.KEY"), kNewBytes); }, false),
              "Cannot write file \"" + path("a.KEY") + "\": Too many levels of symbolic links");
    EXPECT_EQ(fs::read_symlink(folder_ / "a.KEY"), "b.KEY");
    EXPECT_EQ(fs::read_symlink(folder_ / "b.KEY"), "a.KEY");
    EXPECT_EQ(listing(), (std::vector<std::string>{"a.KEY", "b.KEY"}));
}

// Special files a user may pick by mistake. `make` gives false where this system does not let
// the tests make one (a device node needs root); a link to /dev/null stands in for a device
// everywhere.
struct SpecialFile {
    const char* kind;
    bool (*make)(const std::string& at);
};

bool makeFifo(const std::string& at) {
    return ::mkfifo(at.c_str(), 0666) == 0;
}

bool makeSocket(const std::string& at) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (at.size() >= sizeof address.sun_path) {
        return false;
    }
    std::copy(at.begin(), at.end(), address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound; // the socket file stays after the socket is closed
}

bool makeDeviceNode(const std::string& at) {
    return ::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; // what /dev/null is
}

bool makeLinkToDevice(const std::string& at) {
    return ::symlink("/dev/null", at.c_str()) == 0;
}

bool makeLinkToFifo(const std::string& at) {
    return makeFifo(at + ".fifo") && ::symlink((at + ".fifo").c_str(), at.c_str()) == 0;
}

void PrintTo(const SpecialFile& file, std::ostream* out) {
    *out << file.kind;
}

const SpecialFile kSpecialFiles[] = {
    {"fifo", makeFifo},
    {"socket", makeSocket},
    {"deviceNode", makeDeviceNode},
    {"linkToDevice", makeLinkToDevice},
    {"linkToFifo", makeLinkToFifo},
};

// What a special file is: kind, device and identity, so a test sees it was not replaced.
std::tuple<mode_t, dev_t, ino_t> identityOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return {info.st_mode, info.st_rdev, info.st_ino};
}

class SpecialFiles : public FileIo, public ::testing::WithParamInterface<SpecialFile> {
protected:
    void SetUp() override {
        FileIo::SetUp();
        special_ = path("special.KEY");
        if (!GetParam().make(special_)) {
            GTEST_SKIP() << "cannot make a " << GetParam().kind
                         << " here: " << std::strerror(errno);
        }
    }
    std::string special_;
};

TEST_P(SpecialFiles, readIsRefusedAtOnce) {
    EXPECT_EQ(errorInChild([&] { readFileBytes(special_); }, false),
              "Cannot read file \"" + special_ + "\": it is not a regular file");
}

TEST_P(SpecialFiles, saveIsRefusedAndLeavesItAsItWas) {
    const auto before = identityOf(special_);
    const std::vector<std::string> names = listing();
    EXPECT_EQ(errorInChild([&] { writeFileAtomically(special_, kNewBytes); }, false),
              "Cannot write file \"" + special_ + "\": it is not a regular file");
    EXPECT_EQ(identityOf(special_), before);
    EXPECT_EQ(listing(), names);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SpecialFiles, ::testing::ValuesIn(kSpecialFiles),
                         [](const auto& test) { return std::string(test.param.kind); });

TEST_P(SaveWays, theTemporaryFileHasANameOnlyWhenItCannotBeUnnamed) {
    writePlain("a.KEY", kOldBytes);
    watchedFolder = folder_;
    WriteHook hook(listFolderThenWrite);
    writeFileAtomically(path("a.KEY"), kNewBytes);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kNewBytes);
    if (unnamed()) {
        EXPECT_EQ(namesDuringWrite, std::vector<std::string>{"a.KEY"});
    } else {
        ASSERT_EQ(namesDuringWrite.size(), 2u);
        EXPECT_EQ(namesDuringWrite[0].rfind(".skyvane-", 0), 0u) << namesDuringWrite[0];
    }
}

TEST_P(SaveWays, saveKilledPartWayLeavesTheOldFile) {
    writePlain("a.KEY", kOldBytes);
    const pid_t child = ::fork();
    if (child == 0) {
        setWriteFunction(killedMidWrite);
        writeFileAtomically(path("a.KEY"), kNewBytes);
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
    if (unnamed()) {
        EXPECT_EQ(listing(), std::vector<std::string>{"a.KEY"});
    }
}

TEST_P(SaveWays, setIdBitsAreNeverCarriedOver) {
    writePlain("a.KEY", kOldBytes);
    ASSERT_EQ(::chmod(path("a.KEY").c_str(), 06754), 0);
    writeFileAtomically(path("a.KEY"), kNewBytes);
    struct stat info {};
    ASSERT_EQ(::stat(path("a.KEY").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0754u);
}

TEST_P(SaveWays, anotherUsersFileStaysTheirs) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may save over another user's file and keep its owner";
    }
    writePlain("a.KEY", kOldBytes);
    ASSERT_EQ(::chown(path("a.KEY").c_str(), 65534, 65534), 0);
    writeFileAtomically(path("a.KEY"), kNewBytes);
    struct stat info {};
    ASSERT_EQ(::stat(path("a.KEY").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kNewBytes);
}

INSTANTIATE_TEST_SUITE_P(Temporary, SaveWays, ::testing::Values(true, false),
                         [](const auto& test) { return test.param ? "unnamed" : "named"; });

} // namespace
