#include "registry/regfile.h"

#include "fixture.h"

namespace orv::registry {
namespace {

using namespace platform;

class RegFileTest : public testing::RegistryFixture {
  protected:
    std::string Root() { return "HKEY_CURRENT_USER\\" + backend->SandboxKey(); }
    std::string Export() { return ExportRegText(reg(), kCurrentUser, backend->SandboxKey()); }
};

TEST(RegFileFormat, ValueLines) {
    struct Case {
        const char* name;
        RegValue value;
        const char* line;
    } cases[] = {
        {"Text", MakeSz("C:\\Program Files\\\"x\""), R"("Text"="C:\\Program Files\\\"x\"")"},
        {"", MakeSz("default"), R"(@="default")"},
        {"Empty", MakeSz(""), R"("Empty"="")"},
        {"D", MakeDword(0x1A), R"("D"=dword:0000001a)"},
        {"B", MakeBinary({0x0A, 0xFF}), R"("B"=hex:0a,ff)"},
        {"NoTerm", {kRegSz, {'a', 0}}, R"("NoTerm"=hex(1):61,00)"},
        {"Nul", {kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0}}, R"("Nul"=hex(1):61,00,00,00,62,00,00,00)"},
        {"Zero", {kRegSz, {}}, R"("Zero"=hex(1):)"},
        {"E", MakeSz("%a%", kRegExpandSz), R"("E"=hex(2):25,00,61,00,25,00,00,00)"},
        {"M", MakeMultiSz({"a"}), R"("M"=hex(7):61,00,00,00,00,00)"},
        {"ShortD", {kRegDword, {1}}, R"("ShortD"=hex(4):01)"},
        {"Q", MakeQword(1), R"("Q"=hex(b):01,00,00,00,00,00,00,00)"},
        {"Line\nbreak", MakeSz("a\nb"), "\"Line\nbreak\"=hex(1):61,00,0a,00,62,00,00,00"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatValueLine(c.name, c.value), c.line) << c.name;
}

TEST_F(RegFileTest, ExportAndImportAreExactInBothDirections) {
    std::vector<std::uint8_t> big(300);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i);
    const std::pair<const char*, RegValue> values[] = {
        {"text", MakeSz("plain \"quoted\" \\ back")},
        {"", MakeSz("the default")},
        {"unterminated", {kRegSz, {'x', 0, 'y', 0}}},
        {"embedded", {kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0}}},
        {"expand", MakeSz("%SystemRoot%\\x", kRegExpandSz)},
        {"multi", MakeMultiSz({"one", "two"})},
        {"dword", MakeDword(0xDEADBEEF)},
        {"big", MakeBinary(big)},
        {"\xD0\x96 name \xE2\x82\xAC", MakeSz("\xF0\x9F\x98\x80")},
    };
    for (const auto& [name, value] : values) Put("tree", name, value);
    Put("tree\\child\\grandchild", "deep", MakeDword(3));
    Put("tree\\another", "x", MakeSz("y"));

    bool complete = false;
    const std::string text = ExportRegText(reg(), kCurrentUser, Sub("tree"), &complete);
    EXPECT_TRUE(complete);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\", 0),
              0u);

    ASSERT_EQ(DeleteKeyTree(reg(), kCurrentUser, Sub("tree")), kSuccess);
    EXPECT_FALSE(Get("tree", "text").has_value());

    ImportResult r = ImportRegText(reg(), DecodeRegFile(EncodeRegFile(text)));
    EXPECT_TRUE(r.ok()) << "bad " << r.bad_lines.size() << " failed " << r.failed_lines.size();
    for (const auto& [name, value] : values) EXPECT_EQ(Get("tree", name), value) << name;
    EXPECT_EQ(Get("tree\\child\\grandchild", "deep"), MakeDword(3));
    EXPECT_EQ(ExportRegText(reg(), kCurrentUser, Sub("tree")), text) << "text -> registry -> text";
}

TEST_F(RegFileTest, ImportAppliesDeletionsAndReportsWhatItCannotRead) {
    Put("gone\\sub", "v", MakeDword(1));
    Put("keep", "drop", MakeDword(1));
    Put("keep", "stay", MakeDword(2));
    const std::string text = std::string(kRegFileHeader) +
                             "\r\n\r\n"
                             "[-" +
                             Root() +
                             "\\gone]\r\n\r\n"
                             "[" +
                             Root() +
                             "\\keep]\r\n"
                             "\"drop\"=-\r\n"
                             "; a comment\r\n"
                             "\"wrapped\"=hex:01,02,\\\r\n"
                             "  03,04\r\n"
                             "\"broken\"=dword:xyz\r\n"
                             "garbage line\r\n"
                             "\"lf\"=\"only\"\n"
                             "[HKEY_NOWHERE\\x]\r\n";
    ImportResult r = ImportRegText(reg(), text);
    EXPECT_TRUE(r.header_ok);
    EXPECT_EQ(r.bad_lines, (std::vector<int>{10, 11, 13}));
    HKey k = 0;
    EXPECT_EQ(reg().OpenKey(kCurrentUser, Sub("gone"), kKeyRead, k), kFileNotFound);
    EXPECT_FALSE(Get("keep", "drop").has_value());
    EXPECT_EQ(Get("keep", "stay"), MakeDword(2));
    EXPECT_EQ(Get("keep", "wrapped"), MakeBinary({1, 2, 3, 4}));
    EXPECT_EQ(Get("keep", "lf"), MakeSz("only"));
    EXPECT_FALSE(ImportRegText(reg(), "REGEDIT4\r\n").header_ok);
}

TEST_F(RegFileTest, DeletingATreeNeverTakesARoot) {
    EXPECT_EQ(DeleteKeyTree(reg(), kCurrentUser, ""), kAccessDenied);
    EXPECT_EQ(DeleteKeyTree(reg(), kCurrentUser, Sub("absent")), kFileNotFound);
}

}  // namespace
}  // namespace orv::registry
