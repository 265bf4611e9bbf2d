// A host without windows, for behaviour tests: the test clicks, types,
// chooses, fires timers and answers message boxes and dialogs. Handles are
// made-up non-zero numbers so code that passes handles around still works.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/host.h"

namespace orv::ui {

class HeadlessHost : public Host {
  public:
    struct ShownMessage {
        std::string text;
        std::string title;
        unsigned style = 0;
    };

    void ShowForm(Form& form, Form* owner, bool modal) override;
    void CloseForm(Form& form) override;
    void ControlChanged(Control& c, Prop p) override {
        if (c.Handle()) pushed.emplace_back(c.AutomationName(), p);
    }
    void FormChanged(Form& f, Prop p) override {
        if (f.Handle()) pushed.emplace_back(f.Name(), p);
    }
    int MessageBox(Form* owner, std::string_view text, std::string_view title,
                   unsigned style) override;
    bool ShowOpenDialog(Form& owner, CommonDialog& dialog) override;
    bool ShowColorDialog(Form& owner, CommonDialog& dialog) override;
    void ShowSplash(const std::string& bytes) override { splash = bytes, splash_shown = true; }
    void CloseSplash() override { splash_shown = false; }
    void DoEvents() override { ++yields; }
    void Quit() override { quit = true; }

    // User actions. Each is refused (returns false) when the control could not
    // be reached by a user: hidden, disabled, or its window blocked by a modal one.
    bool Click(Control& control);
    bool Type(TextBox& box, std::string text);
    // A key pressed in the box (13: Enter).
    bool PressKey(TextBox& box, int key);
    bool Choose(ListControl& list, int index);
    bool Choose(ImageCombo& combo, int index);
    bool ChooseTab(TabStrip& tabs, int tab);
    bool Slide(RangeControl& range, int value);
    bool FireTimer(Timer& timer);
    bool ClickSkinElement(Form& form, const std::string& element);
    // The user closes the window with its close box.
    void CloseBox(Form& form) { CloseForm(form); }

    // Called when a form is shown modally, with the form; the test drives it
    // (and usually closes it). Without a driver the form just stays open.
    std::function<void(Form&)> on_modal;

    std::deque<int> message_answers;  // kIdOk when empty
    std::vector<ShownMessage> messages;
    std::deque<std::string> open_answers;     // "" = cancel
    std::deque<std::uint32_t> color_answers;  // empty = cancel
    int yields = 0;
    std::string splash;
    bool splash_shown = false;
    bool quit = false;
    std::vector<std::string> events;  // "load:frmabout", "unload:frmabout"
    // Changes that reached a window already created (by control or form name):
    // the work a native host does to follow the model.
    std::vector<std::pair<std::string, Prop>> pushed;

    bool Reachable(const Control& control) const;

  private:
    std::uintptr_t next_handle_ = 0x1000;
    std::vector<Form*> modal_stack_;
};

}  // namespace orv::ui
