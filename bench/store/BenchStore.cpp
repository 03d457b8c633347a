// The settings store's figures: a full save (about 120 values in 12 keys, in one
// transaction, with the deletes SaveSettings does), a full load, enumerating 200 subkeys,
// and opening the store. All on a SQLite file in a temporary directory.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/OpenStore.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"

namespace {

using namespace fenmar::store;

const std::string R(kFenmarRoot);

class TempFile {
public:
    TempFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fenmar-bench-XXXXXX").string();
        dir_ = mkdtemp(pattern.data()) != nullptr ? pattern : "/tmp";
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string File() const { return dir_ + "/settings.sqlite"; }

private:
    std::string dir_;
};

std::vector<std::string> List(const std::string& prefix, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(prefix + std::to_string(i));
    }
    return out;
}

// SaveSettings and SaveQuickSet("") in miniature: 12 keys, 119 values.
void FullSave(Store& store) {
    Transaction transaction(store);
    Key root = CreateKey(store, R);
    RegWriteString(root, "Author", "Ardwell");
    RegWriteString(root, "Version", "1.30");

    Key internal = CreateKey(store, R + "\\Internal");
    RegWriteString(internal, "Quake Path", "/home/player/games/quake");
    RegWriteString(internal, "Patch Path", "/home/player/games/quake");
    RegWriteString(internal, "QSpy executable", "qw.exe");
    RegWriteInteger(internal, "Delete CONFIG.CFGs", 5);
    RegWriteInteger(internal, "MinBSPSize", 20);
    RegWriteBool(internal, "DontScanBSPMsgs", false);

    store.DeleteKey(R + "\\Executables");
    Key executables = CreateKey(store, R + "\\Executables");
    for (int i = 0; i < 8; ++i) {
        RegWriteString(executables, "Engine " + std::to_string(i), "engine" + std::to_string(i));
    }
    RegWriteStringList(CreateKey(store, R + "\\Global params"), List("-param", 5));

    store.DeleteKey(R + "\\MRUs");
    RegWriteStringList(CreateKey(store, R + "\\MRUs\\Patches"), List("patch", 10));
    RegWriteStringList(CreateKey(store, R + "\\MRUs\\Demos"), List("demo", 10));
    RegWriteStringList(CreateKey(store, R + "\\MRUs\\Server"), List("server", 10));
    RegWriteInteger(CreateKey(store, R + "\\QuickSets"), "CurrentSelected", 0);

    Key general = CreateKey(store, R + "\\General");
    for (int i = 0; i < 22; ++i) {
        RegWriteString(general, "Text" + std::to_string(i), "some value " + std::to_string(i));
    }
    Key multiplayer = CreateKey(store, R + "\\Multiplayer");
    for (int i = 0; i < 18; ++i) {
        RegWriteInteger(multiplayer, "Number" + std::to_string(i), i);
    }
    Key network = CreateKey(store, R + "\\Network");
    for (int i = 0; i < 12; ++i) {
        RegWriteBool(network, "Flag" + std::to_string(i), i % 2 == 0);
    }
    RegWriteStringList(CreateKey(store, R + "\\Additional Params"), List("+set x", 10));
    transaction.Commit();
}

void FullLoad(Store& store) {
    std::vector<std::string> texts;
    std::int64_t sum = 0;
    if (Key root = OpenKey(store, R)) {
        texts.push_back(RegReadString(root, "Version"));
    }
    if (Key internal = OpenKey(store, R + "\\Internal")) {
        texts.push_back(RegReadString(internal, "Quake Path"));
        texts.push_back(RegReadString(internal, "Patch Path"));
        texts.push_back(RegReadString(internal, "QSpy executable"));
        sum += RegReadInteger(internal, "Delete CONFIG.CFGs");
        sum += RegReadInteger(internal, "MinBSPSize");
        sum += RegReadBool(internal, "DontScanBSPMsgs");
    }
    if (Key executables = OpenKey(store, R + "\\Executables")) {
        std::vector<NamedValue> values;
        store.EnumValues(executables.Path(), values);
        sum += static_cast<std::int64_t>(values.size());
    }
    RegReadStringList(OpenKey(store, R + "\\Global params"), texts);
    RegReadStringList(OpenKey(store, R + "\\MRUs\\Patches"), texts, true, 20);
    RegReadStringList(OpenKey(store, R + "\\MRUs\\Demos"), texts, true, 20);
    RegReadStringList(OpenKey(store, R + "\\MRUs\\Server"), texts, true, 50);
    if (Key quickSets = OpenKey(store, R + "\\QuickSets")) {
        std::vector<std::string> names;
        store.EnumSubkeys(quickSets.Path(), names);
        sum += RegReadInteger(quickSets, "CurrentSelected");
    }
    if (Key general = OpenKey(store, R + "\\General")) {
        for (int i = 0; i < 22; ++i) {
            texts.push_back(RegReadString(general, "Text" + std::to_string(i)));
        }
    }
    if (Key multiplayer = OpenKey(store, R + "\\Multiplayer")) {
        for (int i = 0; i < 18; ++i) {
            sum += RegReadInteger(multiplayer, "Number" + std::to_string(i));
        }
    }
    if (Key network = OpenKey(store, R + "\\Network")) {
        for (int i = 0; i < 12; ++i) {
            sum += RegReadBool(network, "Flag" + std::to_string(i));
        }
    }
    RegReadStringList(OpenKey(store, R + "\\Additional Params"), texts);
    benchmark::DoNotOptimize(texts);
    benchmark::DoNotOptimize(sum);
}

void BM_FullSave(benchmark::State& state) {
    TempFile file;
    OpenResult opened = OpenStoreAt(file.File());
    for (auto _ : state) {
        FullSave(*opened.store);
    }
}
BENCHMARK(BM_FullSave)->Unit(benchmark::kMillisecond);

void BM_FullLoad(benchmark::State& state) {
    TempFile file;
    OpenResult opened = OpenStoreAt(file.File());
    FullSave(*opened.store);
    for (auto _ : state) {
        FullLoad(*opened.store);
    }
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond);

void Make200Subkeys(Store& store) {
    Transaction transaction(store);
    for (int i = 0; i < 200; ++i) {
        store.CreateKey(R + "\\QuickSets\\Quick-Set number " + std::to_string(i));
    }
    transaction.Commit();
}

void BM_EnumerateSubkeys200(benchmark::State& state) {
    TempFile file;
    OpenResult opened = OpenStoreAt(file.File());
    Make200Subkeys(*opened.store);
    std::vector<std::string> names;
    for (auto _ : state) {
        opened.store->EnumSubkeys(R + "\\QuickSets", names);
        benchmark::DoNotOptimize(names);
    }
    state.counters["subkeys"] = static_cast<double>(names.size());
}
BENCHMARK(BM_EnumerateSubkeys200)->Unit(benchmark::kMillisecond);

// The same by index through the plug-in functions, as a plug-in (or the settings import) enumerates.
void BM_EnumerateSubkeys200ByIndex(benchmark::State& state) {
    TempFile file;
    OpenResult opened = OpenStoreAt(file.File());
    Make200Subkeys(*opened.store);
    SetPlugInStore(opened.store.get());
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, (R + "\\QuickSets").c_str(), 0, KEY_ALL_ACCESS, &key);
    DWORD count = 0;
    for (auto _ : state) {
        char name[256];
        count = 0;
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            ++count;
        }
    }
    RegCloseKey(key);
    SetPlugInStore(nullptr);
    state.counters["subkeys"] = count;
}
BENCHMARK(BM_EnumerateSubkeys200ByIndex)->Unit(benchmark::kMillisecond);

void BM_OpenExistingStore(benchmark::State& state) {
    TempFile file;
    FullSave(*OpenStoreAt(file.File()).store);
    for (auto _ : state) {
        OpenResult opened = OpenStoreAt(file.File());
        benchmark::DoNotOptimize(opened.store);
    }
}
BENCHMARK(BM_OpenExistingStore)->Unit(benchmark::kMillisecond);

}  // namespace
