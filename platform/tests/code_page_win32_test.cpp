// The error log's conversion into the system's ANSI code page, over the real
// WideCharToMultiByte: each code page the system may have, and one it has not.
#include <gtest/gtest.h>

#include "platform/win32/platform.h"

namespace orv {
namespace {

TEST(CodePage, EveryCodePageGivesTheTextNeverNothing) {
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD";  // "café € 中"
    struct Case {
        const char* what;
        unsigned code_page;
        std::string want;
    } cases[] = {
        {"Western: what it cannot hold becomes '?'", 1252, "caf\xE9 \x80 ?"},
        // UTF-8 refuses a default character: asking for one fails the call
        {"UTF-8 as the ANSI code page", 65001, text},
        {"a code page the system does not have", 12345, "caf? ? ?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win32::ToCodePage(text, c.code_page), c.want) << c.what;
        EXPECT_EQ(win32::ToCodePage("", c.code_page), "") << c.what;
    }
}

}  // namespace
}  // namespace orv
