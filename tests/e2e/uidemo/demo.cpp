#include "demo.h"

#include <chrono>
#include <thread>

namespace orv::demo {
namespace {

// Design geometry is in twips; these windows were laid out in pixels at
// 96 DPI, 15 twips each.
Design At(std::string caption, int x, int y, int w, int h, bool visible = true) {
    Design d;
    d.caption = std::move(caption);
    d.left = x * 15;
    d.top = y * 15;
    d.width = w * 15;
    d.height = h * 15;
    d.visible = visible;
    return d;
}

const char* ElementFor(const Control& c) {
    switch (c.GetKind()) {
        case Kind::CommandButton:
            // cmdModal looks like the program's navigation buttons.
            return c.Name() == "cmdModal" ? "system" : "Button";
        case Kind::Label:
            return "Label";
        case Kind::Frame:
            return "frame";
        case Kind::CheckBox:
            return "check";
        case Kind::OptionButton:
            return "radio";
        case Kind::StatusBar:
            return "Statusbar";
        case Kind::TabStrip:
            return "Tab";
        default:
            return nullptr;
    }
}

}  // namespace

void SkinControls(Form& form, const std::shared_ptr<const SkinSet>& skin) {
    if (!skin) return;
    for (Control* c : form.Controls()) {
        if (const char* element = ElementFor(*c)) c->SetSkin(skin, element);
    }
}

DemoTool::DemoTool(DemoContext& ctx)
    : Form(ctx.host, "demotool", "Tool window", 330 * 15, 170 * 15),
      lblInfo(*this, "lblInfo",
              At("This window is modal: the main window stays disabled until it closes.", 16, 14,
                 290, 34)),
      chkRemember(*this, "chkRemember", At("Remember this choice", 16, 56, 200, 20)),
      cmdClose(*this, "cmdClose", At("Close", 214, 96, 96, 26)),
      ctx_(ctx) {}

void DemoTool::Form_Load() {
    if (ctx_.skin) SetSkin(ctx_.skin, "SmallForm");
    SkinControls(*this, ctx_.skin);
    cmdClose.onClick = [this] { Unload(); };
}

DemoAbout::DemoAbout(DemoContext& ctx)
    : Form(ctx.host, "demoabout", "About the demo", 300 * 15, 160 * 15),
      lblProduct(*this, "lblProduct", At("Orvelle control runtime", 16, 14, 260, 20)),
      lblLine(*this, "lblLine", At("Native windows, skins and automation.", 16, 38, 260, 20)),
      cmdOK(*this, "cmdOK", At("OK", 184, 86, 96, 26)),
      ctx_(ctx) {}

void DemoAbout::Form_Load() {
    if (ctx_.skin) SetSkin(ctx_.skin, "SmallForm");
    SkinControls(*this, ctx_.skin);
    cmdOK.onClick = [this] { Unload(); };
}

DemoMain::DemoMain(DemoContext& ctx)
    : Form(ctx.host, "demomain", "Orvelle UI demo", 520 * 15, 400 * 15),
      lblStatus(*this, "lblStatus", At("Ready", 16, 10, 300, 18)),
      fraOptions(*this, "fraOptions", At("Options", 16, 34, 220, 152)),
      cmdHello(*this, "cmdHello", At("Say hello", 12, 26, 120, 26), &fraOptions),
      chkLog(*this, "chkLog", At("Keep a log", 12, 62, 190, 20), &fraOptions),
      optSmall(*this, "optSmall", At("Small", 12, 88, 90, 20), &fraOptions),
      optLarge(*this, "optLarge", At("Large", 110, 88, 90, 20), &fraOptions),
      lblHint(*this, "lblHint",
              At("A frame holds its controls: hiding it hides them.", 12, 114, 200, 30),
              &fraOptions),
      cmdToggle(*this, "cmdToggle", At("Hide options", 16, 196, 220, 26)),
      cmdModal(*this, "cmdModal", At("Open tool window...", 16, 230, 220, 26)),
      lblTicks(*this, "lblTicks", At("Timer: 0 ticks", 16, 268, 220, 18)),
      imgLogo(*this, "imgLogo", At("", 16, 292, 72, 45)),
      tabMain(*this, "tabMain", At("", 252, 34, 250, 226), {"General", "Details", "More"}),
      tabFrame0(*this, "tabFrame", At("", 260, 62, 234, 190), nullptr, 0),
      lblColour(*this, "lblColour", At("Colour", 10, 10, 200, 18), &tabFrame0),
      cboColour(*this, "cboColour", At("", 10, 30, 150, 24), &tabFrame0),
      lblColourShown(*this, "lblColourShown", At("No colour chosen", 10, 62, 210, 18), &tabFrame0),
      lstItems(*this, "lstItems", At("", 10, 86, 210, 92), &tabFrame0),
      tabFrame1(*this, "tabFrame", At("", 260, 62, 234, 190, false), nullptr, 1),
      lblLevel(*this, "lblLevel", At("Level", 10, 10, 200, 18), &tabFrame1),
      sldLevel(*this, "sldLevel", At("", 6, 30, 220, 30), &tabFrame1),
      prgLevel(*this, "prgLevel", At("", 10, 68, 210, 16), &tabFrame1),
      txtName(*this, "txtName", At("", 10, 96, 210, 22), &tabFrame1),
      lblEcho(*this, "lblEcho", At("Type a name above", 10, 126, 210, 18), &tabFrame1),
      tabFrame2(*this, "tabFrame", At("", 260, 62, 234, 190, false), nullptr, 2),
      lvwItems(*this, "lvwItems", At("", 10, 10, 214, 96), &tabFrame2),
      imgDrive(*this, "imgDrive", At("", 10, 114, 120, 24), &tabFrame2),
      updCount(*this, "updCount", At("", 134, 114, 18, 24), &tabFrame2),
      cmdRefresh(*this, "cmdRefresh", At("Refresh", 158, 113, 66, 26), &tabFrame2),
      cmdOpen(*this, "cmdOpen", At("Open...", 158, 146, 66, 26), &tabFrame2),
      dlgOpen(*this, "dlgOpen"),
      lblMore(*this, "lblMore", At("Nothing chosen", 10, 150, 144, 36), &tabFrame2),
      stsBar(*this, Kind::StatusBar, "stsBar",
             At("Orvelle ui demo: every control is a real window", 0, 346, 518, 23)),
      Timer1(*this, "Timer1", 500),
      ctx_(ctx) {
    cboColour.style = ComboBox::Style::DropDownList;
}

void DemoMain::Form_Load() {
    if (!ctx_.splash.empty()) {
        GetHost().ShowSplash(ctx_.splash);
        // Stands for a long start-up: the splash stays while the load runs.
        for (int waited = 0; waited < ctx_.splash_wait_ms; waited += 20) {
            GetHost().DoEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (ctx_.skin) SetSkin(ctx_.skin, "Form");
    SkinControls(*this, ctx_.skin);
    onSkinElementClick = [this](const std::string& e) { SkinElementClicked(e); };

    for (const char* c : {"Red", "Green", "Blue"}) cboColour.AddItem(c);
    for (const char* item : {"Display", "Drives", "Input", "Explorer", "System information"}) {
        lstItems.AddItem(item);
    }
    sldLevel.SetRange(0, 100);
    prgLevel.SetRange(0, 100);
    sldLevel.SetValue(30);
    prgLevel.SetValue(30);
    optSmall.SetValue(true);
    lvwItems.AddColumn("Process", 1800);
    lvwItems.AddColumn("Memory", 1200);
    lvwItems.AddItem({"explorer.exe", {"24 MB"}});
    lvwItems.AddItem({"orvelle.exe", {"6 MB"}});
    lvwItems.AddItem({"winlogon.exe", {"3 MB"}});
    imgDrive.AddItem({"C: System", 0, 0});
    imgDrive.AddItem({"D: Data", 0, 0});
    updCount.SetRange(0, 10);
    imgLogo.stretch = true;
    imgLogo.SetSource(ctx_.folder + "\\Splash.spl");

    cmdHello.onClick = [this] {
        lblStatus.SetCaption("Hello number " + std::to_string(++hellos_));
    };
    chkLog.onClick = [this] { lblStatus.SetCaption(chkLog.Value() ? "Log on" : "Log off"); };
    optSmall.onClick = [this] { lblStatus.SetCaption("Small chosen"); };
    optLarge.onClick = [this] { lblStatus.SetCaption("Large chosen"); };
    cmdToggle.onClick = [this] {
        fraOptions.SetVisible(!fraOptions.Visible());
        cmdToggle.SetCaption(fraOptions.Visible() ? "Hide options" : "Show options");
    };
    cmdModal.onClick = [this] {
        lblStatus.SetCaption("Tool window open");
        ctx_.forms.Get<DemoTool>(ctx_).Show(this, true);
        // A modal Show returns once the window closed.
        lblStatus.SetCaption("Tool window closed");
    };
    tabMain.onClick = [this] {
        Frame* frames[] = {&tabFrame0, &tabFrame1, &tabFrame2};
        for (int i = 1; i <= 3; ++i) {
            Frame& f = *frames[i - 1];
            f.SetVisible(tabMain.SelectedTab() == i);
            f.SetEnabled(tabMain.SelectedTab() == i);
            f.BringToFront();
        }
    };
    cboColour.onClick = [this] {
        lblColourShown.SetCaption("Colour: " + cboColour.SelectedText());
    };
    lstItems.onClick = [this] { lblStatus.SetCaption("Item: " + lstItems.SelectedText()); };
    sldLevel.onChange = [this] { prgLevel.SetValue(sldLevel.Value()); };
    txtName.onChange = [this] { lblEcho.SetCaption("Name: " + txtName.Text()); };
    lvwItems.onClick = [this] {
        int i = lvwItems.SelectedIndex();
        lblMore.SetCaption(i < 0 ? "No process"
                                 : "Process: " +
                                       lvwItems.ListItems()[static_cast<std::size_t>(i)].text);
    };
    cmdRefresh.onClick = [this] {
        // As a process list refreshes: cleared and filled again.
        lvwItems.ClearItems();
        lvwItems.AddItem({"explorer.exe", {"25 MB"}});
        lvwItems.AddItem({"orvelle.exe", {"6 MB"}});
        lvwItems.AddItem({"winlogon.exe", {"3 MB"}});
        lvwItems.AddItem({"notepad.exe", {"2 MB"}});
        lvwItems.Select(3);
    };
    cmdOpen.onClick = [this] {
        dlgOpen.filter = "Settings files|*.ini|All files|*.*";
        lblMore.SetCaption(dlgOpen.ShowOpen() ? "File: " + dlgOpen.file_name : "Open cancelled");
    };
    imgDrive.onClick = [this] { lblMore.SetCaption("Drive: " + imgDrive.Text()); };
    updCount.onChange = [this] {
        lblMore.SetCaption("Count: " + std::to_string(updCount.Value()));
    };
    Timer1.onTimer = [this] {
        lblTicks.SetCaption("Timer: " + std::to_string(++ticks_) + " ticks");
    };
}

void DemoMain::SkinElementClicked(const std::string& element) {
    if (element == "About") {
        ctx_.forms.Get<DemoAbout>(ctx_).Show(this, true);
    } else if (element == "help") {
        lblStatus.SetCaption("Help requested");
    }
}

bool DemoMain::Form_QueryUnload() {
    // Closing the main window closes every other window.
    if (auto* tool = ctx_.forms.Existing<DemoTool>(); tool && tool->Loaded()) tool->Unload();
    if (auto* about = ctx_.forms.Existing<DemoAbout>(); about && about->Loaded()) about->Unload();
    return false;
}

}  // namespace orv::demo
