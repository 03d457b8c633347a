// PK3 archives read through libzip: the central directory gives names, sizes, methods and
// encryption flags; a map's first bytes are inflated as a stream, never the whole entry.
#include <zip.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "maps/BspMessage.h"
#include "maps/Pk3Scan.h"

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

// One entry as a forward stream with a little memory: reads at or after the stream's position
// inflate up to there, reads inside the first kHeadBytes come from a copy, anything else starts
// the stream again. No read goes past the entry's size or the read limit.
class ZipEntrySource : public ByteSource {
public:
    ZipEntrySource(zip_t* archive, zip_uint64_t index, std::uint64_t size)
        : archive_(archive),
          index_(index),
          limit_(std::min<std::uint64_t>(size, kMaxPk3EntryRead)) {
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
            const zip_int64_t got = zip_fread(file_.get(), into + done, count - done);
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

void ScanArchive(zip_t* archive, const ScanOptions& options, MapScan& scan,
                 std::size_t* headersRead) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    const auto minimum = static_cast<std::int64_t>(options.minBSPSize) * 1024;
    std::size_t budget = kScanExtensionBudget;
    for (zip_int64_t i = 0; i < count; ++i) {
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
        if (name.empty() || !Readable(st)) {
            continue;
        }
        MapEntry entry{std::move(name), std::string(kNotScanned)};
        if (!options.dontScanBSPMsgs) {
            try {
                ZipEntrySource source(archive, index, st.size);
                BinaryReader reader(source);
                if (headersRead != nullptr) {
                    ++*headersRead;
                }
                entry.description = ReadBSPMessage(reader, 0, budget);
            } catch (const ReadError&) {
                continue;  // a damaged entry is no map
            }
        }
        scan.entries.push_back(std::move(entry));
    }
}

std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

}  // namespace

bool Pk3Supported() {
    return true;
}

MapScan ScanPk3File(const std::string& path, const ScanOptions& options, std::size_t* headersRead) {
    MapScan scan;
    int code = 0;
    const ZipPtr archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
        scan.error = OpenError(code);
        return scan;
    }
    scan.found = true;
    ScanArchive(archive.get(), options, scan, headersRead);
    return scan;
}

MapScan ScanPk3Bytes(std::span<const std::uint8_t> bytes, const ScanOptions& options) {
    MapScan scan;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
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
    ScanArchive(archive.get(), options, scan, nullptr);
    return scan;
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
        ZipEntrySource source(archive.get(), index, st.size);
        use(source);
        return true;
    }
    return false;
}

}  // namespace fenmar::maps
