// What the program relies on of the registry, checked against both backends.
#include <gtest/gtest.h>

#include <cstdio>
#include <source_location>

#include "backend.h"
#include "platform/regvalue.h"

namespace orv {
namespace {

using namespace platform;

class RegistryContract : public ::testing::Test {
  protected:
    void SetUp() override {
        backend = testing::MakeTestBackend();
        ASSERT_EQ(reg().OpenKey(kCurrentUser, backend->SandboxKey(), kKeyAllAccess, box), kSuccess);
    }
    void TearDown() override {
        reg().CloseKey(box);
        backend.reset();
    }
    Registry& reg() { return backend->P().registry; }
    HKey Create(std::string_view sub, std::uint32_t access = kKeyAllAccess,
                std::source_location caller = std::source_location::current()) {
        ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()), "Create");
        HKey k = 0;
        EXPECT_EQ(reg().CreateKey(box, sub, access, k), kSuccess) << sub;
        return k;
    }
    std::vector<std::string> Subkeys(HKey k) {
        std::vector<std::string> names;
        std::string n;
        for (std::uint32_t i = 0; reg().EnumKey(k, i, n) == kSuccess; ++i) names.push_back(n);
        return names;
    }
    std::vector<std::string> ValueNames(HKey k) {
        std::vector<std::string> names;
        std::string n;
        RegValue v;
        for (std::uint32_t i = 0; reg().EnumValue(k, i, n, v) == kSuccess; ++i) names.push_back(n);
        return names;
    }

    std::unique_ptr<testing::TestBackend> backend;
    HKey box = 0;
};

TEST_F(RegistryContract, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    HKey k = Create("Control Panel\\Mouse");
    ASSERT_EQ(reg().SetValue(k, "SwapMouseButtons", MakeSz("1")), kSuccess);
    reg().CloseKey(k);

    HKey again = 0;
    ASSERT_EQ(reg().OpenKey(box, "control panel\\MOUSE", kKeyRead, again), kSuccess);
    RegValue v;
    EXPECT_EQ(reg().QueryValue(again, "swapmousebuttons", v), kSuccess);
    EXPECT_EQ(v, MakeSz("1"));
    ASSERT_EQ(reg().SetValue(again, "SWAPMOUSEBUTTONS", MakeSz("0")), kAccessDenied)
        << "a handle opened for reading must refuse writes";
    reg().CloseKey(again);

    HKey cp = 0;
    ASSERT_EQ(reg().OpenKey(box, "CONTROL PANEL", kKeyRead, cp), kSuccess);
    EXPECT_EQ(Subkeys(cp), std::vector<std::string>{"Mouse"});
    reg().CloseKey(cp);
}

TEST_F(RegistryContract, SubkeysEnumerateSortedAndValuesInTheirOrder) {
    HKey k = Create("order");
    for (const char* name : {"zeta", "Alpha", "beta"})
        reg().CloseKey(Create(std::string("order\\") + name));
    EXPECT_EQ(Subkeys(k), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    for (const char* name : {"second", "first", "third"}) reg().SetValue(k, name, MakeDword(1));
    ORV_KNOWN_WINE_GAP(*backend,
                       "wineserver keeps values sorted by name, Windows in creation order") {
        EXPECT_EQ(ValueNames(k), (std::vector<std::string>{"second", "first", "third"}));
    }
    std::string n;
    EXPECT_EQ(reg().EnumKey(k, 3, n), kNoMoreItems);
    RegValue v;
    EXPECT_EQ(reg().EnumValue(k, 3, n, v), kNoMoreItems);
    reg().CloseKey(k);
}

TEST_F(RegistryContract, MissingKeysAndValuesAreNotFound) {
    HKey k = 0;
    EXPECT_EQ(reg().OpenKey(box, "nowhere\\deeper", kKeyRead, k), kFileNotFound);
    HKey empty = Create("empty");
    RegValue v;
    EXPECT_EQ(reg().QueryValue(empty, "", v), kFileNotFound) << "no default value was ever set";
    EXPECT_EQ(reg().QueryValue(empty, "absent", v), kFileNotFound);
    EXPECT_EQ(reg().DeleteValue(empty, "absent"), kFileNotFound);
    reg().CloseKey(empty);
}

TEST_F(RegistryContract, CreateMakesEveryMissingKeyAndReportsWhetherItWasNew) {
    HKey k = 0;
    bool created = false;
    ASSERT_EQ(reg().CreateKey(box, "a\\b\\c", kKeyAllAccess, k, &created), kSuccess);
    EXPECT_TRUE(created);
    reg().CloseKey(k);
    ASSERT_EQ(reg().CreateKey(box, "A\\B\\C", kKeyAllAccess, k, &created), kSuccess);
    EXPECT_FALSE(created);
    reg().CloseKey(k);
    ASSERT_EQ(reg().OpenKey(box, "a\\b", kKeyRead, k), kSuccess);
    EXPECT_EQ(Subkeys(k), std::vector<std::string>{"c"});
    reg().CloseKey(k);
}

TEST_F(RegistryContract, EmptySubkeyOpensTheKeyItselfAndRootsCloseHarmlessly) {
    HKey self = 0;
    ASSERT_EQ(reg().OpenKey(box, "", kKeyAllAccess, self), kSuccess);
    ASSERT_EQ(reg().SetValue(self, "through-self", MakeDword(7)), kSuccess);
    RegValue v;
    EXPECT_EQ(reg().QueryValue(box, "through-self", v), kSuccess);
    reg().CloseKey(self);
    EXPECT_EQ(reg().CloseKey(kCurrentUser), kSuccess);
    HKey users = 0;
    EXPECT_EQ(reg().OpenKey(kUsers, ".DEFAULT", kKeyRead, users), kSuccess);
    reg().CloseKey(users);
}

TEST_F(RegistryContract, DataComesBackByteForByteWhateverItsShape) {
    struct Case {
        const char* name;
        RegValue value;
    };
    std::vector<std::uint8_t> big(5000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
    const Case cases[] = {
        {"text", MakeSz("C:\\Windows")},
        {"unterminated", {kRegSz, {'a', 0, 'b', 0}}},
        {"embedded nul", {kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0}}},
        {"zero length text", {kRegSz, {}}},
        {"odd length text", {kRegSz, {'a', 0, 'b'}}},
        {"expand", MakeSz("%SystemRoot%\\x", kRegExpandSz)},
        {"multi", MakeMultiSz({"a", "b"})},
        {"multi without final nul", {kRegMultiSz, {'a', 0, 0, 0, 'b', 0}}},
        {"short dword", {kRegDword, {1, 2}}},
        {"zero length dword", {kRegDword, {}}},
        {"qword", MakeQword(0x1122334455667788ULL)},
        {"binary 5000", MakeBinary(big)},
        {"none", {kRegNone, {1}}},
    };
    HKey k = Create("shapes");
    for (const auto& c : cases) ASSERT_EQ(reg().SetValue(k, c.name, c.value), kSuccess) << c.name;
    for (const auto& c : cases) {
        RegValue got;
        ASSERT_EQ(reg().QueryValue(k, c.name, got), kSuccess) << c.name;
        EXPECT_EQ(got.type, c.value.type) << c.name;
        EXPECT_EQ(got.data, c.value.data) << c.name;
    }
    RegKeyInfo info;
    ASSERT_EQ(reg().QueryInfoKey(k, info), kSuccess);
    EXPECT_EQ(info.values, std::size(cases));
    EXPECT_EQ(info.subkeys, 0u);
    EXPECT_EQ(info.max_value_len, 5000u);
    EXPECT_EQ(info.max_value_name_len, std::string("multi without final nul").size());
    reg().CloseKey(k);
}

TEST_F(RegistryContract, AnExistingValueIsReplacedWhateverItsType) {
    HKey k = Create("retype");
    ASSERT_EQ(reg().SetValue(k, "v", MakeSz("text")), kSuccess);
    ASSERT_EQ(reg().SetValue(k, "V", MakeDword(1)), kSuccess);
    RegValue got;
    ASSERT_EQ(reg().QueryValue(k, "v", got), kSuccess);
    EXPECT_EQ(got, MakeDword(1));
    EXPECT_EQ(ValueNames(k).size(), 1u);
    reg().CloseKey(k);
}

TEST_F(RegistryContract, LongNamesAndLargeValuesEnumerateWhole) {
    HKey k = Create("long");
    std::string long_name(300, 'n');
    std::vector<std::uint8_t> big(70000, 0xAB);
    ASSERT_EQ(reg().SetValue(k, long_name, MakeBinary(big)), kSuccess);
    ASSERT_EQ(reg().SetValue(k, "small", MakeDword(3)), kSuccess);
    std::string name;
    RegValue v;
    ASSERT_EQ(reg().EnumValue(k, 0, name, v), kSuccess);
    ASSERT_EQ(reg().EnumValue(k, 1, name, v), kSuccess);
    std::vector<std::string> names = ValueNames(k);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names[0] == long_name || names[1] == long_name);
    for (std::uint32_t i = 0; i < 2; ++i) {
        ASSERT_EQ(reg().EnumValue(k, i, name, v), kSuccess);
        if (name == long_name) {
            EXPECT_EQ(v.data.size(), big.size());
        }
    }
    reg().CloseKey(k);
}

TEST_F(RegistryContract, AKeyWithSubkeysIsNotDeletedAndAnOpenDeletedKeySaysSo) {
    reg().CloseKey(Create("parent\\child"));
    EXPECT_EQ(reg().DeleteKey(box, "parent"), kAccessDenied);
    HKey child = 0;
    ASSERT_EQ(reg().OpenKey(box, "parent\\child", kKeyAllAccess, child), kSuccess);
    EXPECT_EQ(reg().DeleteKey(box, "parent\\child"), kSuccess);
    EXPECT_EQ(reg().SetValue(child, "x", MakeDword(1)), kKeyDeleted);
    reg().CloseKey(child);
    EXPECT_EQ(reg().DeleteKey(box, "parent"), kSuccess);
    EXPECT_EQ(reg().DeleteKey(box, "parent"), kFileNotFound);
}

TEST_F(RegistryContract, NamesOutsideTheAnsiCodePageSurvive) {
    const std::string name =
        "\xD0\x9F\xD1\x80\xD0\xB8 \xE2\x82\xAC \xF0\x9F\x98\x80";  // Cyrillic, euro, emoji
    HKey k = Create(name);
    ASSERT_EQ(reg().SetValue(k, name, MakeSz(name)), kSuccess);
    reg().CloseKey(k);
    EXPECT_EQ(Subkeys(box), std::vector<std::string>{name});
    HKey again = 0;
    ASSERT_EQ(reg().OpenKey(box, name, kKeyRead, again), kSuccess);
    RegValue v;
    ASSERT_EQ(reg().QueryValue(again, name, v), kSuccess);
    EXPECT_EQ(DataAsText(v), name);
    reg().CloseKey(again);
}

}  // namespace
}  // namespace orv
