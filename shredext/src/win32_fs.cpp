// Win32 backend of the file seam, used inside the DLL. Wide functions throughout, and every
// absolute path goes out with the \\?\ prefix, so names beyond MAX_PATH and names the ANSI
// code page cannot spell reach the file system exactly as the shell reported them.
#include <windows.h>

#include <winioctl.h>

#include <algorithm>

#include "file_seam.h"

namespace shred {
namespace {

ErrorCode LastWin32Error() {
    return static_cast<ErrorCode>(::GetLastError());
}

Path Extended(const Path& path) {
    if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
    Path out = path;
    for (auto& c : out) {
        if (c == L'/') c = L'\\';
    }
    if (out.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + out.substr(2);
    if (out.size() >= 3 && out[1] == L':' && out[2] == L'\\') return L"\\\\?\\" + out;
    return out;  // relative: the shell never hands those over
}

Kind KindOf(DWORD attributes) {
    // Every reparse point counts as a link: junctions and symbolic links are what matter,
    // and whatever else hides behind one is not the user's data to walk into.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Kind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Kind::Folder;
    return Kind::File;
}

class Win32File final : public WritableFile {
  public:
    Win32File(HANDLE handle, bool sparse) : handle_(handle), sparse_(sparse) {}
    ~Win32File() override { ::CloseHandle(handle_); }

    std::optional<std::uint64_t> Size() override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handle_, &size)) return Fail(), std::nullopt;
        return static_cast<std::uint64_t>(size.QuadPart);
    }
    std::optional<std::vector<Range>> AllocatedRanges(std::uint64_t size) override {
        if (!sparse_) return std::vector<Range>{{0, size}};
        std::vector<Range> ranges;
        FILE_ALLOCATED_RANGE_BUFFER query{};
        query.Length.QuadPart = static_cast<LONGLONG>(size);
        FILE_ALLOCATED_RANGE_BUFFER found[64];
        for (;;) {
            DWORD bytes = 0;
            const bool ok = ::DeviceIoControl(handle_, FSCTL_QUERY_ALLOCATED_RANGES, &query,
                                              sizeof(query), found, sizeof(found), &bytes, nullptr);
            if (!ok && ::GetLastError() != ERROR_MORE_DATA) return Fail(), std::nullopt;
            const DWORD count = bytes / sizeof(found[0]);
            for (DWORD i = 0; i < count; ++i) {
                const auto offset = static_cast<std::uint64_t>(found[i].FileOffset.QuadPart);
                const auto end = std::min<std::uint64_t>(
                    offset + static_cast<std::uint64_t>(found[i].Length.QuadPart), size);
                if (offset < end) ranges.push_back({offset, end - offset});
            }
            if (ok || count == 0) return ranges;
            // More ranges than fit: ask again from the end of the last one.
            const LONGLONG next =
                found[count - 1].FileOffset.QuadPart + found[count - 1].Length.QuadPart;
            query.Length.QuadPart -= next - query.FileOffset.QuadPart;
            query.FileOffset.QuadPart = next;
        }
    }
    bool Write(std::uint64_t offset, std::span<const std::byte> data) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) return Fail();
        while (!data.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(handle_, data.data(), chunk, &written, nullptr) || written == 0)
                return Fail();
            data = data.subspan(written);
        }
        return true;
    }
    bool Flush() override { return ::FlushFileBuffers(handle_) || Fail(); }
    bool Truncate(std::uint64_t size) override {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(size);
        return (::SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle_)) ||
               Fail();
    }
    ErrorCode LastError() const override { return error_; }

  private:
    bool Fail() {
        error_ = LastWin32Error();
        return false;
    }
    HANDLE handle_;
    bool sparse_;
    ErrorCode error_ = 0;
};

class Win32FileSystem final : public FileSystem {
  public:
    Kind Probe(const Path& path) override {
        const DWORD attributes = ::GetFileAttributesW(Extended(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return KindOf(attributes);
        error_ = LastWin32Error();
        // Only a name that is certainly absent counts as missing; anything else (access
        // denied, sharing) is tried as a file so that the failure gets reported.
        return error_ == ERROR_FILE_NOT_FOUND || error_ == ERROR_PATH_NOT_FOUND ? Kind::Missing
                                                                                : Kind::File;
    }

    std::optional<std::uint32_t> MakeWritable(const Path& path) override {
        const Path ext = Extended(path);
        const DWORD attributes = ::GetFileAttributesW(ext.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            !::SetFileAttributesW(ext.c_str(), FILE_ATTRIBUTE_NORMAL))
            return Fail(), std::nullopt;
        return attributes;
    }
    void RestoreAttributes(const Path& path, std::uint32_t attributes) override {
        ::SetFileAttributesW(Extended(path).c_str(), attributes);
    }

    std::unique_ptr<WritableFile> OpenForOverwrite(const Path& path) override {
        // No sharing: a file another program holds open is reported as locked rather than
        // overwritten under its feet. FILE_FLAG_OPEN_REPARSE_POINT opens a link swapped in
        // since Probe as itself, and the check below then refuses it. Read access is for
        // FSCTL_QUERY_ALLOCATED_RANGES on a sparse file.
        HANDLE handle = ::CreateFileW(
            Extended(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN,
            nullptr);
        if (handle == INVALID_HANDLE_VALUE) return Fail(), nullptr;
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileType(handle) != FILE_TYPE_DISK ||
            !::GetFileInformationByHandle(handle, &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
            ::CloseHandle(handle);
            error_ = ERROR_INVALID_FUNCTION;
            return nullptr;
        }
        return std::make_unique<Win32File>(
            handle, (info.dwFileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) != 0);
    }

    bool RemoveFile(const Path& path) override {
        return ::DeleteFileW(Extended(path).c_str()) || Fail();
    }
    bool RemoveLink(const Path& path) override {
        // The link is opened as itself and deleted through that handle, and only when the
        // handle really is a reparse point: Wine opens the target of a Unix symlink even with
        // FILE_FLAG_OPEN_REPARSE_POINT, and its RemoveDirectory removes an empty target folder
        // and leaves the link. Refusing there keeps the target untouched, and is reported.
        HANDLE handle = ::CreateFileW(
            Extended(path).c_str(), DELETE | FILE_READ_ATTRIBUTES,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return Fail();
        FILE_ATTRIBUTE_TAG_INFO tag{};
        bool ok = ::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof(tag));
        if (!ok) {
            Fail();
        } else if (!(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            ok = false;
            error_ = ERROR_NOT_A_REPARSE_POINT;
        } else {
            FILE_DISPOSITION_INFO disposition{TRUE};
            ok = ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                              sizeof(disposition)) ||
                 Fail();
        }
        ::CloseHandle(handle);
        return ok;
    }
    bool RemoveFolder(const Path& path) override {
        return ::RemoveDirectoryW(Extended(path).c_str()) || Fail();
    }

    std::optional<std::vector<Entry>> List(const Path& folder) override {
        Path pattern = Extended(folder);
        if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
        pattern += L'*';
        WIN32_FIND_DATAW data{};
        HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
        std::vector<Entry> entries;
        if (find == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_NOT_FOUND) return entries;  // a drive root
            return Fail(), std::nullopt;
        }
        do {
            const Path name = data.cFileName;
            if (name != L"." && name != L"..")
                entries.push_back({name, KindOf(data.dwFileAttributes)});
        } while (::FindNextFileW(find, &data));
        const DWORD error = ::GetLastError();
        ::FindClose(find);
        if (error != ERROR_NO_MORE_FILES) {
            error_ = error;
            return std::nullopt;
        }
        return entries;
    }

    void YieldToWindowEvents() override { Pump(); }

    bool WhilePumping(const std::function<bool()>& work) override {
        Job job{&work, false};
        HANDLE thread = ::CreateThread(nullptr, 0, RunJob, &job, 0, nullptr);
        if (thread == nullptr) return work();  // no thread to spare: wait here instead
        bool pumping = true;
        while (pumping) {
            const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_ALLINPUT,
                                                             MWMO_INPUTAVAILABLE);
            if (woke == WAIT_OBJECT_0) break;
            // After a WM_QUIT (put back for the thread's own loop) or a failed wait, only
            // the job is waited for: the queue would otherwise wake this loop at once, forever.
            pumping = woke == WAIT_OBJECT_0 + 1 && Pump();
        }
        if (!pumping) ::WaitForSingleObject(thread, INFINITE);
        ::CloseHandle(thread);
        return job.result;
    }

    ErrorCode LastError() const override { return error_; }

  private:
    struct Job {
        const std::function<bool()>* work;
        bool result;
    };
    static DWORD WINAPI RunJob(void* context) {
        auto* job = static_cast<Job*>(context);
        job->result = (*job->work)();
        return 0;
    }

    // Handles what is queued; false when it met WM_QUIT, which it leaves for the thread's loop.
    static bool Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        return true;
    }

    bool Fail() {
        error_ = LastWin32Error();
        return false;
    }
    ErrorCode error_ = 0;
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
    return std::make_unique<Win32FileSystem>();
}

}  // namespace shred
