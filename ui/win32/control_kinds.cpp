// Which family handles which control kind. Timers, image lists and common
// dialogs have no window.
#include "control_family.h"

namespace orv::ui {

namespace {

class Windowless : public ControlFamily {
  public:
    WindowPlan Plan(const Control&, bool) const override { return {}; }
};

}  // namespace

const ControlFamily& FamilyOf(Kind kind) {
    static const Windowless windowless;
    switch (kind) {
        case Kind::CommandButton:
        case Kind::CheckBox:
        case Kind::OptionButton:
            return ButtonFamily();
        case Kind::Label:
        case Kind::StatusBar:
        case Kind::Histogram:
        case Kind::Picture:
        case Kind::Image:
        case Kind::Frame:
            return ViewFamily();
        case Kind::TextBox:
            return TextBoxFamily();
        case Kind::ComboBox:
        case Kind::DriveList:
        case Kind::ListBox:
        case Kind::FolderList:
            return ListFamily();
        case Kind::ImageCombo:
            return ImageComboFamily();
        case Kind::ListView:
            return ListViewFamily();
        case Kind::Slider:
        case Kind::ProgressBar:
        case Kind::UpDown:
            return RangeFamily();
        case Kind::TabStrip:
            return TabStripFamily();
        case Kind::Timer:
        case Kind::ImageList:
        case Kind::CommonDialog:
            break;
    }
    return windowless;
}

}  // namespace orv::ui
