// Hostile PK3 archives of maps that inflate to 250 MB of zeros each: what one costs the scan,
// how soon a cancelled scan ends, and what closing and reopening the browser costs its thread
// while such a scan runs. Counters: inflatedMB (what the scan inflated), maps (listed).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QTreeWidget>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "maps/BrowserScan.h"
#include "maps/Pk3Scan.h"
#include "ui/maps/MapBrowse.h"

namespace fenmar::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kEntrySize = 250u * 1000 * 1000;

void Put(std::string& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

// A BSP of kEntrySize bytes, zeros but for its header, whose entities lie at its very end.
std::string Deflated(std::uint32_t& crc) {
    std::string header(124, '\0');
    header[0] = 29;
    std::string fields;
    Put(fields, kEntrySize - 256, 4);
    Put(fields, 256, 4);
    header.replace(4, 8, fields);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, kEntrySize), '\0');
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    std::string zeros(1 << 20, '\0');
    crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(header.data()), 124));
    z.next_in = reinterpret_cast<Bytef*>(header.data());
    z.avail_in = 124;
    deflate(&z, Z_NO_FLUSH);
    for (std::uint32_t left = kEntrySize - 124; left > 0;) {
        const auto n = static_cast<uInt>(std::min<std::size_t>(left, zeros.size()));
        crc =
            static_cast<std::uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(zeros.data()), n));
        z.next_in = reinterpret_cast<Bytef*>(zeros.data());
        z.avail_in = n;
        deflate(&z, left == n ? Z_FINISH : Z_NO_FLUSH);
        left -= n;
    }
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// `records` central records named maps/mN.bsp; `shared`: all of them for one local entry,
// else each with a local entry of its own (the same compressed bytes again).
void WriteArchive(const std::string& path, int records, bool shared) {
    std::uint32_t crc = 0;
    const std::string data = Deflated(crc);
    std::string body;
    std::string central;
    for (int i = 0; i < records; ++i) {
        const std::string name = "maps/m" + std::to_string(i) + ".bsp";
        const std::size_t offset = shared ? 0 : body.size();
        if (!shared || i == 0) {
            Put(body, 0x04034b50, 4);
            for (const std::uint64_t v : {20u, 0u, 8u, 0u, 0u}) {
                Put(body, v, 2);
            }
            Put(body, crc, 4);
            Put(body, data.size(), 4);
            Put(body, kEntrySize, 4);
            Put(body, name.size(), 2);
            Put(body, 0, 2);
            body += name + data;
        }
        Put(central, 0x02014b50, 4);
        for (const std::uint64_t v : {20u, 20u, 0u, 8u, 0u, 0u}) {
            Put(central, v, 2);
        }
        Put(central, crc, 4);
        Put(central, data.size(), 4);
        Put(central, kEntrySize, 4);
        Put(central, name.size(), 2);
        for (int k = 0; k < 4; ++k) {
            Put(central, 0, 2);
        }
        Put(central, 0, 4);
        Put(central, offset, 4);
        central += name;
    }
    std::string end;
    Put(end, 0x06054b50, 4);
    Put(end, 0, 4);
    Put(end, static_cast<std::uint64_t>(records), 2);
    Put(end, static_cast<std::uint64_t>(records), 2);
    Put(end, central.size(), 4);
    Put(end, body.size(), 4);
    Put(end, 0, 2);
    std::ofstream(path, std::ios::binary) << body << central << end;
}

struct Hostile {
    std::string quakeDir;
    std::string shared;    // 30 records, one entry: the shape of the reported archive
    std::string distinct;  // 8 entries of their own
    ~Hostile() {
        std::error_code ignored;
        std::filesystem::remove_all(quakeDir, ignored);
    }
};

const Hostile& Archives() {
    static Hostile h;
    if (h.quakeDir.empty()) {
        std::random_device seed;
        const auto root = std::filesystem::temp_directory_path() /
                          ("fenmar-bench-hostile-" + std::to_string(seed()));
        std::filesystem::create_directories(root / "id1" / "maps");
        std::filesystem::create_directories(root / "shared");
        std::filesystem::create_directories(root / "distinct");
        h.quakeDir = root.string();
        h.shared = (root / "shared" / "bomb.pk3").string();
        h.distinct = (root / "distinct" / "bomb.pk3").string();
        WriteArchive(h.shared, 30, true);
        WriteArchive(h.distinct, 8, false);
    }
    return h;
}

void ScanOne(benchmark::State& state, const std::string& path) {
    maps::Pk3Work work;
    std::size_t maps = 0;
    for (auto _ : state) {
        work = maps::Pk3Work{};
        maps = maps::ScanPk3File(path, {}, &work).entries.size();
    }
    state.counters["inflatedMB"] = static_cast<double>(work.inflated) / 1e6;
    state.counters["maps"] = static_cast<double>(maps);
    state.counters["archiveKB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e3;
}

void BM_HostilePk3SharedRecords(benchmark::State& state) {
    ScanOne(state, Archives().shared);
}
BENCHMARK(BM_HostilePk3SharedRecords)->Unit(benchmark::kMillisecond);

void BM_HostilePk3WithinBudget(benchmark::State& state) {
    ScanOne(state, Archives().distinct);
}
BENCHMARK(BM_HostilePk3WithinBudget)->Unit(benchmark::kMillisecond)->Iterations(3);

// The time from setting the cancel flag, 50 ms into the scan, to the scan's end.
void BM_HostilePk3CancelLatency(benchmark::State& state) {
    const Hostile& h = Archives();
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::thread scan([&] {
            maps::ScanContext context;
            context.cancel = &cancel;
            maps::ScanForBrowser({h.quakeDir, "distinct", {}}, context,
                                 [](maps::BrowserList, maps::MapScan) {});
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto start = Clock::now();
        cancel = true;
        scan.join();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_HostilePk3CancelLatency)->UseManualTime()->Unit(benchmark::kMillisecond);

class NoModalUi : public ui::UiServices {
public:
    using ui::UiServices::ShowMessage;
    ui::MessageResult ShowMessage(const ui::MessageRequest&) override {
        return ui::MessageResult::Ok;
    }
    void Beep(ui::BeepKind) override {}
    int ExecModal(QDialog&) override { return 0; }
};

// The browser's own thread: Cancel, reopening and closing again while the scan of the hostile
// archive is busy, 50 ms after it started.
void BM_BrowserCloseAndReopenWhileBusy(benchmark::State& state) {
    const Hostile& h = Archives();
    NoModalUi services;
    ui::AppContext context(services);
    context.globals.Profile.SetText(TextField::QuakePath, h.quakeDir);
    context.globals.Profile.SetText(TextField::GamePatch, "distinct");
    ui::TMapBrowse browser(context);
    browser.SetCacheFile("");
    for (auto _ : state) {
        browser.FormShow();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const auto start = Clock::now();
        browser.reject();
        browser.FormShow();
        browser.reject();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_BrowserCloseAndReopenWhileBusy)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fenmar::bench
