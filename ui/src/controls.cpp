#include "ui/controls.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/host.h"

namespace orv::ui {

void CheckBox::SetValue(int value) {
    if (value_ == value) return;
    value_ = value;
    Changed(Prop::Value);
    if (onClick) Owner().Fire(onClick);
}

void OptionButton::SetValue(bool value) {
    if (value_ == value) return;
    value_ = value;
    Changed(Prop::Value);
    if (value) {
        for (Control* c : Owner().Controls()) {
            if (c != this && c->GetKind() == Kind::OptionButton && c->Container() == Container()) {
                static_cast<OptionButton*>(c)->SetValue(false);
            }
        }
        if (onClick) Owner().Fire(onClick);
    }
}

void TextBox::SetText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    Changed(Prop::Text);
    if (onChange) Owner().Fire(onChange);
}

void ListControl::AddItem(std::string item) {
    items_.push_back(std::move(item));
    Changed(Prop::Items);
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_.erase(items_.begin() + index);
    // The selection stays on the same item: it moves up when an item above it
    // goes, and is cleared when the selected item itself goes.
    if (index == list_index_) {
        list_index_ = -1;
        // A combo's text showed the item that went.
        if (GetKind() == Kind::ComboBox) static_cast<ComboBox*>(this)->text_.clear();
    } else if (index < list_index_) {
        --list_index_;
    }
    Changed(Prop::Items);
}

void ListControl::Clear() {
    items_.clear();
    list_index_ = -1;
    Changed(Prop::Items);
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (list_index_ == index) return;
    list_index_ = index;
    if (GetKind() == Kind::ComboBox) {
        static_cast<ComboBox*>(this)->text_ = SelectedText();
    }
    Changed(Prop::Selection);
    if (onClick) Owner().Fire(onClick);
}

std::string ListControl::SelectedText() const {
    if (list_index_ < 0 || list_index_ >= static_cast<int>(items_.size())) return {};
    return items_[static_cast<std::size_t>(list_index_)];
}

void ComboBox::SetText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    Changed(Prop::Text);
    if (onChange) Owner().Fire(onChange);
}

void ListView::AddColumn(std::string text, int width) {
    columns_.push_back({std::move(text), width});
    Changed(Prop::Items);
}

void ListView::AddItem(ListViewItem item) {
    items_.push_back(std::move(item));
    Changed(Prop::Items);
}

void ListView::ClearItems() {
    if (items_.empty() && selected_ == -1) return;
    items_.clear();
    selected_ = -1;
    Changed(Prop::Items);
}

void ListView::Select(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (selected_ == index) return;
    selected_ = index;
    Changed(Prop::Selection);
    if (onClick) Owner().Fire(onClick);
}

void ListView::SetItems(std::vector<ListViewItem> items, int selected) {
    items_ = std::move(items);
    if (selected < -1 || selected >= static_cast<int>(items_.size())) selected = -1;
    selected_ = selected;
    Changed(Prop::Items);
    Changed(Prop::Selection);
}

void Histogram::SetMaxLines(int lines) {
    lines = std::max(lines, 1);
    if (lines == max_lines_) return;
    max_lines_ = lines;
    Changed(Prop::Items);
    ShowSamples();
}

void Histogram::AddSample(int value) {
    if (history_.size() >= kHistoryLimit) history_.erase(history_.begin());
    history_.push_back(value);
    Changed(Prop::Value);
    ShowSamples();
}

void Histogram::ShowSamples() {
    std::string text;
    for (int v : Shown()) {
        if (!text.empty()) text += ' ';
        text += std::to_string(v);
    }
    SetCaption(std::move(text));
}

std::vector<int> Histogram::Shown() const {
    const std::size_t n = std::min(history_.size(), static_cast<std::size_t>(max_lines_));
    return std::vector<int>(history_.end() - static_cast<std::ptrdiff_t>(n), history_.end());
}

std::vector<Histogram::Bar> Histogram::Bars(int width, int height) const {
    std::vector<Bar> bars;
    const std::vector<int> shown = Shown();
    if (width <= 0 || height <= 0) return bars;
    const auto lines = static_cast<long long>(max_lines_);
    const auto first = lines - static_cast<long long>(shown.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const long long slot = first + static_cast<long long>(i);
        const int left = static_cast<int>(slot * width / lines);
        int right = static_cast<int>((slot + 1) * width / lines);
        if (right - left > 2) --right;  // a gap between bars that are wide enough
        const int h =
            static_cast<int>(std::clamp(shown[i], 0, 100) * static_cast<long long>(height) / 100);
        if (h > 0 && right > left) bars.push_back({left, height - h, right, height});
    }
    return bars;
}

void Histogram::SetNewColor(std::uint32_t color) {
    if (color == new_color_) return;
    new_color_ = color;
    Changed(Prop::Picture);
}

void RangeControl::SetRange(int min, int max) {
    if (max < min) std::swap(min, max);
    min_ = min;
    max_ = max;
    value_ = std::clamp(value_, min_, max_);
    Changed(Prop::Value);
}

void Slider::SetChanges(int small_change, int large_change) {
    small_change_ = std::max(1, small_change);
    large_change_ = std::max(1, large_change);
    Changed(Prop::Value);
}

void RangeControl::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value_ == value) return;
    value_ = value;
    Changed(Prop::Value);
    if (onChange) Owner().Fire(onChange);
}

void Timer::SetInterval(int ms) {
    if (interval_ == ms) return;
    interval_ = ms;
    Changed(Prop::Interval);
}

void TabStrip::SetTabs(std::vector<std::string> tabs) {
    if (tabs == tabs_) return;
    tabs_ = std::move(tabs);
    if (selected_ > static_cast<int>(tabs_.size())) selected_ = tabs_.empty() ? 0 : 1;
    Changed(Prop::Items);
}

void TabStrip::SelectTab(int tab) {
    if (tab < 1 || tab > static_cast<int>(tabs_.size()) || tab == selected_) return;
    selected_ = tab;
    Changed(Prop::Selection);
    if (onClick) Owner().Fire(onClick);
}

void ImageCombo::AddItem(ImageComboItem item) {
    items_.push_back(std::move(item));
    Changed(Prop::Items);
}

void ImageCombo::ClearItems() {
    if (items_.empty() && selected_ == -1) return;
    items_.clear();
    selected_ = -1;
    Changed(Prop::Items);
}

void ImageCombo::Select(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (selected_ == index) return;
    selected_ = index;
    Changed(Prop::Selection);
    if (onClick) Owner().Fire(onClick);
}

std::string ImageCombo::Text() const {
    if (selected_ < 0) return {};
    return items_[static_cast<std::size_t>(selected_)].text;
}

void Picture::SetSource(std::string path_or_resource) {
    source_ = std::move(path_or_resource);
    Changed(Prop::Picture);
}

bool CommonDialog::ShowOpen() {
    return Owner().GetHost().ShowOpenDialog(Owner(), *this);
}
bool CommonDialog::ShowColor() {
    return Owner().GetHost().ShowColorDialog(Owner(), *this);
}

}  // namespace orv::ui
