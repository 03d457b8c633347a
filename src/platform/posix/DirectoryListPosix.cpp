#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/DirectoryList.h"

namespace fenmar::platform {

namespace {

// The texts the user knows from file errors of the toolkit.
std::string IoErrorText(int code) {
    switch (code) {
        case ENOENT:
            return "File not found";
        case ENOTDIR:
            return "Path not found";
        case EACCES:
        case EPERM:
        case EISDIR:
            return "File access denied";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        default:
            return "I/O error " + std::to_string(code) + " (" + std::strerror(code) + ")";
    }
}

std::int64_t Ticks(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

FileListing ListFiles(const std::string& dir, const std::function<bool(std::string_view)>& accept,
                      bool withSizes) {
    FileListing out;
    std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
    if (!d) {
        const int code = errno;
        if (code != ENOENT && code != ENOTDIR) {
            out.exists = true;
            out.error = IoErrorText(code);
        }
        return out;
    }
    out.exists = true;
    const int fd = ::dirfd(d.get());
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(d.get());
        if (e == nullptr) {
            if (errno != 0) {
                out.error = IoErrorText(errno);
            }
            break;
        }
        const std::string_view name(e->d_name);
        if (e->d_type == DT_DIR || !accept(name)) {
            continue;
        }
        if (e->d_type == DT_REG && !withSizes) {
            out.files.push_back({std::string(name), -1});
            continue;
        }
        struct stat st {};
        if (::fstatat(fd, e->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode)) {
            continue;  // vanished meanwhile, a dangling link, a device or a directory
        }
        out.files.push_back({std::string(name), static_cast<std::int64_t>(st.st_size),
                             Ticks(st.st_mtim), Ticks(st.st_ctim),
                             static_cast<std::uint64_t>(st.st_ino)});
    }
    return out;
}

std::int64_t FileSizeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

std::int64_t ReadOnlyFile::Size() const {
    struct stat st {};
    if (handle_ == kClosed || ::fstat(static_cast<int>(handle_), &st) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

FileInfo ReadOnlyFile::Info() const {
    struct stat st {};
    if (handle_ == kClosed || ::fstat(static_cast<int>(handle_), &st) != 0) {
        return {{}, -1};
    }
    return {{},
            static_cast<std::int64_t>(st.st_size),
            Ticks(st.st_mtim),
            Ticks(st.st_ctim),
            static_cast<std::uint64_t>(st.st_ino)};
}

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error_ = IoErrorText(errno);
        return false;
    }
    handle_ = fd;
    error_.clear();
    return true;
}

void ReadOnlyFile::Close() {
    if (handle_ != kClosed) {
        ::close(static_cast<int>(handle_));
        handle_ = kClosed;
    }
}

std::int64_t ReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
    if (handle_ == kClosed) {
        error_ = IoErrorText(EBADF);
        return -1;
    }
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(static_cast<int>(handle_), bytes + done, size - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = IoErrorText(errno);
            return -1;
        }
        if (n == 0) {
            break;  // the end of the file
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<std::int64_t>(done);
}

}  // namespace fenmar::platform
