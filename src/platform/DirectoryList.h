#pragma once
// Listing the plain files of one directory, and reading a file at given positions without
// going through a stream buffer. Both report failures with the texts the user sees.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fenmar::platform {

struct FileInfo {
    std::string name;       // the name inside the directory, as the system spells it
    std::int64_t size = 0;  // in bytes
    // When the file was last written, in the system's own ticks (compare only for equality);
    // 0 when the listing did not ask the system.
    std::int64_t modified = 0;
    // When the file's data or attributes last changed (a copy that keeps the written time
    // still changes this), in the same kind of ticks; 0 where unknown.
    std::int64_t changed = 0;
    // The file's identity within its volume (inode, file ID): a file replaced by another under
    // the same name has another; 0 where unknown.
    std::uint64_t identity = 0;
};

struct FileListing {
    bool exists = false;          // the directory exists
    std::string error;            // non-empty: the directory could not be read
    std::vector<FileInfo> files;  // in the order the system returns them
};

// The regular files (symbolic links followed) directly in `dir` whose names `accept` takes.
// A missing directory is not an error: `exists` is false and the list empty. Without
// `withSizes` the sizes are filled in only where the system hands them out for free.
FileListing ListFiles(const std::string& dir, const std::function<bool(std::string_view)>& accept,
                      bool withSizes = true);

// The size of the regular file at `path`, or -1 (missing, not a regular file).
std::int64_t FileSizeOf(const std::string& path);

// A file opened for reading only; closed by its destructor.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // False when the file cannot be opened; ErrorText() then says why.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return handle_ != kClosed; }
    // The size of the open file, or -1 when the system cannot tell.
    std::int64_t Size() const;
    // The open file's size, times and identity as ListFiles gives them (no name); `modified`
    // is 0 where the system does not tell them this way.
    FileInfo Info() const;

    // Reads up to `size` bytes at `offset`: the count read (less only at the end of the file),
    // or -1 when the system reports a failure (ErrorText() says which).
    std::int64_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size);

    const std::string& ErrorText() const { return error_; }

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t handle_ = kClosed;
    std::string error_;
};

}  // namespace fenmar::platform
