#include "maps/BspMessage.h"

#include <algorithm>
#include <array>
#include <vector>

namespace fenmar::maps {

namespace {

char ConvertQuakeChar(std::uint8_t c) {
    if (c >= 0x80) {
        if (c >= 0xA1) {
            return static_cast<char>(c - 0x80);
        }
        c = static_cast<std::uint8_t>(c - 0x80);  // 80-A0 repeat 00-20, with a few exceptions
        if (c <= 0x02) {
            return '=';
        }
        if (c == 0x0D) {
            return '>';
        }
        if (c <= 0x0F) {
            return ' ';
        }
    }
    if (c <= 0x0F || c == 0x1C) {
        return ' ';
    }
    if (c == 0x10) {
        return '[';
    }
    if (c == 0x11) {
        return ']';
    }
    if (c <= 0x1B) {
        return static_cast<char>('0' + (c - 0x12));
    }
    if (c <= 0x1F) {
        return '-';
    }
    return static_cast<char>(c);
}

constexpr std::string_view kKey = "\"message\"";

bool EndsEntity(char c) {
    return c == '}' || c == 0;
}

// Where the bytes that decide the title end in `text`, the start of a first entity: just after
// the closing quote of the "message" value. npos while later bytes could still change it.
std::size_t TitleEnd(std::string_view text) {
    const std::size_t key = text.find(kKey);
    if (key == std::string_view::npos || key + 11 >= text.size()) {
        return std::string_view::npos;
    }
    const std::size_t quote = text.find('"', key + 11);
    return quote == std::string_view::npos ? quote : quote + 1;
}

// A first entity that does not end inside the window: followed up to its '}' or NUL, within
// the entities lump and kMaxFirstEntity, and no further than its title needs. What is taken
// into the text (and its end mark) is charged to `budget`; `cutShort` is set when the budget
// ran out first.
std::string FollowEntity(BinaryReader& reader, std::int64_t start, std::int64_t entities,
                         std::string_view window, std::size_t& budget, bool& cutShort) {
    std::string text(window);
    std::uint8_t lengthBytes[4] = {};
    if (reader.ReadSome(start + 8, lengthBytes) != 4) {
        return text;
    }
    const std::int32_t lumpLength = Int32At(lengthBytes, 0);
    const std::size_t limit =
        lumpLength <= 0 ? 0 : std::min(static_cast<std::size_t>(lumpLength), kMaxFirstEntity);
    std::vector<std::uint8_t> chunk;
    bool ended = text.size() >= limit;
    while (!ended && budget > 0) {
        chunk.resize(std::min({limit - text.size(), budget, std::size_t{4096}}));
        const std::size_t got =
            reader.ReadSome(entities + static_cast<std::int64_t>(text.size()), chunk);
        const auto end = chunk.begin() + static_cast<std::ptrdiff_t>(got);
        const auto stop = std::find_if(
            chunk.begin(), end, [](std::uint8_t c) { return EndsEntity(static_cast<char>(c)); });
        const std::size_t before = text.size();
        text.append(chunk.begin(), stop);
        std::size_t used = text.size() - before + (stop != end ? 1 : 0);  // with the end mark
        ended = stop != end || got < chunk.size() || text.size() >= limit;
        if (const std::size_t title = TitleEnd(text); title != std::string::npos) {
            used = std::min(used, title > before ? title - before : 0);
            ended = true;
        }
        budget -= std::min(budget, used);
    }
    cutShort = !ended;
    return text;
}

}  // namespace

std::string ConvertQuakeChars(std::string_view text) {
    std::string out(text.size(), ' ');
    std::transform(text.begin(), text.end(), out.begin(),
                   [](char c) { return ConvertQuakeChar(static_cast<std::uint8_t>(c)); });
    return out;
}

std::string ReadBSPMessage(BinaryReader& reader, std::int64_t start, std::size_t& extensionBudget,
                           bool* cutShort) {
    const std::int64_t entities = start + reader.ReadInt32(start + 4);
    std::array<std::uint8_t, kTitleWindow> window{};
    reader.ReadExact(entities, window);
    // The text of the first entity: the window up to its first NUL or '}'.
    std::string_view entity(reinterpret_cast<const char*>(window.data()), window.size());
    std::string followed;
    bool cut = false;
    const auto stop = std::find_if(entity.begin(), entity.end(), EndsEntity);
    if (stop != entity.end()) {
        entity = entity.substr(0, static_cast<std::size_t>(stop - entity.begin()));
    } else if (TitleEnd(entity) == std::string_view::npos) {
        followed = FollowEntity(reader, start, entities, entity, extensionBudget, cut);
        entity = followed;
    }
    if (cutShort != nullptr) {
        *cutShort = cut;
    }

    const auto key = entity.find(kKey);
    if (key == std::string::npos) {
        return std::string(kNoDescription);
    }
    // The key, one blank and the opening quote are skipped unchecked.
    std::string_view value(entity);
    value.remove_prefix(std::min(value.size(), key + 11));
    value = value.substr(0, value.find('"'));
    value = value.substr(0, value.find("\\n"));
    return ConvertQuakeChars(value);
}

std::string ReadBSPMessage(BinaryReader& reader, std::int64_t start) {
    std::size_t budget = kScanExtensionBudget;
    return ReadBSPMessage(reader, start, budget);
}

}  // namespace fenmar::maps
