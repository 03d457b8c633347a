#include "maps/BinaryReader.h"

#include <algorithm>

namespace fenmar::maps {

FileSource::FileSource(const std::string& path) {
    if (!file_.Open(path)) {
        throw ReadError(file_.ErrorText());
    }
}

std::size_t FileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    const std::int64_t n = file_.ReadAt(offset, out.data(), out.size());
    if (n < 0) {
        throw ReadError(file_.ErrorText());
    }
    return static_cast<std::size_t>(n);
}

std::size_t MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset >= bytes_.size()) {
        return 0;
    }
    const auto start = static_cast<std::size_t>(offset);
    const std::size_t n = std::min(out.size(), bytes_.size() - start);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(start), n, out.begin());
    return n;
}

void BinaryReader::ReadExact(std::int64_t offset, std::span<std::uint8_t> out) {
    if (ReadSome(offset, out) != out.size()) {
        throw ReadError(kReadBeyondEnd);
    }
}

std::size_t BinaryReader::ReadSome(std::int64_t offset, std::span<std::uint8_t> out) {
    if (offset < 0) {
        return 0;
    }
    const std::size_t n = source_.ReadAt(static_cast<std::uint64_t>(offset), out);
    return std::min(n, out.size());
}

std::int32_t BinaryReader::ReadInt32(std::int64_t offset) {
    std::uint8_t bytes[4] = {};
    ReadExact(offset, bytes);
    return Int32At(bytes, 0);
}

std::int32_t Int32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        throw ReadError(kReadBeyondEnd);
    }
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[offset]) |
                                static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
                                static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
                                static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
    return static_cast<std::int32_t>(value);
}

}  // namespace fenmar::maps
