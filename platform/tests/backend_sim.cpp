#include <unistd.h>
#include <atomic>

#include <filesystem>

#include "backend.h"
#include "platform/sim/world.h"

namespace orv::testing {
namespace {

class SimBackend : public TestBackend {
  public:
    SimBackend() {
        static std::atomic<int> counter{0};
        root_ = std::filesystem::temp_directory_path() /
                ("orvelle-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(root_);
        world_ = std::make_unique<sim::World>(root_);
        platform_ = &world_->platform;
        sandbox_key_ = "Software\\OrvelleTests\\sandbox";
        platform::HKey k = 0;
        world_->registry.CreateKey(platform::kCurrentUser, sandbox_key_, platform::kKeyAllAccess,
                                   k);
        world_->registry.CloseKey(k);
        temp_folder_ = "C:\\Temp\\test";
        world_->files.WriteFile(temp_folder_ + "\\.keep", "");
        std::filesystem::remove(world_->files.HostPath(temp_folder_ + "\\.keep"));
    }
    ~SimBackend() override {
        world_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    void WriteFile(std::string_view path, std::string_view bytes) override {
        world_->files.WriteFile(path, bytes);
    }
    bool IsWine() const override { return false; }
    bool IsSim() const override { return true; }
    bool Deny(std::string_view key, std::uint32_t rights) override {
        world_->registry.Deny(platform::kCurrentUser, key, rights);
        return true;
    }
    std::uint32_t StartChild() override {
        return world_->processes.Start(next_child_++, "orv_test_child.exe").entry.id;
    }

  private:
    std::filesystem::path root_;
    std::unique_ptr<sim::World> world_;
    std::uint32_t next_child_ = 4100;
};

}  // namespace

std::unique_ptr<TestBackend> MakeTestBackend() {
    return std::make_unique<SimBackend>();
}

}  // namespace orv::testing
