// The skin set: named elements ("Form", "Button", "frame", ...) each holding
// colours, fills, fonts and metrics, parsed from the text of a .skn file.
// Parsing never fails: odd lines are noted and skipped; a text without any
// element gives no set at all, which every window reads as the standard look.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv::ui {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    // 0x00BBGGRR, the COLORREF layout.
    std::uint32_t Ref() const { return r | (g << 8) | (static_cast<std::uint32_t>(b) << 16); }
    bool operator==(const Color&) const = default;
};

// A flat colour, a vertical gradient (top -> bottom), or a gloss: the upper
// part (down to `split` percent of the height) top -> mid, the lower part
// mid2 -> bottom, which gives the glassy highlight of the shipped skin.
struct Fill {
    enum class Type { None, Solid, Gradient, Gloss };
    Type type = Type::None;
    Color top, mid, mid2, bottom;
    int split = 50;
    bool operator==(const Fill&) const = default;
    // The colour a row `y` of `height` rows is painted with.
    Color At(int y, int height) const;
};

struct SkinFont {
    std::vector<std::string> faces;  // in order of preference
    int points = 0;                  // 0 = the standard size
    bool bold = false;
    bool italic = false;
    bool strikeout = false;  // never from a skin file; a control's own font may ask for it
    bool operator==(const SkinFont&) const = default;
};

// A clickable element on a window's caption bar: `name` reaches the form's
// onSkinElementClick, `text` is what the bar shows.
struct HotSpot {
    std::string name;
    std::string text;
    bool operator==(const HotSpot&) const = default;
};

enum class Align { Left, Center, Right };

// Value parsers, exposed for the renderer and the tests. Each returns nothing
// for text it does not understand.
std::optional<Color> ParseColor(std::string_view text);
std::optional<Fill> ParseFill(std::string_view text);
std::optional<SkinFont> ParseFont(std::string_view text);
std::optional<int> ParseMetric(std::string_view text);  // 0..1000 pixels at 96 DPI
std::optional<Align> ParseAlign(std::string_view text);

struct SkinSet;

class SkinElement {
  public:
    explicit SkinElement(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }

    // The raw value of `key` (keys match without regard to case), looked up
    // along the element's `base` chain.
    std::optional<std::string_view> Value(std::string_view key) const;

    // Typed look-ups: a missing or unreadable value gives the fallback.
    Color GetColor(std::string_view key, Color fallback) const;
    Fill GetFill(std::string_view key, Fill fallback = {}) const;
    SkinFont GetFont(std::string_view key, SkinFont fallback = {}) const;
    int GetMetric(std::string_view key, int fallback) const;
    Align GetAlign(std::string_view key, Align fallback) const;
    std::string GetText(std::string_view key, std::string fallback = {}) const;

    // "hotspot.<Name> = <text>" entries in file order (the element's own, or
    // else its base's; "hotspots = none" means none, whatever the base has).
    std::vector<HotSpot> HotSpots() const;

    const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

  private:
    friend struct SkinSet;
    friend std::shared_ptr<const SkinSet> ParseSkin(std::string_view text);
    void Set(std::string key, std::string value);

    std::string name_;
    std::vector<std::pair<std::string, std::string>> entries_;
    const SkinElement* base_ = nullptr;
};

struct SkinDiagnostic {
    int line = 0;
    std::string message;
    bool operator==(const SkinDiagnostic&) const = default;
};

struct SkinSet {
    // Element names are matched exactly ("Form" is not "form").
    std::map<std::string, SkinElement, std::less<>> elements;
    std::vector<SkinDiagnostic> diagnostics;

    const SkinElement* Find(std::string_view name) const;
};

// Files larger than this are not skins; they are refused whole.
inline constexpr std::size_t kMaxSkinBytes = 1 << 20;

// nullptr when the text holds no element (empty, missing, binary, too large).
std::shared_ptr<const SkinSet> ParseSkin(std::string_view text);

// The caption bar of a window drawn from a "Form"/"SmallForm" element, laid out
// right to left: close, minimise, then the hot spots; what does not fit
// beside `min_title` pixels of title is left out. Rectangles are in pixels
// relative to the window, `right`/`bottom` exclusive.
struct CaptionBox {
    enum class Role { Close, Minimize, HotSpot };
    Role role = Role::HotSpot;
    int hot_spot = -1;  // index into the element's HotSpots() for Role::HotSpot
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct CaptionMetrics {
    int window_width = 0;
    int caption_height = 0;
    int border = 0;
    int button_width = 0;              // close and minimise
    int gap = 0;                       // between boxes
    int min_title = 0;                 // room kept for the title at the left
    bool minimize = true;              // owned (modal) windows have no minimise box
    std::vector<int> hot_spot_widths;  // pixel width of each hot spot box
};

std::vector<CaptionBox> LayoutCaption(const CaptionMetrics& m);
// The box under (x, y), or -1.
int HitCaption(const std::vector<CaptionBox>& boxes, int x, int y);

}  // namespace orv::ui
