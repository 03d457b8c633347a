#pragma once
// The title of a Quake map: the "message" of the first entity of a BSP file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "maps/BinaryReader.h"

namespace fenmar::maps {

inline constexpr std::string_view kNoDescription = "<no description>";
inline constexpr std::string_view kNotScanned = "<not scanned>";

// The bytes of the entities text looked at first.
inline constexpr std::size_t kTitleWindow = 255;
// How far a first entity that does not end inside the window is followed.
inline constexpr std::size_t kMaxFirstEntity = 64 * 1024;
// How many bytes beyond the windows one scan of a folder or archive takes in all for such
// entities (only what the titles need is charged).
inline constexpr std::size_t kScanExtensionBudget = 16 * 1024 * 1024;

// Quake's console characters mapped to plain ASCII, one byte for one byte.
std::string ConvertQuakeChars(std::string_view text);

// The cleaned title of the BSP that starts at `start`, or kNoDescription. Throws ReadError when
// the header or the first window cannot be read. Reads beyond the window (only when it holds
// neither '}' nor NUL nor the whole title) are charged to `extensionBudget`, the bytes taken
// into the entity's text. When the budget runs out before the entity or its title ends,
// `*cutShort` is set: the title is then what the bytes read hold, and may be wrong.
std::string ReadBSPMessage(BinaryReader& reader, std::int64_t start, std::size_t& extensionBudget,
                           bool* cutShort = nullptr);
std::string ReadBSPMessage(BinaryReader& reader, std::int64_t start);

}  // namespace fenmar::maps
