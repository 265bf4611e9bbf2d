#include "registry/regpath.h"

#include "fixture.h"

namespace orv::registry {
namespace {

using namespace platform;

TEST(ParseRegPath, RootsPathsAndDefaultValues) {
    struct Case {
        const char* path;
        bool ok;
        HKey root;
        const char* key;
        const char* value;
    } cases[] = {
        {"HKCU\\Control Panel\\Desktop\\MenuShowDelay", true, kCurrentUser,
         "Control Panel\\Desktop", "MenuShowDelay"},
        {"hkey_current_user\\Software\\X\\Shell icon size", true, kCurrentUser, "Software\\X",
         "Shell icon size"},
        {"HKEY_USERS\\.DEFAULT\\Control Panel\\Desktop\\MenuShowDelay", true, kUsers,
         ".DEFAULT\\Control Panel\\Desktop", "MenuShowDelay"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\IE\\Editor Name\\", true, kLocalMachine,
         "SOFTWARE\\IE\\Editor Name", ""},
        {"HKLM\\SOFTWARE\\", true, kLocalMachine, "SOFTWARE", ""},
        {"HKCR\\.txt\\", true, kClassesRoot, ".txt", ""},
        {"HKCU\\Value", true, kCurrentUser, "", "Value"},
        {"HKCUX\\Software\\Value", false, 0, "", ""},
        {"HKCU", false, 0, "", ""},
        {"Software\\Value", false, 0, "", ""},
        {"", false, 0, "", ""},
    };
    for (const auto& c : cases) {
        auto p = ParseRegPath(c.path);
        ASSERT_EQ(p.has_value(), c.ok) << c.path;
        if (!c.ok) continue;
        EXPECT_EQ(p->root, c.root) << c.path;
        EXPECT_EQ(p->key, c.key) << c.path;
        EXPECT_EQ(p->value, c.value) << c.path;
    }
}

class RegPathTest : public testing::RegistryFixture {
  protected:
    RegistryPaths& paths() {
        if (!paths_) paths_ = std::make_unique<RegistryPaths>(reg(), env());
        return *paths_;
    }
    std::unique_ptr<RegistryPaths> paths_;
};

TEST_F(RegPathTest, ReadsGiveNumbersAndTextsOrAnError) {
    Put("Desktop", "MenuShowDelay", MakeSz("400"));
    Put("Desktop", "Zero", MakeDword(0));
    Put("Desktop", "Minus", MakeDword(0xFFFFFFFF));
    Put("Desktop", "Empty", MakeSz(""));
    Put("Desktop", "Nul", RegValue{kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0}});
    Put("Desktop", "Unterminated", RegValue{kRegSz, {'o', 0, 'k', 0}});
    Put("Desktop", "Expand", MakeSz("%SystemRoot%\\Web", kRegExpandSz));
    Put("Desktop", "Bytes", MakeBinary({1, 2}));
    Put("Desktop", "", MakeSz("default text"));
    const std::string root = env().Get("SystemRoot").value_or("?");

    struct Case {
        const char* rest;
        const char* value;  // RegReadValue
    } cases[] = {
        {"Desktop\\MenuShowDelay", "400"},
        {"desktop\\menushowdelay", "400"},
        {"Desktop\\Zero", "0"},
        {"Desktop\\Minus", "-1"},
        {"Desktop\\Empty", "Error"},
        {"Desktop\\Missing", "Error"},
        {"Nowhere\\Value", "Error"},
        {"Desktop\\Nul", "a"},
        {"Desktop\\Unterminated", "ok"},
        {"Desktop\\Bytes", "Error"},
        {"Desktop\\", "default text"},
    };
    for (const auto& c : cases) EXPECT_EQ(paths().RegReadValue(Cu(c.rest)), c.value) << c.rest;
    EXPECT_EQ(paths().RegReadValue(Cu("Desktop\\Expand")), root + "\\Web");

    auto missing = paths().RegRead(Cu("Desktop\\Missing"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Status(), kFileNotFound);
    auto number = paths().RegRead(Cu("Desktop\\Zero"));
    ASSERT_TRUE(number);
    EXPECT_TRUE(std::holds_alternative<std::int64_t>(number.Data()));
}

TEST_F(RegPathTest, WritesCreateKeysAndReplaceWhateverWasThere) {
    EXPECT_EQ(paths().ApplyCheck(Cu("Policies\\Explorer\\NoClose"), 1), kSuccess);
    EXPECT_EQ(Get("Policies\\Explorer", "NoClose"), MakeDword(1));
    EXPECT_EQ(paths().ApplyCheck(Cu("Policies\\Explorer\\NoClose"), 0), kSuccess);
    EXPECT_EQ(Get("Policies\\Explorer", "NoClose"), MakeDword(0));

    EXPECT_EQ(paths().ApplyText(Cu("View Source Editor\\Editor Name\\"), "notepad.exe"), kSuccess);
    EXPECT_EQ(Get("View Source Editor\\Editor Name", ""), MakeSz("notepad.exe"));

    Put("Mouse", "SwapMouseButtons", MakeDword(5));
    EXPECT_EQ(paths().ApplyText(Cu("mouse\\SwapMouseButtons"), "1"), kSuccess);
    EXPECT_EQ(Get("Mouse", "SwapMouseButtons"), MakeSz("1")) << "the type follows the write";
    EXPECT_EQ(paths().ApplyText(Cu("Mouse\\MouseSensitivity"), ""), kSuccess);
    EXPECT_EQ(Get("Mouse", "MouseSensitivity"), MakeSz(""));
    EXPECT_EQ(paths().RegWrite(Cu("Mouse\\Speed"), RegData{std::int64_t{12}}), kSuccess);
    EXPECT_EQ(Get("Mouse", "Speed"), MakeSz("12"))
        << "a number written without a type word is text";

    EXPECT_EQ(paths().RegWrite(Cu("Mouse\\Bad"), RegData{std::string("abc")}, "REG_DWORD"),
              kInvalidParameter);
    EXPECT_FALSE(Get("Mouse", "Bad").has_value());
}

// The scripting object answers a path it cannot parse with
// ERROR_PATH_NOT_FOUND, for reads and writes alike.
TEST_F(RegPathTest, PathsThatDoNotParseAreNotFound) {
    for (const char* path :
         {"HKCUX\\Software\\Bad", "HKEY_NOWHERE\\Software\\Bad", "HKCU", "Software\\Bad", ""}) {
        auto read = paths().RegRead(path);
        EXPECT_FALSE(read) << path;
        EXPECT_EQ(read.Status(), kPathNotFound) << path;
        EXPECT_EQ(paths().RegReadValue(path), "Error") << path;
        EXPECT_EQ(paths().RegWrite(path, RegData{std::string("x")}), kPathNotFound) << path;
    }
}

TEST_F(RegPathTest, RefusedWritesAreErrors) {
    HKey k = 0;
    ASSERT_EQ(reg().CreateKey(kCurrentUser, Sub("parent\\child"), kKeyAllAccess, k), kSuccess);
    reg().CloseKey(k);
    // A read-only handle is the portable way to be refused; the simulation
    // can also deny rights on the key itself.
    if (backend->Deny(Sub("parent\\child"), kKeySetValue)) {
        EXPECT_EQ(paths().ApplyCheck(Cu("parent\\child\\Locked"), 1), kAccessDenied);
    }
    EXPECT_EQ(
        paths().RegWrite("HKCU\\" + Sub("parent") + "\\", RegData{std::string("x")}, "REG_QWORD"),
        kInvalidParameter);
}

TEST_F(RegPathTest, LoadPatternsLeaveTheControlAloneOnFailure) {
    struct Box {
        int value = -7;
        void SetValue(int v) { value = v; }
    };
    Put("Load", "On", MakeDword(1));
    Put("Load", "TextOne", MakeSz("1"));
    Put("Load", "Huge", MakeDword(70000));
    Put("Load", "Word", MakeSz("yes"));
    Put("Load", "Off", MakeDword(0));
    Put("Load", "Grey", MakeDword(2));
    Put("Load", "Five", MakeDword(5));
    Put("Load", "AllBits", MakeDword(0xFFFFFFFF));
    Put("Load", "TextMinus", MakeSz("-1"));
    struct Case {
        const char* rest;
        bool loaded;
        int value;
    } cases[] = {
        {"Load\\On", true, 1},
        {"Load\\TextOne", true, 1},
        {"Load\\Off", true, 0},
        {"Load\\Grey", true, 2},
        {"Load\\Missing", false, -7},
        {"Load\\Huge", false, -7},
        {"Load\\Word", false, -7},
        // numbers that are no check box state: the design state stands
        {"Load\\Five", false, -7},
        {"Load\\AllBits", false, -7},
        {"Load\\TextMinus", false, -7},
    };
    for (const auto& c : cases) {
        Box box;
        EXPECT_EQ(paths().LoadCheck(Cu(c.rest), box), c.loaded) << c.rest;
        EXPECT_EQ(box.value, c.value) << c.rest;
    }
    std::string text = "design";
    EXPECT_FALSE(paths().LoadText(Cu("Load\\Missing"), [&](const std::string& t) { text = t; }));
    EXPECT_EQ(text, "design");
    EXPECT_TRUE(paths().LoadText(Cu("Load\\Word"), [&](const std::string& t) { text = t; }));
    EXPECT_EQ(text, "yes");
}

TEST_F(RegPathTest, OneSettingForBothProfiles) {
    const std::string rest = Sub("Desktop") + "\\MenuShowDelay";
    ASSERT_EQ(paths().ApplyBothProfiles(rest, RegData{std::string("200")}), kSuccess);
    EXPECT_EQ(paths().RegReadValue("HKCU\\" + rest), "200");
    EXPECT_EQ(paths().RegReadValue("HKEY_USERS\\.DEFAULT\\" + rest), "200");
}

}  // namespace
}  // namespace orv::registry
