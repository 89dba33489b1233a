// Whole-file reads and all-or-nothing saves, including saves that fail part-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fileio.h"

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

// Root ignores permission bits, so when the tests run as root the action runs in a child
// process that has become "nobody". Returns the FileError text, or "" when nothing was thrown.
std::string errorAsUnprivileged(const std::function<void()>& action) {
    if (::geteuid() != 0) {
        return errorOf(action);
    }
    int channel[2];
    if (::pipe(channel) != 0) {
        return "pipe failed";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
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
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    return text;
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

TEST_F(FileIo, readGivesEveryByteUnchanged) {
    writePlain("a.KEY", kOldBytes);
    EXPECT_EQ(readFileBytes(path("a.KEY")), kOldBytes);
    writePlain("empty.KEY", "");
    EXPECT_EQ(readFileBytes(path("empty.KEY")), "");
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
    fs::resize_file(path("locked.KEY"), kMaxFileBytes + 1);
    fs::permissions(path("locked.KEY"), fs::perms::owner_read);
    EXPECT_EQ(errorOf([&] { readFileBytes(path("locked.KEY")); }),
              "Cannot read file \"" + path("locked.KEY") + "\": it is larger than 64 MiB");
}

TEST_F(FileIo, saveCreatesTheFileWithUmaskPermissions) {
    const mode_t mask = ::umask(022);
    writeFileAtomically(path("new.KEY"), kNewBytes);
    ::umask(mask);
    EXPECT_EQ(readFileBytes(path("new.KEY")), kNewBytes);
    EXPECT_EQ(permissionsOf(path("new.KEY")), fs::perms::owner_read | fs::perms::owner_write |
                                                  fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(listing(), std::vector<std::string>{"new.KEY"});
}

TEST_F(FileIo, saveReplacesAnExistingFileAndKeepsItsPermissions) {
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

TEST_F(FileIo, failedWriteLeavesTheOldFileByteForByte) {
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

} // namespace
