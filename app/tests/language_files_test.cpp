// The language files that ship with the program, checked against English.ini
// (ids, code page, accelerators and markers), and the main window started in
// each of them.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "platform/text.h"
#include "shell_fixture.h"

namespace orv::app::testing {
namespace {

namespace fs = std::filesystem;

struct LanguageFile {
    std::string base;  // file name without ".ini"
    std::string bytes;
    // Section -> (key, value) in file order, as bytes of the file.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> sections;
};

LanguageFile ReadLanguageFile(const fs::path& path) {
    LanguageFile file{path.stem().string(), ReadHostFile(path), {}};
    std::string section;
    std::size_t at = 0;
    while (at < file.bytes.size()) {
        std::size_t end = file.bytes.find('\n', at);
        if (end == std::string::npos) end = file.bytes.size();
        std::string_view line(file.bytes.data() + at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = text::TrimBlanks(line);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            section = std::string(line.substr(1, line.find(']') - 1));
            file.sections[section];
            continue;
        }
        std::size_t eq = line.find('=');
        file.sections[section].emplace_back(
            std::string(text::TrimBlanks(line.substr(0, eq))),
            eq == std::string_view::npos ? std::string("<no equals sign>")
                                         : std::string(text::TrimBlanks(line.substr(eq + 1))));
    }
    return file;
}

std::vector<LanguageFile> ShippedLanguages() {
    std::vector<LanguageFile> files;
    for (const fs::directory_entry& e : fs::directory_iterator(ORVELLE_LANGUAGE_DIR))
        if (e.path().extension() == ".ini") files.push_back(ReadLanguageFile(e.path()));
    std::sort(files.begin(), files.end(),
              [](const LanguageFile& a, const LanguageFile& b) { return a.base < b.base; });
    return files;
}

std::map<std::string, std::string> Texts(const LanguageFile& file) {
    std::map<std::string, std::string> texts;
    for (const auto& [id, value] : file.sections.at("Kadrim")) texts[id] = text::AnsiToUtf8(value);
    return texts;
}

// What a translation must keep of the English text: the accelerators (a
// single "&" underlines the next letter, "&&" shows one ampersand), the
// fold-out marker the main window flips, the ellipsis of a button that opens
// a dialog, the colon of a caption before a figure, format characters.
std::string Markers(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&') {
            bool doubled = i + 1 < s.size() && s[i + 1] == '&';
            out += doubled ? "[&&]" : "[&]";
            if (doubled) ++i;
        } else if (s[i] == '%' || s[i] == '\t' || s[i] == '\\') {
            out += std::string("[") + s[i] + "]";
        }
    }
    for (std::string_view end : {">>", "<<", "...", ":"})
        if (s.size() >= end.size() && s.substr(s.size() - end.size()) == end)
            out += "[ends " + std::string(end) + "]";
    return out;
}

// Bytes a Windows-1252 file cannot hold, and the traces of a file saved as
// UTF-8 by mistake ("GesamtgrÃ¶ÃŸe").
std::string CodePageFault(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return "a UTF-8 byte-order mark";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            return "byte " + std::to_string(b) + " is not in Windows-1252";
        if (b < 0x20 && b != '\r' && b != '\n') return "control byte " + std::to_string(b);
        if (b == '\n' && (i == 0 || bytes[i - 1] != '\r')) return "a line not ended by CR LF";
        auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if ((b == 0xC2 || b == 0xC3) && next >= 0x80 && next <= 0xBF)
            return "UTF-8 at byte " + std::to_string(i);
    }
    return {};
}

TEST(LanguageFiles, EveryFileMatchesEnglish) {
    std::vector<LanguageFile> files = ShippedLanguages();
    auto english = std::find_if(files.begin(), files.end(),
                                [](const LanguageFile& f) { return f.base == "English"; });
    ASSERT_NE(english, files.end());
    ASSERT_GE(files.size(), 3u);  // English, Deutsch, Francais at least
    const std::map<std::string, std::string> want = Texts(*english);
    for (const LanguageFile& file : files) {
        SCOPED_TRACE(file.base);
        EXPECT_EQ(CodePageFault(file.bytes), "");
        // ASCII file names only: installers, archives and short names mangle others.
        EXPECT_TRUE(std::all_of(file.base.begin(), file.base.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
        ASSERT_TRUE(file.sections.count("Kadrim"));
        ASSERT_TRUE(file.sections.count("Language"));
        const auto& names = file.sections.at("Language");
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(names[0].first, "Name");
        EXPECT_NE(names[0].second, "");

        std::set<std::string> seen;
        for (const auto& [id, value] : file.sections.at("Kadrim")) {
            EXPECT_TRUE(seen.insert(id).second) << id << " twice";
            EXPECT_EQ(id.size(), 4u) << id;
            EXPECT_TRUE(want.count(id)) << id << " is not in English.ini";
            EXPECT_NE(value, "") << id << " is empty";
            std::string shown = text::AnsiToUtf8(value);
            EXPECT_LE(text::Utf16Length(shown), shell::kCaptionBuffer - 1) << id;
            if (want.count(id)) {
                EXPECT_EQ(Markers(shown), Markers(want.at(id)))
                    << id << ": \"" << shown << "\" against \"" << want.at(id) << '"';
            }
        }
        for (const auto& [id, text] : want) EXPECT_TRUE(seen.count(id)) << id << " is missing";
    }
}

// The markers the check above compares, on texts that get them wrong.
TEST(LanguageFiles, MarkersTellTranslationsApart) {
    struct Case {
        const char* name;
        std::string english, translated;
        bool same;
    } cases[] = {
        {"fold-out marker kept", "System >>", "Système >>", true},
        {"fold-out marker lost", "System >>", "Système", false},
        {"literal ampersand kept", "CPU && Memory", "CPU && Speicher", true},
        {"literal ampersand became an accelerator", "CPU && Memory", "CPU & Speicher", false},
        {"accelerator moved is fine", "&Apply", "Ü&bernehmen", true},
        {"accelerator lost", "&Apply", "Appliquer", false},
        {"colon before a figure kept, French blank",
         "Free Physical Memory:", "Mémoire libre :", true},
        {"colon lost", "Total Errors Found :", "Erreurs trouvées", false},
        {"ellipsis lost", "...", "Parcourir", false},
        {"format character lost", "50 %", "50", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Markers(c.english) == Markers(c.translated), c.same) << c.name;
}

TEST(LanguageFiles, CodePageFaultsAreFound) {
    struct Case {
        const char* name;
        std::string bytes;
        bool fault;
    } cases[] = {
        {"Windows-1252 umlauts",
         "3002=Gesamtgr\xF6\xDF"
         "e\r\n",
         false},
        {"saved as UTF-8",
         "3002=Gesamtgr\xC3\xB6\xC3\x9F"
         "e\r\n",
         true},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[Kadrim]\r\n", true},
        {"byte the code page leaves undefined", "1016=\x81\r\n", true},
        {"bare line feed", "1016=Apply\n", true},
    };
    for (const Case& c : cases) EXPECT_EQ(CodePageFault(c.bytes) != "", c.fault) << c.name;
}

class TranslatedWindowTest : public ShellTest {
  protected:
    void InstallShippedLanguages() {
        for (const LanguageFile& file : ShippedLanguages())
            Put("languages\\" + file.base + ".ini", file.bytes);
    }
    // Every text the main window shows: title, captions, tab labels.
    static std::vector<std::pair<std::string, std::string>> Shown(mainform& m) {
        std::vector<std::pair<std::string, std::string>> shown{{"mainform", m.Caption()}};
        for (ui::Control* c : m.Controls()) {
            if (c->HasCaption() && !c->Caption().empty())
                shown.emplace_back(c->AutomationName(), c->Caption());
            if (c->GetKind() == ui::Kind::TabStrip)
                for (const std::string& tab : static_cast<ui::TabStrip*>(c)->Tabs())
                    shown.emplace_back(c->AutomationName() + " tab", tab);
        }
        return shown;
    }
};

// Started in a language, the window shows no English text that the language
// translates differently: every caption reached its translation.
class EachLanguageTest : public TranslatedWindowTest,
                         public ::testing::WithParamInterface<std::string> {};

TEST_P(EachLanguageTest, NoEnglishCaptionIsLeft) {
    const std::map<std::string, std::string> english =
        Texts(ReadLanguageFile(fs::path(ORVELLE_LANGUAGE_DIR) / "English.ini"));
    const LanguageFile file =
        ReadLanguageFile(fs::path(ORVELLE_LANGUAGE_DIR) / (GetParam() + ".ini"));
    const std::map<std::string, std::string> translated = Texts(file);
    std::set<std::string> own;
    for (const auto& [id, t] : translated) own.insert(t);
    std::map<std::string, std::string> left;  // English text -> its id
    for (const auto& [id, t] : english)
        if (translated.at(id) != t && !own.count(t)) left[t] = id;

    InstallProgram();
    InstallShippedLanguages();
    world.platform.settings.Save("Kadrim", "Language", "lng", file.base);
    ASSERT_TRUE(Start());
    std::size_t looked_at = 0;
    for (const auto& [control, caption] : Shown(Main())) {
        ++looked_at;
        auto it = left.find(caption);
        EXPECT_TRUE(it == left.end())
            << control << " shows \"" << caption << "\" (English of " << it->second << ")";
    }
    EXPECT_GT(looked_at, 100u);
    EXPECT_EQ(Main().Caption(), translated.at("7009"));
    EXPECT_EQ(Main().combolng.Text(), text::AnsiToUtf8(file.sections.at("Language")[0].second));
}

std::vector<std::string> TranslatedLanguages() {
    std::vector<std::string> names;
    for (const LanguageFile& file : ShippedLanguages())
        if (file.base != "English") names.push_back(file.base);
    return names;
}

INSTANTIATE_TEST_SUITE_P(Shipped, EachLanguageTest, ::testing::ValuesIn(TranslatedLanguages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

// A language that marks every text with its id: before the panels fill in
// their figures, every text on the main window must carry a mark, or no
// translation can reach it.
TEST_F(TranslatedWindowTest, EveryCaptionOfTheMainWindowHasAnId) {
    InstallProgram();
    std::string marked = "[Language]\r\nName=Marked\r\n[Kadrim]\r\n";
    for (const auto& [id, t] : Texts(ReadLanguageFile(ORVELLE_ENGLISH_FILE)))
        marked += id + "=#" + id + (t.ends_with(">>") ? " >>" : "") + "\r\n";
    Put("languages\\Marked.ini", marked);
    world.platform.settings.Save("Kadrim", "Language", "lng", "Marked");
    program = std::make_unique<Program>(host, world.platform);
    std::vector<std::string> unmarked;
    Main().FillMemoryDisplay = [&] {
        for (const auto& [control, caption] : Shown(Main()))
            if (caption.front() != '#') unmarked.push_back(control + ": " + caption);
    };
    ASSERT_TRUE(program->Start());
    EXPECT_EQ(unmarked, std::vector<std::string>{});
    EXPECT_EQ(Main().TabStrip1.Tabs(), (std::vector<std::string>{"#7014", "#7015", "#4006"}));
    EXPECT_EQ(Main().ExpTab.Tabs(), (std::vector<std::string>{"#7016", "#4002"}));
}

}  // namespace
}  // namespace orv::app::testing
