#include "tools/ini_edit.h"

#include "platform/text.h"

namespace orv::tools {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

struct Line {
    std::string text;  // without its end
    std::string end;   // "\r\n", "\n", "\r" or "" (the last line of a file may have none)
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        std::size_t end = i + (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
        lines.push_back(
            {std::string(text.substr(start, i - start)), std::string(text.substr(i, end - i + 1))});
        i = end;
        start = end + 1;
    }
    if (start < text.size()) lines.push_back({std::string(text.substr(start)), ""});
    return lines;
}

bool SectionNamed(std::string_view line, std::string_view want, bool& is_section) {
    line = text::TrimBlanks(line);
    is_section = !line.empty() && line.front() == '[';
    if (!is_section) return false;
    std::size_t close = line.find(']');
    std::string_view name = text::TrimBlanks(
        line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return text::EqualsNoCase(name, want);
}

// The position of '=' when the line sets `key`, npos otherwise.
std::size_t SetsKey(std::string_view line, std::string_view key) {
    std::string_view t = text::TrimBlanks(line);
    if (t.empty() || t.front() == ';') return std::string_view::npos;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return eq;
    return text::EqualsNoCase(text::TrimBlanks(line.substr(0, eq)), key) ? eq
                                                                         : std::string_view::npos;
}

void Apply(std::vector<Line>& lines, std::string_view section, const std::vector<IniKeyEdit>& edits,
           const std::vector<std::string>& values) {
    std::string eol = "\r\n";
    for (const Line& l : lines)
        if (!l.end.empty()) {
            eol = l.end;
            break;
        }
    std::size_t begin = lines.size(), end = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool is_section = false;
        const bool named = SectionNamed(lines[i].text, section, is_section);
        if (begin == lines.size()) {
            if (named) begin = i;
        } else if (is_section) {
            end = i;
            break;
        }
    }
    if (begin == lines.size()) {
        if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
        lines.push_back({"[" + std::string(section) + "]", eol});
        begin = lines.size() - 1;
        end = lines.size();
    }
    using When = IniKeyEdit::When;
    for (std::size_t e = 0; e < edits.size(); ++e) {
        const IniKeyEdit& edit = edits[e];
        bool found = false;
        for (std::size_t i = begin + 1; i < end && !found; ++i) {
            std::size_t eq = SetsKey(lines[i].text, edit.key);
            if (eq == std::string::npos) continue;
            found = true;
            if (edit.when != When::IfMissingAndNotEmpty)
                lines[i].text = lines[i].text.substr(0, eq + 1) + values[e];
        }
        if (found || edit.when == When::IfPresent ||
            (edit.when == When::IfMissingAndNotEmpty && edit.value.empty()))
            continue;
        std::size_t at = begin + 1;
        for (std::size_t i = begin + 1; i < end; ++i)
            if (!text::TrimBlanks(lines[i].text).empty()) at = i + 1;
        if (lines[at - 1].end.empty()) lines[at - 1].end = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     {edit.key + "=" + values[e], eol});
        ++end;
    }
}

std::string Join(const std::vector<Line>& lines) {
    std::string out;
    for (const Line& l : lines) out += l.text + l.end;
    return out;
}

std::string Utf16LeFile(std::string_view utf8) {
    std::string out(kUtf16Bom);
    for (std::uint8_t b : text::Utf16Bytes(text::Utf8ToUtf16(utf8))) out += static_cast<char>(b);
    return out;
}

}  // namespace

IniEncoding DetectIniEncoding(std::string_view bytes) {
    if (bytes.substr(0, 2) == kUtf16Bom) return IniEncoding::Utf16Le;
    if (bytes.substr(0, 3) == kUtf8Bom) return IniEncoding::Utf8Bom;
    return IniEncoding::Ansi;
}

std::string EditIniFile(std::optional<std::string_view> existing, std::string_view section,
                        const std::vector<IniKeyEdit>& edits, platform::Files& files) {
    const std::string_view bytes = existing.value_or("");
    std::vector<std::string> values;
    for (const auto& e : edits) values.push_back(e.value);
    switch (DetectIniEncoding(bytes)) {
        case IniEncoding::Utf8Bom: {
            auto lines = SplitLines(bytes.substr(kUtf8Bom.size()));
            Apply(lines, section, edits, values);
            return std::string(kUtf8Bom) + Join(lines);
        }
        case IniEncoding::Utf16Le: {
            std::string_view body = bytes.substr(kUtf16Bom.size());
            std::string odd = body.size() % 2 ? std::string(body.substr(body.size() - 1)) : "";
            auto lines = SplitLines(text::Utf16ToUtf8(text::FromUtf16Bytes(
                reinterpret_cast<const std::uint8_t*>(body.data()), body.size() - odd.size())));
            Apply(lines, section, edits, values);
            return Utf16LeFile(Join(lines)) + odd;
        }
        case IniEncoding::Ansi:
            break;
    }
    // ANSI: the file's own bytes are edited as they are; only the new values
    // are converted, and only while the code page holds all of them.
    std::vector<std::string> ansi;
    for (const auto& e : edits) {
        auto a = files.ToAnsiExactly(e.value);
        if (!a) {
            auto lines = SplitLines(files.FromAnsiCodePage(bytes));
            Apply(lines, section, edits, values);
            return Utf16LeFile(Join(lines));
        }
        ansi.push_back(std::move(*a));
    }
    auto lines = SplitLines(bytes);
    Apply(lines, section, edits, ansi);
    return Join(lines);
}

}  // namespace orv::tools
