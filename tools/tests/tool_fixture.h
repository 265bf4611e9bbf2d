// What the tool window tests stand on: a fresh simulated machine over a
// sandbox folder of its own, and a headless host with the windows' context
// (the test is the main window, whose skin walk does nothing here).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "platform/sim/world.h"
#include "shell/app_context.h"
#include "ui/headless.h"

namespace orv::tools::testing {

class SimMachineTest : public ::testing::Test {
  protected:
    static std::filesystem::path MakeSandbox() {
        std::string t = (std::filesystem::temp_directory_path() / "orvelle-tl-XXXXXX").string();
        if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
        return t;
    }
    ~SimMachineTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    std::filesystem::path sandbox_ = MakeSandbox();
    sim::World world{sandbox_};
};

class ToolWindowTest : public SimMachineTest, public shell::MainWindow {
  protected:
    void SkinForm(ui::Form&) override {}
    ui::HeadlessHost host;
    ui::Forms forms;
    shell::ErrorLog log{world.files};
    shell::AppContext ctx{host, world.platform, forms, log};
};

}  // namespace orv::tools::testing
