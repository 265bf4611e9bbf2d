#include "registry/routines.h"

#include <algorithm>

#include "fixture.h"
#include "registry/regpath.h"

namespace orv::registry {
namespace {

using namespace platform;

class RoutinesTest : public testing::RegistryFixture {
  protected:
    RegistryRoutines routines() { return RegistryRoutines(reg(), env()); }
    ValueData Converted(const RegValue& v) { return routines().Convert(v); }
};

TEST_F(RoutinesTest, ConversionsByType) {
    const std::string root = env().Get("SystemRoot").value_or("?");
    std::string big(5000, 'q');
    struct Case {
        const char* what;
        RegValue value;
        ValueData want;
    } cases[] = {
        {"text", MakeSz("abc"), std::string("abc")},
        {"text without terminator keeps its last character",
         {kRegSz, {'a', 0, 'b', 0}},
         std::string("ab")},
        {"empty text", {kRegSz, {}}, std::string()},
        {"lone terminator", {kRegSz, {0, 0}}, std::string()},
        {"odd byte count", {kRegSz, {'a', 0, 'b'}}, std::string("ab")},
        {"bytes", MakeBinary({0x0A, 0x05, 0xFF}), std::string("0A 05 FF")},
        {"no bytes", MakeBinary({}), std::string()},
        {"dword", MakeDword(0xFFFFFFFF), std::int64_t{-1}},
        {"short dword reads only its bytes", {kRegDword, {0x34, 0x12}}, std::int64_t{0x1234}},
        {"empty dword", {kRegDword, {}}, std::int64_t{0}},
        {"multi", MakeMultiSz({"a", "b"}), std::string("a,b")},
        {"multi without its final empty text",
         {kRegMultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0}},
         std::string("a,b")},
        {"multi without any terminator", {kRegMultiSz, {'a', 0, 0, 0, 'b', 0}}, std::string("a,b")},
        {"empty multi", {kRegMultiSz, {}}, std::string()},
        {"multi of one nul", {kRegMultiSz, {0, 0}}, std::string()},
        {"qword", MakeQword(5), std::monostate{}},
        {"none", {kRegNone, {1}}, std::monostate{}},
        {"expand", MakeSz("%SystemRoot%\\system32\\a-long-tail", kRegExpandSz),
         root + "\\system32\\a-long-tail"},
        {"expand cut at nul", {kRegExpandSz, {'x', 0, 0, 0, 'y', 0, 0, 0}}, std::string("x")},
        {"large text", MakeSz(big), big},
    };
    for (const auto& c : cases) EXPECT_EQ(Converted(c.value), c.want) << c.what;
}

// A tweak reads its number by path and a scan lists it; the same value must
// give the same number through both.
TEST_F(RoutinesTest, NumbersReadTheSameAsThroughTheirPath) {
    struct Case {
        const char* name;
        std::uint32_t stored;
        std::int64_t want;
    } cases[] = {
        {"zero", 0, 0},
        {"largest positive", 0x7FFFFFFF, 2147483647},
        {"lowest bit of the sign", 0x80000000, -2147483648LL},
        {"all bits", 0xFFFFFFFF, -1},
    };
    RegistryPaths paths(reg(), env());
    for (const auto& c : cases) Put("numbers", c.name, MakeDword(c.stored));
    ValueList listed = routines().EnumRegistryValues(kCurrentUser, Sub("numbers"));
    for (const auto& c : cases) {
        auto read = paths.RegRead("HKCU\\" + Sub("numbers") + "\\" + c.name);
        ASSERT_TRUE(read) << c.name;
        EXPECT_EQ(read.Data(), RegData{c.want}) << c.name;
        auto it = std::find_if(listed.begin(), listed.end(),
                               [&](const ValueItem& v) { return v.name == c.name; });
        ASSERT_NE(it, listed.end()) << c.name;
        EXPECT_EQ(it->data, ValueData{c.want}) << c.name;
    }
}

TEST_F(RoutinesTest, EnumeratesEveryValueWhateverItsSize) {
    std::string long_name(300, 'L');
    std::vector<std::uint8_t> big(5000, 0x11);
    Put("vals", "first", MakeDword(1));
    Put("vals", long_name, MakeSz("long name"));
    Put("vals", "big", MakeBinary(big));
    Put("vals", "", MakeSz("default"));
    Put("vals", "q", MakeQword(9));
    Put("vals", "last", MakeSz("end"));
    ValueList list = routines().EnumRegistryValues(kCurrentUser, Sub("vals"));
    ASSERT_EQ(list.size(), 6u) << "nothing may end the list early";
    std::map<std::string, ValueData> by_name;
    for (const auto& item : list) by_name[item.name] = item.data;
    EXPECT_EQ(by_name[long_name], ValueData{std::string("long name")});
    EXPECT_EQ(std::get<std::string>(by_name["big"]).size(), 5000u * 3 - 1);
    EXPECT_EQ(by_name[""], ValueData{std::string("default")});
    EXPECT_EQ(by_name["q"], ValueData{std::monostate{}}) << "listed, with no data";
    EXPECT_EQ(by_name["first"], ValueData{std::int64_t{1}});
}

TEST_F(RoutinesTest, KeysAreListedAndFoundByName) {
    Put("keys\\Beta", "x", MakeDword(1));
    Put("keys\\alpha", "x", MakeDword(1));
    KeyList keys = routines().EnumRegistryKeys(kCurrentUser, Sub("keys"));
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], "alpha");
    EXPECT_EQ(keys[1], "Beta");
    EXPECT_TRUE(keys.Contains("BETA"));
    EXPECT_FALSE(keys.Contains("gamma"));
    EXPECT_TRUE(routines().EnumRegistryKeys(kCurrentUser, Sub("keys\\alpha")).empty());
    EXPECT_TRUE(routines().EnumRegistryValues(kCurrentUser, Sub("keys")).empty());
    EXPECT_TRUE(routines().EnumRegistryKeys(kCurrentUser, Sub("missing")).empty());
    EXPECT_TRUE(routines().EnumRegistryValues(kCurrentUser, Sub("missing")).empty());
}

TEST_F(RoutinesTest, AnEmptyKeyNameEnumeratesTheHandleItself) {
    Put("self\\child", "v", MakeDword(2));
    Put("self", "own", MakeDword(3));
    HKey k = 0;
    ASSERT_EQ(reg().OpenKey(kCurrentUser, Sub("self"), kKeyRead, k), kSuccess);
    KeyList keys = routines().EnumRegistryKeys(k, "");
    ValueList values = routines().EnumRegistryValues(k, "");
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0], "child");
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].name, "own");
    // The handle was not closed by the walk.
    RegValue v;
    EXPECT_EQ(reg().QueryValue(k, "own", v), kSuccess);
    reg().CloseKey(k);
}

TEST(TrimNull, CutsAtTheFirstNulInPlace) {
    struct Case {
        std::string in, out;
    } cases[] = {{std::string("abc\0def", 7), "abc"},
                 {"plain", "plain"},
                 {std::string("\0x", 2), ""},
                 {"", ""}};
    for (auto c : cases) {
        std::string item = c.in;
        EXPECT_EQ(TrimNull(item), c.out);
        EXPECT_EQ(item, c.out);
    }
}

}  // namespace
}  // namespace orv::registry
