// The least work the system must do for the same results: list the directory, then per map
// open, read the entities offset, read the 255-byte window, close; for the archive one read
// of its directory and the same two reads per map.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "MapCollection.h"

namespace fenmar::bench {
namespace {

std::int32_t Int32(const unsigned char* p) {
    std::int32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

std::size_t ReadTitleWindow(int fd, off_t start) {
    unsigned char offset[4];
    unsigned char window[255];
    if (::pread(fd, offset, 4, start + 4) != 4) {
        return 0;
    }
    return ::pread(fd, window, sizeof window, start + Int32(offset)) == 255 ? 1 : 0;
}

void BM_BaselineLooseMaps(benchmark::State& state) {
    const MapCollection& c = Collection();
    for (auto _ : state) {
        std::size_t read = 0;
        DIR* dir = ::opendir(c.looseDir.c_str());
        while (const dirent* e = ::readdir(dir)) {
            if (e->d_name[0] == '.') {
                continue;
            }
            const std::string path = c.looseDir + "/" + e->d_name;
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            read += ReadTitleWindow(fd, 0);
            ::close(fd);
        }
        ::closedir(dir);
        if (read != kMapCount) {
            state.SkipWithError("wrong map count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_BaselineLooseMaps)->Unit(benchmark::kMillisecond);

void BM_BaselinePak(benchmark::State& state) {
    const MapCollection& c = Collection();
    std::vector<unsigned char> directory;
    for (auto _ : state) {
        const int fd = ::open(c.pakPath.c_str(), O_RDONLY | O_CLOEXEC);
        unsigned char header[12];
        std::size_t read = 0;
        if (::pread(fd, header, 12, 0) == 12) {
            directory.resize(static_cast<std::size_t>(Int32(header + 8)));
            ::pread(fd, directory.data(), directory.size(), Int32(header + 4));
            for (std::size_t at = 0; at + 64 <= directory.size(); at += 64) {
                read += ReadTitleWindow(fd, Int32(&directory[at + 56]));
            }
        }
        ::close(fd);
        if (read != kMapCount) {
            state.SkipWithError("wrong map count");
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kMapCount));
}
BENCHMARK(BM_BaselinePak)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
