// Windows-only behaviour of the Win32 backend: real sharing locks and attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include "test_support.h"

namespace shredtest {
namespace {

TEST(Win32Locks, FileHeldOpenElsewhereIsLeftAsItWasAndReported) {
    TempDir dir;
    const fs::path locked = dir / "locked.txt";
    WriteBytes(locked, Filler(1000));
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), attributes));
    WriteBytes(dir / "free.txt", Filler(1000));
    HANDLE holder =
        ::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ObservedFs observed;
    const Path selection[] = {locked.native(), (dir / "free.txt").native()};
    const auto left = shred::ShredSelection(observed, selection);
    ::CloseHandle(holder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].failure, shred::Failure::NotOverwritten);
    EXPECT_EQ(left[0].error, static_cast<shred::ErrorCode>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(ReadBytes(locked) == Filler(1000));
    EXPECT_EQ(::GetFileAttributesW(locked.c_str()) & attributes, attributes);
    EXPECT_FALSE(Exists(dir / "free.txt"));
}

TEST(Win32Paths, ProbeSeesKindsThroughExtendedPaths) {
    TempDir dir;
    MakeDirs(dir / "folder");
    WriteBytes(dir / "file.txt", Filler(1));
    const auto real = shred::MakeNativeFileSystem();
    EXPECT_EQ(real->Probe((dir / "folder").native()), shred::Kind::Folder);
    EXPECT_EQ(real->Probe((dir / "file.txt").native()), shred::Kind::File);
    EXPECT_EQ(real->Probe((dir / "none").native()), shred::Kind::Missing);
    EXPECT_EQ(real->Probe((dir / "none" / "deeper").native()), shred::Kind::Missing);
    // Forward slashes, as some callers write them, name the same file.
    std::wstring slashed = (dir / "file.txt").native();
    for (auto& c : slashed) c = c == L'\\' ? L'/' : c;
    EXPECT_EQ(real->Probe(slashed), shred::Kind::File);
    EXPECT_EQ(real->OpenForOverwrite((dir / "folder").native()), nullptr);
}

}  // namespace
}  // namespace shredtest
