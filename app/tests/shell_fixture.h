// A fresh simulated machine with the program installed in
// "C:\Program Files\Orvelle", a headless host, and helpers to lay out the
// program folder the way a test needs it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/mainform.h"
#include "app/program.h"
#include "platform/sim/world.h"
#include "ui/headless.h"

namespace orv::app::testing {

inline std::string ReadHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::filesystem::path MakeSandbox() {
    std::string templ = (std::filesystem::temp_directory_path() / "orvelle-app-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    return templ;
}

// The smallest skin the parser accepts, with the two window elements.
inline constexpr std::string_view kTestSkin =
    "[Form]\r\ncaption.height = 30\r\nhotspot.About = About\r\n[SmallForm]\r\nbase = Form\r\n";

class ShellTest : public ::testing::Test {
  protected:
    ShellTest() : sandbox_(MakeSandbox()), world(sandbox_) {}
    ~ShellTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }

    std::string Folder() { return world.files.ProgramFolder(); }
    void Put(std::string_view name, std::string_view bytes) {
        world.files.WriteFile(Folder() + "\\" + std::string(name), bytes);
    }
    void PutLanguage(std::string_view name, std::string_view body) {
        Put("languages\\" + std::string(name) + ".ini", "[Kadrim]\r\n" + std::string(body));
    }
    void InstallEnglish() { Put("languages\\English.ini", ReadHostFile(ORVELLE_ENGLISH_FILE)); }
    void InstallSkin() { Put("winaquas.skn", kTestSkin); }
    // The program folder as it ships: English texts and the skin.
    void InstallProgram() {
        InstallEnglish();
        InstallSkin();
        Put("Splash.spl", "BMsplash");
    }
    std::string Log() { return ReadHostFile(world.files.HostPath(Folder() + "\\PROGRAM.LOG")); }

    // Starts the program; Main() is the main window.
    bool Start() {
        program = std::make_unique<Program>(host, world.platform);
        return program->Start();
    }
    mainform& Main() { return program->Main(); }

  private:
    std::filesystem::path sandbox_;

  protected:
    sim::World world;
    ui::HeadlessHost host;
    std::unique_ptr<Program> program;
};

}  // namespace orv::app::testing
