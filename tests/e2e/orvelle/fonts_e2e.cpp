// The font viewer of orvelle.exe from the outside: the faces Wine lists, a
// font file of the test's own installed through the file chooser (there at
// once, at the next opening and after a restart), a file that is no font
// refused. Leaves a picture of the window for docs/.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "platform/fonts.h"
#include "platform/win32/platform.h"

namespace orv::e2e {
namespace {

using win32::Narrow;
using win32::Wide;

// The test's own face: a DejaVu font with its names replaced by others of
// the same length, so no table moves and no face of the system has it.
constexpr std::string_view kSourceFont =
    "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf";
constexpr std::string_view kOldName = "DejaVu Sans Mono";
constexpr std::string_view kNewName = "OrvelleTest Mono";
constexpr std::string_view kFontFile = "OrvTestMono.ttf";

std::string Utf16Be(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += {'\0', c};
    return out;
}

void ReplaceAll(std::string& bytes, const std::string& from, const std::string& to) {
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at))
        bytes.replace(at, from.size(), to);
}

std::string TempFolder() {
    wchar_t tmp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, tmp);
    std::string t = Narrow(tmp);
    if (!t.empty() && t.back() == '\\') t.pop_back();
    return t;
}

std::string MachineValue(const std::string& name) {
    wchar_t buf[1024];
    DWORD size = sizeof buf;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                     Wide(name).c_str(), RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
        return {};
    return Narrow(buf);
}

class Fonts : public ::testing::Test {
  protected:
    // A prefix kept from an earlier run may hold the font already: it goes
    // before the program starts and loads what the fonts folder has.
    static void SetUpTestSuite() {
        wchar_t windir[MAX_PATH];
        GetWindowsDirectoryW(windir, MAX_PATH);
        DeleteFileW((std::wstring(windir) + L"\\Fonts\\" + Wide(kFontFile)).c_str());
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE,
                           L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                           Wide(std::string(kNewName) + " (TrueType)").c_str());
    }
    void SetUp() override {
        std::string why;
        main = StartOrvelle(program, why);
        ASSERT_TRUE(main) << why;
    }
    Window Get(std::string_view name, Window in) {
        Window w = FindControl(in, name);
        EXPECT_TRUE(w) << "no control " << name;
        return w;
    }
    Window Open() {
        EXPECT_TRUE(PostClick(Get("fontcmd", main)));
        Window w = FindForm("Fontsfrm", 10s, program.Id());
        EXPECT_TRUE(w) << "no window named Fontsfrm";
        return w;
    }
    void CloseWindow(Window w) {
        ASSERT_TRUE(PostClick(Get("Command2", w)));
        ASSERT_TRUE(WaitGone(w));
    }
    static std::vector<std::string> Faces(Window w) {
        std::vector<std::string> items;
        Window list = FindControl(w, "lstSystemFonts");
        for (int i = 0, n = ItemCount(list); i < n; ++i) items.push_back(ItemText(list, i));
        return items;
    }
    static bool Lists(Window w, std::string_view face) {
        auto faces = Faces(w);
        return std::find(faces.begin(), faces.end(), face) != faces.end();
    }
    // "Install new fonts", the file typed into the chooser; the message the
    // program answers with (and its box closed).
    std::string Install(Window w, const std::string& path) {
        if (!PostClick(Get("Command1", w))) return "<no click>";
        Window dialog = FindDialog(program.Id());
        if (!dialog) return "<no open dialog>";
        Window name = DialogItem(dialog, 0x47C);      // cmb13, the file name
        if (!name) name = DialogItem(dialog, 0x480);  // edt1 of the older dialog
        if (!name || !SetText(name, path) || !PressDialogButton(dialog, IDOK)) return "<dialog>";
        if (!WaitGone(dialog)) return "<dialog stayed>";
        Window box = FindDialog(program.Id());
        if (!box) return "<no message>";
        const std::string text = Text(DialogItem(box, 0xFFFF));
        PressDialogButton(box, IDOK);
        WaitGone(box);
        return text;
    }
    void Shot(Window w) {
        const std::string path = Environment("ORVELLE_E2E_SHOT");
        if (path.empty()) return;
        SetWindowPos(reinterpret_cast<HWND>(w.hwnd), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Sleep(1500);  // let the move and the last repaint land
        EXPECT_TRUE(Screenshot(w, WindowsPath(path)));
    }

    Process program;
    Window main;
};

TEST_F(Fonts, ListsWhatWineHasInstallsAFontAndRefusesAnythingElse) {
    auto real = win32::MakePlatform();
    platform::Platform& p = real->platform;
    const std::string folder = TempFolder() + "\\orvelle-e2e-fonts";
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    auto source = p.files.ReadFile(kSourceFont);
    ASSERT_TRUE(source) << "no " << kSourceFont << " (fonts-dejavu-core)";
    std::string bytes = *source;
    ReplaceAll(bytes, Utf16Be(kOldName), Utf16Be(kNewName));
    ReplaceAll(bytes, std::string(kOldName), std::string(kNewName));
    const std::string font = folder + "\\" + std::string(kFontFile);
    const std::string text = folder + "\\notes.ttf";
    ASSERT_EQ(p.files.SaveFile(font, bytes), 0);
    ASSERT_EQ(p.files.SaveFile(text, "not a font at all\r\n"), 0);
    auto names = platform::ReadFontFile(bytes);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->front().family, kNewName);

    Window w = Open();
    ASSERT_TRUE(w);
    EXPECT_EQ(Text(w), "Fonts");
    const auto faces = p.fonts.ScreenFaces();
    ASSERT_FALSE(faces.empty());
    EXPECT_EQ(Faces(w), faces) << "the faces this process sees, in the same order";
    EXPECT_FALSE(Lists(w, kNewName));
    // The size and a style reach the window: the picture shows them.
    ASSERT_TRUE(SetPosition(Get("UpDown1", w), 20));
    EXPECT_TRUE(WaitUntil([&] { return Text(Get("sizetxt", w)) == "20"; }));
    ASSERT_TRUE(Click(Get("Check2", w)));
    EXPECT_EQ(CheckState(Get("Check2", w)), 1);
    Shot(w);

    EXPECT_EQ(Install(w, text),
              "\"notes.ttf\" is not a TrueType or OpenType font. Nothing was installed.");
    wchar_t windir[MAX_PATH];
    GetWindowsDirectoryW(windir, MAX_PATH);
    const std::string fonts_folder = Narrow(windir) + "\\Fonts";
    EXPECT_EQ(p.files.GetAttributes(fonts_folder + "\\notes.ttf"), platform::kInvalidAttributes);

    EXPECT_EQ(Install(w, font), "The font " + std::string(kNewName) + " is installed.");
    EXPECT_TRUE(WaitUntil([&] { return Lists(w, kNewName); })) << "listed at once";
    EXPECT_EQ(p.files.ReadFile(fonts_folder + "\\" + std::string(kFontFile)), bytes);
    EXPECT_EQ(MachineValue(std::string(kNewName) + " (TrueType)"), kFontFile);
    EXPECT_EQ(Install(w, font), "The fonts folder already has a file named \"" +
                                    std::string(kFontFile) + "\". Nothing was installed.");
    CloseWindow(w);

    w = Open();
    ASSERT_TRUE(w);
    EXPECT_TRUE(Lists(w, kNewName)) << "listed at the next opening";
    CloseWindow(w);

    program.Kill();
    SetUp();
    w = Open();
    ASSERT_TRUE(w);
    EXPECT_TRUE(Lists(w, kNewName)) << "listed after a restart";
    CloseWindow(w);
}

}  // namespace
}  // namespace orv::e2e
