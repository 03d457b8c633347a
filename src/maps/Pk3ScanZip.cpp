// PK3 archives read through libzip: the central directory gives names, sizes, methods and
// encryption flags; a map's first bytes are inflated as a stream, never the whole entry. Where
// the entries lie is read from the directory by ZipDirectory, which libzip does not tell.
#include <zip.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "maps/BspMessage.h"
#include "maps/Pk3Scan.h"
#include "maps/ZipDirectory.h"

namespace fenmar::maps {

namespace {

constexpr std::size_t kHeadBytes = 128;  // kept so that header reads never reopen the entry
constexpr int kMaxReopens = 4;

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using EntryPtr = std::unique_ptr<zip_file_t, EntryCloser>;

constexpr std::size_t kInflateStep = 16 * 1024;

// Thrown out of an entry's read when the archive's scan is to stop inflating.
struct StopInflating {
    bool cancelled = false;  // else the archive's budget is spent
};

// The bytes one archive's scan inflates, checked against its budget and the cancel flag before
// every step.
struct Spending {
    Pk3Work& work;
    std::uint64_t budget;

    void Charge(std::size_t bytes) {
        if (work.cancel != nullptr && work.cancel->load(std::memory_order_relaxed)) {
            throw StopInflating{true};
        }
        if (bytes > budget - work.inflated) {
            throw StopInflating{false};
        }
        work.inflated += bytes;
    }
};

// One entry as a forward stream with a little memory: reads at or after the stream's position
// inflate up to there, reads inside the first kHeadBytes come from a copy, anything else starts
// the stream again. No read goes past the entry's size or the read limit.
class ZipEntrySource : public ByteSource {
public:
    ZipEntrySource(zip_t* archive, zip_uint64_t index, std::uint64_t size, Spending& spending)
        : archive_(archive),
          index_(index),
          limit_(std::min<std::uint64_t>(size, kMaxPk3EntryRead)),
          spending_(spending) {
        Restart();
        head_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(limit_, kHeadBytes)));
        Inflate(head_.data(), head_.size());
    }

    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        if (offset >= limit_) {
            return 0;
        }
        const auto n =
            static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), limit_ - offset));
        if (offset + n <= head_.size()) {
            std::copy_n(head_.begin() + static_cast<std::ptrdiff_t>(offset), n, out.begin());
            return n;
        }
        // Begins in the copy and goes on where the stream stands (the title's window right
        // after the header): the rest is inflated, not the entry opened again.
        if (offset < head_.size() && position_ == head_.size()) {
            const auto fromHead = static_cast<std::size_t>(head_.size() - offset);
            std::copy_n(head_.begin() + static_cast<std::ptrdiff_t>(offset), fromHead, out.begin());
            Inflate(out.data() + fromHead, n - fromHead);
            return n;
        }
        if (offset < position_) {
            Restart();
        }
        while (position_ < offset) {
            const auto skip = static_cast<std::size_t>(
                std::min<std::uint64_t>(offset - position_, scratch_.size()));
            Inflate(scratch_.data(), skip);
        }
        Inflate(out.data(), n);
        return n;
    }

private:
    void Restart() {
        if (++opens_ > kMaxReopens) {
            throw ReadError("Too many passes over a zip entry");
        }
        file_.reset(zip_fopen_index(archive_, index_, 0));
        if (!file_) {
            throw ReadError(zip_error_strerror(zip_get_error(archive_)));
        }
        position_ = 0;
    }

    void Inflate(std::uint8_t* into, std::size_t count) {
        std::size_t done = 0;
        while (done < count) {
            const std::size_t step = std::min(count - done, kInflateStep);
            spending_.Charge(step);
            const zip_int64_t got = zip_fread(file_.get(), into + done, step);
            if (got <= 0) {
                throw ReadError(got < 0 ? zip_error_strerror(zip_file_get_error(file_.get()))
                                        : kReadBeyondEnd);
            }
            done += static_cast<std::size_t>(got);
        }
        position_ += count;
    }

    zip_t* archive_;
    zip_uint64_t index_;
    std::uint64_t limit_;
    Spending& spending_;
    EntryPtr file_;
    std::uint64_t position_ = 0;
    int opens_ = 0;
    std::vector<std::uint8_t> head_;
    std::array<std::uint8_t, 16 * 1024> scratch_{};
};

// Whether the central directory's record can be trusted enough to inflate the entry.
bool Readable(const zip_stat_t& st) {
    constexpr zip_uint64_t kNeeded =
        ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    if ((st.valid & kNeeded) != kNeeded || st.encryption_method != ZIP_EM_NONE) {
        return false;
    }
    if (st.comp_method == ZIP_CM_STORE) {
        return st.comp_size == st.size;
    }
    if (st.comp_method != ZIP_CM_DEFLATE || st.comp_size == 0) {
        return false;
    }
    return st.size / st.comp_size <= kMaxDeflateRatio;
}

// Per libzip's index: whether the entry's bytes lie apart from every other entry's. Where our
// reading of the directory does not match libzip's, no entry is trusted.
std::vector<bool> SeparateEntries(zip_t* archive, BinaryReader& reader, std::int64_t size) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    const std::optional<ZipDirectory> directory =
        size > 0 ? ReadZipDirectory(reader, static_cast<std::uint64_t>(size)) : std::nullopt;
    if (!directory || count < 0 || directory->records.size() != static_cast<std::uint64_t>(count)) {
        return {};
    }
    std::vector<bool> separate = SeparateRecords(*directory);
    for (std::size_t i = 0; i < separate.size(); ++i) {
        const char* name = zip_get_name(archive, i, ZIP_FL_ENC_RAW);
        separate[i] = separate[i] && name != nullptr && directory->records[i].name == name;
    }
    return separate;
}

void ScanArchive(zip_t* archive, const std::vector<bool>& separate, std::int64_t archiveSize,
                 const ScanOptions& options, MapScan& scan, Pk3Work& work) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    const auto minimum = static_cast<std::int64_t>(options.minBSPSize) * 1024;
    std::size_t budget = options.extensionBudget;
    const std::uint64_t bytes = archiveSize > 0 ? static_cast<std::uint64_t>(archiveSize) : 0;
    Spending spending{work,
                      work.budget != 0 ? work.budget : std::max(kPk3ArchiveBudget, 4 * bytes)};
    bool spent = false;
    for (zip_int64_t i = 0; i < count; ++i) {
        if (work.cancel != nullptr && work.cancel->load(std::memory_order_relaxed)) {
            work.cancelled = true;
            return;
        }
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, index, ZIP_FL_ENC_RAW, &st) != 0 ||
            (st.valid & ZIP_STAT_NAME) == 0 || (st.valid & ZIP_STAT_SIZE) == 0 ||
            st.size > static_cast<zip_uint64_t>(INT64_MAX) ||
            static_cast<std::int64_t>(st.size) < minimum) {
            continue;
        }
        std::string name = Pk3MapName(st.name);
        if (name.empty() || !Readable(st) || index >= separate.size() ||
            !separate[static_cast<std::size_t>(index)]) {
            continue;
        }
        MapEntry entry{std::move(name), std::string(kNotScanned)};
        if (!options.dontScanBSPMsgs && !spent) {
            try {
                ZipEntrySource source(archive, index, st.size, spending);
                BinaryReader reader(source);
                ++work.headersRead;
                bool cut = false;
                entry.description = ReadBSPMessage(reader, 0, budget, &cut);
                scan.titlesCut = scan.titlesCut || cut;
            } catch (const ReadError& e) {
                scan.error = e.what();  // as for a loose map: the scan ends here
                return;
            } catch (const StopInflating& stop) {
                if (stop.cancelled) {
                    work.cancelled = true;
                    return;
                }
                spent = true;  // this map and those after it are listed without their titles
                scan.titlesCut = true;
            }
        }
        scan.entries.push_back(std::move(entry));
    }
}

// libzip reads the archive through this rather than through its own stdio file, which asks
// the system for every seek: here a seek only moves the position, and the small reads of one
// entry (its local header, name and first compressed bytes) come from one read of a block.
struct ReaderSource {
    ReaderSource(ByteSource& source, std::uint64_t length) : bytes(source), size(length) {
        zip_error_init(&error);
    }
    ~ReaderSource() { zip_error_fini(&error); }
    ReaderSource(const ReaderSource&) = delete;
    ReaderSource& operator=(const ReaderSource&) = delete;

    // Up to `n` bytes at the position into `out`; throws ReadError.
    std::size_t Read(std::uint8_t* out, std::size_t n) {
        const bool inBlock = position >= blockStart && position - blockStart < block.size();
        if (!inBlock && n < kBlock) {
            block.resize(kBlock);
            block.resize(bytes.ReadAt(position, block));
            blockStart = position;
        }
        if (position >= blockStart && position - blockStart < block.size()) {
            const auto at = static_cast<std::size_t>(position - blockStart);
            const std::size_t got = std::min(n, block.size() - at);
            std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at), got, out);
            return got;
        }
        return bytes.ReadAt(position, {out, n});
    }

    static constexpr std::size_t kBlock = 16 * 1024;
    ByteSource& bytes;
    std::uint64_t size;
    std::uint64_t position = 0;
    std::vector<std::uint8_t> block;
    std::uint64_t blockStart = 0;
    zip_error_t error;
};

zip_int64_t ReaderCallback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    ReaderSource& s = *static_cast<ReaderSource*>(state);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            s.position = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const std::uint64_t left = s.position < s.size ? s.size - s.position : 0;
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, left));
            auto* out = static_cast<std::uint8_t*>(data);
            std::size_t done = 0;
            try {
                while (done < n) {  // a read that crosses the block's end goes on past it
                    const std::size_t got = s.Read(out + done, n - done);
                    if (got == 0) {
                        break;  // the file ended early
                    }
                    s.position += got;
                    done += got;
                }
                return static_cast<zip_int64_t>(done);
            } catch (const ReadError&) {
                zip_error_set(&s.error, ZIP_ER_READ, 0);
                return -1;
            }
        }
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_FREE:  // the state belongs to the caller
            return 0;
        case ZIP_SOURCE_STAT: {
            auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &s.error);
            if (st == nullptr) {
                return -1;
            }
            zip_stat_init(st);
            st->size = s.size;
            st->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&s.error, data, length);
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t at =
                zip_source_seek_compute_offset(s.position, s.size, data, length, &s.error);
            if (at < 0) {
                return -1;
            }
            s.position = static_cast<std::uint64_t>(at);
            return 0;
        }
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(s.position);
        case ZIP_SOURCE_ACCEPT_EMPTY:
            return 0;  // an empty file is no archive, as for libzip's own files
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_SEEKABLE |
                   ZIP_SOURCE_MAKE_COMMAND_BITMASK(ZIP_SOURCE_ACCEPT_EMPTY);
        default:
            zip_error_set(&s.error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// The scan of an archive whose bytes `source` gives: libzip reads them through ReaderSource,
// our own reading of the directory through the same source.
MapScan ScanPk3Source(ByteSource& bytes, std::uint64_t size, const ScanOptions& options,
                      Pk3Work* work) {
    MapScan scan;
    ReaderSource state(bytes, size);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_function_create(ReaderCallback, &state, &error);
    zip_t* opened = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (opened == nullptr) {
        scan.error = zip_error_strerror(&error);
        if (source != nullptr) {
            zip_source_free(source);
        }
        zip_error_fini(&error);
        return scan;
    }
    zip_error_fini(&error);
    const ZipPtr archive(opened);
    scan.found = true;
    BinaryReader reader(bytes);
    const auto signedSize = static_cast<std::int64_t>(size);
    const std::vector<bool> separate = SeparateEntries(archive.get(), reader, signedSize);
    Pk3Work own;
    ScanArchive(archive.get(), separate, signedSize, options, scan, work != nullptr ? *work : own);
    return scan;
}

}  // namespace

bool Pk3Supported() {
    return true;
}

MapScan ScanPk3File(const std::string& path, const ScanOptions& options, Pk3Work* work) {
    std::optional<FileSource> file;
    try {
        file.emplace(path);
    } catch (const ReadError& e) {
        MapScan scan;
        scan.error = e.what();
        return scan;
    }
    const std::int64_t size = file->Size();
    if (size < 0) {
        MapScan scan;
        scan.error = OpenError(ZIP_ER_READ);
        return scan;
    }
    return ScanPk3Source(*file, static_cast<std::uint64_t>(size), options, work);
}

MapScan ScanPk3Bytes(std::span<const std::uint8_t> bytes, const ScanOptions& options,
                     Pk3Work* work) {
    MemorySource memory(bytes);
    return ScanPk3Source(memory, bytes.size(), options, work);
}

bool ReadPk3Map(const std::string& path, std::string_view mapName,
                const std::function<void(ByteSource&)>& use) {
    int code = 0;
    const ZipPtr archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), index, ZIP_FL_ENC_RAW, &st) != 0 ||
            (st.valid & ZIP_STAT_NAME) == 0 || Pk3MapName(st.name) != mapName || !Readable(st)) {
            continue;
        }
        // One map's picture or summary costs at most what a whole archive's scan may inflate.
        Pk3Work work;
        Spending spending{work, kPk3ArchiveBudget};
        try {
            ZipEntrySource source(archive.get(), index, st.size, spending);
            use(source);
        } catch (const StopInflating& stop) {
            throw ReadError(stop.cancelled ? "Cancelled"
                                           : "The archive inflates beyond its budget");
        }
        return true;
    }
    return false;
}

}  // namespace fenmar::maps
