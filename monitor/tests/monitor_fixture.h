// A fresh simulated machine, a headless host and a program folder for the
// monitor's windows, with the log readable back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/sim/world.h"
#include "shell/app_context.h"
#include "shell/error_log.h"
#include "ui/form.h"
#include "ui/headless.h"

namespace orv::monitor::testing {

inline std::filesystem::path MakeSandbox() {
    std::string templ = (std::filesystem::temp_directory_path() / "orvelle-mon-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    return templ;
}

struct NoSkinWalk : shell::MainWindow {
    void SkinForm(ui::Form&) override {}
};

class MonitorTest : public ::testing::Test {
  public:
    MonitorTest() : sandbox_(MakeSandbox()), world(sandbox_), log(world.files) {
        world.files.WriteFile(world.files.ProgramFolder() + "\\orvelle.exe", "MZ");
    }
    ~MonitorTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    std::string Log() { return world.files.ReadFile(log.Path()).value_or(""); }

    std::filesystem::path sandbox_;
    sim::World world;
    ui::HeadlessHost host;
    shell::ErrorLog log;
    ui::Forms forms;
    shell::AppContext ctx{host, world.platform, forms, log};
    NoSkinWalk main;
};

}  // namespace orv::monitor::testing
