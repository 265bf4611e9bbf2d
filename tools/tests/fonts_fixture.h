// A fresh simulated machine and a headless host for the font viewer and the
// installer, with font files of the test's own making.
#pragma once

#include <string>

#include "platform/fonts.h"
#include "platform/regvalue.h"
#include "tool_fixture.h"
#include "tools/font_install.h"
#include "tools/fontsfrm.h"

namespace orv::tools::testing {

inline constexpr std::string_view kDownloads = "C:\\Users\\user\\Downloads";
inline constexpr std::string_view kMachineFonts = "C:\\Windows\\Fonts";
inline constexpr std::string_view kUserFonts =
    "C:\\Users\\user\\AppData\\Local\\Microsoft\\Windows\\Fonts";

class FontsTest : public ToolTest {
  protected:
    // A font file in the user's downloads; its path.
    std::string PutFont(std::string_view file, std::string family, std::string full) {
        const std::string path = std::string(kDownloads) + "\\" + std::string(file);
        world.files.WriteFile(
            path, platform::BuildFontFile({platform::WindowsNameRecords({family, full})}));
        return path;
    }
    std::string PutFile(std::string_view file, std::string_view bytes) {
        const std::string path = std::string(kDownloads) + "\\" + std::string(file);
        world.files.WriteFile(path, bytes);
        return path;
    }
    bool Exists(std::string_view path) {
        return world.files.GetAttributes(path) != platform::kInvalidAttributes;
    }
    // The data of a value of the font list, "<none>" when it is not there.
    std::string Listed(platform::HKey root, std::string_view name) {
        platform::HKey k = 0;
        if (world.registry.OpenKey(root, kFontsKey, platform::kKeyQueryValue, k) != 0)
            return "<none>";
        platform::RegValue v;
        const auto s = world.registry.QueryValue(k, name, v);
        world.registry.CloseKey(k);
        return s == 0 ? platform::DataAsText(v) : "<none>";
    }
    std::size_t FilesIn(std::string_view folder) {
        return world.files.FindFiles(std::string(folder) + "\\*").size();
    }
};

}  // namespace orv::tools::testing
