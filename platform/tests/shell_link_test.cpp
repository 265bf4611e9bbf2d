// The shell-link parser on hand-made files: the shapes Windows writes and the
// damaged ones it must refuse without reading outside the bytes.
#include <gtest/gtest.h>

#include "platform/shortcuts.h"

namespace orv {
namespace {

using namespace platform;

void SetFlags(std::string& link, std::uint32_t flags) {
    for (int i = 0; i < 4; ++i) link[20 + i] = static_cast<char>((flags >> (8 * i)) & 0xFF);
}

TEST(ShellLink, TargetsByShape) {
    const std::string good = BuildShellLink("C:\\Tools\\a.exe");
    std::string shell_item = good;  // an item-id list only: the Control Panel, say
    SetFlags(shell_item, 0x80);
    std::string advertised = good;
    SetFlags(advertised, 0x80 | 0x2 | 0x1000);
    std::string forced = good;
    SetFlags(forced, 0x80 | 0x2 | 0x100);
    std::string bad_clsid = good;
    bad_clsid[5] = 'x';
    std::string id_list_past_end = good;
    SetFlags(id_list_past_end, 0x80 | 0x2 | 0x1);
    id_list_past_end[0x4C] = '\xFF';
    id_list_past_end[0x4D] = '\xFF';
    std::string no_terminator = good.substr(0, good.size() - 8);

    struct Case {
        const char* name;
        std::string bytes;
        Status status;
        const char* target;
    };
    const Case cases[] = {
        {"built link", good, kSuccess, "C:\\Tools\\a.exe"},
        {"shell item without a file", shell_item, kSuccess, ""},
        {"advertised installer shortcut", advertised, kSuccess, ""},
        {"link information switched off", forced, kSuccess, ""},
        {"empty file", "", kInvalidData, ""},
        {"header only, truncated", good.substr(0, 40), kInvalidData, ""},
        {"wrong class id", bad_clsid, kInvalidData, ""},
        {"item-id list runs past the end", id_list_past_end, kInvalidData, ""},
        {"link information cut short", no_terminator, kInvalidData, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string target = "stale";
        EXPECT_EQ(ParseShellLink(c.bytes, target), c.status);
        EXPECT_EQ(target, c.target);
    }
}

TEST(ShellLink, EveryTruncationIsRefusedCleanly) {
    const std::string good = BuildShellLink("D:\\a\\b.txt");
    for (std::size_t n = 0; n + 4 < good.size(); ++n) {
        std::string target;
        Status st = ParseShellLink(std::string_view(good).substr(0, n), target);
        if (st != kInvalidData) ADD_FAILURE() << "length " << n << " gave " << st;
    }
}

}  // namespace
}  // namespace orv
