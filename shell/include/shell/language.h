// Interface texts from the language files beside the program: one profile
// file per language in "<program folder>\languages\<name>.ini", section
// [Kadrim], keys are caption identifiers (the four-digit numbers in control
// tags, window titles and a few untagged frames).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace orv::ui {
class Form;
}

namespace orv::shell {

// The stored choice: settings store application "Kadrim", section
// "Language", key "lng".
inline constexpr std::string_view kLanguageApp = "Kadrim";
inline constexpr std::string_view kLanguageStoreSection = "Language";
inline constexpr std::string_view kLanguageKey = "lng";
inline constexpr std::string_view kDefaultLanguage = "English";
// Section of every language file.
inline constexpr std::string_view kLanguageSection = "Kadrim";
// A language file may name its language for the list, in its own spelling
// ("Français" in Francais.ini): section [Language], key "Name".
inline constexpr std::string_view kLanguageNameSection = "Language";
inline constexpr std::string_view kLanguageNameKey = "Name";
// The lookup buffer, terminator included: texts come back cut to 254 characters.
inline constexpr std::size_t kCaptionBuffer = 255;

// The stored language name; "English" when nothing (or an empty text) is stored.
std::string ChosenLanguage(platform::SettingsStore& settings);
void StoreLanguage(platform::SettingsStore& settings, std::string_view name);

std::string LanguageFolder(platform::Files& files);
std::string LanguageFilePath(platform::Files& files, std::string_view name);

// The languages whose files lie in the language folder, as names without
// ".ini": "English" first when present, the others in alphabetical order
// without regard to case.
std::vector<std::string> AvailableLanguages(platform::Files& files);

// What the language list shows for the language file `name`: its own
// [Language] Name, else `name` itself. The stored choice is always `name`, so
// a file can rename its display without breaking a choice made before.
std::string LanguageDisplayName(platform::Platform& platform, std::string_view name);

// One language, ready for lookups. When the chosen file is missing the
// English file is read instead, and when that is missing too the English
// texts built into the program: a deleted or misspelt language never leaves
// the windows without captions. Within a file that exists, a missing key or
// an empty value gives an empty text.
class Language {
  public:
    Language(platform::Platform& platform, std::string name);
    // The language the user chose (settings store), resolved as above.
    static Language Chosen(platform::Platform& platform);

    const std::string& Name() const { return name_; }
    // The file the texts come from; empty when the built-in texts serve.
    const std::string& Path() const { return path_; }

    // The text of one caption identifier. Blanks around the identifier are
    // ignored (one tag is stored as " 7003"); "" when the key is missing.
    std::string Text(std::string_view id) const;

  private:
    platform::ProfileFiles& profiles_;
    std::string name_;
    std::string path_;
};

// The English texts compiled into the program (a copy of English.ini).
std::string BuiltInEnglishText(std::string_view id);

// Translates the tagged controls of `form` in its control order: a control
// with a tag gets the text of that identifier as its caption; a control
// without a tag, or of a kind without a caption, keeps what it has. A failing
// control is skipped and the walk goes on.
void LoadLanguage(ui::Form& form, const Language& language);

}  // namespace orv::shell
