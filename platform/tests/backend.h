// The world a contract test runs in: the simulated platform natively, the
// real Win32 one under Wine (or Windows). Each test gets a fresh registry key
// below HKCU and a fresh folder, both removed afterwards.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orv::testing {

class TestBackend {
  public:
    virtual ~TestBackend() = default;
    platform::Platform& P() { return *platform_; }
    // "Software\OrvelleTests\<unique>" below HKCU; exists and is empty.
    const std::string& SandboxKey() const { return sandbox_key_; }
    // A Windows path of an existing, empty folder.
    const std::string& TempFolder() const { return temp_folder_; }
    virtual void WriteFile(std::string_view windows_path, std::string_view bytes) = 0;
    virtual bool IsWine() const = 0;
    virtual bool IsSim() const = 0;
    // Makes the key below HKCU refuse `rights`; false where the backend
    // cannot (Wine does not enforce key security).
    virtual bool Deny(std::string_view hkcu_key, std::uint32_t rights) = 0;
    // Starts a process of the test's own that waits until it is ended (or
    // the backend goes away); its id, 0 when it could not start.
    virtual std::uint32_t StartChild() = 0;

  protected:
    platform::Platform* platform_ = nullptr;
    std::string sandbox_key_;
    std::string temp_folder_;
};

std::unique_ptr<TestBackend> MakeTestBackend();

}  // namespace orv::testing

// A behaviour Wine does not share with Windows: the check is reported, not
// silently skipped, and the test goes on.
#define ORV_KNOWN_WINE_GAP(backend, reason)                                          \
    if ((backend).IsWine()) {                                                        \
        std::printf("[ KNOWN GAP ] Wine: %s (%s:%d)\n", reason, __FILE__, __LINE__); \
    } else
