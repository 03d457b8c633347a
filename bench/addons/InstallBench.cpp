// Installing an add-on of 10 and of 100 MiB: the peak memory must not grow with its size.
// The counters report the process's peak resident size during the install (VmHWM, reset
// before it through /proc/self/clear_refs) and its growth over the resident size before.
#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "addons/Install.h"
#include "addons/Installed.h"

namespace {

namespace fs = std::filesystem;
using namespace fenmar::addons;

// A status line of /proc/self/status in KiB.
std::int64_t StatusKiB(const std::string& key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::stoll(line.substr(key.size() + 1));
        }
    }
    return -1;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Pseudo-random content (it does not compress) written in 1 MiB pieces, then zipped as one
// large map and a few small files; libzip reads the content from the file as it writes.
std::string MakeZip(const fs::path& dir, std::int64_t mib) {
    const fs::path payload = dir / "payload.bin";
    {
        std::ofstream out(payload, std::ios::binary);
        std::mt19937_64 random(42);
        std::vector<std::uint64_t> chunk((1 << 20) / sizeof(std::uint64_t));
        for (std::int64_t i = 0; i < mib; ++i) {
            for (auto& word : chunk) {
                word = random();
            }
            out.write(reinterpret_cast<const char*>(chunk.data()),
                      static_cast<std::streamsize>(chunk.size() * sizeof(std::uint64_t)));
        }
    }
    const std::string zipPath = (dir / "big.zip").string();
    int code = 0;
    zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    zip_file_add(archive, "maps/big.bsp", zip_source_file(archive, payload.c_str(), 0, -1), 0);
    static const std::string readme = "A large release for the benchmark.\n";
    for (const char* name : {"readme.txt", "maps/big.lit", "progs/extra.mdl"}) {
        zip_file_add(archive, name, zip_source_buffer(archive, readme.data(), readme.size(), 0), 0);
    }
    zip_close(archive);
    fs::remove(payload);
    return zipPath;
}

void BM_InstallLargeAddOn(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() /
                         ("fenmar-bench-install-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir / "quake" / "id1");
    const std::string quake = (dir / "quake").string();
    const std::string zip = MakeZip(dir, state.range(0));
    AddOn addOn;
    addOn.id = "bigrelease";
    addOn.zipBaseDir = "id1";
    std::int64_t peak = 0;
    std::int64_t growth = 0;
    for (auto _ : state) {
        const std::int64_t before = StatusKiB("VmRSS");
        ResetPeak();
        const InstallPlan plan = PlanInstall(quake, addOn, zip);
        const InstallResult result = Install(plan, false);
        const std::int64_t high = StatusKiB("VmHWM");
        if (!result.Ok()) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        peak = std::max(peak, high);
        growth = std::max(growth, high - before);
        state.PauseTiming();
        RemoveAddOn(quake, addOn.id);
        state.ResumeTiming();
    }
    state.counters["PeakRSS_MiB"] = static_cast<double>(peak) / 1024.0;
    state.counters["RSSGrowth_MiB"] = static_cast<double>(growth) / 1024.0;
    state.SetBytesProcessed(state.iterations() * state.range(0) * (std::int64_t{1} << 20));
    std::error_code ec;
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_InstallLargeAddOn)->Arg(10)->Arg(100)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
