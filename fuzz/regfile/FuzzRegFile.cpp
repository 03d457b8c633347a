// libFuzzer target for the .reg reader (fenmar-reg import). Beyond "no crash, no undefined
// behaviour" it checks two properties of every file the reader accepts:
//   - it can be applied to a store, and the export of that store is read back without error;
//   - importing that export into a fresh store exports the same text again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "store/OpenStore.h"
#include "store/RegFile.h"

namespace {

using namespace fenmar::store;

[[noreturn]] void Fail() {
    std::abort();
}

std::string ImportAndExport(const std::vector<RegOperation>& operations) {
    auto store = OpenMemoryStore();
    if (store == nullptr) {
        Fail();
    }
    std::string error;
    if (!ApplyRegOperations(*store, operations, error)) {
        Fail();  // everything the reader accepts must be storable
    }
    std::string out;
    std::vector<std::string> warnings;
    if (!ExportRegFile(*store, "", out, warnings, error)) {
        Fail();
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RegParse parsed = ParseRegFile(bytes);
    if (!parsed.ok) {
        if (parsed.errorLine < 1 || parsed.error.empty() || !parsed.operations.empty()) {
            Fail();
        }
        return 0;
    }
    if (parsed.operations.size() > 5000) {
        return 0;  // keep each run short
    }
    const std::string first = ImportAndExport(parsed.operations);
    const RegParse again = ParseRegFile(first);
    if (!again.ok) {
        Fail();
    }
    if (ImportAndExport(again.operations) != first) {
        Fail();
    }
    return 0;
}
