// Shared by the shredder tests on both platforms: a throw-away folder, file helpers, and a
// decorator over the real file seam that records every call, captures each file's bytes
// just before it is deleted, and injects failures for chosen paths.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "file_seam.h"
#include "shredder.h"

namespace shredtest {

namespace fs = std::filesystem;
using shred::Path;

// On Windows a path beyond MAX_PATH needs the \\?\ prefix for the C runtime's file calls too.
inline fs::path Long(const fs::path& p) {
#ifdef _WIN32
    return fs::path(L"\\\\?\\" + p.native());
#else
    return p;
#endif
}

class TempDir {
  public:
    TempDir() {
        std::random_device seed;
        root_ = fs::temp_directory_path() /
                ("shredext-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        fs::create_directories(root_);
    }
    ~TempDir() {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(Long(root_), ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
            fs::permissions(it->path(), fs::perms::owner_all,
                            fs::perm_options::add | fs::perm_options::nofollow, ec);
        }
        fs::remove_all(Long(root_), ec);
    }
    const fs::path& root() const { return root_; }
    fs::path operator/(const fs::path& rel) const { return root_ / rel; }

  private:
    fs::path root_;
};

// Bytes that differ from the pattern at most offsets, so "unchanged" means something.
inline std::string Filler(std::size_t size, unsigned seed = 7) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + seed) % 251);
    return s;
}

inline std::string Shredded(std::size_t originalSize) {
    const std::size_t size = std::max(originalSize, shred::kPatternSize);
    std::string s(size, '\0');
    const auto& pattern = shred::Pattern();
    for (std::size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>(pattern[i % shred::kPatternSize]);
    return s;
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(Long(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(Long(path), std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Exists under that name, whether a file, a folder or a (possibly dangling) link.
inline bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(Long(path), ec));
}

inline void MakeDirs(const fs::path& path) {
    fs::path partial;
    for (const auto& part : path) {
        partial /= part;
        std::error_code ec;
        if (!partial.has_relative_path() || fs::is_directory(Long(partial), ec)) continue;
        ASSERT_TRUE(fs::create_directory(Long(partial), ec)) << partial << ": " << ec.message();
    }
}

struct Op {
    std::string what;  // "open", "delete", "unlink", "rmdir", "list"
    Path path;
};

class ObservedFs final : public shred::FileSystem {
  public:
    static constexpr shred::ErrorCode kInjected = 4242;

    ObservedFs() : real_(shred::MakeNativeFileSystem()) {}

    std::vector<Op> ops;
    std::map<Path, std::string> bytesAtDelete;
    std::set<Path> failOpen, failWrite, failDelete, failList, failRemoveFolder;
    std::size_t writes = 0, largestWrite = 0, flushes = 0;
    std::vector<shred::Range> written;  // every write, in order
    std::vector<std::uint64_t> truncatedTo;
    // Runs where the window thread would pump its messages.
    std::function<void()> onYield;
    std::size_t yields = 0;

    bool Did(const std::string& what, const fs::path& path) const {
        for (const auto& op : ops)
            if (op.what == what && op.path == path.native()) return true;
        return false;
    }
    std::size_t IndexOf(const std::string& what, const fs::path& path) const {
        for (std::size_t i = 0; i < ops.size(); ++i)
            if (ops[i].what == what && ops[i].path == path.native()) return i;
        ADD_FAILURE() << "no " << what << " of " << path;
        return ops.size();
    }

    shred::Kind Probe(const Path& path) override { return real_->Probe(path); }
    std::optional<std::uint32_t> MakeWritable(const Path& path) override {
        return real_->MakeWritable(path);
    }
    void RestoreAttributes(const Path& path, std::uint32_t attributes) override {
        real_->RestoreAttributes(path, attributes);
    }
    std::unique_ptr<shred::WritableFile> OpenForOverwrite(const Path& path) override {
        ops.push_back({"open", path});
        if (failOpen.count(path)) return Inject(), nullptr;
        auto file = real_->OpenForOverwrite(path);
        if (!file) return Forward(), nullptr;
        return std::make_unique<File>(*this, std::move(file), failWrite.count(path) != 0);
    }
    bool RemoveFile(const Path& path) override {
        bytesAtDelete[path] = ReadBytes(fs::path(path));
        ops.push_back({"delete", path});
        if (failDelete.count(path)) return Inject();
        return real_->RemoveFile(path) || Forward();
    }
    bool RemoveLink(const Path& path) override {
        ops.push_back({"unlink", path});
        return real_->RemoveLink(path) || Forward();
    }
    bool RemoveFolder(const Path& path) override {
        ops.push_back({"rmdir", path});
        if (failRemoveFolder.count(path)) return Inject();
        return real_->RemoveFolder(path) || Forward();
    }
    std::optional<std::vector<shred::Entry>> List(const Path& folder) override {
        ops.push_back({"list", folder});
        if (failList.count(folder)) return Inject(), std::nullopt;
        auto entries = real_->List(folder);
        if (!entries) Forward();
        return entries;
    }
    void YieldToWindowEvents() override {
        ++yields;
        if (onYield) onYield();
    }
    shred::ErrorCode LastError() const override { return error_; }

  private:
    class File final : public shred::WritableFile {
      public:
        File(ObservedFs& owner, std::unique_ptr<shred::WritableFile> real, bool fail)
            : owner_(owner), real_(std::move(real)), fail_(fail) {}
        std::optional<std::uint64_t> Size() override { return real_->Size(); }
        std::optional<std::vector<shred::Range>> AllocatedRanges(std::uint64_t size) override {
            return real_->AllocatedRanges(size);
        }
        bool Write(std::uint64_t offset, std::span<const std::byte> data) override {
            ++owner_.writes;
            owner_.largestWrite = std::max(owner_.largestWrite, data.size());
            owner_.written.push_back({offset, data.size()});
            // A failing write still puts its first bytes down, like a disk that fills up.
            if (fail_)
                return real_->Write(offset, data.first(std::min<std::size_t>(data.size(), 10))),
                       false;
            return real_->Write(offset, data);
        }
        bool Flush() override {
            ++owner_.flushes;
            return real_->Flush();
        }
        bool Truncate(std::uint64_t size) override {
            owner_.truncatedTo.push_back(size);
            return real_->Truncate(size);
        }
        shred::ErrorCode LastError() const override {
            return fail_ ? kInjected : real_->LastError();
        }

      private:
        ObservedFs& owner_;
        std::unique_ptr<shred::WritableFile> real_;
        bool fail_;
    };

    bool Inject() {
        error_ = kInjected;
        return false;
    }
    bool Forward() {
        error_ = real_->LastError();
        return false;
    }
    std::unique_ptr<shred::FileSystem> real_;
    shred::ErrorCode error_ = 0;
};

// Subfolders are handled before the files beside them, and a folder is removed only after
// everything below it.
inline void ExpectBottomUp(const std::vector<Op>& ops) {
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i].what != "rmdir") continue;
        const fs::path folder(ops[i].path);
        for (std::size_t j = i + 1; j < ops.size(); ++j) {
            const fs::path later(ops[j].path);
            EXPECT_FALSE(later.parent_path() == folder && ops[j].what != "list")
                << later << " handled after its folder was removed";
        }
        for (std::size_t j = 0; j < i; ++j) {
            const fs::path earlier(ops[j].path);
            if (ops[j].what == "delete" && earlier.parent_path() == folder.parent_path())
                ADD_FAILURE() << "file " << earlier << " before its sibling folder " << folder;
        }
    }
}

}  // namespace shredtest
