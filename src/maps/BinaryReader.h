#pragma once
// The one way map files are read: positional reads that are checked against what the source
// holds, so no offset or length found in a file can lead outside the bytes actually read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/DirectoryList.h"

namespace fenmar::maps {

// A failed read; what() is the text shown to the user.
class ReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kReadBeyondEnd = "Read beyond end of file";

// Where the bytes come from: an open file or a block of memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to out.size() bytes at `offset` (fewer only at the end); throws ReadError on failure.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class FileSource : public ByteSource {
public:
    // Throws ReadError when the file cannot be opened.
    explicit FileSource(const std::string& path);
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
    std::int64_t Size() const { return file_.Size(); }  // -1 when unknown
    platform::FileInfo Info() const { return file_.Info(); }

private:
    platform::ReadOnlyFile file_;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

private:
    std::span<const std::uint8_t> bytes_;
};

class BinaryReader {
public:
    explicit BinaryReader(ByteSource& source) : source_(source) {}

    // Exactly out.size() bytes at `offset`; ReadError(kReadBeyondEnd) when the source holds
    // fewer there or the offset is negative.
    void ReadExact(std::int64_t offset, std::span<std::uint8_t> out);
    // Up to out.size() bytes at `offset`: how many there were (0 for a negative offset).
    std::size_t ReadSome(std::int64_t offset, std::span<std::uint8_t> out);
    // A little-endian 32-bit signed number at `offset`.
    std::int32_t ReadInt32(std::int64_t offset);

private:
    ByteSource& source_;
};

// A little-endian 32-bit signed number at `offset` of bytes already read; throws
// ReadError(kReadBeyondEnd) when the four bytes are not all there.
std::int32_t Int32At(std::span<const std::uint8_t> bytes, std::size_t offset);

}  // namespace fenmar::maps
