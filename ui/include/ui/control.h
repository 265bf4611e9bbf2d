// The control model: a control is plain state (caption, tag, visibility,
// geometry in twips, container) plus events. Property changes are reported to
// the form's host peer so a native window can follow; the logic never sees a
// window handle beyond the opaque `Handle()` that skinning passes around.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orv::ui {

class Form;
class Frame;
struct SkinSet;

enum class Kind {
    CommandButton,
    CheckBox,
    OptionButton,
    Label,  // a label of the skin component (every label of the program's windows)
    Frame,
    TextBox,
    ComboBox,
    ListBox,
    ListView,
    Slider,
    ProgressBar,
    Timer,
    TabStrip,
    ImageCombo,
    ImageList,
    UpDown,
    DriveList,
    FolderList,
    Picture,
    Image,
    CommonDialog,
    Histogram,
    StatusBar,
};

std::string_view KindName(Kind kind);

// Which property changed, so a native peer updates only that.
enum class Prop {
    Caption,
    Visible,
    Enabled,
    Geometry,
    ZOrder,
    Value,  // check state, option value, slider/progress/up-down position
    Text,   // text box text, combo text
    Items,  // list contents, tabs, columns
    Selection,
    Skin,
    Picture,
    Interval,
    Font,
};

// Design-time properties. Geometry is in twips relative to the container.
struct Design {
    std::string caption;
    std::string tag;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
    bool enabled = true;
};

// The font a control's text is drawn in. An empty face or 0 points keeps
// what the window would use without it (the skin's font, else the host's).
struct ControlFont {
    std::string face;
    int points = 0;
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool operator==(const ControlFont&) const = default;
};

class Control {
  public:
    // Registers itself with `form`: declaration order of the members is the
    // window's control order, which language loading and skinning walk.
    Control(Form& form, Kind kind, std::string name, Design design, Frame* container = nullptr,
            int index = -1);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Owner() const { return form_; }
    Kind GetKind() const { return kind_; }
    const std::string& Name() const { return name_; }
    int Index() const { return index_; }  // -1 outside a control array
    // "VoptionsFrame(2)" for array members, the plain name otherwise; the name
    // the automation contract publishes.
    std::string AutomationName() const;

    // Kinds without a caption (text boxes, sliders, ...) ignore the assignment
    // and report false, which the language loader relies on.
    virtual bool HasCaption() const { return false; }
    const std::string& Caption() const { return caption_; }
    bool SetCaption(std::string caption);

    const std::string& Tag() const { return tag_; }
    void SetTag(std::string tag) { tag_ = std::move(tag); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Visible and every container up the chain visible.
    bool ShownOnScreen() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top);
    void SetLeft(int v) { Move(v, top_); }
    void SetTop(int v) { Move(left_, v); }
    void Resize(int width, int height);

    const ControlFont& Font() const { return font_; }
    void SetFont(ControlFont font);

    Frame* Container() const { return container_; }
    // Brings the control in front of its siblings (ZOrder 0).
    void BringToFront();
    std::uint64_t ZSerial() const { return z_serial_; }
    void Refresh();

    // The skin set and element the control is drawn with (none = the
    // standard look). The set is shared: every control of every window is
    // drawn from the main window's skin component.
    const std::string& SkinElement() const { return skin_element_; }
    const std::shared_ptr<const SkinSet>& Skin() const { return skin_; }
    void SetSkin(std::shared_ptr<const SkinSet> skin, std::string element);

    // Opaque native handle: the host's window for the control, 0 when none
    // exists (timers, image lists, dialogs never have one).
    std::uintptr_t Handle() const { return handle_; }
    void SetHandle(std::uintptr_t h) { handle_ = h; }
    virtual bool Windowed() const { return true; }

    std::function<void()> onClick;

  protected:
    void Changed(Prop prop);

  private:
    friend class Form;
    Form& form_;
    Kind kind_;
    std::string name_;
    int index_;
    Frame* container_;
    std::string caption_;
    std::string tag_;
    bool visible_;
    bool enabled_;
    int left_, top_, width_, height_;
    std::uint64_t z_serial_ = 0;
    ControlFont font_;
    std::string skin_element_;
    std::shared_ptr<const SkinSet> skin_;
    std::uintptr_t handle_ = 0;
};

}  // namespace orv::ui
