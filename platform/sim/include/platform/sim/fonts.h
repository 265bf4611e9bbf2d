// The simulated font table: the faces the system lists (seeded by a test,
// duplicates per character set and "@" faces included if the test wants
// them), the files added to the session's table, whose fonts the face list
// then shows as Windows does, and a failure switch for each call.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "platform/fonts.h"

namespace orv::sim {

class SimFiles;

class SimFonts : public platform::Fonts {
  public:
    SimFonts(SimFiles& files, platform::Environment& environment)
        : files_(files), environment_(environment) {}
    std::vector<std::string> ScreenFaces() override;
    platform::Status MachineFontsFolder(std::string& folder) override;
    platform::Status UserFontsFolder(std::string& folder) override;
    int AddFontFile(std::string_view path) override;
    bool RemoveFontFile(std::string_view path) override;
    bool BroadcastFontChange() override;

    // What EnumFontFamiliesEx reports, one entry per face and character set.
    std::vector<std::string> faces;
    // The files in the session's table, in the order added, as given.
    std::vector<std::string> added;
    int broadcasts = 0;
    struct Failures {
        bool faces = false;  // the system lists nothing
        platform::Status machine_folder = platform::kSuccess;
        platform::Status user_folder = platform::kSuccess;
        bool add = false;
        bool remove = false;
        bool broadcast = false;
    } fail;

  private:
    SimFiles& files_;
    platform::Environment& environment_;
};

}  // namespace orv::sim
