#include "shell/language.h"

#include <iterator>
#include <set>
#include <sstream>

#include "app/placeholders.h"
#include "shell_fixture.h"
#include "tools/frmabout.h"
#include "ui/controls.h"

namespace orv::app::testing {
namespace {

class LanguageTest : public ShellTest {};

TEST_F(LanguageTest, LooksUpTextsAsTheProfileApiReadsThem) {
    std::string long_text(300, 'x');
    PutLanguage("English",
                "1016=Apply\r\n"
                "  2000  =  Processor usage  \r\n"
                "5000=\r\n"
                "7003=Explorer\r\n"
                "3010=" +
                    long_text + "\r\n");
    shell::Language english(world.platform, "English");
    struct Case {
        std::string id;
        std::string want;
    } cases[] = {
        {"1016", "Apply"},
        {"2000", "Processor usage"},  // blanks around key and text do not count
        {" 7003", "Explorer"},        // the Explorer button's tag has a leading blank
        {"7003 ", "Explorer"},
        {"5000", ""},  // present but empty
        {"1234", ""},  // absent
        {"", ""},
        {"3010", std::string(254, 'x')},  // cut to the 255-character buffer
    };
    for (const Case& c : cases) EXPECT_EQ(english.Text(c.id), c.want) << "id \"" << c.id << '"';
}

TEST_F(LanguageTest, TheStoredChoiceNamesTheFile) {
    PutLanguage("English", "7009=Main window\r\n");
    PutLanguage("Deutsch", "7009=Hauptfenster\r\n");
    EXPECT_EQ(shell::ChosenLanguage(world.platform.settings), "English");  // nothing stored
    EXPECT_EQ(shell::Language::Chosen(world.platform).Text("7009"), "Main window");

    shell::StoreLanguage(world.platform.settings, "Deutsch");
    EXPECT_EQ(world.platform.settings.Get("Kadrim", "Language", "lng"), "Deutsch");
    shell::Language chosen = shell::Language::Chosen(world.platform);
    EXPECT_EQ(chosen.Name(), "Deutsch");
    EXPECT_EQ(chosen.Text("7009"), "Hauptfenster");

    shell::StoreLanguage(world.platform.settings, "");
    EXPECT_EQ(shell::ChosenLanguage(world.platform.settings), "English");
}

// A missing file must not leave every window without captions.
TEST_F(LanguageTest, AMissingFileFallsBackToEnglishThenToTheBuiltInTexts) {
    PutLanguage("English", "7009=From the English file\r\n");
    shell::Language missing(world.platform, "Klingon");
    EXPECT_EQ(missing.Path(), Folder() + "\\languages\\English.ini");
    EXPECT_EQ(missing.Text("7009"), "From the English file");
    world.files.WriteFile(missing.Path(), "");  // now empty: the file still rules
    EXPECT_EQ(shell::Language(world.platform, "Klingon").Text("7009"), "");
}

// A small window with one control of each situation the walk meets.
class Sample : public ui::Form {
  public:
    explicit Sample(ui::Host& host) : ui::Form(host, "Sample", "Sample", 3000, 3000) {}
    ui::CommandButton found{*this, "found", {"design", "1016"}};
    ui::Label untagged{*this, "untagged", {"keeps its text", ""}};
    ui::Label blank_tag{*this, "blank_tag", {"keeps its text", "   "}};
    ui::CheckBox absent{*this, "absent", {"design", "5999"}};
    ui::Frame empty_value{*this, "empty_value", {"design", "2000"}};
    ui::CommandButton explorer{*this, "explorer", {"design", " 7003"}};
    ui::TextBox text_box{*this, "text_box", {"", "1016"}};
    ui::Slider slider{*this, "slider", {"", "3000"}};
};

TEST_F(LanguageTest, LoadLanguageTranslatesTaggedControlsInOrder) {
    PutLanguage("English", "1016=Apply\r\n2000=\r\n7003=Explorer\r\n3000=Zoom\r\n");
    Sample form(host);
    shell::LoadLanguage(form, shell::Language(world.platform, "English"));
    EXPECT_EQ(form.found.Caption(), "Apply");
    EXPECT_EQ(form.untagged.Caption(), "keeps its text");  // after a control that succeeded
    EXPECT_EQ(form.blank_tag.Caption(), "keeps its text");
    EXPECT_EQ(form.absent.Caption(), "");
    EXPECT_EQ(form.empty_value.Caption(), "");
    EXPECT_EQ(form.explorer.Caption(), "Explorer");
    EXPECT_EQ(form.text_box.Caption(), "");  // no caption to take the text
    EXPECT_EQ(form.text_box.Text(), "");
    EXPECT_EQ(form.slider.Caption(), "");
}

TEST_F(LanguageTest, ListsTheLanguageFilesEnglishFirst) {
    EXPECT_TRUE(shell::AvailableLanguages(world.platform.files).empty());  // no folder yet
    for (const char* name : {"Deutsch.ini", "English.ini", "francais.ini", "Arabic.INI",
                             "readme.txt", "notes.inix", "Zulu.ini"})
        Put(std::string("languages\\") + name, "[Kadrim]\r\n");
    world.files.WriteFile(Folder() + "\\languages\\old.ini\\keep.txt", "");  // a folder
    std::vector<std::string> want = {"English", "Arabic", "Deutsch", "francais", "Zulu"};
    EXPECT_EQ(shell::AvailableLanguages(world.platform.files), want);
}

// Every identifier a window of the program uses has its English text, and
// the fold-out marker is where the main window looks for it.
TEST_F(LanguageTest, EnglishFileHoldsEveryCaptionIdentifier) {
    InstallEnglish();
    shell::Language english(world.platform, "English");
    ASSERT_EQ(english.Path(), Folder() + "\\languages\\English.ini");

    // Titles, untagged frames, and the tags of the windows of later features.
    std::istringstream listed(
        "7000 7001 7002 7004 7005 7006 7007 7008 7009 7010 7012 7014 7015 7016 7017 "
        "1008 1009 1011 1012 1013 1014 1015 1016 1017 1018 1019 1020 1021 1022 1023 1025 "
        "2000 2001 2002 2003 2004 2005 2006 2007 2008 2009 2010 2011 3000 3001 3002 3003 3004 "
        "3005 3006 3007 3008 3009 3010 3011 3012 3013 3014 3015 3017 3018 3019 3020 3021 3023 "
        "3024 3025 3026 3027 3028 3029 3030 3031 3032 3033 3034 3035 3036 3037 3038 3039 3040 "
        "3041 3042 3043 4002 4006 5000 5001 5002 5003 5004 5005 5006 5007 5008 5009 5010 5011 "
        "5012 5013 5016 5017 5018 5019 5020 5021 5022 5023 5024 5025 5026 6000 6001");
    std::set<std::string> ids{std::istream_iterator<std::string>(listed), {}};
    // and every tag the windows built here carry
    ASSERT_TRUE(Start());
    ProcessManagerPlaceholder placeholder(program->Context(), Main());
    tools::frmabout about(program->Context(), Main());
    for (ui::Form* form : {static_cast<ui::Form*>(&Main()), static_cast<ui::Form*>(&placeholder),
                           static_cast<ui::Form*>(&about)}) {
        for (ui::Control* c : form->Controls())
            if (!c->Tag().empty()) ids.insert(c->Tag());
    }
    for (const std::string& id : ids) {
        EXPECT_NE(english.Text(id), "") << "no English text for " << id;
        EXPECT_EQ(shell::BuiltInEnglishText(id), english.Text(id)) << id;
    }
    std::string system = english.Text("1000");
    EXPECT_EQ(system.substr(system.size() - 2), ">>");
}

}  // namespace
}  // namespace orv::app::testing
