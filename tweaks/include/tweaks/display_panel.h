// The "Visual Options" page: screen resolution, desktop wallpaper and font
// smoothing, applied together by the page's Apply, each only when its box is
// checked; and a preview of the desktop (its colour and the current or the
// chosen picture). A chosen picture is kept as a bitmap copy, which Apply
// makes the wallpaper: in the Windows folder where the user may write there,
// otherwise in the user's own application-data folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::tweaks {

// "1024x768" -> {1024, 768}; a text without an "x", or with parts that are
// not both numbers, gives nothing (the pending size stays as it was).
struct PendingSize {
    float width = 0;
    float height = 0;
};
std::optional<PendingSize> ParseResolution(std::string_view text);

// The preview picture: a box of `width` x `height` pixels in the desktop
// colour with the picture (if any) fitted inside it, centred, its proportions
// kept.
platform::PictureData ComposePreview(int width, int height, std::uint32_t desktop_colour,
                                     const platform::PictureData* picture);

inline constexpr std::string_view kWallpaperValue =
    "HKEY_CURRENT_USER\\Control Panel\\Desktop\\Wallpaper";
inline constexpr std::string_view kSettingsApp = "Velmora utilities";
inline constexpr std::string_view kPictureFilter =
    "All Image Files|*.jpg;*.jpeg;*.gif;*.bmp;*.png|All files|*.*";

class DisplayPanel {
  public:
    DisplayPanel(ui::Form& form, ui::Frame& page, platform::Platform& platform);

    // Start-up read-backs: the preview's colour and the smoothing state, then
    // the current wallpaper in the preview.
    void FillColour();
    void FillWallpaper();

    void ResolutionCheck_Click();
    void RCombo_Change();
    void wallpaperCheck_Click();
    void wallpapercmd_Click();
    void applyvisualcmd_Click();

    // Where the bitmap copy goes, in the order tried.
    std::string WindowsCopyPath();
    std::string UserCopyPath();

    // Observable state.
    PendingSize pending;
    std::uint32_t preview_colour = 0;
    std::string preview_source;  // the picture shown in the preview, "" none
    std::string copy_path;       // the bitmap copy saved in this session

  private:
    void ShowPreview(const platform::PictureData* picture);
    bool SaveCopy(const platform::PictureData& picture);
    std::string ExistingCopy();
    void Tell(std::string_view text);

    ui::Form& form_;
    ui::Frame& page_;
    platform::Platform& platform_;
    bool smoothing_known_ = false;
    bool smoothing_touched_ = false;
    std::optional<platform::PictureData> shown_;

  public:
    ui::CheckBox ResolutionCheck{
        form_, "ResolutionCheck", {"Change resolution", "5011", 240, 360, 2535, 255}, &page_};
    ui::ComboBox RCombo{form_, "RCombo", {"", "", 480, 690, 2040, 315, true, false}, &page_};
    ui::CheckBox wallpaperCheck{form_,
                                "wallpaperCheck",
                                {"Change windows wallpaper", "5012", 240, 1260, 2535, 255},
                                &page_};
    ui::CommandButton wallpapercmd{
        form_, "wallpapercmd", {"...", "1023", 2100, 1590, 420, 315, true, false}, &page_};
    ui::CheckBox fsmooth{
        form_, "fsmooth", {"Font Smoothing", "5013", 240, 2280, 2535, 255}, &page_};
    ui::Picture Picture2{form_, "Picture2", {"", "", 3000, 360, 3615, 2760}, &page_};
    ui::CommandButton applyvisualcmd{
        form_, "applyvisualcmd", {"Apply", "1016", 240, 3360, 1095, 375}, &page_};
    ui::CommandButton fontcmd{form_, "fontcmd", {"Fonts", "1021", 3720, 3360, 1095, 375}, &page_};
    ui::CommonDialog cd1{form_, "cd1"};
};

}  // namespace orv::tweaks
