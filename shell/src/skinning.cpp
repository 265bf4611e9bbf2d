#include "shell/skinning.h"

#include "platform/status.h"
#include "ui/control.h"
#include "ui/form.h"
#include "ui/skin.h"

namespace orv::shell {

std::string_view SkinElementFor(const ui::Control& control) {
    switch (control.GetKind()) {
        case ui::Kind::CommandButton:
            if (control.Name() == "syscmd") return "system";
            if (control.Name() == "cpucmd") return "cpu";
            return "Button";
        case ui::Kind::Label:
            return "Label";
        case ui::Kind::Frame:
            return "frame";
        case ui::Kind::CheckBox:
            return "check";
        case ui::Kind::OptionButton:
            return "radio";
        case ui::Kind::StatusBar:
            return "Statusbar";
        case ui::Kind::TabStrip:
            return "Tab";
        default:
            return {};
    }
}

int SkinComponent::LoadSkin(platform::Files& files, const std::string& path) {
    std::optional<std::string> bytes = files.ReadFile(path);
    if (bytes && set_ && *bytes == bytes_) return platform::kSuccess;
    set_.reset();
    bytes_.clear();
    if (!bytes) return platform::kFileNotFound;
    set_ = ui::ParseSkin(*bytes);
    if (set_) bytes_ = std::move(*bytes);
    return set_ ? platform::kSuccess : platform::kInvalidData;
}

int SkinComponent::LoadProgramSkin(platform::Files& files) {
    return LoadSkin(files, files.ProgramFolder() + "\\" + std::string(kSkinFile));
}

void SkinComponent::ApplySkin(ui::Form& form, std::string_view element) const {
    if (!set_) return;
    form.SetSkin(set_, std::string(element));
}

void SkinComponent::ApplySkin(ui::Control& control, std::string_view element) const {
    if (!set_) return;
    control.SetSkin(set_, std::string(element));
}

void SkinControls(ui::Form& frm, const SkinComponent& skin) {
    for (ui::Control* control : frm.Controls()) {
        std::string_view element = SkinElementFor(*control);
        if (element.empty()) continue;
        skin.ApplySkin(*control, element);
    }
}

}  // namespace orv::shell
