#include "tweaks/drives_panel.h"
#include "panel_fixture.h"

namespace orv::tweaks {
namespace {

using namespace orv::platform;

TEST(DriveSizeText, EveryUnitBoundary) {
    struct Case {
        const char* name;
        double bytes;
        const char* sep;
        const char* text;
    } cases[] = {
        {"zero", 0, ".", "0 bytes"},
        {"999 bytes", 999, ".", "999 bytes"},
        {"1000 bytes", 1000, ".", "0.98 KB"},
        {"last KB", 999.0 * 1024, ".", "999 KB"},
        {"first MB", 999.0 * 1024 + 1, ".", "0.98 MB"},
        {"tens use one decimal", 15.0 * 1073741824, ".", "15.0 GB"},
        {"under ten two decimals", 5.0 * 1073741824, ".", "5.00 GB"},
        {"last GB", 999.0 * 1073741824, ".", "999 GB"},
        {"four terabytes", 4e12, ".", "3.64 TB"},
        {"last TB", 999.0 * 1099511627776.0, ".", "999 TB"},
        {"petabytes", 2.0 * 1125899906842624.0, ".", "2.00 PB"},
        {"half rounds to even", 100.5 * 1024, ".", "100 KB"},
        {"comma separator", 1000, ",", "0,98 KB"},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveSizeText(c.bytes, c.sep), c.text) << c.name;
}

TEST(PercentText, TwoDecimalsWithTheUsersSeparator) {
    EXPECT_EQ(PercentText(0.25, "."), "25.00%");
    EXPECT_EQ(PercentText(1.0, "."), "100.00%");
    EXPECT_EQ(PercentText(1.0 / 3, ","), "33,33%");
}

class DrivesPanelTest : public testing::PanelTest {
  protected:
    DrivesPanel panel{form, frame, world.platform};
    struct Figures {
        std::string type, total, free, used, pfree, pused;
        int freebar, usedbar;
        bool operator==(const Figures&) const = default;
    };
    Figures Shown() {
        return {panel.typelbl.Caption(),        panel.lblTotal.Caption(),
                panel.lblFree.Caption(),        panel.lblUsed.Caption(),
                panel.lblPercentFree.Caption(), panel.lblPercentUsed.Caption(),
                panel.freebar.Value(),          panel.usedbar.Value()};
    }
    void Choose(std::string_view entry) {
        const auto& items = panel.Drive1.Items();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == entry) host.Choose(panel.Drive1, static_cast<int>(i));
    }
};

TEST_F(DrivesPanelTest, StartUpShowsDriveCWithoutMessages) {
    panel.Fill();
    EXPECT_EQ(panel.Drive1.Drive(), "c:");
    EXPECT_EQ(Shown(), (Figures{"Fixed Drive", "20.0 GB", "5.00 GB", "15.0 GB", "25.00%", "75.00%",
                                25, 75}));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DrivesPanelTest, DriveKindsAndEmptyDrives) {
    struct Case {
        const char* name;
        char letter;
        sim::SimDrives::Drive drive;
        const char* type;
        const char* total;
        const char* message;  // "" none
        bool defrag;
    } cases[] = {
        {"empty floppy",
         'A',
         {kDriveRemovable, {}, kNotReady},
         "Floppy Drive",
         "0",
         "There is no disk in the floppy drive!!",
         false},
        {"empty CD",
         'E',
         {kDriveCdRom, {}, kNotReady},
         "CD-Rom Drive",
         "0",
         "There is no CD in the drive!!",
         false},
        {"CD reporting zero size",
         'F',
         {kDriveCdRom, {0, 0}, kSuccess},
         "CD-Rom Drive",
         "0",
         "There is no CD in the drive!!",
         false},
        {"network drive",
         'N',
         {kDriveRemote, {1024ull * 1024 * 1024, 0}, kSuccess},
         "Network Drive",
         "1.00 GB",
         "",
         false},
        {"network path gone", 'M', {kDriveRemote, {}, kBadNetPath}, "Network Drive", "", "", false},
        {"second fixed drive",
         'D',
         {kDriveFixed, {4000000000000ull, 4000000000000ull}, kSuccess},
         "Fixed Drive",
         "3.64 TB",
         "",
         true},
    };
    for (const auto& c : cases) {
        world.drives.drives[c.letter] = c.drive;
        panel.Fill();
        ShowForm();
        host.messages.clear();
        Choose(std::string(1, static_cast<char>(std::tolower(c.letter))) + ":");
        EXPECT_EQ(panel.typelbl.Caption(), c.type) << c.name;
        EXPECT_EQ(panel.lblTotal.Caption(), c.total) << c.name;
        EXPECT_EQ(panel.defragmentcmd.Enabled(), c.defrag) << c.name;
        if (*c.message) {
            ASSERT_EQ(host.messages.size(), 1u) << c.name;
            EXPECT_EQ(host.messages[0].text, c.message) << c.name;
            EXPECT_EQ(host.messages[0].style & 0xF0, ui::kMbIconError) << c.name;
            EXPECT_EQ(Shown().freebar + Shown().usedbar, 0) << c.name;
        } else {
            EXPECT_TRUE(host.messages.empty()) << c.name;
        }
        world.drives.drives.erase(c.letter);
    }
}

TEST_F(DrivesPanelTest, ALetterThatVanishedSaysSoAndKeepsGoing) {
    world.drives.drives['G'] = {kDriveFixed, {1000, 500}, kSuccess};
    panel.Fill();
    ShowForm();
    world.drives.drives.erase('G');
    Choose("g:");
    EXPECT_EQ(panel.typelbl.Caption(), "Not available");
    EXPECT_EQ(panel.lblTotal.Caption(), "");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DrivesPanelTest, FormatAsksTheShellForTheDriveNumber) {
    world.drives.drives['D'] = {kDriveFixed, {1000, 500}, kSuccess};
    panel.Fill();
    ShowForm();
    Choose("d:");
    host.Click(panel.formatcmd);
    EXPECT_EQ(world.drives.formatted, (std::vector<unsigned>{3}));
}

TEST_F(DrivesPanelTest, DefragmenterByWindowsVersion) {
    struct Case {
        const char* name;
        OsVersion version;
        std::vector<const char*> present;
        const char* started;   // "" none: the user is told
        bool refused = false;  // the system refuses to start programs
    } cases[] = {
        {"98 runs defrag",
         {4, 10, 0, 1},
         {"C:\\Windows\\defrag.exe"},
         "\"C:\\Windows\\defrag.exe\" "},
        {"XP runs the snap-in",
         {5, 1, 2600, 2},
         {"C:\\Windows\\system32\\mmc.exe", "C:\\Windows\\system32\\dfrg.msc"},
         "\"C:\\Windows\\system32\\mmc.exe\" \"C:\\Windows\\system32\\dfrg.msc\" "},
        {"10 runs dfrgui",
         {10, 0, 19045, 2},
         {"C:\\Windows\\System32\\dfrgui.exe"},
         "\"C:\\Windows\\System32\\dfrgui.exe\""},
        {"nothing to start", {10, 0, 19045, 2}, {}, ""},
        {"starting refused", {10, 0, 19045, 2}, {"C:\\Windows\\System32\\dfrgui.exe"}, "", true},
    };
    for (const auto& c : cases) {
        sim::World w(sandbox_ / c.name);
        ui::Form f{host, "mainform", "", 9000, 7000};
        ui::Frame fr{f, "drivesframe", {"", "", 0, 0, 7000, 4800}};
        DrivesPanel p{f, fr, w.platform};
        w.system_info.version = c.version;
        w.drives.fail = c.refused;
        for (const char* file : c.present) w.files.WriteFile(file, "");
        host.messages.clear();
        p.defragmentcmd_Click();
        if (*c.started) {
            ASSERT_EQ(w.drives.started.size(), 1u) << c.name;
            EXPECT_EQ(w.drives.started[0].command_line, c.started) << c.name;
            EXPECT_EQ(w.drives.started[0].show, kShowMinimized) << c.name;
            EXPECT_TRUE(host.messages.empty()) << c.name;
        } else {
            EXPECT_TRUE(w.drives.started.empty()) << c.name;
            ASSERT_EQ(host.messages.size(), 1u) << c.name;
            EXPECT_EQ(host.messages[0].text, kNoDefragmenterText) << c.name;
        }
    }
}

}  // namespace
}  // namespace orv::tweaks
