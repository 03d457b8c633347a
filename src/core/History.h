#pragma once
// The recent-entry lists of the patch, demo and server boxes.

#include <cstddef>
#include <string>
#include <vector>

namespace fenmar {

// History sizes: entries kept below the placeholder.
inline constexpr std::size_t kPatchHistorySize = 20;
inline constexpr std::size_t kDemoHistorySize = 20;
inline constexpr std::size_t kServerHistorySize = 50;

// `items[0]` is the placeholder "<none>", newest entries follow. Adds `text` as item 1 unless it
// is unset or already listed (ignoring case as the settings store does, accented letters
// included, so the stored list never holds two entries the store reads as one); then drops the
// oldest entries beyond `size`. Returns whether the list changed.
bool AddToHistory(std::vector<std::string>& items, const std::string& text, std::size_t size);

}  // namespace fenmar
