// comdlg32 is imported lazily by orvelle.exe; the same delay-import library
// links this test, so a dialog call made here goes the same way.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>
#include <gtest/gtest.h>

namespace {

TEST(DelayImport, ComDlg32LoadsAtItsFirstCall) {
    EXPECT_EQ(GetModuleHandleW(L"comdlg32.dll"), nullptr) << "loaded before any dialog";
    OPENFILENAMEW ofn{};  // a size of 0 is refused without showing anything
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    EXPECT_NE(GetModuleHandleW(L"comdlg32.dll"), nullptr);
}

}  // namespace
