// The main window as a switchboard: one panel frame at a time, the fold-out
// group under `syscmd`, and the two tab strips over their page frames.
#include <span>

#include "app/mainform.h"

namespace orv::app {

namespace {

constexpr std::string_view kFolded = ">>";
constexpr std::string_view kOpen = "<<";

struct Marker {
    enum class Kind { None, Folded, Open };
    Kind kind = Kind::None;
    std::size_t at = 0;
};

// The marker that tells the group's state: the one that ends the caption, or
// else the last one in it. A translated caption may hold a marker elsewhere
// ("Next>> System") or both; deciding on one marker keeps a click from
// opening and closing the group at once, and flipping that marker in place
// keeps the rest of the text intact.
Marker FindMarker(std::string_view caption) {
    auto ends_with = [&](std::string_view m) {
        return caption.size() >= m.size() && caption.substr(caption.size() - m.size()) == m;
    };
    if (ends_with(kFolded)) return {Marker::Kind::Folded, caption.size() - 2};
    if (ends_with(kOpen)) return {Marker::Kind::Open, caption.size() - 2};
    std::size_t folded = caption.rfind(kFolded);
    std::size_t open = caption.rfind(kOpen);
    if (folded == std::string_view::npos && open == std::string_view::npos) return {};
    if (open == std::string_view::npos || (folded != std::string_view::npos && folded > open))
        return {Marker::Kind::Folded, folded};
    return {Marker::Kind::Open, open};
}

}  // namespace

void mainform::ShowPanel(ui::Frame& panel, int height) {
    panel.SetVisible(true);
    if (height > 0) SetHeight(height);
    for (ui::Frame* frame :
         {&VisualFrame, &drivesframe, &Inputframe, &EXPFrame, &SIFrame, &langFrame, &SMframe}) {
        if (frame != &panel) frame->SetVisible(false);
    }
}

void mainform::HideAllPanels() {
    for (ui::Frame* frame :
         {&VisualFrame, &drivesframe, &Inputframe, &EXPFrame, &SIFrame, &langFrame, &SMframe}) {
        frame->SetVisible(false);
    }
}

void mainform::Command4_Click() {
    ShowPanel(VisualFrame, kPanelHeight);
}
void mainform::Command5_Click() {
    ShowPanel(drivesframe, kPanelHeight);
}
void mainform::Command6_Click() {
    ShowPanel(Inputframe, kPanelHeight);
}
void mainform::Command1_Click() {
    ShowPanel(EXPFrame, 0);
}
void mainform::Command2_Click() {
    ShowPanel(SIFrame, kPanelHeight);
}
void mainform::Command7_Click() {
    ShowPanel(langFrame, 0);
}
void mainform::cpucmd_Click() {
    ShowPanel(SMframe, kMonitorHeight);
}

// After the health window closes no panel shows until another button is pressed.
void mainform::Command3_Click() {
    HideAllPanels();
    if (OpenHealthWindow) OpenHealthWindow();
}

void mainform::syscmd_Click() {
    VisualFrame.SetVisible(true);
    SetHeight(kPanelHeight);
    std::string caption = syscmd.Caption();
    Marker marker = FindMarker(caption);
    if (marker.kind == Marker::Kind::Folded) {
        // Open the group right under syscmd and move cpucmd under the group.
        Frame1.Move(160, syscmd.Height() + 370);
        Frame1.SetVisible(true);
        cpucmd.SetTop(syscmd.Height() + 370 + Frame1.Height());
        caption.replace(marker.at, 2, kOpen);
        syscmd.SetCaption(caption);
        // The group's top edge reaches under the button; the button stays whole.
        syscmd.BringToFront();
        syscmd.Refresh();
    } else if (marker.kind == Marker::Kind::Open) {
        Frame1.Move(240, 3400);
        Frame1.SetVisible(false);
        cpucmd.SetTop(syscmd.Top() + syscmd.Height() + 50);
        caption.replace(marker.at, 2, kFolded);
        syscmd.SetCaption(caption);
        syscmd.Refresh();
        VisualFrame.SetVisible(false);
        langFrame.SetVisible(false);
    }
    SMframe.SetVisible(false);
}

// Tab i (from 1) belongs to frame i - 1: only the selected tab's frame is
// visible and enabled, and it is brought in front of the tab strip.
void mainform::SwitchTab(ui::TabStrip& tabs, std::span<ui::Frame* const> frames) {
    int selected = tabs.SelectedTab();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        bool chosen = static_cast<int>(i) + 1 == selected;
        frames[i]->SetVisible(chosen);
        frames[i]->SetEnabled(chosen);
    }
    if (selected >= 1 && selected <= static_cast<int>(frames.size()))
        frames[selected - 1]->BringToFront();
}

void mainform::TabStrip1_Click() {
    SwitchTab(TabStrip1, VoptionsFrame);
}
void mainform::ExpTab_Click() {
    SwitchTab(ExpTab, OptionsFrame);
}

}  // namespace orv::app
