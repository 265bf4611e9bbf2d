// The in-place edits of autorun.inf and Desktop.ini: the keys asked for
// change, every other byte stays, and the encoding is the file's own.
#include "tools/ini_edit.h"
#include "platform/text.h"
#include "tool_fixture.h"

namespace orv::tools {
namespace {

using When = IniKeyEdit::When;

std::string Utf16File(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    for (auto b : text::Utf16Bytes(text::Utf8ToUtf16(utf8))) out += static_cast<char>(b);
    return out;
}

using IniEditTest = testing::ToolTest;

const std::vector<IniKeyEdit> kFolderEdits = {
    {"IconFile", "IconX.ico"},
    {"IconIndex", "0"},
    {"IconResource", "IconX.ico,0", When::IfPresent},
    {"InfoTip", "", When::IfMissingAndNotEmpty},
};

TEST_F(IniEditTest, OnlyTheAskedKeysChangeAndEveryOtherLineKeepsItsBytes) {
    struct Case {
        const char* name;
        std::optional<std::string> before;
        const char* section;
        std::vector<IniKeyEdit> edits;
        std::string after;
    } cases[] = {
        {"no file: autorun made",
         std::nullopt,
         "autorun",
         {{"icon", "\"D:\\x.ico\""}},
         "[autorun]\r\nicon=\"D:\\x.ico\"\r\n"},
        {"label and open kept, icon replaced",
         "[autorun]\r\nlabel=Backup\r\nicon=old.ico\r\nopen=setup.exe\r\n",
         "autorun",
         {{"icon", "new.ico"}},
         "[autorun]\r\nlabel=Backup\r\nicon=new.ico\r\nopen=setup.exe\r\n"},
        {"key spelt otherwise, blanks before '='",
         "[AutoRun]\nLabel=X\n  Icon =old\n",
         "autorun",
         {{"icon", "n.ico"}},
         "[AutoRun]\nLabel=X\n  Icon =n.ico\n"},
        {"missing key after the last non-blank line, LF kept",
         "[autorun]\nlabel=X\n\n[other]\nicon=not this\n",
         "autorun",
         {{"icon", "n.ico"}},
         "[autorun]\nlabel=X\nicon=n.ico\n\n[other]\nicon=not this\n"},
        {"last line without an end gets one",
         "[autorun]\r\nlabel=X",
         "autorun",
         {{"icon", "n.ico"}},
         "[autorun]\r\nlabel=X\r\nicon=n.ico\r\n"},
        {"no such section: appended",
         "; made by hand\r\n[other]\r\na=1",
         "autorun",
         {{"icon", "n.ico"}},
         "; made by hand\r\n[other]\r\na=1\r\n[autorun]\r\nicon=n.ico\r\n"},
        {"commented key is not the key",
         "[autorun]\r\n;icon=old\r\n",
         "autorun",
         {{"icon", "n.ico"}},
         "[autorun]\r\n;icon=old\r\nicon=n.ico\r\n"},
        {"only the first section of the name",
         "[autorun]\r\na=1\r\n[autorun]\r\nicon=2\r\n",
         "autorun",
         {{"icon", "n"}},
         "[autorun]\r\na=1\r\nicon=n\r\n[autorun]\r\nicon=2\r\n"},
        {"desktop.ini: localized name and tip kept",
         "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\nIconResource=%x%,3\r\n"
         "InfoTip=Mine\r\n[ViewState]\r\nMode=\r\n",
         ".ShellClassInfo", kFolderEdits,
         "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\n"
         "IconResource=IconX.ico,0\r\nInfoTip=Mine\r\nIconFile=IconX.ico\r\nIconIndex=0\r\n"
         "[ViewState]\r\nMode=\r\n"},
        {"desktop.ini made fresh: no resource, no empty tip", std::nullopt, ".ShellClassInfo",
         kFolderEdits, "[.ShellClassInfo]\r\nIconFile=IconX.ico\r\nIconIndex=0\r\n"},
        {"a tip given where none is",
         "[.ShellClassInfo]\r\n",
         ".ShellClassInfo",
         {{"InfoTip", "Photos", When::IfMissingAndNotEmpty}},
         "[.ShellClassInfo]\r\nInfoTip=Photos\r\n"},
        {"ANSI bytes of other lines untouched",
         "[autorun]\r\nlabel=Caf\xE9\r\n",
         "autorun",
         {{"icon", "caf\xC3\xA9.ico"}},
         "[autorun]\r\nlabel=Caf\xE9\r\nicon=caf\xE9.ico\r\n"},
        {"UTF-8 with a mark stays so",
         "\xEF\xBB\xBF[autorun]\r\nlabel=\xE2\x82\xAC\r\n",
         "autorun",
         {{"icon", "\xD0\x96.ico"}},
         "\xEF\xBB\xBF[autorun]\r\nlabel=\xE2\x82\xAC\r\nicon=\xD0\x96.ico\r\n"},
        {"UTF-16 stays so",
         Utf16File("[.ShellClassInfo]\r\nIconFile=a.ico\r\nX=\xE6\xBC\xA2\r\n"),
         ".ShellClassInfo",
         {{"IconFile", "IconX.ico"}},
         Utf16File("[.ShellClassInfo]\r\nIconFile=IconX.ico\r\nX=\xE6\xBC\xA2\r\n")},
        {"a path the code page cannot hold turns the file into UTF-16",
         "[.ShellClassInfo]\r\nLocalizedResourceName=Caf\xE9\r\n",
         ".ShellClassInfo",
         {{"IconFile", "C:\\\xD0\x96\\a.ico"}},
         Utf16File("[.ShellClassInfo]\r\nLocalizedResourceName=Caf\xC3\xA9\r\nIconFile=C:"
                   "\\\xD0\x96\\a.ico\r\n")},
        {"and a new file too",
         std::nullopt,
         "autorun",
         {{"icon", "\xE6\xBC\xA2.ico"}},
         Utf16File("[autorun]\r\nicon=\xE6\xBC\xA2.ico\r\n")},
    };
    for (const auto& c : cases) {
        std::optional<std::string_view> before;
        if (c.before) before = *c.before;
        EXPECT_EQ(EditIniFile(before, c.section, c.edits, world.files), c.after) << c.name;
    }
}

TEST_F(IniEditTest, WhatIsWrittenReadsBackThroughTheProfileRules) {
    const std::string path = "C:\\Data\\Desktop.ini";
    for (const std::string& before :
         {std::string("[.ShellClassInfo]\nIconFile=old\n"), Utf16File("[.ShellClassInfo]\r\n")}) {
        world.files.WriteFile(path,
                              EditIniFile(before, ".ShellClassInfo", kFolderEdits, world.files));
        EXPECT_EQ(world.profiles.GetString(".ShellClassInfo", "IconFile", "", 255, path),
                  "IconX.ico");
        EXPECT_EQ(world.profiles.GetString(".ShellClassInfo", "IconIndex", "", 255, path), "0");
    }
}

}  // namespace
}  // namespace orv::tools
