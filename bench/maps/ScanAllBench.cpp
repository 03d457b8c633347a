// The whole browser scan (5,000 loose maps, a PAK and a PK3 of 5,000 maps each) against the
// bare system-call floor, first without and then with the title cache, in one run so the
// ratios compare like with like. Counters: x_floor = time / floor, x_first = cached / first,
// x_stat = cached / the system calls any check of the cache needs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "BaselineFloor.h"
#include "MapCollection.h"
#include "maps/BrowserScan.h"

namespace fenmar::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint32_t U16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

// The least work for the PK3: read the central directory, then per map read its local header
// and compressed bytes and inflate the header and the 255-byte window.
std::size_t Pk3Floor(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    const off_t size = ::lseek(fd, 0, SEEK_END);
    unsigned char end[22];
    std::size_t read = 0;
    if (::pread(fd, end, 22, size - 22) == 22) {
        std::vector<unsigned char> central(U32(end + 12));
        ::pread(fd, central.data(), central.size(), U32(end + 16));
        std::vector<unsigned char> compressed;
        unsigned char window[124 + 255 + 256];
        for (std::size_t at = 0; at + 46 <= central.size();
             at += 46 + U16(&central[at + 28]) + U16(&central[at + 30]) + U16(&central[at + 32])) {
            unsigned char local[30];
            const std::uint32_t offset = U32(&central[at + 42]);
            ::pread(fd, local, 30, offset);
            compressed.resize(std::min<std::size_t>(U32(&central[at + 20]), 4096));
            ::pread(fd, compressed.data(), compressed.size(),
                    offset + 30 + U16(local + 26) + U16(local + 28));
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = compressed.data();
            z.avail_in = static_cast<uInt>(compressed.size());
            z.next_out = window;
            z.avail_out = sizeof window;
            inflate(&z, Z_SYNC_FLUSH);
            read += z.total_out == sizeof window ? 1 : 0;
            inflateEnd(&z);
        }
    }
    ::close(fd);
    return read;
}

// One run of the floor over the whole collection, in seconds.
double FloorOnce() {
    const MapCollection& c = Collection();
    const auto start = Clock::now();
    std::size_t read = LooseFloor(c.looseDir) + PakFloor(c.pakPath);
    if (!c.pk3Path.empty()) {
        read += Pk3Floor(c.pk3Path);
    }
    benchmark::DoNotOptimize(read);
    return Seconds(Clock::now() - start);
}

// The least a check of a title cache must ask the system, in seconds: list the loose maps and
// ask for each one's size and times, then the same of the two archives (one thread).
double StatFloorOnce() {
    const MapCollection& c = Collection();
    const auto start = Clock::now();
    std::size_t asked = 0;
    struct stat st {};
    if (DIR* dir = ::opendir(c.looseDir.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            asked += e->d_name[0] != '.' && ::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0;
        }
        ::closedir(dir);
    }
    for (const std::string& archive : {c.pakPath, c.pk3Path}) {
        asked += !archive.empty() && ::stat(archive.c_str(), &st) == 0;
    }
    benchmark::DoNotOptimize(asked);
    return Seconds(Clock::now() - start);
}

std::size_t ScanAll(maps::MapCache* cache, maps::ScanCounters& counters) {
    const MapCollection& c = Collection();
    maps::ScanContext context;
    context.cache = cache;
    std::size_t rows = 0;
    maps::ScanForBrowser(
        {c.quakeDir, "bench", {}}, context,
        [&](maps::BrowserList, maps::MapScan scan) { rows += scan.entries.size(); });
    counters = context.counters;
    return rows;
}

std::size_t ExpectedRows() {
    return Collection().pk3Path.empty() ? 2 * kMapCount : 3 * kMapCount;
}

double firstScanSeconds = 0;

std::string CacheFile() {
    return (std::filesystem::path(Collection().quakeDir) / "cache" / "maps.sqlite").string();
}

// Each iteration also runs the floor once (outside the timing), so the ratio compares runs made
// under the same load of the machine.
void BM_FirstScanAll(benchmark::State& state) {
    double total = 0;
    double floor = 0;
    maps::ScanCounters counters;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::filesystem::remove(CacheFile() + suffix);
        }
        auto cache = maps::MapCache::Open(CacheFile());
        floor += FloorOnce();
        state.ResumeTiming();
        const auto start = Clock::now();
        if (ScanAll(cache.get(), counters) != ExpectedRows()) {
            state.SkipWithError("wrong map count");
        }
        cache.reset();  // includes the cache's last writes
        total += Seconds(Clock::now() - start);
    }
    firstScanSeconds = total / static_cast<double>(state.iterations());
    state.counters["x_floor"] = total / floor;
    state.counters["headersRead"] = static_cast<double>(counters.headersRead);
    state.counters["cacheHits"] = static_cast<double>(counters.cacheHits);
}
BENCHMARK(BM_FirstScanAll)->Unit(benchmark::kMillisecond);

void BM_CachedScanAll(benchmark::State& state) {
    {
        auto cache = maps::MapCache::Open(CacheFile());
        maps::ScanCounters warm;
        ScanAll(cache.get(), warm);
    }
    double total = 0;
    double floor = 0;
    double statFloor = 0;
    maps::ScanCounters counters;
    for (auto _ : state) {
        state.PauseTiming();
        floor += FloorOnce();
        statFloor += StatFloorOnce();
        state.ResumeTiming();
        const auto start = Clock::now();
        auto cache = maps::MapCache::Open(CacheFile());  // each opening opens the cache afresh
        if (ScanAll(cache.get(), counters) != ExpectedRows()) {
            state.SkipWithError("wrong map count");
        }
        total += Seconds(Clock::now() - start);
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["x_floor"] = total / floor;
    state.counters["x_stat"] = total / statFloor;
    if (firstScanSeconds > 0) {
        state.counters["x_first"] = mean / firstScanSeconds;
    }
    state.counters["headersRead"] = static_cast<double>(counters.headersRead);
    state.counters["cacheHits"] = static_cast<double>(counters.cacheHits);
}
BENCHMARK(BM_CachedScanAll)->Unit(benchmark::kMillisecond);

void BM_FloorAll(benchmark::State& state) {
    const MapCollection& c = Collection();
    for (auto _ : state) {
        std::size_t read = LooseFloor(c.looseDir) + PakFloor(c.pakPath);
        if (!c.pk3Path.empty()) {
            read += Pk3Floor(c.pk3Path);
        }
        if (read != ExpectedRows()) {
            state.SkipWithError("wrong map count");
        }
    }
}
BENCHMARK(BM_FloorAll)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fenmar::bench
