#include "tweaks/display_panel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/text.h"
#include "registry/regpath.h"
#include "shell/picture_file.h"
#include "ui/host.h"

namespace orv::tweaks {

using namespace orv::platform;

namespace {

// The preview's pixel box: the control's size at 96 DPI (15 twips a pixel);
// the host stretches it to the control at any other DPI.
constexpr int kTwipsPerPixel = 15;

std::optional<float> Number(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (s.empty()) return std::nullopt;
    float v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace

std::optional<PendingSize> ParseResolution(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == 'x' || text[i] == 'X') {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (parts.size() < 2) return std::nullopt;
    auto w = Number(parts[0]);
    auto h = Number(parts[1]);
    if (!w || !h) return std::nullopt;
    return PendingSize{*w, *h};
}

PictureData ComposePreview(int width, int height, std::uint32_t desktop_colour,
                           const PictureData* picture) {
    PictureData out;
    out.width = width;
    out.height = height;
    // System colours are 0x00BBGGRR; pictures hold 0x00RRGGBB.
    const std::uint32_t rgb = ((desktop_colour & 0xFF) << 16) | (desktop_colour & 0xFF00) |
                              ((desktop_colour >> 16) & 0xFF);
    out.pixels.assign(static_cast<std::size_t>(width) * height, rgb);
    if (!picture || picture->width <= 0 || picture->height <= 0) return out;
    const double scale = std::min(static_cast<double>(width) / picture->width,
                                  static_cast<double>(height) / picture->height);
    const int w = std::max(1, static_cast<int>(picture->width * scale));
    const int h = std::max(1, static_cast<int>(picture->height * scale));
    const int left = (width - w) / 2, top = (height - h) / 2;
    for (int y = 0; y < h; ++y) {
        const int sy = std::min(picture->height - 1, static_cast<int>(y / scale));
        for (int x = 0; x < w; ++x) {
            const int sx = std::min(picture->width - 1, static_cast<int>(x / scale));
            out.pixels[static_cast<std::size_t>(top + y) * width + left + x] =
                picture->pixels[static_cast<std::size_t>(sy) * picture->width + sx];
        }
    }
    return out;
}

DisplayPanel::DisplayPanel(ui::Form& form, ui::Frame& page, Platform& platform)
    : form_(form), page_(page), platform_(platform) {
    for (const char* r : {"800x600", "1024x768", "1152x864"}) RCombo.AddItem(r);
    RCombo.SetText("Select resolution");
    Picture2.stretch = true;
    ResolutionCheck.onClick = [this] { ResolutionCheck_Click(); };
    RCombo.onClick = [this] { RCombo_Change(); };
    RCombo.onChange = [this] { RCombo_Change(); };
    wallpaperCheck.onClick = [this] { wallpaperCheck_Click(); };
    wallpapercmd.onClick = [this] { wallpapercmd_Click(); };
    fsmooth.onClick = [this] { smoothing_touched_ = true; };
    applyvisualcmd.onClick = [this] { applyvisualcmd_Click(); };
}

void DisplayPanel::FillColour() {
    preview_colour = platform_.display.GetSysColor(kColorDesktop);
    ShowPreview(nullptr);
    // The box shows the system's state, so an Apply that leaves it alone
    // leaves smoothing as it was.
    if (auto on = platform_.display.GetFontSmoothing()) {
        fsmooth.SetValue(*on ? 1 : 0);
        smoothing_known_ = true;
        smoothing_touched_ = false;
    }
}

void DisplayPanel::FillWallpaper() {
    registry::RegistryPaths paths(platform_.registry, platform_.environment);
    const std::string path = paths.RegReadValue(kWallpaperValue);
    if (path == "Error" || text::Fold(path) == "(none)") return;
    auto picture = platform_.pictures.Load(path);
    if (!picture) return;
    preview_source = path;
    ShowPreview(&*picture);
}

void DisplayPanel::ShowPreview(const PictureData* picture) {
    if (picture) shown_ = *picture;
    const int w = std::max(1, Picture2.Width() / kTwipsPerPixel);
    const int h = std::max(1, Picture2.Height() / kTwipsPerPixel);
    PictureData preview = ComposePreview(w, h, preview_colour, shown_ ? &*shown_ : nullptr);
    shell::ShowMadePicture(Picture2, preview, platform_, "preview.bmp");
}

void DisplayPanel::ResolutionCheck_Click() {
    RCombo.SetEnabled(ResolutionCheck.Value() == 1);
}

void DisplayPanel::RCombo_Change() {
    if (auto size = ParseResolution(RCombo.Text())) pending = *size;
}

void DisplayPanel::wallpaperCheck_Click() {
    wallpapercmd.SetEnabled(wallpaperCheck.Value() == 1);
}

std::string DisplayPanel::WindowsCopyPath() {
    return platform_.files.WindowsFolder() + "\\wallpaper.bmp";
}

std::string DisplayPanel::UserCopyPath() {
    return shell::UserDataFolder(platform_.environment) + "\\wallpaper.bmp";
}

bool DisplayPanel::SaveCopy(const PictureData& picture) {
    // Since Vista a standard user cannot write in the Windows folder; the copy
    // then lives with the user's own data, where a wallpaper may always be.
    const std::string bytes = EncodeBmp(picture);
    for (const std::string& path : {WindowsCopyPath(), UserCopyPath()}) {
        const std::string folder = path.substr(0, path.rfind('\\'));
        if (!shell::EnsureFolder(platform_.files, folder)) continue;
        // A copy left read-only by another tool is replaced, as it was made to be.
        if (platform_.files.GetAttributes(path) != kInvalidAttributes)
            platform_.files.ChangeAttributes(path, kAttrNormal);
        if (platform_.files.SaveFile(path, bytes) == kSuccess) {
            copy_path = path;
            return true;
        }
    }
    return false;
}

std::string DisplayPanel::ExistingCopy() {
    if (!copy_path.empty()) return copy_path;
    for (const std::string& path : {WindowsCopyPath(), UserCopyPath()})
        if (platform_.files.GetAttributes(path) != kInvalidAttributes) return path;
    return {};
}

void DisplayPanel::Tell(std::string_view text) {
    form_.GetHost().MessageBox(&form_, text, "Visual Options", ui::kMbOk | ui::kMbIconWarning);
}

void DisplayPanel::wallpapercmd_Click() {
    cd1.filter = std::string(kPictureFilter);
    if (!cd1.ShowOpen()) return;
    auto picture = platform_.pictures.Load(cd1.file_name);
    if (!picture) {
        Tell("The chosen file is not a picture this system can read.");
        return;
    }
    preview_source = cd1.file_name;
    ShowPreview(&*picture);
    if (!SaveCopy(*picture)) Tell("The picture could not be saved as a bitmap for the wallpaper.");
}

void DisplayPanel::applyvisualcmd_Click() {
    if (ResolutionCheck.Value() == 1) {
        const long w = std::lround(pending.width), h = std::lround(pending.height);
        std::int32_t r = kDispChangeBadMode;
        if (w > 0 && h > 0)
            r = platform_.display.ChangeMode(static_cast<std::uint32_t>(w),
                                             static_cast<std::uint32_t>(h));
        if (r != kDispChangeSuccessful && r != kDispChangeRestart) {
            Tell("The display cannot show " + std::to_string(w) + "x" + std::to_string(h) +
                 ". Nothing was changed.");
            return;
        }
    }
    if (wallpaperCheck.Value() == 1) {
        const std::string copy = ExistingCopy();
        if (copy.empty()) {
            Tell("There is no wallpaper picture to apply: choose one with \"...\" first.");
            return;
        }
        if (!platform_.display.SetWallpaper(copy)) {
            Tell("Windows did not accept the wallpaper.");
            return;
        }
    }
    if (smoothing_known_ || smoothing_touched_) {
        const bool on = fsmooth.Value() == 1;
        platform_.display.SetFontSmoothing(on);
        platform_.settings.Save(kSettingsApp, "visual", "smooth", on ? "1" : "0");
    }
}

}  // namespace orv::tweaks
