#pragma once
// The least work the system must do for the scans' results: list the directory, then per map
// open, read the entities offset, read the 255-byte window, close; for a PAK one read of its
// directory and the same two reads per map. Each returns how many windows were read.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fenmar::bench {

inline std::int32_t FloorInt32(const unsigned char* p) {
    std::int32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

inline std::size_t ReadTitleWindow(int fd, off_t start) {
    unsigned char offset[4];
    unsigned char window[255];
    if (::pread(fd, offset, 4, start + 4) != 4) {
        return 0;
    }
    return ::pread(fd, window, sizeof window, start + FloorInt32(offset)) == 255 ? 1 : 0;
}

inline std::size_t LooseFloor(const std::string& dirPath) {
    std::size_t read = 0;
    DIR* dir = ::opendir(dirPath.c_str());
    if (dir == nullptr) {
        return 0;
    }
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.') {
            continue;
        }
        const std::string path = dirPath + "/" + e->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        read += ReadTitleWindow(fd, 0);
        ::close(fd);
    }
    ::closedir(dir);
    return read;
}

inline std::size_t PakFloor(const std::string& pakPath) {
    const int fd = ::open(pakPath.c_str(), O_RDONLY | O_CLOEXEC);
    unsigned char header[12];
    std::size_t read = 0;
    if (::pread(fd, header, 12, 0) == 12) {
        std::vector<unsigned char> directory(static_cast<std::size_t>(FloorInt32(header + 8)));
        ::pread(fd, directory.data(), directory.size(), FloorInt32(header + 4));
        for (std::size_t at = 0; at + 64 <= directory.size(); at += 64) {
            read += ReadTitleWindow(fd, FloorInt32(&directory[at + 56]));
        }
    }
    ::close(fd);
    return read;
}

}  // namespace fenmar::bench
