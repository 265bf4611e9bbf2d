// One class per control kind the windows use. Each adds the state and events
// of its kind to `Control`; everything is observable by tests and pushed to
// the native peer through the form's host.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace orv::ui {

class CommandButton : public Control {
  public:
    CommandButton(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::CommandButton, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
};

// Value: 0 unchecked, 1 checked, 2 grayed. Setting a different value raises
// onClick, as the classic check box does; a user click toggles 0 <-> 1.
class CheckBox : public Control {
  public:
    CheckBox(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::CheckBox, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
    int Value() const { return value_; }
    void SetValue(int value);

  private:
    int value_ = 0;
};

// Choosing one clears the others in the same container.
class OptionButton : public Control {
  public:
    OptionButton(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::OptionButton, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
    bool Value() const { return value_; }
    void SetValue(bool value);

  private:
    bool value_ = false;
};

class Label : public Control {
  public:
    Label(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::Label, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
};

// A frame is a real container: hiding it hides what it holds.
class Frame : public Control {
  public:
    Frame(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::Frame, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
};

class TextBox : public Control {
  public:
    TextBox(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::TextBox, std::move(name), std::move(d), in, index) {}
    const std::string& Text() const { return text_; }
    void SetText(std::string text);  // raises onChange when it differs
    std::function<void()> onChange;
    // Design property, read when the window is created: several lines,
    // wrapped at the width, CR LF between them.
    bool multi_line = false;
    // A key pressed in the box that it does not take as text: Enter (13).
    std::function<void(int key)> onKeyPress;

  private:
    std::string text_;
};

// Combo and list boxes: items with a selected index (-1 = none).
class ListControl : public Control {
  public:
    using Control::Control;
    const std::vector<std::string>& Items() const { return items_; }
    void AddItem(std::string item);
    void RemoveItem(int index);
    void Clear();
    int ListIndex() const { return list_index_; }
    void SetListIndex(int index);  // raises onClick when it changes
    std::string SelectedText() const;

  protected:
    std::vector<std::string> items_;
    int list_index_ = -1;
};

class ComboBox : public ListControl {
  public:
    ComboBox(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : ListControl(f, Kind::ComboBox, std::move(name), std::move(d), in, index) {}
    // Design property, read when the window is created: an editable combo
    // (the classic default) or a list to choose from only.
    enum class Style { DropDown, DropDownList };
    Style style = Style::DropDown;
    // The edit text: the selected item, or what was typed.
    const std::string& Text() const { return text_; }
    void SetText(std::string text);
    std::function<void()> onChange;

  private:
    friend class ListControl;
    std::string text_;
};

class ListBox : public ListControl {
  public:
    ListBox(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : ListControl(f, Kind::ListBox, std::move(name), std::move(d), in, index) {}
};

struct ListViewItem {
    std::string text;
    std::vector<std::string> sub_items;
};

class ListView : public Control {
  public:
    ListView(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::ListView, std::move(name), std::move(d), in, index) {}
    struct Column {
        std::string text;
        int width = 1440;
    };
    const std::vector<Column>& Columns() const { return columns_; }
    void AddColumn(std::string text, int width);
    const std::vector<ListViewItem>& ListItems() const { return items_; }
    void AddItem(ListViewItem item);
    void ClearItems();
    int SelectedIndex() const { return selected_; }  // -1 = none
    void Select(int index);                          // raises onClick
    // Replaces every row at once and puts the selection on `selected` (-1 =
    // none) without a click: a native peer updates the rows in place, so the
    // list keeps its scroll position.
    void SetItems(std::vector<ListViewItem> items, int selected);

  private:
    std::vector<Column> columns_;
    std::vector<ListViewItem> items_;
    int selected_ = -1;
};

// Slider, progress bar and up-down share a bounded position.
class RangeControl : public Control {
  public:
    using Control::Control;
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    void SetRange(int min, int max);
    void SetValue(int value);  // clamped into the range; raises onChange when it moves
    std::function<void()> onChange;
    std::function<void()> onScroll;

  private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
};

class Slider : public RangeControl {
  public:
    Slider(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : RangeControl(f, Kind::Slider, std::move(name), std::move(d), in, index) {}
    // What the arrow keys (small) and Page Up/Down or a click beside the thumb
    // (large) move it by; design values 1 and 5.
    int SmallChange() const { return small_change_; }
    int LargeChange() const { return large_change_; }
    void SetChanges(int small_change, int large_change);

  private:
    int small_change_ = 1;
    int large_change_ = 5;
};

class ProgressBar : public RangeControl {
  public:
    ProgressBar(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : RangeControl(f, Kind::ProgressBar, std::move(name), std::move(d), in, index) {}
};

class UpDown : public RangeControl {
  public:
    UpDown(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : RangeControl(f, Kind::UpDown, std::move(name), std::move(d), in, index) {}
};

// A window-message timer. Enabled (the design `visible` flag is not used) and
// interval in milliseconds; the host fires onTimer.
class Timer : public Control {
  public:
    Timer(Form& f, std::string name, int interval_ms, bool enabled = true)
        : Control(f, Kind::Timer, std::move(name), Design{}, nullptr, -1) {
        SetInterval(interval_ms);
        SetEnabled(enabled);
    }
    bool Windowed() const override { return false; }
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    std::function<void()> onTimer;

  private:
    int interval_ = 0;
};

// A scrolling bar graph of whole-number samples, 0..100 filling its height:
// setting a new sample appends it at the right and the older ones move left.
// It shows the newest `MaxLines` samples (the zoom); a wider zoom later shows
// older ones again, up to kHistoryLimit of them. Its caption is the samples
// on show, oldest first, separated by blanks: the text a native peer gives
// its window, so a driver in another process reads what the graph holds.
class Histogram : public Control {
  public:
    static constexpr std::size_t kHistoryLimit = 1000;
    Histogram(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::Histogram, std::move(name), std::move(d), in, index) {}
    bool HasCaption() const override { return true; }
    int MaxLines() const { return max_lines_; }
    void SetMaxLines(int lines);  // at least 1
    void AddSample(int value);
    const std::vector<int>& History() const { return history_; }
    // The samples on show, oldest first.
    std::vector<int> Shown() const;
    // The bars of the samples on show in a client area of width x height
    // pixels: one slot per line of the zoom, the newest at the right edge,
    // a sample of 100 (or more) the full height, below 0 none.
    struct Bar {
        int left, top, right, bottom;
        bool operator==(const Bar&) const = default;
    };
    std::vector<Bar> Bars(int width, int height) const;
    // 0x00BBGGRR, as the classic colour properties.
    std::uint32_t NewColor() const { return new_color_; }
    void SetNewColor(std::uint32_t color);

  private:
    void ShowSamples();
    int max_lines_ = 30;
    std::uint32_t new_color_ = 0x0000FF00;
    std::vector<int> history_;
};

// Tabs are counted from 1 as the classic tab strip does; onClick fires after
// the selection moved.
class TabStrip : public Control {
  public:
    TabStrip(Form& f, std::string name, Design d, std::vector<std::string> tabs,
             Frame* in = nullptr)
        : Control(f, Kind::TabStrip, std::move(name), std::move(d), in, -1),
          tabs_(std::move(tabs)) {}
    const std::vector<std::string>& Tabs() const { return tabs_; }
    // New labels for the tabs (a translation); the selected tab stays selected
    // when it still exists.
    void SetTabs(std::vector<std::string> tabs);
    int SelectedTab() const { return selected_; }  // 1-based
    void SelectTab(int tab);                       // raises onClick when it changes

  private:
    std::vector<std::string> tabs_;
    int selected_ = 1;
};

class ImageList : public Control {
  public:
    ImageList(Form& f, std::string name) : Control(f, Kind::ImageList, std::move(name), Design{}) {}
    bool Windowed() const override { return false; }
    // Pictures by resource name or file path, 1-based as the classic list.
    std::vector<std::string> images;
};

struct ImageComboItem {
    std::string text;
    int image = 0;           // 1-based index into the image list, 0 = none
    int selected_image = 0;  // shown while selected
};

class ImageCombo : public Control {
  public:
    ImageCombo(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Control(f, Kind::ImageCombo, std::move(name), std::move(d), in, index) {}
    ImageList* image_list = nullptr;
    const std::vector<ImageComboItem>& ComboItems() const { return items_; }
    void AddItem(ImageComboItem item);
    void ClearItems();
    int SelectedIndex() const { return selected_; }
    void Select(int index);  // raises onClick when it changes
    // The text of the selected item ("" when none).
    std::string Text() const;

  private:
    std::vector<ImageComboItem> items_;
    int selected_ = -1;
};

class DriveList : public ListControl {
  public:
    DriveList(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : ListControl(f, Kind::DriveList, std::move(name), std::move(d), in, index) {}
    // "c: [label]" style entry of the selected drive.
    std::string Drive() const { return SelectedText(); }
};

class FolderList : public ListControl {
  public:
    FolderList(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : ListControl(f, Kind::FolderList, std::move(name), std::move(d), in, index) {}
    std::string path;
};

class Picture : public Control {
  public:
    Picture(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1,
            Kind kind = Kind::Picture)
        : Control(f, kind, std::move(name), std::move(d), in, index) {}
    const std::string& Source() const { return source_; }
    void SetSource(std::string path_or_resource);
    // Design property: scale the picture to the control instead of showing it
    // at its own size from the top left.
    bool stretch = false;

  private:
    std::string source_;
};

class Image : public Picture {
  public:
    Image(Form& f, std::string name, Design d, Frame* in = nullptr, int index = -1)
        : Picture(f, std::move(name), std::move(d), in, index, Kind::Image) {}
};

// The common dialog control: its results live here; the host shows it.
class CommonDialog : public Control {
  public:
    CommonDialog(Form& f, std::string name) : Control(f, Kind::CommonDialog, std::move(name), {}) {}
    bool Windowed() const override { return false; }
    std::string title;        // the open dialog's title; empty gives the system's own
    std::string filter;       // "Bitmaps|*.bmp|All files|*.*"
    std::string file_name;    // result of ShowOpen
    std::uint32_t color = 0;  // 0x00BBGGRR, result of ShowColor
    bool ShowOpen();          // false when cancelled
    bool ShowColor();         // false when cancelled
};

}  // namespace orv::ui
