// A fresh simulated machine with a headless host and the health window
// ready to open: registry content is seeded as .reg text, files through the
// simulated drives, and the backup clock is fixed.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "health/pchealth.h"
#include "platform/sim/world.h"
#include "registry/regfile.h"
#include "ui/headless.h"

namespace orv::health::testing {

inline std::filesystem::path MakeSandbox() {
    std::string templ = (std::filesystem::temp_directory_path() / "orvelle-health-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    return templ;
}

// The headless host with a hook on each yield, to act while a run is inside one.
struct YieldingHost : ui::HeadlessHost {
    void DoEvents() override {
        ui::HeadlessHost::DoEvents();
        if (on_yield) on_yield();
    }
    std::function<void()> on_yield;
};

struct NoSkinMain : shell::MainWindow {
    void SkinForm(ui::Form&) override {}
};

inline std::tm FixedTime(int second = 5) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 18;
    t.tm_min = 30;
    t.tm_sec = second;
    return t;
}

class HealthTest : public ::testing::Test {
  protected:
    HealthTest()
        : sandbox_(MakeSandbox()),
          world(sandbox_),
          log(world.files),
          ctx{host, world.platform, forms, log} {
        world.environment.Set("LOCALAPPDATA", "C:\\Users\\tester\\AppData\\Local");
        world.files.WriteFile("C:\\Users\\tester\\AppData\\Local\\.keep", "");
        world.files.MapDrive('D', sandbox_ / "D");
        std::filesystem::create_directories(sandbox_ / "D");
    }
    ~HealthTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }

    void Seed(std::string_view reg_body) {
        std::string text =
            std::string(registry::kRegFileHeader) + "\r\n\r\n" + std::string(reg_body);
        registry::ImportResult r = registry::ImportRegText(world.registry, text);
        ASSERT_TRUE(r.ok()) << "bad seed";
    }
    bool KeyExists(platform::HKey root, std::string_view key) {
        platform::HKey h = 0;
        // No rights asked: a key that refuses reading still exists.
        if (world.registry.OpenKey(root, key, 0, h) != platform::kSuccess) return false;
        world.registry.CloseKey(h);
        return true;
    }
    bool ValueExists(platform::HKey root, std::string_view key, std::string_view name) {
        platform::HKey h = 0;
        if (world.registry.OpenKey(root, key, platform::kKeyRead, h) != platform::kSuccess)
            return false;
        platform::RegValue v;
        bool found = world.registry.QueryValue(h, name, v) == platform::kSuccess;
        world.registry.CloseKey(h);
        return found;
    }
    std::string Export(platform::HKey root, std::string_view key) {
        return registry::ExportRegText(world.registry, root, key);
    }
    void File(std::string_view path, std::uint32_t attributes = 0) {
        world.files.WriteFile(path, "data");
        if (attributes) world.files.SetAttributes(path, attributes);
    }
    bool FileExists(std::string_view path) {
        return world.files.GetAttributes(path) != platform::kInvalidAttributes;
    }
    pchealth& Open() {
        pchealth& w = forms.Get<pchealth>(ctx, main);
        w.clock = [] { return FixedTime(); };
        w.Show(nullptr, false);
        return w;
    }

  private:
    std::filesystem::path sandbox_;

  protected:
    sim::World world;
    YieldingHost host;
    ui::Forms forms;
    shell::ErrorLog log;
    shell::AppContext ctx;
    NoSkinMain main;
};

}  // namespace orv::health::testing
