#include "ui/headless.h"

#include <algorithm>

namespace orv::ui {

void HeadlessHost::ShowForm(Form& form, Form* owner, bool modal) {
    if (!form.Loaded()) {
        form.SetHandle(next_handle_++);
        for (Control* c : form.Controls()) {
            if (c->Windowed()) c->SetHandle(next_handle_++);
        }
        MarkLoaded(form, owner, modal);
        events.push_back("load:" + form.Name());
        Run([&] { form.Form_Load(); }, form.Name());
        // A load handler may unload its own form (a second copy of the program).
        if (!form.Loaded()) return;
    }
    // The splash stays until a window shows, as on the native host.
    splash_shown = false;
    if (modal) {
        modal_stack_.push_back(&form);
        if (on_modal) {
            auto driver = on_modal;
            driver(form);
        }
    }
}

void HeadlessHost::CloseForm(Form& form) {
    if (!RunUnload(form)) return;
    if (form.Handle() == 0) return;  // already gone (nested unload)
    events.push_back("unload:" + form.Name());
    form.SetHandle(0);
    for (Control* c : form.Controls()) c->SetHandle(0);
    modal_stack_.erase(std::remove(modal_stack_.begin(), modal_stack_.end(), &form),
                       modal_stack_.end());
}

int HeadlessHost::MessageBox(Form*, std::string_view text, std::string_view title, unsigned style) {
    messages.push_back({std::string(text), std::string(title), style});
    if (message_answers.empty()) return kIdOk;
    int answer = message_answers.front();
    message_answers.pop_front();
    return answer;
}

bool HeadlessHost::ShowOpenDialog(Form&, CommonDialog& dialog) {
    if (open_answers.empty()) return false;
    std::string answer = open_answers.front();
    open_answers.pop_front();
    if (answer.empty()) return false;
    dialog.file_name = answer;
    return true;
}

bool HeadlessHost::ShowColorDialog(Form&, CommonDialog& dialog) {
    if (color_answers.empty()) return false;
    dialog.color = color_answers.front();
    color_answers.pop_front();
    return true;
}

bool HeadlessHost::Reachable(const Control& control) const {
    const Form& form = control.Owner();
    if (!form.Loaded() || !control.ShownOnScreen()) return false;
    for (const Control* c = &control; c; c = c->Container()) {
        if (!c->Enabled()) return false;
    }
    // A modal window blocks every window below it.
    if (!modal_stack_.empty() && modal_stack_.back() != &form) return false;
    return true;
}

bool HeadlessHost::Click(Control& control) {
    if (!Reachable(control)) return false;
    switch (control.GetKind()) {
        case Kind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            box.SetValue(box.Value() == 1 ? 0 : 1);
            return true;
        }
        case Kind::OptionButton: {
            auto& option = static_cast<OptionButton&>(control);
            if (option.Value()) {
                if (option.onClick) option.Owner().Fire(option.onClick);
            } else {
                option.SetValue(true);
            }
            return true;
        }
        default:
            if (control.onClick) control.Owner().Fire(control.onClick);
            return true;
    }
}

bool HeadlessHost::Type(TextBox& box, std::string text) {
    if (!Reachable(box)) return false;
    box.SetText(std::move(text));
    return true;
}

bool HeadlessHost::PressKey(TextBox& box, int key) {
    if (!Reachable(box)) return false;
    if (box.onKeyPress) box.Owner().Fire([&] { box.onKeyPress(key); });
    return true;
}

bool HeadlessHost::Choose(ListControl& list, int index) {
    if (!Reachable(list) || index < 0 || index >= static_cast<int>(list.Items().size()))
        return false;
    list.SetListIndex(index);
    return true;
}

bool HeadlessHost::Choose(ImageCombo& combo, int index) {
    if (!Reachable(combo) || index < 0 || index >= static_cast<int>(combo.ComboItems().size()))
        return false;
    combo.Select(index);
    return true;
}

bool HeadlessHost::ChooseTab(TabStrip& tabs, int tab) {
    if (!Reachable(tabs) || tab < 1 || tab > static_cast<int>(tabs.Tabs().size())) return false;
    if (tab == tabs.SelectedTab()) {
        // Clicking the tab already selected still raises the click.
        if (tabs.onClick) tabs.Owner().Fire(tabs.onClick);
    } else {
        tabs.SelectTab(tab);
    }
    return true;
}

bool HeadlessHost::Slide(RangeControl& range, int value) {
    if (!Reachable(range)) return false;
    range.SetValue(value);
    if (range.onScroll) range.Owner().Fire(range.onScroll);
    return true;
}

bool HeadlessHost::FireTimer(Timer& timer) {
    if (!timer.Owner().Loaded() || !timer.Enabled() || timer.Interval() <= 0) return false;
    if (timer.onTimer) timer.Owner().Fire(timer.onTimer);
    return true;
}

bool HeadlessHost::ClickSkinElement(Form& form, const std::string& element) {
    if (!form.Loaded()) return false;
    if (!modal_stack_.empty() && modal_stack_.back() != &form) return false;
    if (form.onSkinElementClick) form.Fire([&] { form.onSkinElementClick(element); });
    return true;
}

}  // namespace orv::ui
