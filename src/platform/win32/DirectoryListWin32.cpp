#include <windows.h>

#include "platform/DirectoryList.h"

namespace fenmar::platform {

namespace {

// The texts the user knows from file errors of the toolkit.
std::string IoErrorText(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
            return "File not found";
        case ERROR_PATH_NOT_FOUND:
            return "Path not found";
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "File access denied";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Too many open files";
        default:
            return "I/O error " + std::to_string(code);
    }
}

HANDLE AsHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

std::int64_t Ticks(const LARGE_INTEGER& t) {
    return static_cast<std::int64_t>(t.QuadPart);
}

// A name of the listing in the ANSI code page, as the "A" functions hand names out.
std::string Narrow(const WCHAR* name, DWORD bytes) {
    const int wide = static_cast<int>(bytes / sizeof(WCHAR));
    if (wide == 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_ACP, 0, name, wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, name, wide, out.data(), size, nullptr, nullptr);
    return out;
}

}  // namespace

// The directory is read through its handle, which hands out each file's ID and change time
// with its name, size and written time.
FileListing ListFiles(const std::string& dir, const std::function<bool(std::string_view)>& accept,
                      bool /*withSizes: the listing hands them out anyway*/) {
    FileListing out;
    const std::string path = dir.empty() ? std::string(".") : dir;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND &&
            code != ERROR_DIRECTORY && code != ERROR_INVALID_NAME && code != ERROR_BAD_NETPATH) {
            out.exists = true;
            out.error = IoErrorText(code);
        }
        return out;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return out;
    }
    out.exists = true;
    HANDLE handle = ::CreateFileA(path.c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        out.error = IoErrorText(::GetLastError());
        return out;
    }
    alignas(LARGE_INTEGER) unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    while (::GetFileInformationByHandleEx(handle, kind, buffer, sizeof buffer)) {
        kind = FileIdBothDirectoryInfo;
        for (DWORD at = 0;;) {
            const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + at);
            constexpr DWORD kSkip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
            if ((info->FileAttributes & kSkip) == 0) {
                std::string name = Narrow(info->FileName, info->FileNameLength);
                if (!name.empty() && accept(name)) {
                    out.files.push_back({std::move(name), Ticks(info->EndOfFile),
                                         Ticks(info->LastWriteTime), Ticks(info->ChangeTime),
                                         static_cast<std::uint64_t>(info->FileId.QuadPart)});
                }
            }
            if (info->NextEntryOffset == 0) {
                break;
            }
            at += info->NextEntryOffset;
        }
    }
    const DWORD code = ::GetLastError();
    if (code != ERROR_NO_MORE_FILES) {
        out.error = IoErrorText(code);
    }
    ::CloseHandle(handle);
    return out;
}

std::int64_t FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return -1;
    }
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

std::int64_t ReadOnlyFile::Size() const {
    LARGE_INTEGER size{};
    if (handle_ == kClosed || !::GetFileSizeEx(AsHandle(handle_), &size)) {
        return -1;
    }
    return static_cast<std::int64_t>(size.QuadPart);
}

// The listing hands out every file's times and identity, so nothing asks the open file for
// them: only its size is given.
FileInfo ReadOnlyFile::Info() const {
    return {{}, Size()};
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = IoErrorText(::GetLastError());
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    error_.clear();
    return true;
}

void ReadOnlyFile::Close() {
    if (handle_ != kClosed) {
        ::CloseHandle(AsHandle(handle_));
        handle_ = kClosed;
    }
}

std::int64_t ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
    if (handle_ == kClosed) {
        error_ = IoErrorText(ERROR_INVALID_HANDLE);
        return -1;
    }
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const std::uint64_t at = offset + done;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        const std::size_t left = size - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(AsHandle(handle_), bytes + done, chunk, &got, &where)) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_HANDLE_EOF) {
                break;
            }
            error_ = IoErrorText(code);
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace fenmar::platform
