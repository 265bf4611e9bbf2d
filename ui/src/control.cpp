#include "ui/control.h"

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/host.h"

namespace orv::ui {

std::string_view KindName(Kind kind) {
    switch (kind) {
        case Kind::CommandButton:
            return "CommandButton";
        case Kind::CheckBox:
            return "CheckBox";
        case Kind::OptionButton:
            return "OptionButton";
        case Kind::Label:
            return "Label";
        case Kind::Frame:
            return "Frame";
        case Kind::TextBox:
            return "TextBox";
        case Kind::ComboBox:
            return "ComboBox";
        case Kind::ListBox:
            return "ListBox";
        case Kind::ListView:
            return "ListView";
        case Kind::Slider:
            return "Slider";
        case Kind::ProgressBar:
            return "ProgressBar";
        case Kind::Timer:
            return "Timer";
        case Kind::TabStrip:
            return "TabStrip";
        case Kind::ImageCombo:
            return "ImageCombo";
        case Kind::ImageList:
            return "ImageList";
        case Kind::UpDown:
            return "UpDown";
        case Kind::DriveList:
            return "DriveList";
        case Kind::FolderList:
            return "FolderList";
        case Kind::Picture:
            return "Picture";
        case Kind::Image:
            return "Image";
        case Kind::CommonDialog:
            return "CommonDialog";
        case Kind::Histogram:
            return "Histogram";
        case Kind::StatusBar:
            return "StatusBar";
    }
    return "Unknown";
}

Control::Control(Form& form, Kind kind, std::string name, Design design, Frame* container,
                 int index)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      index_(index),
      container_(container),
      caption_(std::move(design.caption)),
      tag_(std::move(design.tag)),
      visible_(design.visible),
      enabled_(design.enabled),
      left_(design.left),
      top_(design.top),
      width_(design.width),
      height_(design.height) {
    form_.Register(*this);
    z_serial_ = form_.NextZ();
}

std::string Control::AutomationName() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

bool Control::SetCaption(std::string caption) {
    if (!HasCaption()) return false;
    if (caption_ == caption) return true;
    caption_ = std::move(caption);
    Changed(Prop::Caption);
    return true;
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Changed(Prop::Visible);
}

bool Control::ShownOnScreen() const {
    for (const Control* c = this; c; c = c->container_) {
        if (!c->visible_) return false;
    }
    return true;
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Changed(Prop::Enabled);
}

void Control::Move(int left, int top) {
    if (left_ == left && top_ == top) return;
    left_ = left;
    top_ = top;
    Changed(Prop::Geometry);
}

void Control::Resize(int width, int height) {
    if (width_ == width && height_ == height) return;
    width_ = width;
    height_ = height;
    Changed(Prop::Geometry);
}

void Control::SetFont(ControlFont font) {
    if (font_ == font) return;
    font_ = std::move(font);
    Changed(Prop::Font);
}

void Control::BringToFront() {
    z_serial_ = form_.NextZ();
    Changed(Prop::ZOrder);
}

void Control::Refresh() {
    Changed(Prop::Caption);
}

void Control::SetSkin(std::shared_ptr<const SkinSet> skin, std::string element) {
    // The same look again changes nothing (a native peer would redraw).
    if (skin == skin_ && element == skin_element_) return;
    skin_ = std::move(skin);
    skin_element_ = std::move(element);
    Changed(Prop::Skin);
}

void Control::Changed(Prop prop) {
    form_.GetHost().ControlChanged(*this, prop);
}

}  // namespace orv::ui
