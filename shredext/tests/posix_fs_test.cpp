// What only a POSIX file system can stage here: links of every kind (Wine cannot create
// them from inside, and shows file links as plain files), FIFOs, and real locks.
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "test_support.h"

extern char** environ;

namespace shredtest {
namespace {

using shred::Failure;

class CancelNever final : public shred::Progress {
  public:
    bool Continue(const Path&, std::uint64_t, std::uint64_t all) override {
        total = all;
        return true;
    }
    std::uint64_t total = 0;
};

// Canaries outside the selection: a folder with a file, and a lone file.
struct Outside {
    explicit Outside(const TempDir& dir) : folder(dir / "outside"), file(dir / "outside.txt") {
        MakeDirs(folder / "nested");
        WriteBytes(folder / "nested" / "canary.txt", Filler(500, 1));
        WriteBytes(file, Filler(500, 2));
    }
    void ExpectWhole() const {
        EXPECT_TRUE(ReadBytes(folder / "nested" / "canary.txt") == Filler(500, 1));
        EXPECT_TRUE(ReadBytes(file) == Filler(500, 2));
    }
    fs::path folder, file;
};

TEST(PosixLinks, NeverActsThroughALink) {
    struct Case {
        const char* name;
        const char* link;    // relative to the temp folder
        const char* target;  // as the link stores it
        const char* select;  // what the user selected
    };
    const Case cases[] = {
        {"folder link inside a tree", "tree/sub/to-outside", "../../outside", "tree"},
        {"file link inside a tree", "tree/to-file", "../outside.txt", "tree"},
        {"dangling link inside a tree", "tree/dangling", "../nowhere", "tree"},
        {"link back to its own tree", "tree/sub/loop", "..", "tree"},
        {"selected folder link", "to-outside", "outside", "to-outside"},
        {"selected file link", "to-file", "outside.txt", "to-file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const Outside outside(dir);
        MakeDirs(dir / "tree" / "sub");
        WriteBytes(dir / "tree" / "sub" / "own.txt", Filler(300));
        fs::create_symlink(c.target, dir / c.link);
        ObservedFs observed;
        const Path selection[] = {(dir / c.select).native()};
        EXPECT_TRUE(shred::ShredSelection(observed, selection).empty());
        EXPECT_FALSE(Exists(dir / c.link));
        EXPECT_TRUE(observed.Did("unlink", dir / c.link));
        outside.ExpectWhole();
        EXPECT_EQ(Exists(dir / "tree"), std::string(c.select) != "tree");
    }
}

// The pump lets anything happen; a folder replaced by a link during it is removed as a link,
// and what the link points at is never walked.
TEST(PosixLinks, FolderSwappedForALinkDuringThePumpIsNotWalked) {
    struct Case {
        const char* name;
        const char* swapped;  // relative to the temp folder
        const char* select;
    };
    const Case cases[] = {
        {"selected folder", "tree", "tree"},
        {"subfolder", "tree/sub", "tree"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const Outside outside(dir);
        MakeDirs(dir / "tree" / "sub");
        const fs::path swapped = dir / c.swapped;
        ObservedFs observed;
        bool done = false;
        observed.onYield = [&] {
            if (done) return;
            done = true;
            fs::rename(swapped, dir / "moved-away");
            fs::create_directory_symlink(outside.folder, swapped);
        };
        const Path selection[] = {(dir / c.select).native()};
        shred::ShredSelection(observed, selection);
        EXPECT_TRUE(done);
        outside.ExpectWhole();
        EXPECT_FALSE(observed.Did("list", swapped));
        EXPECT_TRUE(observed.Did("unlink", swapped));
    }
}

TEST(PosixLinks, BackendRefusesToListThroughALink) {
    TempDir dir;
    const Outside outside(dir);
    fs::create_directory_symlink(outside.folder, dir / "link");
    const auto real = shred::MakeNativeFileSystem();
    EXPECT_EQ(real->List((dir / "link").native()), std::nullopt);
    EXPECT_NE(real->LastError(), 0u);
}

std::uint64_t AllocatedBytes(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_blocks) * 512 : 0;
}

// Holes have no storage and read as zeros: writing them could fill the disk, and there is
// nothing in them to destroy. Only the parts with data get the pattern.
TEST(PosixSparse, OnlyAllocatedRangesAreOverwritten) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    struct Case {
        const char* name;
        std::vector<shred::Range> data;  // the rest of the 16 MiB is a hole
    };
    const Case cases[] = {
        {"data, hole, data, hole at the end", {{0, kMiB}, {8 * kMiB, 2 * kMiB + 300}}},
        {"hole first, data at the end", {{12 * kMiB, 4 * kMiB}}},
        {"all hole", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path file = dir / "sparse.bin";
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 16 * kMiB), 0);
        std::uint64_t dataBytes = 0;
        for (const auto& range : c.data) {
            const std::string bytes = Filler(range.length);
            ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(range.offset)),
                      static_cast<ssize_t>(bytes.size()));
            dataBytes += range.length;
        }
        ::fsync(fd);
        ::close(fd);
        const std::uint64_t allocated = AllocatedBytes(file);
        if (allocated >= 16 * kMiB) GTEST_SKIP() << "this file system keeps no holes";

        // The delete is refused so that the file can be looked at after the overwrite.
        ObservedFs observed;
        observed.failDelete.insert(file.native());
        CancelNever progress;
        shred::Shredder shredder(observed, &progress);
        shredder.ShredFile(file.native());
        ASSERT_EQ(shredder.Leftovers().size(), 1u);
        EXPECT_EQ(shredder.Leftovers()[0].failure, Failure::NotDeleted);
        EXPECT_LE(AllocatedBytes(file), allocated) << "the file stays sparse";
        // File systems keep data in whole blocks: a range may be rounded up to them.
        EXPECT_GE(progress.total, dataBytes);
        EXPECT_LE(progress.total, dataBytes + 4096 * c.data.size());
        // Every write lies inside a data range (the file system may round those to blocks).
        std::uint64_t written = 0;
        for (const auto& w : observed.written) {
            written += w.length;
            bool inside = false;
            for (const auto& range : c.data)
                inside |= w.offset + 4096 > range.offset &&
                          w.offset + w.length <= range.offset + range.length + 4096;
            EXPECT_TRUE(inside) << "write at " << w.offset << " of " << w.length;
        }
        EXPECT_EQ(written, progress.total);
        const std::string after = ReadBytes(file);
        const std::string shredded = Shredded(after.size());
        for (const auto& range : c.data)
            EXPECT_TRUE(after.compare(range.offset, range.length, shredded, range.offset,
                                      range.length) == 0)
                << "data at " << range.offset << " overwritten";
    }
}

// Freeing a large file's storage takes time in proportion to its size: it is cut down in
// steps with the window thread pumping in between, and only once the pattern is flushed.
TEST(PosixSparse, LargeFileIsCutDownInStepsAfterTheFlush) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
    TempDir dir;
    const fs::path file = dir / "large-sparse.bin";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 200 * kMiB), 0);
    const std::string data = Filler(kMiB);
    ASSERT_EQ(::pwrite(fd, data.data(), data.size(), 0), static_cast<ssize_t>(data.size()));
    ::close(fd);
    ObservedFs observed;
    std::vector<std::size_t> flushesAtYield;
    observed.onYield = [&] { flushesAtYield.push_back(observed.flushes); };
    shred::Shredder shredder(observed);
    ASSERT_TRUE(shredder.ShredFile(file.native()));
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(observed.truncatedTo, (std::vector<std::uint64_t>{136 * kMiB, 72 * kMiB, 8 * kMiB}));
    EXPECT_EQ(flushesAtYield, (std::vector<std::size_t>{0, 1, 1, 1}))
        << "one pump after the block, one after each cut, every cut after the flush";
}

TEST(PosixSpecial, FifoIsRemovedWithoutBeingOpened) {
    TempDir dir;
    MakeDirs(dir / "tree");
    ASSERT_EQ(::mkfifo((dir / "tree" / "pipe").c_str(), 0600), 0);
    ObservedFs observed;
    const Path selection[] = {(dir / "tree").native()};
    EXPECT_TRUE(shred::ShredSelection(observed, selection).empty());
    EXPECT_FALSE(observed.Did("open", dir / "tree" / "pipe"));
    EXPECT_FALSE(Exists(dir / "tree"));
}

TEST(PosixSpecial, BackendRefusesToOpenAnythingButARegularFile) {
    TempDir dir;
    MakeDirs(dir / "folder");
    WriteBytes(dir / "file.txt", Filler(10));
    fs::create_symlink("file.txt", dir / "link");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const auto real = shred::MakeNativeFileSystem();
    EXPECT_NE(real->OpenForOverwrite((dir / "file.txt").native()), nullptr);
    for (const char* name : {"folder", "link", "pipe", "missing"})
        EXPECT_EQ(real->OpenForOverwrite((dir / name).native()), nullptr) << name;
    EXPECT_FALSE(Exists(dir / "missing")) << "opening never creates";
}

// A running program's image cannot be opened for writing (ETXTBSY), even by root: the
// closest native match for a file that another process holds locked.
TEST(PosixLocks, RunningProgramIsLeftUntouchedAndStopsItsFolder) {
    TempDir dir;
    MakeDirs(dir / "tree");
    const fs::path program = dir / "tree" / "busy";
    fs::copy_file("/bin/sleep", program);
    fs::permissions(program, fs::perms::owner_all);
    const std::string original = ReadBytes(program);
    WriteBytes(dir / "tree" / "free.txt", Filler(100));
    WriteBytes(dir / "after.txt", Filler(100));
    pid_t pid = 0;
    char arg0[] = "busy", arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    const int probe = ::open(program.c_str(), O_WRONLY);
    const bool locked = probe < 0 && errno == ETXTBSY;
    if (probe >= 0) ::close(probe);
    if (locked) {
        ObservedFs observed;
        const Path selection[] = {(dir / "tree").native(), (dir / "after.txt").native()};
        const auto left = shred::ShredSelection(observed, selection);
        ASSERT_EQ(left.size(), 3u);
        EXPECT_EQ(left[0].path, program.native());
        EXPECT_EQ(left[0].failure, Failure::NotOverwritten);
        EXPECT_EQ(left[0].error, static_cast<shred::ErrorCode>(ETXTBSY));
        EXPECT_EQ(left[1].failure, Failure::FolderNotRemoved);
        EXPECT_EQ(left[2].failure, Failure::NotReached);
        EXPECT_FALSE(Exists(dir / "tree" / "free.txt"));
        EXPECT_TRUE(Exists(dir / "after.txt"));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    if (!locked) GTEST_SKIP() << "this kernel lets a running program be opened for writing";
    EXPECT_TRUE(ReadBytes(program) == original);
}

// A folder that nothing may be deleted from: no write permission for a normal user, the
// immutable flag for root (who ignores permissions).
TEST(PosixLocks, FolderThatCannotBeDeletedFromIsReported) {
    TempDir dir;
    const fs::path folder = dir / "sealed";
    MakeDirs(folder);
    WriteBytes(folder / "inside.txt", Filler(400));
    int fd = -1, flags = 0;
    if (::geteuid() == 0) {
        fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(fd, 0);
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ||
            (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0)) {
            ::close(fd);
            GTEST_SKIP() << "running as root without a way to seal a folder";
        }
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ObservedFs observed;
    const Path selection[] = {folder.native()};
    const auto left = shred::ShredSelection(observed, selection);
    if (fd >= 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        ::close(fd);
    }
    ASSERT_EQ(left.size(), 2u);
    // The file itself stays writable: its content is destroyed, only its name remains.
    EXPECT_EQ(left[0].path, (folder / "inside.txt").native());
    EXPECT_EQ(left[0].failure, Failure::NotDeleted);
    EXPECT_TRUE(ReadBytes(folder / "inside.txt") == Shredded(400));
    EXPECT_EQ(left[1].failure, Failure::FolderNotRemoved);
    EXPECT_TRUE(Exists(folder / "inside.txt"));
}

}  // namespace
}  // namespace shredtest
