// POSIX backend of the file seam, for native tests and the benchmark. Windows attributes are
// emulated the plain way: read-only is a missing owner write bit; hidden files need nothing.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "file_seam.h"

namespace shred {
namespace {

class PosixFile final : public WritableFile {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }

    std::optional<std::uint64_t> Size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) return Fail();
        return static_cast<std::uint64_t>(st.st_size);
    }
    std::optional<std::vector<Range>> AllocatedRanges(std::uint64_t size) override {
        std::vector<Range> ranges;
        const auto end = static_cast<off_t>(size);
        for (off_t at = 0; at < end;) {
            const off_t data = ::lseek(fd_, at, SEEK_DATA);
            if (data < 0) {
                if (errno == ENXIO) break;  // only a hole from here to the end
                // A file system that cannot tell holes: all of it counts as data.
                if (errno == EINVAL && at == 0) return std::vector<Range>{{0, size}};
                return Fail();
            }
            if (data >= end) break;
            off_t hole = ::lseek(fd_, data, SEEK_HOLE);
            if (hole < 0) return Fail();
            hole = std::min(hole, end);
            ranges.push_back(
                {static_cast<std::uint64_t>(data), static_cast<std::uint64_t>(hole - data)});
            at = hole;
        }
        return ranges;
    }
    bool Write(std::uint64_t offset, std::span<const std::byte> data) override {
        while (!data.empty()) {
            const ssize_t n = ::pwrite(fd_, data.data(), data.size(), static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Fail(), false;
            data = data.subspan(static_cast<std::size_t>(n));
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    }
    bool Flush() override { return ::fsync(fd_) == 0 || (Fail(), false); }
    bool Truncate(std::uint64_t size) override {
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || (Fail(), false);
    }
    ErrorCode LastError() const override { return error_; }

  private:
    std::nullopt_t Fail() {
        error_ = static_cast<ErrorCode>(errno);
        return std::nullopt;
    }
    int fd_;
    ErrorCode error_ = 0;
};

Kind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return Kind::File;
    if (S_ISDIR(mode)) return Kind::Folder;
    if (S_ISLNK(mode)) return Kind::Link;
    return Kind::Special;
}

class PosixFileSystem final : public FileSystem {
  public:
    Kind Probe(const Path& path) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0) return KindOf(st.st_mode);
        // Anything but "no such name" (say, a folder above that cannot be searched) is
        // treated as a file, so that the attempt fails and gets reported.
        const int error = Fail();
        return error == ENOENT || error == ENOTDIR ? Kind::Missing : Kind::File;
    }

    std::optional<std::uint32_t> MakeWritable(const Path& path) override {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
        if ((st.st_mode & S_IWUSR) == 0 && ::chmod(path.c_str(), st.st_mode | S_IWUSR) != 0) {
            Fail();
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(st.st_mode & 07777);
    }
    void RestoreAttributes(const Path& path, std::uint32_t attributes) override {
        ::chmod(path.c_str(), static_cast<mode_t>(attributes));
    }

    std::unique_ptr<WritableFile> OpenForOverwrite(const Path& path) override {
        // O_NOFOLLOW refuses a link swapped in since Probe; O_NONBLOCK keeps a FIFO from
        // blocking the open; fstat then rejects anything that is not a regular file.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return Fail(), nullptr;
        struct stat st {};
        const bool statted = ::fstat(fd, &st) == 0;
        if (!statted || !S_ISREG(st.st_mode)) {
            error_ = statted ? EINVAL : static_cast<ErrorCode>(errno);
            ::close(fd);
            return nullptr;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return std::make_unique<PosixFile>(fd);
    }

    bool RemoveFile(const Path& path) override { return ::unlink(path.c_str()) == 0 || Failed(); }
    bool RemoveLink(const Path& path) override { return ::unlink(path.c_str()) == 0 || Failed(); }
    bool RemoveFolder(const Path& path) override { return ::rmdir(path.c_str()) == 0 || Failed(); }

    std::optional<std::vector<Entry>> List(const Path& folder) override {
        // O_NOFOLLOW: a link put in the folder's place since it was probed is refused, never
        // walked into.
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return Fail(), std::nullopt;
        DIR* dir = ::fdopendir(fd);
        if (dir == nullptr) {
            Fail();
            ::close(fd);
            return std::nullopt;
        }
        std::vector<Entry> entries;
        errno = 0;
        while (const dirent* d = ::readdir(dir)) {
            const Path name = d->d_name;
            if (name == "." || name == "..") continue;
            struct stat st {};
            const Kind kind = ::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
                                  ? KindOf(st.st_mode)
                                  : Kind::Missing;
            entries.push_back({name, kind});
            errno = 0;
        }
        const int readError = errno;
        ::closedir(dir);
        if (readError != 0) {
            error_ = static_cast<ErrorCode>(readError);
            return std::nullopt;
        }
        // readdir order depends on the file system's hashing; sorting makes walks repeatable.
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });
        return entries;
    }

    // Nothing to pump without a window system, but the call still moves to another thread,
    // so that the native tests and the benchmark run it the way the shell extension does.
    bool WhilePumping(const std::function<bool()>& work) override {
        bool result = false;
        std::thread worker([&] { result = work(); });
        worker.join();
        return result;
    }

    ErrorCode LastError() const override { return error_; }

  private:
    int Fail() {
        error_ = static_cast<ErrorCode>(errno);
        return errno;
    }
    bool Failed() {
        Fail();
        return false;
    }
    ErrorCode error_ = 0;
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<PosixFileSystem>();
}

}  // namespace shred
