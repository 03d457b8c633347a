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

}  // namespace

FileListing ListFiles(const std::string& dir, const std::function<bool(std::string_view)>& accept,
                      bool /*withSizes: the search hands them out anyway*/) {
    FileListing out;
    std::string pattern = dir;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') {
        pattern += '\\';
    }
    pattern += '*';
    WIN32_FIND_DATAA data{};
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) {
            out.exists = true;  // an empty root directory
        } else if (code != ERROR_PATH_NOT_FOUND && code != ERROR_DIRECTORY &&
                   code != ERROR_INVALID_NAME) {
            out.exists = true;
            out.error = IoErrorText(code);
        }
        return out;
    }
    out.exists = true;
    do {
        constexpr DWORD kSkip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
        if ((data.dwFileAttributes & kSkip) == 0 && accept(data.cFileName)) {
            const std::int64_t size =
                (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            const std::int64_t modified =
                static_cast<std::int64_t>((static_cast<std::uint64_t>(
                                               data.ftLastWriteTime.dwHighDateTime)
                                           << 32) |
                                          data.ftLastWriteTime.dwLowDateTime);
            out.files.push_back({data.cFileName, size, modified});
        }
    } while (::FindNextFileA(find, &data));
    const DWORD code = ::GetLastError();
    if (code != ERROR_NO_MORE_FILES) {
        out.error = IoErrorText(code);
    }
    ::FindClose(find);
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
