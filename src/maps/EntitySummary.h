#pragma once
// What a map holds, from the whole of its entities text: monsters and secrets at each skill,
// the kinds of start it offers, and the entity classes the original game's code lacks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maps/BinaryReader.h"

namespace fenmar::maps {

// How much entities text is read at most.
inline constexpr std::size_t kMaxEntityText = 8 * 1024 * 1024;
// How many unknown classes are kept.
inline constexpr std::size_t kMaxUnknownClasses = 32;

// The columns of the counts: the three skills (nightmare plays as hard) and deathmatch.
enum class Play { Easy, Normal, Hard, Deathmatch };

struct EntitySummary {
    std::array<std::int32_t, 4> monsters{};  // by Play
    std::array<std::int32_t, 4> secrets{};
    bool singlePlayer = false;                // info_player_start
    bool coop = false;                        // info_player_coop
    bool deathmatch = false;                  // info_player_deathmatch
    std::vector<std::string> unknownClasses;  // sorted, at most kMaxUnknownClasses

    std::int32_t Monsters(Play p) const { return monsters[static_cast<std::size_t>(p)]; }
    std::int32_t Secrets(Play p) const { return secrets[static_cast<std::size_t>(p)]; }
    // "SP coop DM", the modes present in that order; "" for none.
    std::string Modes() const;
    bool operator==(const EntitySummary&) const = default;
};

// The skill of the launch profile (0 easy .. 3 nightmare) as a column of the counts.
Play PlayOfSkill(int skill);

// Whether the original game's code spawns entities of this class.
bool IsKnownClass(std::string_view classname);

// The summary of an entities text (parsed as the game does: quoted keys and values in braces).
EntitySummary SummarizeEntities(std::string_view text);
// The same for the BSP that starts at `start`: reads at most kMaxEntityText of its entities
// lump, taken from `budget`. Throws ReadError when the header cannot be read.
EntitySummary ReadEntitySummary(BinaryReader& reader, std::int64_t start, std::size_t& budget);

// The summary packed for the cache and back; Unpack gives nullopt for damaged bytes.
std::string PackSummary(const EntitySummary& summary);
std::optional<EntitySummary> UnpackSummary(std::string_view bytes);

}  // namespace fenmar::maps
