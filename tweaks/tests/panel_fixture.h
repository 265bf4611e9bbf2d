// A fresh simulated machine and a headless window with one frame, for the
// panels that live on the main window's frames.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/sim/world.h"
#include "ui/headless.h"

namespace orv::tweaks::testing {

class PanelTest : public ::testing::Test {
  protected:
    static std::filesystem::path MakeSandbox() {
        std::string t = (std::filesystem::temp_directory_path() / "orvelle-tw-XXXXXX").string();
        if (!mkdtemp(t.data())) throw std::runtime_error("mkdtemp failed");
        return t;
    }
    ~PanelTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    // Loads the window so the headless host lets the test click.
    void ShowForm() { form.Show(); }
    std::string HostFile(std::string_view windows_path) {
        std::ifstream in(world.files.HostPath(windows_path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path sandbox_ = MakeSandbox();
    sim::World world{sandbox_};
    ui::HeadlessHost host;
    ui::Form form{host, "mainform", "", 9000, 7000};
    ui::Frame frame{form, "panel", {"", "", 0, 0, 7000, 4800}};
};

}  // namespace orv::tweaks::testing
