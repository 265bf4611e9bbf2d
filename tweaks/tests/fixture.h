// A fresh simulated machine, a headless host, and a window with the frames
// the tweak pages sit on. Writes to the registry go through a recorder, so a
// test can see which values were written, in which order.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/regvalue.h"
#include "platform/sim/world.h"
#include "registry/regpath.h"
#include "ui/headless.h"

namespace orv::tweaks::testing {

// Forwards to the simulated registry and notes every value written as
// "<key path as opened>\<value name>".
class RecordingRegistry : public platform::Registry {
  public:
    explicit RecordingRegistry(platform::Registry& inner) : inner_(inner) {}
    platform::Status OpenKey(platform::HKey parent, std::string_view subkey, std::uint32_t access,
                             platform::HKey& out) override {
        auto s = inner_.OpenKey(parent, subkey, access, out);
        if (s == platform::kSuccess) names_[out] = Name(parent, subkey);
        return s;
    }
    platform::Status CreateKey(platform::HKey parent, std::string_view subkey, std::uint32_t access,
                               platform::HKey& out, bool* created = nullptr) override {
        auto s = inner_.CreateKey(parent, subkey, access, out, created);
        if (s == platform::kSuccess) names_[out] = Name(parent, subkey);
        return s;
    }
    platform::Status CloseKey(platform::HKey key) override { return inner_.CloseKey(key); }
    platform::Status QueryInfoKey(platform::HKey key, platform::RegKeyInfo& info) override {
        return inner_.QueryInfoKey(key, info);
    }
    platform::Status QueryValue(platform::HKey key, std::string_view name,
                                platform::RegValue& out) override {
        return inner_.QueryValue(key, name, out);
    }
    platform::Status SetValue(platform::HKey key, std::string_view name,
                              const platform::RegValue& value) override {
        auto s = inner_.SetValue(key, name, value);
        if (s == platform::kSuccess) writes.push_back(names_[key] + "\\" + std::string(name));
        return s;
    }
    platform::Status DeleteValue(platform::HKey key, std::string_view name) override {
        writes.push_back("delete " + names_[key] + "\\" + std::string(name));
        return inner_.DeleteValue(key, name);
    }
    platform::Status DeleteKey(platform::HKey parent, std::string_view subkey) override {
        writes.push_back("delete key " + Name(parent, subkey));
        return inner_.DeleteKey(parent, subkey);
    }
    platform::Status EnumKey(platform::HKey key, std::uint32_t index, std::string& name) override {
        return inner_.EnumKey(key, index, name);
    }
    platform::Status EnumValue(platform::HKey key, std::uint32_t index, std::string& name,
                               platform::RegValue& value) override {
        return inner_.EnumValue(key, index, name, value);
    }
    std::vector<std::string> writes;

  private:
    std::string Name(platform::HKey parent, std::string_view subkey) {
        std::string base;
        if (parent == platform::kCurrentUser)
            base = "HKCU";
        else if (parent == platform::kUsers)
            base = "HKU";
        else if (parent == platform::kLocalMachine)
            base = "HKLM";
        else
            base = names_[parent];
        return subkey.empty() ? base : base + "\\" + std::string(subkey);
    }
    platform::Registry& inner_;
    std::map<platform::HKey, std::string> names_;
};

inline std::filesystem::path MakeSandbox() {
    std::string templ = (std::filesystem::temp_directory_path() / "orvelle-tweaks-XXXXXX").string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    return templ;
}

// The main window's frames, as far as the tweak pages need them.
class TestWindow : public ui::Form {
  public:
    explicit TestWindow(ui::Host& host) : ui::Form(host, "mainform", "Orvelle", 9330, 7000) {}
    ui::Frame VoptionsFrame1{
        *this, "VoptionsFrame", {"Start Menu", "", 180, 600, 6765, 3900}, nullptr, 1};
    ui::Frame VoptionsFrame2{
        *this, "VoptionsFrame", {"Desktop", "", 180, 600, 6765, 3900}, nullptr, 2};
    ui::CommandButton applymenu{
        *this, "applymenu", {"Apply", "", 5520, 3360, 1095, 375}, &VoptionsFrame1};
    ui::Frame OptionsFrame0{
        *this, "OptionsFrame", {"Explorer Options", "", 180, 600, 6615, 3900}, nullptr, 0};
    ui::Frame OptionsFrame1{
        *this, "OptionsFrame", {"Privacy", "", 180, 600, 6615, 3900}, nullptr, 1};
    ui::Frame Inputframe{*this, "Inputframe", {"Input", "", 1995, 450, 7095, 4815}};
    ui::CommonDialog cd1{*this, "cd1"};
};

class TweaksTest : public ::testing::Test {
  protected:
    TweaksTest()
        : sandbox_(MakeSandbox()),
          world(sandbox_),
          recorder(world.registry),
          platform{recorder,    world.environment, *world.settings, world.profiles,
                   world.files, world.shell,       world.sysparams, world.processes},
          seed(world.registry, world.environment),
          window(host) {}
    ~TweaksTest() override {
        std::error_code ec;
        std::filesystem::remove_all(sandbox_, ec);
    }
    void Show() { host.ShowForm(window, nullptr, false); }

    void Dword(std::string_view path, std::int64_t n) {
        ASSERT_EQ(seed.RegWrite(path, registry::RegData{n}, "REG_DWORD"), platform::kSuccess);
    }
    void Text(std::string_view path, std::string t) {
        ASSERT_EQ(seed.RegWrite(path, registry::RegData{std::move(t)}), platform::kSuccess);
    }
    // The value as stored: type and data, nothing when absent.
    std::optional<platform::RegValue> Raw(std::string_view path) {
        auto p = registry::ParseRegPath(path);
        if (!p) return std::nullopt;
        platform::HKey k = 0;
        if (world.registry.OpenKey(p->root, p->key, platform::kKeyRead, k) != platform::kSuccess)
            return std::nullopt;
        platform::RegValue v;
        auto s = world.registry.QueryValue(k, p->value, v);
        world.registry.CloseKey(k);
        if (s != platform::kSuccess) return std::nullopt;
        return v;
    }
    std::string TextAt(std::string_view path) {
        auto v = Raw(path);
        return v ? platform::DataAsText(*v) : "<absent>";
    }
    // A REG_DWORD's number; nothing for any other type or no value.
    std::optional<std::uint32_t> DwordAt(std::string_view path) {
        auto v = Raw(path);
        if (!v || v->type != platform::kRegDword || v->data.size() != 4) return std::nullopt;
        return std::uint32_t(v->data[0]) | std::uint32_t(v->data[1]) << 8 |
               std::uint32_t(v->data[2]) << 16 | std::uint32_t(v->data[3]) << 24;
    }
    bool Exists(std::string_view windows_path) {
        return world.files.GetAttributes(windows_path) != platform::kInvalidAttributes;
    }

  private:
    std::filesystem::path sandbox_;

  protected:
    sim::World world;
    RecordingRegistry recorder;
    platform::Platform platform;
    registry::RegistryPaths seed;  // straight to the simulation, not recorded
    ui::HeadlessHost host;
    TestWindow window;
};

}  // namespace orv::tweaks::testing
