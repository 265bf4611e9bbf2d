#include "ui/skin.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace orv::ui {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool StartsNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

std::string_view Unquote(std::string_view s) {
    s = Trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
    return s;
}

// Splits on `sep` outside double quotes.
std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '"') quoted = !quoted;
        if (s[i] == sep && !quoted) {
            parts.push_back(Trim(s.substr(start, i - start)));
            start = i + 1;
        }
    }
    parts.push_back(Trim(s.substr(start)));
    return parts;
}

std::string_view WithoutSuffix(std::string_view s, std::string_view suffix) {
    if (s.size() > suffix.size() && EqualNoCase(s.substr(s.size() - suffix.size()), suffix)) {
        s.remove_suffix(suffix.size());
    }
    return s;
}

std::optional<int> ParseInt(std::string_view s) {
    s = Trim(s);
    int value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, int num, int den) {
    if (den <= 0) return a;
    return static_cast<std::uint8_t>(a + (static_cast<int>(b) - a) * num / den);
}

Color Mix(Color a, Color b, int num, int den) {
    return {Mix(a.r, b.r, num, den), Mix(a.g, b.g, num, den), Mix(a.b, b.b, num, den)};
}

}  // namespace

std::optional<Color> ParseColor(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.front() != '#') return std::nullopt;
    text.remove_prefix(1);
    int d[6];
    if (text.size() != 3 && text.size() != 6) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        d[i] = HexDigit(text[i]);
        if (d[i] < 0) return std::nullopt;
    }
    if (text.size() == 3) {
        return Color{static_cast<std::uint8_t>(d[0] * 17), static_cast<std::uint8_t>(d[1] * 17),
                     static_cast<std::uint8_t>(d[2] * 17)};
    }
    return Color{static_cast<std::uint8_t>(d[0] * 16 + d[1]),
                 static_cast<std::uint8_t>(d[2] * 16 + d[3]),
                 static_cast<std::uint8_t>(d[4] * 16 + d[5])};
}

std::optional<Fill> ParseFill(std::string_view text) {
    text = Trim(text);
    Fill fill;
    if (EqualNoCase(text, "none") || EqualNoCase(text, "transparent")) return fill;
    // An optional "@ N%" at the end moves the split of a gloss.
    if (auto at = text.rfind('@'); at != std::string_view::npos) {
        std::string_view pct = Trim(text.substr(at + 1));
        if (!pct.empty() && pct.back() == '%') pct.remove_suffix(1);
        auto split = ParseInt(pct);
        if (!split || *split < 1 || *split > 99) return std::nullopt;
        fill.split = *split;
        text = Trim(text.substr(0, at));
    }
    auto halves = Split(text, '/');
    if (halves.size() > 2) return std::nullopt;
    std::vector<Color> stops;
    for (auto half : halves) {
        auto ends = Split(half, '>');
        if (ends.size() > 2) return std::nullopt;
        for (auto e : ends) {
            auto c = ParseColor(e);
            if (!c) return std::nullopt;
            stops.push_back(*c);
        }
        if (ends.size() == 1 && halves.size() == 2) stops.push_back(stops.back());
    }
    if (halves.size() == 2) {
        fill.type = Fill::Type::Gloss;
        fill.top = stops[0], fill.mid = stops[1], fill.mid2 = stops[2], fill.bottom = stops[3];
    } else if (stops.size() == 2) {
        fill.type = Fill::Type::Gradient;
        fill.top = fill.mid = stops[0];
        fill.mid2 = fill.bottom = stops[1];
    } else {
        if (fill.split != 50) return std::nullopt;  // "@" makes sense for a gloss only
        fill.type = Fill::Type::Solid;
        fill.top = fill.mid = fill.mid2 = fill.bottom = stops[0];
    }
    return fill;
}

Color Fill::At(int y, int height) const {
    switch (type) {
        case Type::None:
        case Type::Solid:
            return top;
        case Type::Gradient:
            return Mix(top, bottom, y, std::max(1, height - 1));
        case Type::Gloss: {
            int cut = height * split / 100;
            if (y < cut) return Mix(top, mid, y, std::max(1, cut - 1));
            return Mix(mid2, bottom, y - cut, std::max(1, height - cut - 1));
        }
    }
    return top;
}

std::optional<SkinFont> ParseFont(std::string_view text) {
    SkinFont font;
    bool any = false;
    for (auto part : Split(text, ',')) {
        if (part.empty()) return std::nullopt;
        std::string_view word = part;
        if (EqualNoCase(word, "bold")) {
            font.bold = true;
        } else if (EqualNoCase(word, "italic")) {
            font.italic = true;
        } else if (EqualNoCase(word, "regular") || EqualNoCase(word, "normal")) {
            font.bold = font.italic = false;
        } else if (auto size = ParseInt(WithoutSuffix(word, "pt"))) {
            if (*size < 4 || *size > 72) return std::nullopt;
            font.points = *size;
        } else {
            std::string_view face = Unquote(word);
            if (face.empty() || face.size() > 31) return std::nullopt;  // LOGFONT's limit
            font.faces.emplace_back(face);
        }
        any = true;
    }
    if (!any) return std::nullopt;
    return font;
}

std::optional<int> ParseMetric(std::string_view text) {
    auto v = ParseInt(WithoutSuffix(Trim(text), "px"));
    if (!v || *v < 0 || *v > 1000) return std::nullopt;
    return v;
}

std::optional<Align> ParseAlign(std::string_view text) {
    text = Trim(text);
    if (EqualNoCase(text, "left")) return Align::Left;
    if (EqualNoCase(text, "center") || EqualNoCase(text, "centre")) return Align::Center;
    if (EqualNoCase(text, "right")) return Align::Right;
    return std::nullopt;
}

void SkinElement::Set(std::string key, std::string value) {
    for (auto& [k, v] : entries_) {
        if (EqualNoCase(k, key)) {
            v = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::move(key), std::move(value));
}

std::optional<std::string_view> SkinElement::Value(std::string_view key) const {
    int depth = 0;
    for (const SkinElement* e = this; e && depth < 16; e = e->base_, ++depth) {
        for (const auto& [k, v] : e->entries_) {
            if (EqualNoCase(k, key)) return std::string_view(v);
        }
    }
    return std::nullopt;
}

Color SkinElement::GetColor(std::string_view key, Color fallback) const {
    auto v = Value(key);
    auto c = v ? ParseColor(*v) : std::nullopt;
    return c ? *c : fallback;
}

Fill SkinElement::GetFill(std::string_view key, Fill fallback) const {
    auto v = Value(key);
    auto f = v ? ParseFill(*v) : std::nullopt;
    return f ? *f : fallback;
}

SkinFont SkinElement::GetFont(std::string_view key, SkinFont fallback) const {
    auto v = Value(key);
    auto f = v ? ParseFont(*v) : std::nullopt;
    return f ? *f : fallback;
}

int SkinElement::GetMetric(std::string_view key, int fallback) const {
    auto v = Value(key);
    auto m = v ? ParseMetric(*v) : std::nullopt;
    return m ? *m : fallback;
}

Align SkinElement::GetAlign(std::string_view key, Align fallback) const {
    auto v = Value(key);
    auto a = v ? ParseAlign(*v) : std::nullopt;
    return a ? *a : fallback;
}

std::string SkinElement::GetText(std::string_view key, std::string fallback) const {
    auto v = Value(key);
    return v ? std::string(Unquote(*v)) : fallback;
}

std::vector<HotSpot> SkinElement::HotSpots() const {
    int depth = 0;
    for (const SkinElement* e = this; e && depth < 16; e = e->base_, ++depth) {
        std::vector<HotSpot> spots;
        for (const auto& [k, v] : e->entries_) {
            // "hotspots = none" keeps a derived element's bar free of its base's.
            if (EqualNoCase(k, "hotspots") && EqualNoCase(Unquote(v), "none")) return {};
            if (!StartsNoCase(k, "hotspot.")) continue;
            std::string name = k.substr(8);
            if (name.empty()) continue;
            std::string text(Unquote(v));
            spots.push_back({name, text.empty() ? name : text});
        }
        if (!spots.empty()) return spots;
    }
    return {};
}

const SkinElement* SkinSet::Find(std::string_view name) const {
    auto it = elements.find(name);
    return it == elements.end() ? nullptr : &it->second;
}

std::shared_ptr<const SkinSet> ParseSkin(std::string_view text) {
    if (text.size() > kMaxSkinBytes) return nullptr;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    auto set = std::make_shared<SkinSet>();
    SkinElement* current = nullptr;
    std::vector<std::pair<SkinElement*, std::string>> bases;
    int line_no = 0;
    auto note = [&](std::string message) {
        if (set->diagnostics.size() < 100)
            set->diagnostics.push_back({line_no, std::move(message)});
    };
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        ++line_no;
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.find('\0') != std::string_view::npos) {
            note("binary data");
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) {
                note("unclosed element header");
                current = nullptr;
                continue;
            }
            std::string_view name = Trim(line.substr(1, line.size() - 2));
            if (name.empty() || name.find_first_of("[]=") != std::string_view::npos) {
                note("bad element name");
                current = nullptr;
                continue;
            }
            auto it = set->elements.find(name);
            if (it == set->elements.end()) {
                it = set->elements.emplace(std::string(name), SkinElement(std::string(name))).first;
            }
            current = &it->second;
            continue;
        }
        auto eq = line.find('=');
        if (eq == std::string_view::npos) {
            note("not a key = value line");
            continue;
        }
        std::string_view key = Trim(line.substr(0, eq));
        std::string_view value = Trim(line.substr(eq + 1));
        if (key.empty()) {
            note("empty key");
            continue;
        }
        if (!current) {
            note("value outside an element");
            continue;
        }
        if (EqualNoCase(key, "base")) {
            bases.emplace_back(current, std::string(Unquote(value)));
            continue;
        }
        current->Set(std::string(key), std::string(value));
    }
    for (auto& [element, base_name] : bases) {
        auto it = set->elements.find(base_name);
        if (it == set->elements.end()) {
            set->diagnostics.push_back({0, "unknown base \"" + base_name + "\""});
            continue;
        }
        // Refuse a base that leads back to the element itself.
        const SkinElement* b = &it->second;
        std::set<const SkinElement*> seen{element};
        bool cycle = false;
        for (const SkinElement* e = b; e; e = e->base_) {
            if (!seen.insert(e).second) {
                cycle = true;
                break;
            }
        }
        if (cycle) {
            set->diagnostics.push_back({0, "base cycle at \"" + element->Name() + "\""});
            continue;
        }
        element->base_ = b;
    }
    if (set->elements.empty()) return nullptr;
    return set;
}

std::vector<CaptionBox> LayoutCaption(const CaptionMetrics& m) {
    std::vector<CaptionBox> boxes;
    if (m.window_width <= 0 || m.caption_height <= 0 || m.button_width <= 0) return boxes;
    int top = m.border + std::max(0, (m.caption_height - m.border) / 6);
    int bottom = m.caption_height - std::max(0, (m.caption_height - m.border) / 6);
    if (bottom <= top) return boxes;
    int right = m.window_width - m.border - m.gap;
    int floor = m.border + m.min_title;
    auto place = [&](CaptionBox::Role role, int index, int width) {
        if (width <= 0 || right - width < floor) return false;
        boxes.push_back({role, index, right - width, top, right, bottom});
        right -= width + m.gap;
        return true;
    };
    if (!place(CaptionBox::Role::Close, -1, m.button_width)) return boxes;
    if (m.minimize && !place(CaptionBox::Role::Minimize, -1, m.button_width)) return boxes;
    right -= m.gap;  // a little air between the window buttons and the hot spots
    for (int i = static_cast<int>(m.hot_spot_widths.size()) - 1; i >= 0; --i) {
        if (!place(CaptionBox::Role::HotSpot, i, m.hot_spot_widths[static_cast<std::size_t>(i)]))
            break;
    }
    return boxes;
}

int HitCaption(const std::vector<CaptionBox>& boxes, int x, int y) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (boxes[i].Contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace orv::ui
