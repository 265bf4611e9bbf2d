// Times ShredFile on a large file against a plain overwrite of the same file with the same
// block size (the dd conv=notrunc equivalent), both ending in fsync, in the same run. The
// shredder also deletes the file, so the baseline is overwrite + unlink; the overwrite phases
// alone are reported too (a decorator on the seam notes when the shredder's last flush ends).
// The shredder runs as in the shell extension: it yields to window events after every block
// and reports progress. Natively there is no message queue, so the yield polls a pipe with a
// zero timeout (one system call, as PeekMessage is one call into the window system), and the
// progress reads the clock and updates at most every 100 ms, as the shell's dialog does.
// Usage: shred_bench [bytes] [folder]; SHRED_BENCH_BYTES sets the size too (default 1 GiB).
// Exits 1 when ShredFile's overwrite reaches less than 95% of the plain overwrite's rate.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "file_seam.h"
#include "shredder.h"

namespace {

using Clock = std::chrono::steady_clock;

bool WriteAll(int fd, std::uint64_t bytes, const std::vector<char>& block) {
    for (std::uint64_t done = 0; done < bytes;) {
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), bytes - done));
        const ssize_t w = ::write(fd, block.data(), n);
        if (w <= 0) return false;
        done += static_cast<std::uint64_t>(w);
    }
    return ::fsync(fd) == 0;
}

bool Fill(const std::string& path, std::uint64_t bytes, char value, bool truncate) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | (truncate ? O_TRUNC : 0), 0600);
    if (fd < 0) return false;
    const bool ok = WriteAll(fd, bytes, std::vector<char>(shred::kBlockSize, value));
    ::close(fd);
    return ok;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes when the last flush of the overwrite returned, and when the delete begins.
class PhaseClock final : public shred::FileSystem {
  public:
    explicit PhaseClock(shred::FileSystem& real) : real_(real) {
        if (::pipe(events_) != 0) events_[0] = events_[1] = -1;
    }
    ~PhaseClock() override {
        ::close(events_[0]);
        ::close(events_[1]);
    }
    Clock::time_point overwritten, deleting;
    std::size_t yields = 0;

    void YieldToWindowEvents() override {
        ++yields;
        pollfd queue{events_[0], POLLIN, 0};
        ::poll(&queue, 1, 0);
    }

    shred::Kind Probe(const shred::Path& p) override { return real_.Probe(p); }
    std::optional<std::uint32_t> MakeWritable(const shred::Path& p) override {
        return real_.MakeWritable(p);
    }
    void RestoreAttributes(const shred::Path& p, std::uint32_t a) override {
        real_.RestoreAttributes(p, a);
    }
    std::unique_ptr<shred::WritableFile> OpenForOverwrite(const shred::Path& p) override {
        auto file = real_.OpenForOverwrite(p);
        return file ? std::make_unique<File>(*this, std::move(file)) : nullptr;
    }
    bool RemoveFile(const shred::Path& p) override {
        deleting = Clock::now();
        return real_.RemoveFile(p);
    }
    bool RemoveLink(const shred::Path& p) override { return real_.RemoveLink(p); }
    bool RemoveFolder(const shred::Path& p) override { return real_.RemoveFolder(p); }
    std::optional<std::vector<shred::Entry>> List(const shred::Path& p) override {
        return real_.List(p);
    }
    shred::ErrorCode LastError() const override { return real_.LastError(); }

  private:
    class File final : public shred::WritableFile {
      public:
        File(PhaseClock& clock, std::unique_ptr<shred::WritableFile> real)
            : clock_(clock), real_(std::move(real)) {}
        std::optional<std::uint64_t> Size() override { return real_->Size(); }
        std::optional<std::vector<shred::Range>> AllocatedRanges(std::uint64_t size) override {
            return real_->AllocatedRanges(size);
        }
        bool Write(std::uint64_t offset, std::span<const std::byte> data) override {
            return real_->Write(offset, data);
        }
        bool Flush() override {
            const bool ok = real_->Flush();
            clock_.overwritten = Clock::now();
            return ok;
        }
        bool Truncate(std::uint64_t size) override { return real_->Truncate(size); }
        shred::ErrorCode LastError() const override { return real_->LastError(); }

      private:
        PhaseClock& clock_;
        std::unique_ptr<shred::WritableFile> real_;
    };

    shred::FileSystem& real_;
    int events_[2];
};

class DialogLikeProgress final : public shred::Progress {
  public:
    bool Continue(const shred::Path&, std::uint64_t done, std::uint64_t total) override {
        const auto now = Clock::now();
        if (now - last_ >= std::chrono::milliseconds(100)) {
            last_ = now;
            shown_ = done * 100 / std::max<std::uint64_t>(total, 1);
        }
        return true;
    }
    std::uint64_t shown_ = 0;

  private:
    Clock::time_point last_{};
};

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t bytes = std::uint64_t{1} << 30;
    if (const char* env = std::getenv("SHRED_BENCH_BYTES")) bytes = std::strtoull(env, nullptr, 10);
    if (argc > 1) bytes = std::strtoull(argv[1], nullptr, 10);
    const std::string folder =
        argc > 2 ? argv[2] : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    const std::string path = folder + "/shred_bench." + std::to_string(::getpid());
    const auto fs = shred::MakeNativeFileSystem();

    PhaseClock clock(*fs);
    DialogLikeProgress progress;
    constexpr int kRounds = 7;
    double plain = 1e30, plainWithDelete = 1e30, shredAll = 1e30, shredWrite = 1e30;
    // Each round runs both, in alternating order, so that neither always meets the disk
    // just after the other's delete.
    for (int run = 0; run < 2 * kRounds; ++run) {
        if (!Fill(path, bytes, 0, true)) return std::perror("create"), 2;
        const auto start = Clock::now();
        if ((run + run / 2) % 2 == 0) {
            if (!Fill(path, bytes, static_cast<char>(0xAA), false))
                return std::perror("overwrite"), 2;
            plain = std::min(plain, Seconds(start));
            ::unlink(path.c_str());
            plainWithDelete = std::min(plainWithDelete, Seconds(start));
        } else {
            shred::Shredder shredder(clock, &progress);
            if (!shredder.ShredFile(path)) return std::fprintf(stderr, "shred failed\n"), 2;
            shredAll = std::min(shredAll, Seconds(start));
            shredWrite = std::min(shredWrite,
                                  std::chrono::duration<double>(clock.overwritten - start).count());
        }
    }
    const double mib = static_cast<double>(bytes) / (1 << 20);
    const double ratio = plain / shredWrite;
    std::printf("size %.0f MiB, block %zu KiB, best of %d rounds, %zu yields per shred\n", mib,
                shred::kBlockSize / 1024, kRounds, clock.yields / kRounds);
    std::printf(
        "overwrite + fsync:          plain %8.1f MiB/s   ShredFile %8.1f MiB/s   %5.1f %%\n",
        mib / plain, mib / shredWrite, plain / shredWrite * 100);
    std::printf(
        "overwrite + fsync + delete: plain %8.1f MiB/s   ShredFile %8.1f MiB/s   %5.1f %%\n",
        mib / plainWithDelete, mib / shredAll, plainWithDelete / shredAll * 100);
    return ratio >= 0.95 ? 0 : 1;
}
