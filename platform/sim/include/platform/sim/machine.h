// The simulated machine beyond files and registry: the display, the drives,
// picture decoding and the facts of the system. Plain state a test seeds and
// inspects, and per-group failure switches so handlers can be shown going on
// when Windows refuses.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/drives.h"
#include "platform/pictures.h"
#include "platform/registry.h"
#include "platform/system_info.h"

namespace orv::sim {

class SimFiles;

class SimDisplay : public platform::Display {
  public:
    explicit SimDisplay(platform::Registry& registry);
    bool EnumMode(std::uint32_t index, platform::DisplayMode& mode) override;
    std::int32_t ChangeMode(std::uint32_t width, std::uint32_t height) override;
    std::uint32_t GetSysColor(int index) override;
    bool SetSysColors(std::span<const int> indices, std::span<const std::uint32_t> colors) override;
    bool SetWallpaper(std::string_view path) override;
    std::optional<bool> GetFontSmoothing() override;
    bool SetFontSmoothing(bool on) override;

    // What the display accepts, in enumeration order; a change to any other
    // size is refused with kDispChangeBadMode.
    std::vector<platform::DisplayMode> modes;
    platform::DisplayMode current;
    std::array<std::uint32_t, platform::kColorCount> colors{};
    bool font_smoothing = true;
    // Every call of the group fails from now on (as a locked-down session).
    bool fail = false;
    int mode_changes = 0;
    int smoothing_sets = 0;

  private:
    platform::Registry& registry_;
};

class SimDrives : public platform::Drives {
  public:
    explicit SimDrives(SimFiles& files) : files_(files) {}
    std::vector<std::string> LogicalDrives() override;
    std::uint32_t DriveType(std::string_view root) override;
    platform::Status FreeSpace(std::string_view path, platform::DiskSpace& space) override;
    std::uint32_t FormatDrive(std::uintptr_t owner, unsigned drive) override;
    platform::Status StartProgram(std::string_view command_line, int show) override;

    struct Drive {
        std::uint32_t type = platform::kDriveFixed;
        platform::DiskSpace space;
        platform::Status status = platform::kSuccess;  // kNotReady: no medium
    };
    // By upper-case letter; C: is a fixed 20 GB drive with 5 GB free.
    std::map<char, Drive> drives;
    struct Started {
        std::string command_line;
        int show;
    };
    std::vector<Started> started;
    std::vector<unsigned> formatted;
    // FormatDrive and StartProgram fail (a policy that forbids both).
    bool fail = false;

  private:
    SimFiles& files_;
};

// Reads BMP files through SimFiles; other formats are decoded only when a
// test has said what a file holds (the simulation has no codecs).
class SimPictures : public platform::Pictures {
  public:
    explicit SimPictures(SimFiles& files) : files_(files) {}
    std::optional<platform::PictureData> Load(std::string_view path) override;
    // The file at `path` (which must exist) decodes to `picture`.
    void Seed(std::string_view path, platform::PictureData picture);
    bool fail = false;

  private:
    SimFiles& files_;
    std::map<std::string, platform::PictureData> seeded_;
};

class SimSystemInfo : public platform::SystemInfo {
  public:
    std::optional<std::string> ComputerName() override;
    std::optional<std::string> UserName() override;
    std::optional<platform::MemoryFigures> Memory() override;
    std::optional<platform::OsVersion> Version() override;
    std::uint16_t ProcessorArchitecture() override { return architecture; }
    std::string DecimalSeparator() override { return decimal_separator; }

    std::string computer_name = "SIMPC";
    std::string user_name = "user";
    platform::MemoryFigures memory{17179869184ull, 19327352832ull};
    platform::OsVersion version{10, 0, 19045, 2};
    std::uint16_t architecture = platform::kArchAmd64;
    std::string decimal_separator = ".";
    bool fail = false;
};

}  // namespace orv::sim
