// The icon windows of orvelle.exe from the outside, on a drive T: of the
// test's own (a folder of the build mapped by with-drive, a fixed drive to
// Wine): opened from the Drives panel, a folder given an icon from a PNG, the
// drive given one beside the label its autorun.inf already has. Each run
// leaves pictures of the three windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "e2e/driver.h"
#include "platform/text.h"
#include "platform/win32/platform.h"
#include "tools/ico.h"

namespace orv::e2e {
namespace {

using win32::Wide;

// A 4 x 2 picture in four colours.
constexpr char kPng[] =
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00"
    "\x00\x00\x02\x08\x02\x00\x00\x00\xf0\xca\xea\x34\x00\x00\x00\x19\x49\x44\x41\x54\x78"
    "\xda\x63\xf8\x7f\x82\x01\x88\x18\x1a\xfe\x83\x10\xc3\x02\x10\x02\x72\x81\x08\x00\x94"
    "\x5c\x09\x5d\x30\x42\xc0\xc2\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82";

constexpr wchar_t kMetrics[] = L"Control Panel\\desktop\\WindowMetrics";

std::string IconSize() {
    wchar_t buf[64];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_CURRENT_USER, kMetrics, L"Shell Icon Size", RRF_RT_REG_SZ, nullptr, buf,
                     &size) != ERROR_SUCCESS)
        return "<none>";
    return win32::Narrow(buf);
}

class Icons : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Environment("DISPLAY").empty()) << "the GUI tests need an X server (Xvfb)";
        ASSERT_EQ(GetDriveTypeW(L"T:\\"), static_cast<UINT>(DRIVE_FIXED)) << "T: is not mapped";
        auto& f = files();
        f.CreateFolder("T:\\Pics");
        ASSERT_EQ(f.SaveFile("T:\\Pics\\sun.png", std::string_view(kPng, sizeof kPng - 1)), 0);
        const std::wstring size = L"32";
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kMetrics, L"Shell Icon Size", REG_SZ,
                                  size.c_str(), static_cast<DWORD>((size.size() + 1) * 2)),
                  ERROR_SUCCESS);
        const std::string exe = WindowsPath(Environment("ORVELLE_EXE"));
        ASSERT_TRUE(program.Start(exe)) << exe;
        main = FindForm("mainform", 30s, program.Id());
        ASSERT_TRUE(main) << "no window named mainform";
        ASSERT_TRUE(WaitUntil([&] { return Visible(main); }, 10s));
        if (!Visible(Get("Frame1"))) {
            ASSERT_TRUE(Click(Get("syscmd")));
        }
        ASSERT_TRUE(Click(Get("Command5")));  // the Drives panel
        ASSERT_TRUE(WaitUntil([&] { return Visible(Get("iconscmd")); }));
    }
    platform::Files& files() { return real->platform.files; }
    Window Get(std::string_view name, Window in = {}) {
        Window w = FindControl(in ? in : main, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    void Shot(Window w, std::string_view what) { EXPECT_TRUE(DocsScreenshot(w, what)); }
    // iconsfrm with `option` chosen, then Next>>: the window it opens.
    Window OpenThrough(const char* option, const char* form) {
        EXPECT_TRUE(PostClick(Get("iconscmd")));
        icons = FindForm("iconsfrm", 10s, program.Id());
        EXPECT_TRUE(icons) << "Icons opened nothing";
        if (!icons) return {};
        // Found once created; a click before it shows would be refused.
        EXPECT_TRUE(WaitUntil([&] { return Visible(icons) && Enabled(icons); }, 15s));
        EXPECT_TRUE(Click(Get(option, icons)));
        EXPECT_TRUE(PostClick(Get("Command1", icons)));
        Window w = FindForm(form, 10s, program.Id());
        EXPECT_TRUE(w) << "no " << form;
        return w;
    }
    // Chooses the row whose text, without the indentation, is `text`.
    bool ChooseRow(Window list, std::string_view wanted) {
        for (int i = 0; i < ItemCount(list); ++i)
            if (text::TrimBlanks(ItemText(list, i)) == wanted) return ChooseItem(list, i);
        return false;
    }
    void CloseAll(Window w) {
        EXPECT_TRUE(Close(w));
        EXPECT_TRUE(WaitGone(w));
        EXPECT_TRUE(Close(icons));
        EXPECT_TRUE(WaitGone(icons));
    }

    std::unique_ptr<win32::RealPlatform> real = win32::MakePlatform();
    Process program;
    Window main, icons;
};

TEST_F(Icons, ChooserOpensNothingUntilAnOptionIsChosen) {
    EXPECT_EQ(Text(Get("iconscmd")), "Icons");
    ASSERT_TRUE(PostClick(Get("iconscmd")));
    icons = FindForm("iconsfrm", 10s, program.Id());
    ASSERT_TRUE(icons);
    ASSERT_TRUE(WaitUntil([&] { return Visible(icons); }, 15s)) << "iconsfrm not shown";
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(main); })) << "modal, owned by the main window";
    EXPECT_EQ(Text(icons), "Icons");
    EXPECT_EQ(Text(Get("drive1", icons)), "Drive");
    EXPECT_EQ(Text(Get("folder1", icons)), "Folder");
    EXPECT_EQ(Text(Get("Command1", icons)), "Next>>");
    Shot(icons, "iconsfrm");
    ASSERT_TRUE(Click(Get("Command1", icons)));
    EXPECT_FALSE(FindForm("icondrivefrm", 1s, program.Id()));
    EXPECT_FALSE(FindForm("iconfolderfrm", 1s, program.Id()));
    EXPECT_TRUE(Close(icons));
    EXPECT_TRUE(WaitGone(icons));
}

TEST_F(Icons, FolderGetsAnIconMadeFromAPng) {
    ASSERT_EQ(files().CreateFolder("T:\\Work"), 0);
    ASSERT_EQ(files().SaveFile("T:\\Work\\Desktop.ini",
                               "[.ShellClassInfo]\r\nLocalizedResourceName=Work things\r\n"),
              0);
    Window folder = OpenThrough("folder1", "iconfolderfrm");
    ASSERT_TRUE(folder);
    EXPECT_EQ(Text(folder), "Change folder icon");
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(icons); })) << "modal, owned by iconsfrm";
    Window drives = Get("Drive1", folder), dirs = Get("Dir1", folder);
    ASSERT_TRUE(ChooseRow(drives, "t:"));
    ASSERT_TRUE(WaitUntil([&] { return ItemText(dirs, 0) == "t:\\"; }));
    ASSERT_TRUE(ChooseRow(dirs, "Work"));
    ASSERT_TRUE(WaitUntil([&] { return SelectedItem(dirs) == 1; }));
    Window path = Get("Text1", folder);
    ASSERT_TRUE(SetText(path, "T:\\Pics\\sun.png"));
    ASSERT_TRUE(PressKey(path, VK_RETURN));  // the preview
    Shot(folder, "iconfolderfrm");
    ASSERT_TRUE(PostClick(Get("Command1", folder)));
    std::string icon;
    EXPECT_TRUE(WaitUntil(
        [&] {
            icon = files().ReadFile("T:\\Work\\IconX.ico").value_or("");
            return tools::ParseIco(icon).has_value();
        },
        10s))
        << "no valid IconX.ico";
    EXPECT_FALSE(FindDialog(program.Id(), 1s))
        << "a message: " << Text(FindDialog(program.Id(), 1s));
    const std::string ini = files().ReadFile("T:\\Work\\Desktop.ini").value_or("");
    EXPECT_EQ(ini,
              "[.ShellClassInfo]\r\nLocalizedResourceName=Work things\r\nIconFile=IconX.ico\r\n"
              "IconIndex=0\r\n");
    const bool read_only = files().GetAttributes("T:\\Work") & FILE_ATTRIBUTE_READONLY;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll && GetProcAddress(ntdll, "wine_get_version")) {
        std::printf("[ KNOWN GAP ] Wine: a folder keeps no read-only attribute\n");
        EXPECT_FALSE(read_only) << "Wine keeps it now: check it as on Windows";
    } else {
        EXPECT_TRUE(read_only);
    }
    const DWORD hs = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(files().GetAttributes("T:\\Work\\Desktop.ini") & hs, hs);
    EXPECT_TRUE(files().GetAttributes("T:\\Work\\IconX.ico") & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(IconSize(), "32") << "raised for the refresh and put back";
    CloseAll(folder);
}

TEST_F(Icons, DriveIconGoesBesideTheLabel) {
    ASSERT_EQ(files().SaveFile("T:\\autorun.inf", "[autorun]\r\nlabel=Orvelle test\r\n"), 0);
    Window drive = OpenThrough("drive1", "icondrivefrm");
    ASSERT_TRUE(drive);
    EXPECT_EQ(Text(drive), "Change drive icon");
    ASSERT_TRUE(ChooseRow(Get("Drive1", drive), "t:"));
    Window path = Get("Text1", drive);
    ASSERT_TRUE(SetText(path, "\"T:\\Pics\\sun.png\""));
    ASSERT_TRUE(PressKey(path, VK_RETURN));
    Shot(drive, "icondrivefrm");
    ASSERT_TRUE(PostClick(Get("Command1", drive)));
    const std::string want = "[autorun]\r\nlabel=Orvelle test\r\nicon=\"T:\\Pics\\sun.png\"\r\n";
    EXPECT_TRUE(
        WaitUntil([&] { return files().ReadFile("T:\\autorun.inf").value_or("") == want; }, 10s))
        << files().ReadFile("T:\\autorun.inf").value_or("<none>");
    EXPECT_FALSE(FindDialog(program.Id(), 1s));
    EXPECT_EQ(IconSize(), "32");
    CloseAll(drive);
}

}  // namespace
}  // namespace orv::e2e
