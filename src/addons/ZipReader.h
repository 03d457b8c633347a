#pragma once
// Inflating one zip entry at a time in bounded chunks. Inside this layer only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace fenmar::addons::detail {

class ZipReader {
public:
    explicit ZipReader(const std::string& path);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    bool IsOpen() const;
    const std::string& Error() const { return error_; }

    // Hands entry `index` to `sink` in chunks of at most 64 KiB. False (Error() says why) when
    // the entry does not inflate to exactly `size` bytes, fails its checksum, or `sink`
    // returns false.
    bool Extract(std::uint64_t index, std::uint64_t size,
                 const std::function<bool(const char* data, std::size_t count)>& sink);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string error_;
};

}  // namespace fenmar::addons::detail
