// A small, faithful Windows in memory and over a sandbox folder of the host:
// a fresh World per test gives every platform group in one line.
//   orv::sim::World world(tmpdir);      // drive C: is tmpdir/C
//   SomeForm form(host, world.platform);
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/fonts.h"
#include "platform/sim/machine.h"
#include "platform/sim/processes.h"
#include "platform/sim/registry.h"
#include "platform/sim/shortcuts.h"
#include "platform/sim/sysparams.h"

namespace orv::sim {

class SimEnvironment : public platform::Environment {
  public:
    SimEnvironment();
    std::string Expand(std::string_view text) override;
    std::optional<std::string> Get(std::string_view name) override;
    void Set(std::string name, std::string value);

  private:
    std::map<std::string, std::pair<std::string, std::string>> vars_;  // folded -> (name, value)
};

// Drive letters map to host folders; Windows paths are resolved without
// regard to case, and the read-only/hidden/system attributes are kept beside.
class SimFiles : public platform::Files {
  public:
    explicit SimFiles(std::filesystem::path sandbox);
    std::string ProgramFolder() override { return program_folder_; }
    std::string WindowsFolder() override { return "C:\\Windows"; }
    std::uint32_t GetAttributes(std::string_view path) override;
    std::vector<platform::FoundFile> FindFiles(std::string_view pattern) override;
    std::optional<std::string> ReadFile(std::string_view path) override;
    platform::Status AppendToFile(std::string_view path, std::string_view bytes) override;
    // The simulated system's ANSI code page is Windows-1252 unless a test
    // sets UTF-8 (65001); any other number stands for a code page the
    // conversion fails in.
    std::string ToAnsiCodePage(std::string_view utf8) override;
    platform::Status ListFiles(std::string_view pattern,
                               std::vector<platform::FoundFile>& found) override;
    platform::Status ChangeAttributes(std::string_view path, std::uint32_t attributes) override;
    platform::Status CreateFolder(std::string_view path) override;
    platform::Status RemoveFolder(std::string_view path) override;
    platform::Status RemoveFile(std::string_view path) override;
    platform::Status CopyFileTo(std::string_view from, std::string_view to,
                                bool fail_if_exists) override;
    platform::Status SaveFile(std::string_view path, std::string_view bytes) override;
    platform::Status MoveReplacing(std::string_view from, std::string_view to) override;
    std::optional<std::string> ToAnsiExactly(std::string_view utf8) override;
    std::string FromAnsiCodePage(std::string_view ansi) override;
    void SetAnsiCodePage(unsigned code_page) { ansi_code_page_ = code_page; }

    // Test set-up.
    void SetProgramFolder(std::string folder) { program_folder_ = std::move(folder); }
    void MapDrive(char letter, std::filesystem::path host_folder);
    // The host path of a Windows path (an empty path when no drive maps it).
    std::filesystem::path HostPath(std::string_view windows_path) const;
    void WriteFile(std::string_view windows_path, std::string_view bytes);
    void SetAttributes(std::string_view windows_path, std::uint32_t attributes);
    // Every call on `windows_path` or below it fails with `status` from now
    // on (a drive that is not ready, a folder that refuses access): reads
    // find nothing, listings and changes return the status. kSuccess lifts it.
    void FailUnder(std::string_view windows_path, platform::Status status);
    // Every change on `windows_path` or below it (save, append, copy or move
    // there, remove, attributes, folders, profile writes) fails with
    // `status` while reads and listings still work: a write-protected medium
    // (19) or a folder that refuses changes (5). kSuccess lifts it.
    void FailWritesUnder(std::string_view windows_path, platform::Status status);
    // What a change at `windows_path` gets: kSuccess, or the status of
    // FailUnder / FailWritesUnder.
    platform::Status Refused(std::string_view windows_path) const;

  private:
    std::map<char, std::filesystem::path> drives_;
    std::map<std::string, std::uint32_t> attributes_;  // folded Windows path -> extra attributes
    std::map<std::string, platform::Status> failing_;  // folded Windows path -> status
    std::map<std::string, platform::Status> refusing_writes_;
    platform::Status Failing(std::string_view windows_path) const;
    void ForgetAttributes(std::string_view windows_path);
    std::string program_folder_ = "C:\\Program Files\\Orvelle";
    unsigned ansi_code_page_ = 1252;
};

// Profile files with the Win32 profile API's reading rules over SimFiles.
class SimProfiles : public platform::ProfileFiles {
  public:
    explicit SimProfiles(SimFiles& files) : files_(files) {}
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t buffer_chars, std::string_view path) override;
    bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                     std::string_view path) override;

  private:
    SimFiles& files_;
};

class SimShell : public platform::Shell {
  public:
    struct Opened {
        std::uintptr_t owner;
        std::string file, directory;
        int show;
    };
    std::intptr_t Open(std::uintptr_t owner, std::string_view file, std::string_view directory,
                       int show) override;
    bool ClaimSingleInstance(std::string_view name) override;

    std::vector<Opened> opened;
    // Names another (simulated) copy of the program already holds.
    std::vector<std::string> held_instances;
    SimFiles* files = nullptr;  // an Open of a missing file gives ERROR_FILE_NOT_FOUND (2)

    // The Recycle Bin is a folder of its own ("C:\\$Recycle.Bin"); emptying
    // removes everything in it. Every request is recorded.
    std::int32_t EmptyRecycleBin(std::uintptr_t owner, std::string_view root,
                                 std::uint32_t flags) override;
    void UpdateRecycleBinIcon() override { ++recycle_icon_updates; }
    std::string BrowseForFolder(std::uintptr_t owner, std::string_view title) override;

    static constexpr std::string_view kRecycleBin = "C:\\$Recycle.Bin";
    struct EmptyRequest {
        std::uintptr_t owner;
        std::string root;
        std::uint32_t flags;
    };
    std::vector<EmptyRequest> empty_requests;
    std::int32_t empty_result = 0;  // a failing HRESULT leaves the bin as it is
    int recycle_icon_updates = 0;
    std::deque<std::string> folder_answers;  // "" (or none left) = cancelled
    std::vector<std::string> browse_titles;

    struct Notification {
        std::int32_t event;
        std::string path;
    };
    void ChangeNotify(std::int32_t event, std::string_view path) override;
    std::vector<Notification> notifications;
    bool notifications_lost = false;  // no Explorer listening: nothing arrives
};

class World {
  public:
    explicit World(std::filesystem::path sandbox);
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    ~World();

    SimRegistry registry;
    SimEnvironment environment;
    SimFiles files;
    SimProfiles profiles;
    SimShell shell;
    SimSystemParameters sysparams{registry};
    SimDisplay display{registry};
    SimDrives drives{files};
    SimPictures pictures{files};
    SimSystemInfo system_info;
    SimProcesses processes;
    std::unique_ptr<platform::SettingsStore> settings;  // kept in `registry`, as on Windows
    SimShortcuts shortcuts;
    SimFonts fonts{files, environment};
    platform::Platform platform;

    // The same bundle over another registry (a recording or failing wrapper
    // of `registry`, say), so a test never lists the groups itself.
    platform::Platform PlatformWith(platform::Registry& other);
};

}  // namespace orv::sim
