#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

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

// Each thread asks the system about at least this many files, so a folder of twice as many
// or more is shared out: each question is a path lookup in the kernel, and a large map folder
// spends most of its listing there.
constexpr std::size_t kStatsPerThread = 512;
constexpr unsigned kMaxStatThreads = 4;

// Fills in size, times and identity of the files at the positions `which` (names relative to
// the open directory `fd`); one that cannot be asked or is no regular file gets the size -2.
void StatAll(int fd, std::vector<FileInfo>& files, const std::vector<std::size_t>& which) {
    const auto statRange = [fd, &files, &which](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            FileInfo& file = files[which[i]];
            struct stat st {};
            if (::fstatat(fd, file.name.c_str(), &st, 0) != 0 || !S_ISREG(st.st_mode)) {
                file.size = -2;  // vanished meanwhile, a dangling link, a device or a directory
                continue;
            }
            file.size = static_cast<std::int64_t>(st.st_size);
            file.modified = Ticks(st.st_mtim);
            file.changed = Ticks(st.st_ctim);
            file.identity = static_cast<std::uint64_t>(st.st_ino);
        }
    };
    const std::size_t count = which.size();
    const auto wanted =
        std::min<std::size_t>({count / kStatsPerThread,
                               std::max(1U, std::thread::hardware_concurrency()), kMaxStatThreads});
    std::vector<std::thread> helpers;
    const std::size_t share = wanted > 1 ? (count + wanted - 1) / wanted : count;
    try {
        for (std::size_t begin = share; begin < count; begin += share) {
            helpers.emplace_back(statRange, begin, std::min(count, begin + share));
        }
    } catch (const std::system_error&) {
        // No thread to be had: this one asks for the rest itself.
        const std::size_t asked = share * (helpers.size() + 1);
        statRange(asked, count);
    }
    statRange(0, std::min(count, share));
    for (std::thread& helper : helpers) {
        helper.join();
    }
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
    std::vector<std::size_t> ask;  // the files the system is to be asked about
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
        // A regular file the caller needs no size of is taken as listed (size unknown, -1).
        if (e->d_type != DT_REG || withSizes) {
            ask.push_back(out.files.size());
        }
        out.files.push_back({std::string(name), -1});
    }
    if (ask.empty()) {
        return out;
    }
    StatAll(::dirfd(d.get()), out.files, ask);
    std::erase_if(out.files, [](const FileInfo& file) { return file.size == -2; });
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
