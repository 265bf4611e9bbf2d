#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "monitor/sysinfo_panel.h"
#include "monitor/winver.h"
#include "platform/regvalue.h"
#include "platform/sim/world.h"
#include "ui/headless.h"

namespace orv::monitor {
namespace {

using namespace orv::platform;

TEST(SystemSizeText, EveryUnitBoundary) {
    struct Case {
        const char* name;
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {"zero", 0, "0 Bytes"},
        {"one byte stays bytes", 1, "1 Bytes"},
        {"two bytes go to KB", 2, "0.002 KB"},
        {"a thousand", 1000, "0.9766 KB"},
        {"exactly 1 MB stays KB", 1048576, "1024 KB"},
        {"one more byte than 1 MB", 1048577, "1 MB"},
        {"half a gigabyte", 536870912, "512 MB"},
        {"exactly 1 GB stays MB", 1073741824, "1024 MB"},
        {"above 2 GB", 2147483648ull, "2 GB"},
        {"sixteen gigabytes", 17179869184ull, "16 GB"},
        {"exactly 1 TB stays GB", 1099511627776ull, "1024 GB"},
        {"four terabytes", 4398046511104ull, "4 TB"},
        {"two petabytes", 2251799813685248ull, "2 PB"},
        {"largest count", UINT64_MAX, "16384 PB"},
        {"rounded to four decimals", 1536, "1.5 KB"},
    };
    for (const auto& c : cases) EXPECT_EQ(SystemSizeText(c.bytes), c.text) << c.name;
}

TEST(WindowsVersionText, FamiliesAndPrefixes) {
    struct Case {
        const char* name;
        OsVersion v;
        const char* text;
    } cases[] = {
        {"98", {4, 10, 1998, 1}, "Windows 98, version: 4.10"},
        {"Me counts as 98", {4, 90, 3000, 1}, "Windows 98, version: 4.90"},
        {"95", {4, 0, 950, 1}, "Windows 95, version: 4.0"},
        {"XP", {5, 1, 2600, 2}, "Windows NT, version: 5.1"},
        {"10", {10, 0, 19045, 2}, "Windows NT, version: 10.0"},
        {"other family", {1, 2, 0, 3}, "1.2"},
    };
    for (const auto& c : cases) EXPECT_EQ(WindowsVersionText(c.v), c.text) << c.name;
}

class SystemInfoPanelTest : public ::testing::Test {
  protected:
    static std::filesystem::path Sandbox() {
        std::string t = (std::filesystem::temp_directory_path() / "orvelle-mon-XXXXXX").string();
        if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp");
        return t;
    }
    ~SystemInfoPanelTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    void SetMachine(std::string_view key, std::string_view name, const RegValue& v) {
        HKey k = 0;
        world.registry.CreateKey(kLocalMachine, key, kKeyAllAccess, k);
        world.registry.SetValue(k, name, v);
        world.registry.CloseKey(k);
    }
    void SeedFirmware() {
        SetMachine(kCurrentVersionKey, "ProductName", MakeSz("Windows 10 Pro"));
        SetMachine(kCurrentVersionKey, "UBR", MakeDword(3803));
        SetMachine(kProcessorKey, "~MHz", MakeDword(2904));
        SetMachine(kBiosKey, "BIOSReleaseDate", MakeSz("03/14/2023"));
        SetMachine(kBiosKey, "BIOSVersion", MakeSz("1.17.0"));
    }
    std::vector<std::string> Fields() {
        std::vector<std::string> out;
        for (ui::TextBox* b :
             {&panel.txtComputerName, &panel.txtUSerName, &panel.txtRAM, &panel.txtPagingFile,
              &panel.txtOSversion, &panel.txtOS, &panel.txtOSID, &panel.txtCompatible,
              &panel.normspeed, &panel.biosdate, &panel.biosver})
            out.push_back(b->Text());
        return out;
    }

    std::filesystem::path sandbox_ = Sandbox();
    sim::World world{sandbox_};
    ui::HeadlessHost host;
    ui::Form form{host, "mainform", "", 9000, 7000};
    ui::Frame frame{form, "SIFrame", {"System Information", "", 0, 0, 7095, 4335}};
    SystemInfoPanel panel{form, frame, world.platform};
};

TEST_F(SystemInfoPanelTest, ElevenFieldsInOrderFromTheMachine) {
    SeedFirmware();
    panel.Fill();
    EXPECT_EQ(Fields(), (std::vector<std::string>{"SIMPC", "user", "16 GB", "18 GB", "10.0.19045",
                                                  "Windows 10 Pro", "19045.3803", "x64", "2904 MHz",
                                                  "03/14/2023", "1.17.0"}));
}

TEST_F(SystemInfoPanelTest, NamesAndFallbacks) {
    struct Case {
        const char* name;
        OsVersion version;
        bool seed_current;
        bool old_firmware_key;
        const char* os;
        const char* bios_version;
    } cases[] = {
        {"windows 11 build renames the product",
         {10, 0, 22631, 2},
         true,
         false,
         "Windows 11 Pro",
         "1.17.0"},
        {"no product name gives the version text",
         {6, 1, 7601, 2},
         false,
         false,
         "Windows NT, version: 6.1",
         ""},
        {"older firmware keys, several lines joined",
         {10, 0, 19045, 2},
         false,
         true,
         "Windows NT, version: 10.0",
         "ACPI - 1 BIOS 2.0"},
    };
    for (const auto& c : cases) {
        sim::World w(sandbox_ / c.name);
        w.system_info.version = c.version;
        ui::Form f{host, "mainform", "", 9000, 7000};
        ui::Frame fr{f, "SIFrame", {"", "", 0, 0, 7095, 4335}};
        SystemInfoPanel p{f, fr, w.platform};
        auto set = [&](std::string_view key, std::string_view name, const RegValue& v) {
            HKey k = 0;
            w.registry.CreateKey(kLocalMachine, key, kKeyAllAccess, k);
            w.registry.SetValue(k, name, v);
            w.registry.CloseKey(k);
        };
        if (c.seed_current) {
            set(kCurrentVersionKey, "ProductName", MakeSz("Windows 10 Pro"));
            set(kBiosKey, "BIOSVersion", MakeSz("1.17.0"));
        }
        if (c.old_firmware_key)
            set(kSystemKey, "SystemBiosVersion", MakeMultiSz({"ACPI - 1", "BIOS 2.0"}));
        p.Fill();
        EXPECT_EQ(p.txtOS.Text(), c.os) << c.name;
        EXPECT_EQ(p.biosver.Text(), c.bios_version) << c.name;
    }
}

TEST_F(SystemInfoPanelTest, WhatCannotBeReadStaysEmptyAndTheRestIsFilled) {
    SeedFirmware();
    world.system_info.fail = true;
    panel.Fill();
    auto f = Fields();
    EXPECT_EQ(f[0], "");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[4], "");
    EXPECT_EQ(f[5], "Windows 10 Pro");
    EXPECT_EQ(f[6], "");
    EXPECT_EQ(f[7], "x64");
    EXPECT_EQ(f[8], "2904 MHz");
    EXPECT_EQ(f[10], "1.17.0");
}

}  // namespace
}  // namespace orv::monitor
