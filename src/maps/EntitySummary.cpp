#include "maps/EntitySummary.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace fenmar::maps {

namespace {

// Every entity class the original game's code spawns, sorted.
constexpr std::string_view kKnownClasses[] = {
    "air_bubbles",
    "ambient_comp_hum",
    "ambient_drip",
    "ambient_drone",
    "ambient_flouro_buzz",
    "ambient_light_buzz",
    "ambient_suck_wind",
    "ambient_swamp1",
    "ambient_swamp2",
    "ambient_thunder",
    "event_lightning",
    "func_bossgate",
    "func_button",
    "func_door",
    "func_door_secret",
    "func_episodegate",
    "func_illusionary",
    "func_plat",
    "func_train",
    "func_wall",
    "info_intermission",
    "info_notnull",
    "info_null",
    "info_player_coop",
    "info_player_deathmatch",
    "info_player_start",
    "info_player_start2",
    "info_teleport_destination",
    "item_armor1",
    "item_armor2",
    "item_armorInv",
    "item_artifact_envirosuit",
    "item_artifact_invisibility",
    "item_artifact_invulnerability",
    "item_artifact_super_damage",
    "item_cells",
    "item_health",
    "item_key1",
    "item_key2",
    "item_rockets",
    "item_shells",
    "item_sigil",
    "item_spikes",
    "item_weapon",
    "light",
    "light_flame_large_yellow",
    "light_flame_small_white",
    "light_flame_small_yellow",
    "light_fluoro",
    "light_fluorospark",
    "light_globe",
    "light_torch_small_walltorch",
    "misc_explobox",
    "misc_explobox2",
    "misc_fireball",
    "misc_noisemaker",
    "misc_teleporttrain",
    "monster_army",
    "monster_boss",
    "monster_demon1",
    "monster_dog",
    "monster_enforcer",
    "monster_fish",
    "monster_hell_knight",
    "monster_knight",
    "monster_ogre",
    "monster_ogre_marksman",
    "monster_oldone",
    "monster_shalrath",
    "monster_shambler",
    "monster_tarbaby",
    "monster_wizard",
    "monster_zombie",
    "noclass",
    "path_corner",
    "test_fodder",
    "test_teleport",
    "testplayerstart",
    "trap_shooter",
    "trap_spikeshooter",
    "trigger_changelevel",
    "trigger_counter",
    "trigger_hurt",
    "trigger_monsterjump",
    "trigger_multiple",
    "trigger_once",
    "trigger_onlyregistered",
    "trigger_push",
    "trigger_relay",
    "trigger_secret",
    "trigger_setskill",
    "trigger_teleport",
    "viewthing",
    "weapon_grenadelauncher",
    "weapon_lightning",
    "weapon_nailgun",
    "weapon_rocketlauncher",
    "weapon_supernailgun",
    "weapon_supershotgun",
    "worldspawn",
};

static_assert(std::ranges::is_sorted(kKnownClasses), "looked up by binary search");

// The spawn flags that keep an entity out of each column of Play.
constexpr std::array<std::int64_t, 4> kNotIn = {256, 512, 1024, 2048};

// The game's tokenizer: blanks and // comments between tokens, quoted strings, and the
// braces as tokens of their own. False at the end of the text.
bool NextToken(std::string_view& text, std::string_view& token) {
    for (;;) {
        while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
            text.remove_prefix(1);
        }
        if (text.size() >= 2 && text[0] == '/' && text[1] == '/') {
            const std::size_t end = text.find('\n');
            text.remove_prefix(end == std::string_view::npos ? text.size() : end);
            continue;
        }
        break;
    }
    if (text.empty()) {
        return false;
    }
    if (text.front() == '"') {
        text.remove_prefix(1);
        const std::size_t end = text.find('"');
        token = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        return true;
    }
    if (text.front() == '{' || text.front() == '}') {
        token = text.substr(0, 1);
        text.remove_prefix(1);
        return true;
    }
    std::size_t n = 0;
    while (n < text.size() && static_cast<unsigned char>(text[n]) > ' ' && text[n] != '{' &&
           text[n] != '}' && text[n] != '"') {
        ++n;
    }
    token = text.substr(0, n);
    text.remove_prefix(n);
    return true;
}

// Like the game's atof: a leading number, "256.000" as 256, anything else as 0.
std::int64_t Flags(std::string_view value) {
    while (!value.empty() && value.front() == ' ') {
        value.remove_prefix(1);
    }
    std::int64_t n = 0;
    std::from_chars(value.data(), value.data() + value.size(), n);
    return n;
}

struct Entity {
    std::string_view classname;
    std::int64_t spawnflags = 0;
};

void Count(const Entity& e, EntitySummary& s, std::vector<std::string>& unknown) {
    const std::string_view c = e.classname;
    const bool monster = c.starts_with("monster_");
    const bool secret = c == "trigger_secret";
    for (std::size_t p = 0; p < 4; ++p) {
        if ((e.spawnflags & kNotIn[p]) != 0) {
            continue;
        }
        s.monsters[p] += monster ? 1 : 0;
        s.secrets[p] += secret ? 1 : 0;
    }
    s.singlePlayer = s.singlePlayer || c == "info_player_start";
    s.coop = s.coop || c == "info_player_coop";
    s.deathmatch = s.deathmatch || c == "info_player_deathmatch";
    if (!c.empty() && !IsKnownClass(c) && unknown.size() < kMaxUnknownClasses &&
        std::find(unknown.begin(), unknown.end(), c) == unknown.end()) {
        unknown.emplace_back(c);
    }
}

void PutInt(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

bool TakeInt(std::string_view& in, std::uint32_t& v) {
    if (in.size() < 4) {
        return false;
    }
    v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    }
    in.remove_prefix(4);
    return true;
}

}  // namespace

std::string EntitySummary::Modes() const {
    std::string out;
    for (const auto& [on, name] :
         {std::pair{singlePlayer, "SP"}, std::pair{coop, "coop"}, std::pair{deathmatch, "DM"}}) {
        if (on) {
            out += out.empty() ? "" : " ";
            out += name;
        }
    }
    return out;
}

Play PlayOfSkill(int skill) {
    return skill <= 0 ? Play::Easy : skill == 1 ? Play::Normal : Play::Hard;
}

bool IsKnownClass(std::string_view classname) {
    return std::binary_search(std::begin(kKnownClasses), std::end(kKnownClasses), classname);
}

EntitySummary SummarizeEntities(std::string_view text) {
    EntitySummary summary;
    std::vector<std::string> unknown;
    std::string_view token;
    while (NextToken(text, token)) {
        if (token != "{") {
            continue;  // stray text between entities
        }
        Entity entity;
        while (NextToken(text, token) && token != "}") {
            std::string_view value;
            if (token == "{" || !NextToken(text, value) || value == "}") {
                break;
            }
            if (token == "classname") {
                entity.classname = value;
            } else if (token == "spawnflags") {
                entity.spawnflags = Flags(value);
            }
        }
        Count(entity, summary, unknown);
    }
    std::sort(unknown.begin(), unknown.end());
    summary.unknownClasses = std::move(unknown);
    return summary;
}

EntitySummary ReadEntitySummary(BinaryReader& reader, std::int64_t start, std::size_t& budget) {
    const std::int32_t offset = reader.ReadInt32(start + 4);
    const std::int32_t length = reader.ReadInt32(start + 8);
    if (offset < 0 || length <= 0) {
        return {};
    }
    const std::size_t wanted = std::min({static_cast<std::size_t>(length), kMaxEntityText, budget});
    std::vector<std::uint8_t> bytes(wanted);
    bytes.resize(reader.ReadSome(start + offset, bytes));
    budget -= wanted;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return SummarizeEntities(text.substr(0, text.find('\0')));
}

std::string PackSummary(const EntitySummary& summary) {
    std::string out;
    for (const std::int32_t n : summary.monsters) {
        PutInt(out, static_cast<std::uint32_t>(n));
    }
    for (const std::int32_t n : summary.secrets) {
        PutInt(out, static_cast<std::uint32_t>(n));
    }
    out += static_cast<char>((summary.singlePlayer ? 1 : 0) | (summary.coop ? 2 : 0) |
                             (summary.deathmatch ? 4 : 0));
    for (const std::string& name : summary.unknownClasses) {
        PutInt(out, static_cast<std::uint32_t>(name.size()));
        out += name;
    }
    return out;
}

std::optional<EntitySummary> UnpackSummary(std::string_view bytes) {
    EntitySummary s;
    std::uint32_t v = 0;
    for (std::int32_t* n : {&s.monsters[0], &s.monsters[1], &s.monsters[2], &s.monsters[3],
                            &s.secrets[0], &s.secrets[1], &s.secrets[2], &s.secrets[3]}) {
        if (!TakeInt(bytes, v) || v > 0x7FFFFFFFu) {
            return std::nullopt;
        }
        *n = static_cast<std::int32_t>(v);
    }
    if (bytes.empty() || static_cast<unsigned char>(bytes.front()) > 7) {
        return std::nullopt;
    }
    const auto modes = static_cast<unsigned char>(bytes.front());
    bytes.remove_prefix(1);
    s.singlePlayer = (modes & 1) != 0;
    s.coop = (modes & 2) != 0;
    s.deathmatch = (modes & 4) != 0;
    while (!bytes.empty()) {
        if (!TakeInt(bytes, v) || v > bytes.size() ||
            s.unknownClasses.size() >= kMaxUnknownClasses) {
            return std::nullopt;
        }
        s.unknownClasses.emplace_back(bytes.substr(0, v));
        bytes.remove_prefix(v);
    }
    return s;
}

}  // namespace fenmar::maps
