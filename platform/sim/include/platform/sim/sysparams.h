// System parameters as state a test seeds and reads, with every call
// recorded and any action made to fail. A set with SPIF_UPDATEINIFILE also
// stores the value in the user's profile keys, as Windows does.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/registry.h"
#include "platform/sysparams.h"

namespace orv::sim {

class SimSystemParameters : public platform::SystemParameters {
  public:
    explicit SimSystemParameters(SimRegistry& registry);

    bool GetInt(std::uint32_t action, int& value) override;
    bool Set(std::uint32_t action, std::uint32_t ui_param, std::uintptr_t pv,
             std::uint32_t flags) override;
    std::uint32_t GetDoubleClickTime() override { return double_click_ms; }
    bool SetDoubleClickTime(std::uint32_t ms) override;
    bool ExitSession(std::uint32_t flags, std::uint32_t reason) override;
    void BroadcastSettingChange(std::string_view area) override;

    struct Call {
        std::uint32_t action, ui_param;
        std::uintptr_t pv;
        std::uint32_t flags;
        bool operator==(const Call&) const = default;
    };
    struct ExitRequest {
        std::uint32_t flags, reason;
        bool operator==(const ExitRequest&) const = default;
    };

    // State, by the "get" action that reads it; a fresh machine's values.
    std::map<std::uint32_t, int> values{
        {platform::kSpiGetKeyboardSpeed, 31},   {platform::kSpiGetKeyboardDelay, 1},
        {platform::kSpiGetMouseSpeed, 10},      {platform::kSpiGetMouseTrails, 0},
        {platform::kSpiGetWheelScrollLines, 3}, {platform::kSpiGetMenuShowDelay, 400}};
    bool buttons_swapped = false;
    std::uint32_t double_click_ms = 500;

    std::vector<Call> calls;  // every Set, failed ones too
    std::vector<ExitRequest> exits;
    std::vector<std::string> broadcasts;
    // Actions (get or set) that fail from now on; 0 makes SetDoubleClickTime
    // fail, and kFailExit ExitSession.
    std::set<std::uint32_t> failing;
    static constexpr std::uint32_t kFailExit = 0xFFFFFFFF;

  private:
    SimRegistry& registry_;
};

}  // namespace orv::sim
