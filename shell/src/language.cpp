#include "shell/language.h"

#include <algorithm>

#include "platform/text.h"
#include "ui/form.h"

namespace orv::shell {

namespace {

std::string_view Trim(std::string_view s) {
    return text::TrimBlanks(s);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() &&
           text::EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool FileExists(platform::Files& files, const std::string& path) {
    std::uint32_t attr = files.GetAttributes(path);
    return attr != platform::kInvalidAttributes && !(attr & platform::kAttrDirectory);
}

}  // namespace

// A copy of English.ini made at build time (english_builtin.cpp).
extern const std::string_view kBuiltInEnglish;

std::string BuiltInEnglishText(std::string_view id) {
    std::string want = text::Fold(Trim(id));
    bool in_section = false;
    std::string_view rest = kBuiltInEnglish;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            in_section = text::EqualsNoCase(
                Trim(line.substr(
                    1, close == std::string_view::npos ? std::string_view::npos : close - 1)),
                kLanguageSection);
            continue;
        }
        std::size_t eq = line.find('=');
        if (!in_section || eq == std::string_view::npos) continue;
        if (text::Fold(Trim(line.substr(0, eq))) != want) continue;
        // The copy holds the file's bytes, which are in the ANSI code page
        // like every language file; the program's texts are UTF-8.
        return text::TruncateUtf16(text::AnsiToUtf8(Trim(line.substr(eq + 1))), kCaptionBuffer - 1);
    }
    return {};
}

std::string ChosenLanguage(platform::SettingsStore& settings) {
    std::string name = settings.Get(kLanguageApp, kLanguageStoreSection, kLanguageKey);
    if (name.empty()) return std::string(kDefaultLanguage);
    return name;
}

void StoreLanguage(platform::SettingsStore& settings, std::string_view name) {
    settings.Save(kLanguageApp, kLanguageStoreSection, kLanguageKey, name);
}

std::string LanguageFolder(platform::Files& files) {
    return files.ProgramFolder() + "\\languages";
}

std::string LanguageFilePath(platform::Files& files, std::string_view name) {
    return LanguageFolder(files) + "\\" + std::string(name) + ".ini";
}

std::vector<std::string> AvailableLanguages(platform::Files& files) {
    constexpr std::string_view kExt = ".ini";
    std::vector<std::string> names;
    bool english = false;
    for (const platform::FoundFile& f : files.FindFiles(LanguageFolder(files) + "\\*.ini")) {
        if (f.attributes & platform::kAttrDirectory) continue;
        // "*.ini" also matches longer extensions through their short names
        // ("notes.inix"); only real language files count.
        if (!EndsWithNoCase(f.name, kExt) || f.name.size() == kExt.size()) continue;
        std::string name = f.name.substr(0, f.name.size() - kExt.size());
        if (text::EqualsNoCase(name, kDefaultLanguage)) {
            english = true;
            continue;
        }
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return text::Fold(a) < text::Fold(b);
    });
    if (english) names.insert(names.begin(), std::string(kDefaultLanguage));
    return names;
}

std::string LanguageDisplayName(platform::Platform& platform, std::string_view name) {
    std::string shown =
        platform.profiles.GetString(kLanguageNameSection, kLanguageNameKey, "", kCaptionBuffer,
                                    LanguageFilePath(platform.files, name));
    return text::TrimBlanks(shown).empty() ? std::string(name) : shown;
}

Language::Language(platform::Platform& platform, std::string name)
    : profiles_(platform.profiles), name_(std::move(name)) {
    std::string chosen = LanguageFilePath(platform.files, name_);
    std::string english = LanguageFilePath(platform.files, kDefaultLanguage);
    if (FileExists(platform.files, chosen)) {
        path_ = chosen;
    } else if (FileExists(platform.files, english)) {
        path_ = english;
    }
}

Language Language::Chosen(platform::Platform& platform) {
    return Language(platform, ChosenLanguage(platform.settings));
}

std::string Language::Text(std::string_view id) const {
    std::string_view key = Trim(id);
    if (key.empty()) return {};
    if (path_.empty()) return BuiltInEnglishText(key);
    return profiles_.GetString(kLanguageSection, key, "", kCaptionBuffer, path_);
}

void LoadLanguage(ui::Form& form, const Language& language) {
    for (ui::Control* control : form.Controls()) {
        if (Trim(control->Tag()).empty()) continue;
        // A kind without a caption (text box, slider) refuses the text and
        // stays as it is.
        form.Fire([&] { control->SetCaption(language.Text(control->Tag())); });
    }
}

}  // namespace orv::shell
