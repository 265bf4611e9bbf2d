// The shredding routines against the real file system of the platform: POSIX natively,
// Win32 under Wine. Each test works in its own throw-away folder.
#include <gtest/gtest.h>

#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace shredtest {
namespace {

using shred::Failure;

// Read-only and hidden in the platform's terms: Windows attributes, or on POSIX no write
// permission and a dot name (callers pick the name).
void MakeReadOnlyHidden(const fs::path& path) {
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_READONLY |
                                                             FILE_ATTRIBUTE_HIDDEN |
                                                             FILE_ATTRIBUTE_SYSTEM));
#else
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
#endif
}

bool IsReadOnly(const fs::path& path) {
#ifdef _WIN32
    return (::GetFileAttributesW(Long(path).c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
#else
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & 0222) == 0;
#endif
}

TEST(ShredPattern, IsTwentyRunsOfTenBytesInTableOrder) {
    const unsigned char runs[20] = {0x55, 0xAA, 0x4A, 0x63, 0x47, 0x5C, 0x65, 0x70, 0x01, 0x3D,
                                    0x61, 0x77, 0x56, 0x4F, 0x6D, 0x48, 0x5A, 0x00, 0xFF, 0xD4};
    for (std::size_t i = 0; i < shred::kPatternSize; ++i)
        EXPECT_EQ(std::to_integer<unsigned>(shred::Pattern()[i]), runs[i / 10]) << "offset " << i;
}

TEST(ShredFile, OverwritesTheWholeLengthBeforeDeleting) {
    constexpr std::size_t kBlock = shred::kBlockSize;
    const std::size_t sizes[] = {0,   5,    199,    200,        201,
                                 400, 1000, kBlock, kBlock + 7, 3 * kBlock + 123};
    TempDir dir;
    for (const std::size_t size : sizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const fs::path file = dir / std::to_string(size).append(".bin");
        WriteBytes(file, Filler(size));
        ObservedFs observed;
        shred::Shredder shredder(observed);
        EXPECT_TRUE(shredder.ShredFile(file.native()));
        // Exactly the original length (never less than the pattern), phase-continuous across
        // block boundaries, and nothing of the old content left anywhere.
        EXPECT_TRUE(observed.bytesAtDelete[file.native()] == Shredded(size));
        EXPECT_FALSE(Exists(file));
        EXPECT_TRUE(shredder.Leftovers().empty());
    }
}

TEST(ShredFile, WritesLargeBlocksAndFlushesBeforeTheDelete) {
    TempDir dir;
    const fs::path file = dir / "big.bin";
    WriteBytes(file, Filler(3 * shred::kBlockSize + 123));
    ObservedFs observed;
    shred::Shredder shredder(observed);
    ASSERT_TRUE(shredder.ShredFile(file.native()));
    EXPECT_EQ(observed.writes, 4u);
    EXPECT_EQ(observed.largestWrite, shred::kBlockSize);
    EXPECT_EQ(observed.flushes, 1u);
}

TEST(ShredFile, ReadOnlyHiddenFileIsShredded) {
    TempDir dir;
    const fs::path file = dir / ".hidden-readonly.txt";
    WriteBytes(file, Filler(300));
    MakeReadOnlyHidden(file);
    ObservedFs observed;
    shred::Shredder shredder(observed);
    EXPECT_TRUE(shredder.ShredFile(file.native()));
    EXPECT_TRUE(observed.bytesAtDelete[file.native()] == Shredded(300));
    EXPECT_FALSE(Exists(file));
}

TEST(ShredFile, MissingPathLeavesNothingBehind) {
    TempDir dir;
    ObservedFs observed;
    shred::Shredder shredder(observed);
    EXPECT_TRUE(shredder.ShredFile((dir / "never-there.txt").native()));
    EXPECT_TRUE(shredder.ShredFile((dir / "no-folder" / "never-there.txt").native()));
    EXPECT_TRUE(fs::is_empty(dir.root()));
    EXPECT_TRUE(observed.ops.empty()) << "nothing opened, created or deleted";
}

TEST(ShredFile, FailureLeavesTheFileAndTellsWhy) {
    struct Case {
        const char* name;
        std::set<Path> ObservedFs::*inject;
        Failure failure;
        bool contentDestroyed;
    };
    const Case cases[] = {
        {"cannot open", &ObservedFs::failOpen, Failure::NotOverwritten, false},
        {"write fails midway", &ObservedFs::failWrite, Failure::NotOverwritten, false},
        {"cannot delete", &ObservedFs::failDelete, Failure::NotDeleted, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path file = dir / "victim.txt";
        WriteBytes(file, Filler(1000));
        MakeReadOnlyHidden(file);
        ObservedFs observed;
        (observed.*c.inject).insert(file.native());
        shred::Shredder shredder(observed);
        EXPECT_FALSE(shredder.ShredFile(file.native()));
        ASSERT_TRUE(Exists(file));
        ASSERT_EQ(shredder.Leftovers().size(), 1u);
        EXPECT_EQ(shredder.Leftovers()[0].path, file.native());
        EXPECT_EQ(shredder.Leftovers()[0].failure, c.failure);
        EXPECT_EQ(shredder.Leftovers()[0].error, ObservedFs::kInjected);
        EXPECT_TRUE(IsReadOnly(file)) << "attributes of a file left behind are put back";
        if (c.contentDestroyed) {
            EXPECT_TRUE(ReadBytes(file) == Shredded(1000));
        } else if (c.inject == &ObservedFs::failOpen) {
            EXPECT_TRUE(ReadBytes(file) == Filler(1000));
        }
        EXPECT_EQ(observed.Did("delete", file), c.inject == &ObservedFs::failDelete)
            << "a file that was not overwritten to its end is never deleted";
    }
}

TEST(ShredFolder, EmptyFolderIsRemoved) {
    TempDir dir;
    MakeDirs(dir / "empty");
    ObservedFs observed;
    shred::Shredder shredder(observed);
    EXPECT_TRUE(shredder.ShredFolder((dir / "empty").native()));
    EXPECT_FALSE(Exists(dir / "empty"));
}

TEST(ShredFolder, TreeIsShreddedBottomUp) {
    TempDir dir;
    const fs::path tree = dir / "tree";
    const fs::path files[] = {tree / "a" / "a1" / "deep.txt", tree / "a" / "in-a.txt",
                              tree / "b" / "b1" / "b2" / "deeper.bin", tree / "top1.txt",
                              tree / "top2.txt"};
    for (const auto& f : files) {
        MakeDirs(f.parent_path());
        WriteBytes(f, Filler(700));
    }
    MakeDirs(tree / "c-empty");
    ObservedFs observed;
    shred::Shredder shredder(observed);
    ASSERT_TRUE(shredder.ShredFolder(tree.native()));
    EXPECT_FALSE(Exists(tree));
    for (const auto& f : files)
        EXPECT_TRUE(observed.bytesAtDelete[f.native()] == Shredded(700)) << f;
    ExpectBottomUp(observed.ops);
    EXPECT_EQ(observed.IndexOf("rmdir", tree), observed.ops.size() - 1);
}

TEST(ShredFolder, LongPathsAndNamesOutsideTheAnsiCodePage) {
    TempDir dir;
    // Well past MAX_PATH and past the 500 characters a fixed selection buffer would hold.
    fs::path deep = dir / fs::path(u8"Ünïcødé-Ж-名前-😀");
    for (int i = 0; deep.native().size() < 620; ++i)
        deep /= std::string(40, static_cast<char>('a' + i % 26));
    MakeDirs(deep);
    const fs::path file = deep / fs::path(u8"файл-ファイル.txt");
    WriteBytes(file, Filler(250));
    ObservedFs observed;
    const Path selection[] = {(dir / fs::path(u8"Ünïcødé-Ж-名前-😀")).native()};
    EXPECT_TRUE(shred::ShredSelection(observed, selection).empty());
    EXPECT_TRUE(observed.bytesAtDelete[file.native()] == Shredded(250));
    EXPECT_TRUE(fs::is_empty(dir.root()));
}

TEST(ShredSelection, GoesInTheShellsOrder) {
    TempDir dir;
    WriteBytes(dir / "z-first.txt", Filler(10));
    MakeDirs(dir / "m-folder" / "inner");
    WriteBytes(dir / "m-folder" / "inner" / "x.txt", Filler(10));
    WriteBytes(dir / "a-last.txt", Filler(10));
    ObservedFs observed;
    const Path selection[] = {(dir / "z-first.txt").native(), (dir / "m-folder").native(),
                              (dir / "a-last.txt").native()};
    EXPECT_TRUE(shred::ShredSelection(observed, selection).empty());
    EXPECT_LT(observed.IndexOf("delete", dir / "z-first.txt"),
              observed.IndexOf("rmdir", dir / "m-folder"));
    EXPECT_LT(observed.IndexOf("rmdir", dir / "m-folder"),
              observed.IndexOf("delete", dir / "a-last.txt"));
    EXPECT_TRUE(fs::is_empty(dir.root()));
}

TEST(ShredSelection, FolderFailureStopsTheRestAndReportsIt) {
    struct Case {
        const char* name;
        std::set<Path> ObservedFs::*inject;
        const char* where;  // relative to the failing folder
        Failure failure;
    };
    const Case cases[] = {
        {"subfolder cannot be listed", &ObservedFs::failList, "sub", Failure::FolderNotListed},
        {"subfolder cannot be removed", &ObservedFs::failRemoveFolder, "sub",
         Failure::FolderNotRemoved},
        {"locked file keeps its folder", &ObservedFs::failOpen, "sub/locked.txt",
         Failure::NotOverwritten},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteBytes(dir / "before.txt", Filler(10));
        MakeDirs(dir / "bad" / "sub");
        WriteBytes(dir / "bad" / "sub" / "locked.txt", Filler(10));
        WriteBytes(dir / "after.txt", Filler(10));
        MakeDirs(dir / "after-folder");
        ObservedFs observed;
        (observed.*c.inject).insert((dir / "bad" / fs::path(c.where).make_preferred()).native());
        const Path selection[] = {(dir / "before.txt").native(), (dir / "bad").native(),
                                  (dir / "after.txt").native(), (dir / "after-folder").native()};
        const auto left = shred::ShredSelection(observed, selection);
        EXPECT_FALSE(Exists(dir / "before.txt"));
        EXPECT_TRUE(Exists(dir / "bad"));
        EXPECT_TRUE(Exists(dir / "after.txt"));
        EXPECT_TRUE(Exists(dir / "after-folder"));
        ASSERT_GE(left.size(), 3u);
        EXPECT_EQ(left.front().failure, c.failure);
        EXPECT_EQ(left.front().error, ObservedFs::kInjected);
        EXPECT_EQ(left[left.size() - 2].path, selection[2]);
        EXPECT_EQ(left[left.size() - 2].failure, Failure::NotReached);
        EXPECT_EQ(left.back().path, selection[3]);
    }
}

TEST(ShredSelection, FileFailureDoesNotStopTheRest) {
    TempDir dir;
    WriteBytes(dir / "locked.txt", Filler(10));
    MakeDirs(dir / "folder");
    WriteBytes(dir / "folder" / "f.txt", Filler(10));
    ObservedFs observed;
    observed.failOpen.insert((dir / "locked.txt").native());
    const Path selection[] = {(dir / "locked.txt").native(), (dir / "folder").native()};
    const auto left = shred::ShredSelection(observed, selection);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, selection[0]);
    EXPECT_FALSE(Exists(dir / "folder"));
}

// Says go on until a given number of calls, then cancels; remembers what it was told.
class CancelAt final : public shred::Progress {
  public:
    explicit CancelAt(std::size_t calls) : limit_(calls) {}
    bool Continue(const Path& file, std::uint64_t done, std::uint64_t total) override {
        seen.push_back({file, done, total});
        return seen.size() < limit_;
    }
    struct Call {
        Path file;
        std::uint64_t done, total;
    };
    std::vector<Call> seen;

  private:
    std::size_t limit_;
};

TEST(ShredCancel, KeepsTheFileAndListsWhatWasLeft) {
    constexpr std::size_t kBlock = shred::kBlockSize;
    constexpr std::size_t kSize = 3 * kBlock + 123;
    struct Case {
        const char* name;
        std::size_t cancelAtCall;  // 1: before the first block; n: after block n - 1
        std::uint64_t overwritten;
    };
    const Case cases[] = {
        {"before the first block", 1, 0},
        {"after two blocks", 3, 2 * kBlock},
        {"after the last block, before the flush", 5, kSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path big = dir / "big.bin";
        WriteBytes(big, Filler(kSize));
        WriteBytes(dir / "after.txt", Filler(10));
        ObservedFs observed;
        CancelAt progress(c.cancelAtCall);
        const Path selection[] = {big.native(), (dir / "after.txt").native()};
        const auto left = shred::ShredSelection(observed, selection, &progress);
        EXPECT_FALSE(observed.Did("delete", big)) << "never deleted half-overwritten";
        ASSERT_TRUE(Exists(big));
        std::string expected = Filler(kSize);
        expected.replace(0, c.overwritten, Shredded(kSize).substr(0, c.overwritten));
        EXPECT_TRUE(ReadBytes(big) == expected) << "written exactly up to the cancel";
        ASSERT_EQ(left.size(), 2u);
        EXPECT_EQ(left[0].path, big.native());
        EXPECT_EQ(left[0].failure, Failure::Cancelled);
        EXPECT_EQ(left[0].overwritten, c.overwritten);
        EXPECT_EQ(left[0].total, kSize);
        EXPECT_EQ(left[1].failure, Failure::NotReached);
        EXPECT_TRUE(Exists(dir / "after.txt"));
    }
}

TEST(ShredCancel, InsideAFolderKeepsTheFolderAndStopsTheWalk) {
    TempDir dir;
    const fs::path tree = dir / "tree";
    MakeDirs(tree / "a");
    WriteBytes(tree / "a" / "first.txt", Filler(300));
    WriteBytes(tree / "b.txt", Filler(300));
    WriteBytes(tree / "c.txt", Filler(300));
    ObservedFs observed;
    CancelAt progress(4);  // first.txt: start + one block; b.txt: start; cancel on its block
    const Path selection[] = {tree.native()};
    const auto left = shred::ShredSelection(observed, selection, &progress);
    EXPECT_FALSE(Exists(tree / "a"));
    EXPECT_TRUE(ReadBytes(tree / "b.txt") == Shredded(300)) << "written, but kept";
    EXPECT_TRUE(ReadBytes(tree / "c.txt") == Filler(300)) << "never started";
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].path, (tree / "b.txt").native());
    EXPECT_EQ(left[0].failure, Failure::Cancelled);
    EXPECT_EQ(left[1].path, tree.native());
    EXPECT_EQ(left[1].failure, Failure::Cancelled);
    const Path text = shred::DescribeLeftovers(left);
    EXPECT_NE(text.find(SHRED_TEXT("b.txt: shredding cancelled, kept, 300 of 300 bytes")),
              Path::npos);
}

TEST(ShredPump, WindowMessagesAreHandledBetweenBlocks) {
    TempDir dir;
    const fs::path big = dir / "big.bin";
    WriteBytes(big, Filler(3 * shred::kBlockSize + 123));
    ObservedFs observed;
    std::vector<std::size_t> writesAtYield;
    observed.onYield = [&] { writesAtYield.push_back(observed.writes); };
    shred::Shredder shredder(observed);
    ASSERT_TRUE(shredder.ShredFile(big.native()));
    EXPECT_EQ(writesAtYield, (std::vector<std::size_t>{1, 2, 3, 4}));
}

// The shell extension's Initialize may replace the selection while the walk pumps messages.
// The walk must go on over what it was given: under the sanitizer a walk over the caller's
// storage is a use after free, without it the wrong items would be shredded.
TEST(ShredPump, SelectionReplacedDuringAPumpDoesNotChangeTheWalk) {
    TempDir dir;
    MakeDirs(dir / "folder");
    WriteBytes(dir / "folder" / "inside.txt", Filler(10));
    WriteBytes(dir / "chosen.txt", Filler(2 * shred::kBlockSize));
    WriteBytes(dir / "chosen-later.txt", Filler(10));
    WriteBytes(dir / "not-chosen.txt", Filler(10));
    std::vector<Path> selection = {(dir / "folder").native(), (dir / "chosen.txt").native(),
                                   (dir / "chosen-later.txt").native()};
    ObservedFs observed;
    observed.onYield = [&] {
        // Longer strings in a new buffer: the old one and every name in it are freed.
        selection = {(dir / "not-chosen.txt").native() + SHRED_TEXT("-padding-to-reallocate"),
                     (dir / "not-chosen.txt").native()};
        selection.shrink_to_fit();
    };
    const auto left = shred::ShredSelection(observed, selection);
    EXPECT_TRUE(left.empty());
    EXPECT_FALSE(Exists(dir / "folder"));
    EXPECT_FALSE(Exists(dir / "chosen.txt"));
    EXPECT_FALSE(Exists(dir / "chosen-later.txt"));
    EXPECT_TRUE(ReadBytes(dir / "not-chosen.txt") == Filler(10));
}

TEST(DescribeLeftovers, ListsItemsWithReasonsUpToTheLimit) {
    std::vector<shred::Leftover> left;
    for (int i = 0; i < 5; ++i)
        left.push_back({Path(SHRED_TEXT("item")) + static_cast<shred::PathChar>('0' + i),
                        Failure::NotOverwritten, 32});
    left.push_back({SHRED_TEXT("rest"), Failure::NotReached, 0});
    const Path all = shred::DescribeLeftovers(left, 10);
    EXPECT_NE(all.find(SHRED_TEXT("item0: could not be overwritten, left untouched (error 32)")),
              Path::npos);
    EXPECT_NE(all.find(SHRED_TEXT("rest: not processed")), Path::npos);
    EXPECT_EQ(all.find(SHRED_TEXT("more.")), Path::npos);
    const Path capped = shred::DescribeLeftovers(left, 2);
    EXPECT_EQ(capped.find(SHRED_TEXT("item2")), Path::npos);
    EXPECT_NE(capped.find(SHRED_TEXT("... and 4 more.")), Path::npos);
}

}  // namespace
}  // namespace shredtest
