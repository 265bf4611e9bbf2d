#include "tweaks/explorer.h"

#include "fixture.h"

namespace orv::tweaks::testing {
namespace {

constexpr const char* kMain = "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\";
constexpr const char* kEditor =
    "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name\\";
constexpr const char* kDownload =
    "HKCU\\Software\\Microsoft\\Internet Explorer\\Download Directory";
constexpr const char* kBack = "HKCU\\Software\\Microsoft\\Internet Explorer\\Toolbar\\BackBitmap";
constexpr const char* kPersistent =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache\\Persistent";
constexpr const char* kRegTools =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System\\DisableRegistryTools";
constexpr const char* kTyped = "HKCU\\Software\\Microsoft\\Internet Explorer\\TypedURLs\\url1";

class ExplorerTest : public TweaksTest {
  protected:
    void Load() {
        pages = std::make_unique<ExplorerPages>(window, platform, window.OptionsFrame0,
                                                window.OptionsFrame1, window.cd1);
        Show();
        pages->Load();
    }
    std::unique_ptr<ExplorerPages> pages;
};

TEST_F(ExplorerTest, FreshProfileLeavesTheDesignStateAndWritesNothing) {
    Load();
    for (ui::TextBox* box :
         {&pages->changetxt, &pages->editortxt, &pages->hometxt, &pages->txtDownloadFolder})
        EXPECT_EQ(box->Text(), "") << box->Name();
    for (ui::CheckBox* box :
         {&pages->EmptyCheck, &pages->FullCheck, &pages->ieclearh, &pages->disableregchk})
        EXPECT_EQ(box->Value(), 0) << box->Name();
    EXPECT_TRUE(recorder.writes.empty());
}

TEST_F(ExplorerTest, StoredValuesAreShownAndLoadingWritesNothing) {
    Text(std::string(kMain) + "Window Title", "My Browser");
    Text(kEditor, "C:\\Tools\\edit.exe");
    Text(std::string(kMain) + "Start Page", "about:blank");
    Text(kDownload, "D:\\Downloads");
    Dword(kPersistent, 0);
    Text(std::string(kMain) + "FullScreen", "YES");
    Dword(kRegTools, 1);
    Load();
    EXPECT_EQ(pages->changetxt.Text(), "My Browser");
    EXPECT_EQ(pages->editortxt.Text(), "C:\\Tools\\edit.exe");
    EXPECT_EQ(pages->hometxt.Text(), "about:blank");
    EXPECT_EQ(pages->txtDownloadFolder.Text(), "D:\\Downloads");
    EXPECT_EQ(pages->EmptyCheck.Value(), 1);
    EXPECT_EQ(pages->FullCheck.Value(), 1);
    EXPECT_EQ(pages->disableregchk.Value(), 1);
    EXPECT_TRUE(recorder.writes.empty());
}

TEST_F(ExplorerTest, UnusableStoredValuesLeaveTheDesignState) {
    Dword(kPersistent, 7);
    Text(std::string(kMain) + "FullScreen", "maybe");
    Text(kRegTools, "locked");
    Dword(std::string(kMain) + "Window Title", 0);  // a number shows as its digits
    Load();
    EXPECT_EQ(pages->EmptyCheck.Value(), 0);
    EXPECT_EQ(pages->FullCheck.Value(), 0);
    EXPECT_EQ(pages->disableregchk.Value(), 0);
    EXPECT_EQ(pages->changetxt.Text(), "0");
}

TEST_F(ExplorerTest, ApplyWritesTheThreeBoxesInOrderAndKeepsWhatWasNotTouched) {
    Text(std::string(kMain) + "Window Title", "Kept");
    Text(std::string(kMain) + "Start Page", "http://example.org/");
    Load();
    host.Type(pages->editortxt, "");
    ASSERT_TRUE(host.Click(pages->applycmd));
    EXPECT_EQ(recorder.writes,
              (std::vector<std::string>{
                  "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Window Title",
                  "HKLM\\SOFTWARE\\Microsoft\\Internet Explorer\\View Source "
                  "Editor\\Editor Name\\",
                  "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page"}));
    EXPECT_EQ(TextAt(std::string(kMain) + "Window Title"), "Kept");
    EXPECT_EQ(TextAt(std::string(kMain) + "Start Page"), "http://example.org/");
    EXPECT_EQ(TextAt(kEditor), "") << "the editor key is created with an empty default";
}

TEST_F(ExplorerTest, ApplyGoesOnPastARefusedWrite) {
    Load();
    world.registry.Deny(platform::kLocalMachine, "SOFTWARE",
                        platform::kKeyCreateSubKey | platform::kKeySetValue);
    host.Type(pages->hometxt, "about:home");
    ASSERT_TRUE(host.Click(pages->applycmd));
    EXPECT_EQ(TextAt(kEditor), "<absent>");
    EXPECT_EQ(TextAt(std::string(kMain) + "Start Page"), "about:home");
}

TEST_F(ExplorerTest, ClickedBoxesWriteAtOnce) {
    Load();
    struct Step {
        ui::CheckBox* box;
        const char* path;
        const char* expected;  // text, or the DWORD's digits
    };
    const Step steps[] = {
        {&pages->EmptyCheck, kPersistent, "0"},
        {&pages->EmptyCheck, kPersistent, "1"},
        {&pages->FullCheck, "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\FullScreen",
         "yes"},
        {&pages->FullCheck, "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\FullScreen", "no"},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(host.Click(*s.box));
        auto d = DwordAt(s.path);
        EXPECT_EQ(d ? std::to_string(*d) : TextAt(s.path), s.expected) << s.box->Name();
    }
}

TEST_F(ExplorerTest, PictureAndEditorChoicesAndTheirCancel) {
    Text(kBack, "C:\\old.bmp");
    Load();
    host.open_answers = {"", "C:\\Pictures\\bar.bmp", "", "C:\\Tools\\ed.exe"};
    ASSERT_TRUE(host.Click(pages->browse2cmd));
    EXPECT_EQ(TextAt(kBack), "C:\\old.bmp") << "cancelled";
    ASSERT_TRUE(host.Click(pages->browse2cmd));
    EXPECT_EQ(TextAt(kBack), "C:\\Pictures\\bar.bmp");
    EXPECT_EQ(window.cd1.filter, "Bmp Files|*.bmp");
    ASSERT_TRUE(host.Click(pages->browse3cmd));
    EXPECT_EQ(pages->editortxt.Text(), "") << "cancelled";
    ASSERT_TRUE(host.Click(pages->browse3cmd));
    EXPECT_EQ(pages->editortxt.Text(), "C:\\Tools\\ed.exe");
    EXPECT_EQ(window.cd1.filter, "Application|*.exe");
    EXPECT_EQ(TextAt(kEditor), "<absent>") << "written only by Apply";
    ASSERT_TRUE(host.Click(pages->nonecmd));
    EXPECT_EQ(TextAt(kBack), "");
}

TEST_F(ExplorerTest, DownloadFolderChosenIsWrittenCancelWritesNothing) {
    Text(kDownload, "D:\\Stored");
    Load();
    host.Type(pages->txtDownloadFolder, "typed");
    world.shell.folder_answers = {"", "E:\\"};
    ASSERT_TRUE(host.Click(pages->browsecmd));
    EXPECT_EQ(pages->txtDownloadFolder.Text(), "D:\\Stored");
    EXPECT_TRUE(recorder.writes.empty());
    ASSERT_TRUE(host.Click(pages->browsecmd));
    EXPECT_EQ(TextAt(kDownload), "E:\\");
    EXPECT_EQ(world.shell.browse_titles,
              (std::vector<std::string>{"Please Select a new Dowload Folder",
                                        "Please Select a new Dowload Folder"}));
}

TEST_F(ExplorerTest, PrivacyApply) {
    struct Case {
        const char* name;
        bool clear;
        bool typed_before;
        int lock;
        bool typed_after;
        bool key_after;
    };
    const Case cases[] = {
        {"history kept", false, true, 0, true, true},
        {"history cleared", true, true, 1, false, true},
        {"key created", true, false, 1, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.typed_before) Text(kTyped, "http://a/");
        TestWindow w(host);
        ExplorerPages p(w, platform, w.OptionsFrame0, w.OptionsFrame1, w.cd1);
        p.Load();
        p.ieclearh.SetValue(c.clear ? 1 : 0);
        p.disableregchk.SetValue(c.lock);
        p.applyprivacy_Click();
        EXPECT_EQ(TextAt(kTyped) != "<absent>", c.typed_after);
        platform::HKey k = 0;
        EXPECT_EQ(world.registry.OpenKey(platform::kCurrentUser, kTypedUrlsKey, platform::kKeyRead,
                                         k) == platform::kSuccess,
                  c.key_after);
        world.registry.CloseKey(k);
        EXPECT_EQ(DwordAt(kRegTools), static_cast<std::uint32_t>(c.lock));
    }
}

TEST_F(ExplorerTest, AStoredRegistryLockSurvivesAPrivacyApply) {
    Dword(kRegTools, 1);
    Load();
    ASSERT_TRUE(host.Click(pages->applyprivacy));
    EXPECT_EQ(DwordAt(kRegTools), 1u);
}

}  // namespace
}  // namespace orv::tweaks::testing
