// A fresh simulated machine, a headless host and the context a tool window
// is made with; the test stands in for the main window (skinning nothing).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/sim/world.h"
#include "shell/app_context.h"
#include "shell/skinning.h"
#include "ui/headless.h"

namespace orv::tools::testing {

class ToolTest : public ::testing::Test, public shell::MainWindow {
  protected:
    static std::filesystem::path MakeSandbox() {
        std::string t = (std::filesystem::temp_directory_path() / "orvelle-tl-XXXXXX").string();
        if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
        return t;
    }
    ~ToolTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    void SkinForm(ui::Form&) override {}

    std::filesystem::path sandbox_ = MakeSandbox();
    sim::World world{sandbox_};
    ui::HeadlessHost host;
    ui::Forms forms;
    shell::ErrorLog log{world.files};
    shell::AppContext ctx{host, world.platform, forms, log};
};

}  // namespace orv::tools::testing
