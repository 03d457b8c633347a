#include "maps/ZipDirectory.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <span>

namespace fenmar::maps {

namespace {

constexpr std::uint64_t kEndRecord = 22;
constexpr std::uint64_t kMaxComment = 0xFFFF;
constexpr std::uint64_t kCentralRecord = 46;
constexpr std::uint64_t kLocalHeader = 30;
constexpr std::uint32_t kSaturated32 = 0xFFFFFFFFu;

using Bytes = std::span<const std::uint8_t>;

std::uint64_t Little(Bytes bytes, std::uint64_t at, std::size_t width) {
    if (at > bytes.size() || bytes.size() - at < width) {
        throw ReadError(kReadBeyondEnd);
    }
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) {
        v |= static_cast<std::uint64_t>(bytes[static_cast<std::size_t>(at) + i]) << (8 * i);
    }
    return v;
}
std::uint64_t U16(Bytes b, std::uint64_t at) {
    return Little(b, at, 2);
}
std::uint64_t U32(Bytes b, std::uint64_t at) {
    return Little(b, at, 4);
}
std::uint64_t U64(Bytes b, std::uint64_t at) {
    return Little(b, at, 8);
}

std::vector<std::uint8_t> ReadBlock(BinaryReader& reader, std::uint64_t at, std::uint64_t size) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
    reader.ReadExact(static_cast<std::int64_t>(at), block);
    return block;
}

struct EndOfDirectory {
    std::uint64_t count = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
};

// The end record nearest the end of the archive, and its zip64 form where a locator precedes it.
std::optional<EndOfDirectory> FindEnd(BinaryReader& reader, std::uint64_t size) {
    const std::uint64_t tailSize = std::min(size, kEndRecord + kMaxComment);
    const std::vector<std::uint8_t> tail = ReadBlock(reader, size - tailSize, tailSize);
    if (tail.size() < kEndRecord) {
        return std::nullopt;
    }
    for (std::size_t at = tail.size() - static_cast<std::size_t>(kEndRecord) + 1; at-- > 0;) {
        if (U32(tail, at) != 0x06054b50) {
            continue;
        }
        EndOfDirectory end{U16(tail, at + 10), U32(tail, at + 12), U32(tail, at + 16)};
        if (at >= 20 && U32(tail, at - 20) == 0x07064b50) {
            const std::uint64_t where = U64(tail, at - 20 + 8);
            const std::vector<std::uint8_t> record = ReadBlock(reader, where, 56);
            if (U32(record, 0) != 0x06064b50) {
                return std::nullopt;
            }
            end = {U64(record, 32), U64(record, 40), U64(record, 48)};
        }
        return end;
    }
    return std::nullopt;
}

// Sizes and offset saturated in the record come from its zip64 extra field.
void TakeZip64(Bytes extra, std::uint64_t& size, std::uint64_t& compressed, std::uint64_t& offset) {
    for (std::uint64_t at = 0; at + 4 <= extra.size();) {
        const std::uint64_t id = U16(extra, at);
        const std::uint64_t length = U16(extra, at + 2);
        if (id == 0x0001) {
            const Bytes data = extra.subspan(static_cast<std::size_t>(at + 4));
            std::uint64_t next = 0;
            for (std::uint64_t* field : {&size, &compressed, &offset}) {
                if (*field == kSaturated32) {
                    if (next + 8 > length) {
                        throw ReadError(kReadBeyondEnd);
                    }
                    *field = U64(data, next);
                    next += 8;
                }
            }
            return;
        }
        at += 4 + length;
    }
}

}  // namespace

std::optional<ZipDirectory> ReadZipDirectory(BinaryReader& reader, std::uint64_t size) {
    try {
        const std::optional<EndOfDirectory> end = FindEnd(reader, size);
        if (!end || end->offset > size || end->size > size - end->offset ||
            end->count > end->size / kCentralRecord) {
            return std::nullopt;
        }
        const std::vector<std::uint8_t> central = ReadBlock(reader, end->offset, end->size);
        ZipDirectory out;
        out.offset = end->offset;
        out.records.reserve(static_cast<std::size_t>(end->count));
        std::uint64_t at = 0;
        for (std::uint64_t i = 0; i < end->count; ++i) {
            if (U32(central, at) != 0x02014b50) {
                return std::nullopt;
            }
            std::uint64_t compressed = U32(central, at + 20);
            std::uint64_t unpacked = U32(central, at + 24);
            const std::uint64_t nameLength = U16(central, at + 28);
            const std::uint64_t extraLength = U16(central, at + 30);
            const std::uint64_t commentLength = U16(central, at + 32);
            std::uint64_t offset = U32(central, at + 42);
            const std::uint64_t next =
                at + kCentralRecord + nameLength + extraLength + commentLength;
            if (next > central.size()) {
                return std::nullopt;
            }
            const Bytes record(central.data() + at, static_cast<std::size_t>(next - at));
            TakeZip64(record.subspan(static_cast<std::size_t>(kCentralRecord + nameLength),
                                     static_cast<std::size_t>(extraLength)),
                      unpacked, compressed, offset);
            ZipRecord r;
            r.name.assign(reinterpret_cast<const char*>(record.data()) + kCentralRecord,
                          static_cast<std::size_t>(nameLength));
            r.offset = offset;
            r.span = compressed > std::numeric_limits<std::uint64_t>::max() - kLocalHeader - 0xFFFF
                         ? std::numeric_limits<std::uint64_t>::max()
                         : kLocalHeader + nameLength + compressed;
            out.records.push_back(std::move(r));
            at = next;
        }
        return out;
    } catch (const ReadError&) {
        return std::nullopt;
    }
}

std::vector<bool> SeparateRecords(const ZipDirectory& directory) {
    const std::vector<ZipRecord>& records = directory.records;
    const auto endOf = [&](std::size_t i) {
        const ZipRecord& r = records[i];
        return r.span > std::numeric_limits<std::uint64_t>::max() - r.offset
                   ? std::numeric_limits<std::uint64_t>::max()
                   : r.offset + r.span;
    };
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return records[a].offset < records[b].offset; });
    // In the order of their offsets a record overlaps another exactly when one before it
    // reaches past its start or the next one starts before its end.
    std::vector<bool> separate(records.size(), false);
    std::uint64_t reached = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const std::uint64_t end = endOf(i);
        const bool overlapsEarlier = k > 0 && reached > records[i].offset;
        const bool overlapsNext = k + 1 < order.size() && records[order[k + 1]].offset < end;
        separate[i] = !overlapsEarlier && !overlapsNext && end <= directory.offset;
        reached = std::max(reached, end);
    }
    return separate;
}

}  // namespace fenmar::maps
