// A fresh backend with a sandbox key, and the sandbox's path forms.
#pragma once

#include <gtest/gtest.h>

#include <source_location>

#include "backend.h"
#include "platform/regvalue.h"

namespace orv::testing {

class RegistryFixture : public ::testing::Test {
  protected:
    void SetUp() override { backend = MakeTestBackend(); }
    platform::Registry& reg() { return backend->P().registry; }
    platform::Environment& env() { return backend->P().environment; }
    // "HKCU\<sandbox>\<rest>"
    std::string Cu(std::string_view rest) {
        return "HKCU\\" + backend->SandboxKey() + "\\" + std::string(rest);
    }
    std::string Sub(std::string_view rest) {
        return rest.empty() ? backend->SandboxKey()
                            : backend->SandboxKey() + "\\" + std::string(rest);
    }
    // A failure here is reported at the caller's line.
    void Put(std::string_view key, std::string_view name, const platform::RegValue& v,
             std::source_location caller = std::source_location::current()) {
        ::testing::ScopedTrace trace(caller.file_name(), static_cast<int>(caller.line()), "Put");
        platform::HKey k = 0;
        ASSERT_EQ(reg().CreateKey(platform::kCurrentUser, Sub(key), platform::kKeyAllAccess, k),
                  platform::kSuccess);
        ASSERT_EQ(reg().SetValue(k, name, v), platform::kSuccess);
        reg().CloseKey(k);
    }
    std::optional<platform::RegValue> Get(std::string_view key, std::string_view name) {
        platform::HKey k = 0;
        if (reg().OpenKey(platform::kCurrentUser, Sub(key), platform::kKeyRead, k)) return {};
        platform::RegValue v;
        auto st = reg().QueryValue(k, name, v);
        reg().CloseKey(k);
        if (st) return {};
        return v;
    }
    std::unique_ptr<TestBackend> backend;
};

}  // namespace orv::testing
