// Any bytes as a BSP file: the title reader either returns a text of plain characters or
// reports a read error, within bounded memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "maps/BspMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    fenmar::maps::MemorySource source(bytes);
    fenmar::maps::BinaryReader reader(source);
    try {
        const std::string title = fenmar::maps::ReadBSPMessage(reader, 0);
        if (title.size() > fenmar::maps::kMaxFirstEntity) {
            std::abort();
        }
        for (const char c : title) {
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7F) {
                std::abort();  // the character table yields printable ASCII only
            }
        }
    } catch (const fenmar::maps::ReadError&) {
    }
    return 0;
}
