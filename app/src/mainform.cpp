// The main window: construction, the start-up, the tool windows and the exit.
// Navigation, the fold-out group and the tab strips are in mainform_nav.cpp.
#include "app/mainform.h"

#include "app/placeholders.h"
#include "app/startup_trace.h"
#include "platform/text.h"
#include "tools/frmabout.h"
#include "ui/host.h"

namespace orv::app {

namespace {

// The shell's "maximised" show state for the help file.
constexpr int kShowMaximized = 3;

}  // namespace

mainform::mainform(shell::AppContext& ctx)
    : ui::Form(ctx.host, "mainform", "Orvelle", 9330, kStartHeight), ctx_(ctx) {
    syscmd.onClick = [this] { syscmd_Click(); };
    cpucmd.onClick = [this] { cpucmd_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command7.onClick = [this] { Command7_Click(); };
    TabStrip1.onClick = [this] { TabStrip1_Click(); };
    ExpTab.onClick = [this] { ExpTab_Click(); };
    cmdEnum.onClick = [this] { cmdEnum_Click(); };
    systemcolorcmd.onClick = [this] { systemcolorcmd_Click(); };
    Applylangcmd.onClick = [this] { Applylangcmd_Click(); };
    onSkinElementClick = [this](const std::string& element) { Skin1_Click(element); };
    // With the standard look (no skin file) these stay reachable from the window menu.
    menu_elements = {{"About", "About"}, {"Help", "help"}};

    ImageList2.images = {"LANGFLAG"};  // an icon resource of the executable
    combolng.image_list = &ImageList2;

    OpenProcessManager = [this] {
        ctx_.forms.Get<ProcessManagerPlaceholder>(ctx_, *this).Show(this, true);
    };
    OpenSystemColors = [this] {
        ctx_.forms.Get<SystemColorsPlaceholder>(ctx_, *this).Show(this, true);
    };
    OpenHealthWindow = [this] { ctx_.forms.Get<HealthPlaceholder>(ctx_, *this).Show(this, true); };
}

mainform::~mainform() = default;

void mainform::Step(const std::function<void()>& step) {
    Fire(step);
    TraceStartup("mainform step " + std::to_string(++steps_run_));
}

// The start-up. Every step runs in a guard of its own, so that nothing (a
// missing splash or skin file, a panel that cannot read its values) ends the
// program: a failing step is logged and skipped, and the load goes on.
void mainform::Form_Load() {
    TraceStartup("mainform load (window and controls created)");
    // 1. One copy at a time: a second one ends before anything is shown.
    if (!ctx_.platform.shell.ClaimSingleInstance(kInstanceName)) {
        Unload();
        return;
    }
    // 2. The splash stays up while the panels fill; the host takes it down
    // when this window first shows (4.).
    Step([this] { ShowSplash(); });
    // 3. The first view: the visual panel in a short window.
    Step([this] {
        SMframe.SetVisible(false);
        drivesframe.SetVisible(false);
        SetHeight(kStartHeight);
        EXPFrame.SetVisible(false);
        Inputframe.SetVisible(false);
        SIFrame.SetVisible(false);
        langFrame.SetVisible(false);
        VisualFrame.SetVisible(false);
    });
    // 5.
    Step([this] { VisualFrame.SetVisible(true); });
    // 6.
    Step([this] { SkinWindow(); });
    // 7. The language gives both their texts, the fold-out marker included.
    Step([this] {
        syscmd.SetCaption("");
        cpucmd.SetCaption("");
    });
    // 8., 9.
    Step([this] { ApplyCaptions(); });
    // 10.
    Step(FillMemoryDisplay);
    Step(FillDrives);
    // 11., 12. The remaining panels fill themselves, each on its own.
    Step(FillKeyboardMouse);
    Step(ReadAutoOptimize);
    Step(FillSystemInformation);
    Step(FillDisplayColour);
    Step(FillStartMenuDesktop);
    Step(FillExplorer);
    Step(FillWallpaperPreview);
    Step([this] { FillLanguageList(); });
    Step(RefreshDriveFigures);
    // 13. Enabled again when one of the start-menu page's boxes changes.
    Step([this] { applymenu.SetEnabled(false); });
}

void mainform::PrepareLook() {
    try {
        if (Skin1.LoadProgramSkin(ctx_.platform.files) == platform::kSuccess) {
            Skin1.ApplySkin(*this, shell::kMainWindowElement);
            SkinForm(*this);
        }
        shell::Language language = shell::Language::Chosen(ctx_.platform);
        shell::LoadLanguage(*this, language);
        ApplyWindowTexts(language);
    } catch (...) {
        // The load's own steps run again, in their guards, and log.
    }
}

void mainform::ShowSplash() {
    platform::Files& files = ctx_.platform.files;
    std::optional<std::string> bytes =
        files.ReadFile(files.ProgramFolder() + "\\" + std::string(kSplashFile));
    // No splash file, no splash: it is decoration.
    if (bytes) ctx_.host.ShowSplash(*bytes);
}

void mainform::SkinWindow() {
    platform::Files& files = ctx_.platform.files;
    int status = Skin1.LoadProgramSkin(files);
    if (status != platform::kSuccess) {
        ctx_.log.LogError(
            status,
            "Skin file " + files.ProgramFolder() + "\\" + std::string(shell::kSkinFile) +
                (status == platform::kFileNotFound ? " is missing" : " is unreadable") +
                "; the standard look is used",
            "mainform", "Form_Load");
    }
    Skin1.ApplySkin(*this, shell::kMainWindowElement);
    SkinForm(*this);
}

void mainform::ApplyCaptions() {
    shell::Language language = shell::Language::Chosen(ctx_.platform);
    Step([&] { shell::LoadLanguage(*this, language); });
    Step([&] { ApplyWindowTexts(language); });
}

void mainform::ApplyWindowTexts(const shell::Language& language) {
    SetCaption(language.Text("7009"));
    SMframe.SetCaption(language.Text("7000"));
    drivesframe.SetCaption(language.Text("7001"));
    Inputframe.SetCaption(language.Text("7008"));
    auto tabs_of = [&](std::span<ui::Frame* const> pages) {
        std::vector<std::string> labels;
        for (const ui::Frame* page : pages) labels.push_back(language.Text(page->Tag()));
        return labels;
    };
    TabStrip1.SetTabs(tabs_of(VoptionsFrame));
    ExpTab.SetTabs(tabs_of(OptionsFrame));
}

void mainform::SkinForm(ui::Form& frm) {
    shell::SkinControls(frm, Skin1);
}

void mainform::FillLanguageList() {
    platform::Platform& p = ctx_.platform;
    std::vector<std::string> names = shell::AvailableLanguages(p.files);
    // Without any language file the program runs on its built-in English.
    if (names.empty()) names.emplace_back(shell::kDefaultLanguage);
    std::string chosen = shell::ChosenLanguage(p.settings);
    int selected = 0;
    combolng.ClearItems();
    language_files_ = names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (text::EqualsNoCase(names[i], chosen)) selected = static_cast<int>(i);
        combolng.AddItem({shell::LanguageDisplayName(p, names[i]), 1, 1});
    }
    // The language in use is the one shown, so Apply without a change keeps it.
    combolng.Select(selected);
}

// The choice applies to windows opened from now on, and to this window from
// the next start.
void mainform::Applylangcmd_Click() {
    int index = combolng.SelectedIndex();
    if (index < 0 || index >= static_cast<int>(language_files_.size())) return;
    shell::StoreLanguage(ctx_.platform.settings, language_files_[static_cast<std::size_t>(index)]);
}

void mainform::cmdEnum_Click() {
    if (OpenProcessManager) OpenProcessManager();
}

void mainform::systemcolorcmd_Click() {
    if (OpenSystemColors) OpenSystemColors();
}

void mainform::OpenAbout() {
    ctx_.forms.Get<tools::frmabout>(ctx_, *this).Show(this, true);
}

void mainform::Skin1_Click(const std::string& element) {
    if (element == "About") {
        OpenAbout();
    } else if (element == "help") {
        platform::Files& files = ctx_.platform.files;
        std::string path = files.ProgramFolder() + "\\" + std::string(kHelpFile);
        std::intptr_t result = ctx_.platform.shell.Open(Handle(), path, "C:\\", kShowMaximized);
        // The shell reports failure as a value of 32 or less; a user who asked
        // for help is told why none came.
        if (result <= 32) {
            std::string why = files.GetAttributes(path) == platform::kInvalidAttributes
                                  ? "The help file is missing:\n"
                                  : "Windows could not open the help file:\n";
            ctx_.host.MessageBox(this, why + path, "Help", ui::kMbOk | ui::kMbIconWarning);
        }
    }
}

// Closing the main window closes every window, then the program ends.
bool mainform::Form_QueryUnload() {
    for (ui::Form* form : ctx_.forms.All()) {
        if (form != this && form->Loaded()) form->Unload();
    }
    return false;
}

void mainform::Form_Unload() {
    ctx_.host.Quit();
}

}  // namespace orv::app
