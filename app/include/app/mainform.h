// The main window: the navigation column, the fold-out group `Frame1`, the
// panel frames (one shown at a time), the two tabbed panels, the language
// panel and the launch points of the tool windows. Its load handler is the
// program's start-up; closing it closes every window and ends the program.
//
// The panels' contents arrive with their features: a feature creates its
// controls on the frames here (Attach), and fills the start-up hook named
// after what it fills. An empty hook is passed over.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/app_context.h"
#include "shell/language.h"
#include "shell/skinning.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace orv::app {

// The name a running copy holds; a second copy that cannot claim it ends.
inline constexpr std::string_view kInstanceName = "Orvelle.MainWindow";
inline constexpr std::string_view kSplashFile = "Splash.spl";
inline constexpr std::string_view kHelpFile = "newhelp.chm";

// Window heights (twips) of the first view and of the panels.
inline constexpr int kStartHeight = 5750;
inline constexpr int kPanelHeight = 7000;
inline constexpr int kMonitorHeight = 8000;

class mainform : public ui::Form, public shell::MainWindow {
  public:
    explicit mainform(shell::AppContext& ctx);
    ~mainform() override;

    // Part of a feature that lives on the main window (its controls on one of
    // the frames). Created before the window loads, so that the language and
    // skin walks of the load see its controls; destroyed with the window.
    struct Panel {
        virtual ~Panel() = default;
    };
    template <class P, class... Args>
    P& Attach(Args&&... args) {
        auto panel = std::make_unique<P>(*this, std::forward<Args>(args)...);
        P& ref = *panel;
        panels_.push_back(std::move(panel));
        return ref;
    }

    // Start-up hooks, in the order the load runs them. Each runs in a guard
    // of its own: a failure skips that hook and the load goes on.
    std::function<void()> FillMemoryDisplay;      // memory figures and bars, the processor sampler
    std::function<void()> FillDrives;             // the drives panel for drive "c:"
    std::function<void()> FillKeyboardMouse;      // keyboard and mouse read-back
    std::function<void()> ReadAutoOptimize;       // the automatic-optimisation box
    std::function<void()> FillSystemInformation;  // the system information fields
    std::function<void()> FillDisplayColour;      // the preview's desktop colour
    std::function<void()> FillStartMenuDesktop;   // start-menu and desktop pages
    std::function<void()> FillExplorer;           // Explorer options and privacy pages
    std::function<void()> FillWallpaperPreview;   // the current wallpaper in the preview
    std::function<void()> RefreshDriveFigures;    // drive figures for the drive now selected

    // Tool windows, each shown modally with this window as owner. Until a
    // feature supplies its window, a placeholder opens.
    std::function<void()> OpenProcessManager;  // enumfrm
    std::function<void()> OpenSystemColors;    // syscolors
    std::function<void()> OpenHealthWindow;    // pchealth
    std::function<void()> OpenFonts;           // Fontsfrm, from the Visual Options page
    void OpenAbout();                          // frmabout

    // Every window's controls are drawn through this window's Skin1.
    void SkinForm(ui::Form& frm) override;

    shell::AppContext& Context() const { return ctx_; }

    // Events.
    void Form_Load() override;
    bool Form_QueryUnload() override;
    void Form_Unload() override;
    void Form_Resize() override {}
    void syscmd_Click();
    void cpucmd_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void TabStrip1_Click();
    void ExpTab_Click();
    void cmdEnum_Click();
    void systemcolorcmd_Click();
    void Applylangcmd_Click();
    void Skin1_Click(const std::string& element);

    // The language list: the language files present, each shown by the name
    // it gives itself, the stored choice selected.
    void FillLanguageList();

    // Puts the skin and the texts of the language on the window before it
    // loads, so the host creates its windows in their final look (owner-drawn
    // where skinned) instead of creating and then re-creating them. The load
    // repeats both steps as ever; finding them done, it changes nothing.
    // Quiet: whatever fails here is left to the load to report.
    void PrepareLook();

  private:
    shell::AppContext& ctx_;

  public:
    // Controls, in the window's control order. Geometry in twips.
    ui::CommandButton syscmd{*this, "syscmd", {"System", "1000", 30, 510, 1920, 285}};
    ui::CommandButton cpucmd{*this, "cpucmd", {"CPU && Memory", "1001", 30, 1050, 1920, 285}};

    // The fold-out group under syscmd; starts folded.
    ui::Frame Frame1{*this, "Frame1", {"", "", 60, 1860, 1635, 3555, false}};
    ui::CommandButton Command4{*this, "Command4", {"Visual", "1002", 90, 165, 1500, 375}, &Frame1};
    ui::CommandButton Command5{*this, "Command5", {"Drives", "1003", 90, 660, 1500, 375}, &Frame1};
    ui::CommandButton Command6{*this, "Command6", {"Input", "1004", 90, 1140, 1500, 375}, &Frame1};
    ui::CommandButton Command1{
        *this, "Command1", {"Explorer", " 7003", 90, 1620, 1500, 375}, &Frame1};
    ui::CommandButton Command2{
        *this, "Command2", {"System info", "1006", 90, 2130, 1500, 375}, &Frame1};
    ui::CommandButton Command3{
        *this, "Command3", {"System Health", "1007", 90, 2625, 1500, 375}, &Frame1};
    ui::CommandButton Command7{
        *this, "Command7", {"Language", "1026", 90, 3105, 1500, 375}, &Frame1};

    // Visual panel: the tab strip over the three page frames.
    ui::Frame VisualFrame{*this, "VisualFrame", {"Visual", "1002", 1950, 420, 7125, 4695}};
    ui::TabStrip TabStrip1{*this,
                           "TabStrip1",
                           {"", "", 120, 240, 6885, 4335},
                           {"Visual Options", "Start Menu", "Desktop"},
                           &VisualFrame};
    ui::Frame VoptionsFrame0{
        *this, "VoptionsFrame", {"Visual Options", "7014", 180, 600, 6765, 3900}, &VisualFrame, 0};
    ui::Frame VoptionsFrame1{*this,
                             "VoptionsFrame",
                             {"Start Menu", "7015", 180, 600, 6765, 3900, false, false},
                             &VisualFrame,
                             1};
    ui::Frame VoptionsFrame2{*this,
                             "VoptionsFrame",
                             {"Desktop", "4006", 180, 600, 6765, 3900, false, false},
                             &VisualFrame,
                             2};
    ui::Frame* VoptionsFrame[3] = {&VoptionsFrame0, &VoptionsFrame1, &VoptionsFrame2};
    ui::CommandButton systemcolorcmd{
        *this, "systemcolorcmd", {"System Colors", "1022", 4980, 3360, 1635, 375}, &VoptionsFrame0};
    // The start-menu page's Apply: disabled at the end of the load, enabled
    // when one of the page's boxes changes.
    ui::CommandButton applymenu{
        *this, "applymenu", {"Apply", "1016", 5520, 3360, 1095, 375}, &VoptionsFrame1};

    ui::Frame drivesframe{*this, "drivesframe", {"Drives", "", 1965, 435, 7095, 4815, false}};
    ui::Frame Inputframe{*this, "Inputframe", {"Input", "", 1995, 450, 7095, 4815, false}};

    // Explorer panel: the tab strip over its two page frames.
    ui::Frame EXPFrame{*this, "EXPFrame", {"Explorer", "7003", 1995, 420, 6975, 4695, false}};
    ui::TabStrip ExpTab{*this,
                        "ExpTab",
                        {"", "", 120, 240, 6735, 4335},
                        {"Explorer Options", "Privacy"},
                        &EXPFrame};
    ui::Frame OptionsFrame0{
        *this, "OptionsFrame", {"Explorer Options", "7016", 180, 600, 6615, 3900}, &EXPFrame, 0};
    ui::Frame OptionsFrame1{*this,
                            "OptionsFrame",
                            {"Privacy", "4002", 180, 600, 6615, 3900, false, false},
                            &EXPFrame,
                            1};
    ui::Frame* OptionsFrame[2] = {&OptionsFrame0, &OptionsFrame1};
    // The window's one open-file dialog; the pages that choose files share it.
    ui::CommonDialog cd1{*this, "cd1"};

    ui::Frame SIFrame{
        *this, "SIFrame", {"System Information", "2012", 1980, 420, 7095, 4335, false}};

    // Language panel.
    ui::Frame langFrame{*this, "langFrame", {"Language", "1026", 1995, 465, 4575, 1455, false}};
    ui::Label lnglabel{
        *this, "lnglabel", {"Select your language", "3043", 150, 300, 4200, 255}, &langFrame};
    ui::ImageList ImageList2{*this, "ImageList2"};
    ui::ImageCombo combolng{*this, "combolng", {"", "", 150, 720, 2895, 330}, &langFrame};
    ui::CommandButton Applylangcmd{
        *this, "Applylangcmd", {"Apply", "1016", 3240, 690, 1095, 375}, &langFrame};

    // Monitoring panel; its contents arrive with the monitor.
    ui::Frame SMframe{*this, "SMframe", {"System Monitoring", "", 2025, 240, 5055, 5910, false}};
    ui::CommandButton cmdEnum{*this, "cmdEnum", {"Tasks", "1008", 3660, 5340, 1215, 375}, &SMframe};

    // The window's own skin component.
    shell::SkinComponent Skin1;

  private:
    // Shows `panel`, hides the six other panel frames, and sets the window
    // height when one is given.
    void ShowPanel(ui::Frame& panel, int height);
    void HideAllPanels();
    void SwitchTab(ui::TabStrip& tabs, std::span<ui::Frame* const> frames);
    void ShowSplash();
    void SkinWindow();
    void ApplyCaptions();
    // The texts the language walk cannot reach: the title, the three untagged
    // frames and the tab labels (each tab has its page frame's text).
    void ApplyWindowTexts(const shell::Language& language);
    // One step of the load in a guard of its own.
    void Step(const std::function<void()>& step);

    int steps_run_ = 0;  // numbers the steps in the start-up trace
    // The language file of each entry of combolng, in the list's order: what
    // Apply stores, whatever name the entry shows.
    std::vector<std::string> language_files_;

    std::vector<std::unique_ptr<Panel>> panels_;
};

}  // namespace orv::app
