// Zip archives through libzip: the central directory is checked against the local headers
// (ZIP_CHECKCONS), every entry is judged before any is inflated, and entries are inflated
// as streams in bounded chunks.
#include <zip.h>

#include <QString>

#include <array>
#include <filesystem>
#include <unordered_map>

#include "addons/ZipEntries.h"
#include "addons/ZipReader.h"

namespace fenmar::addons {

namespace {

// The Unix file type in the high half of the external attributes.
constexpr std::uint32_t kTypeMask = 0170000;
constexpr std::uint32_t kRegular = 0100000;
constexpr std::uint32_t kFolder = 0040000;
// Windows' reparse point (a link or junction) in the low half.
constexpr std::uint32_t kReparsePoint = 0x400;

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

std::string OpenError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string Folded(const std::string& name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
        .toCaseFolded()
        .toStdString();
}

// Names that would land on one another on a system that ignores case, or a file where a
// folder must be.
class NameSet {
public:
    std::string Add(const std::string& name, bool directory) {
        std::size_t slash = name.find('/');
        while (slash != std::string::npos) {
            if (std::string error = Put(name.substr(0, slash), true); !error.empty()) {
                return error;
            }
            slash = name.find('/', slash + 1);
        }
        return Put(name, directory);
    }

private:
    std::string Put(const std::string& name, bool directory) {
        auto [it, added] = seen_.try_emplace(Folded(name), name, directory);
        if (added) {
            return {};
        }
        if (it->second.first != name) {
            return "names that differ only in case: " + it->second.first + " and " + name;
        }
        if (!directory || !it->second.second) {
            return "a name given twice: " + name;
        }
        return {};
    }

    std::unordered_map<std::string, std::pair<std::string, bool>> seen_;
};

std::string EntryKindError(zip_t* archive, zip_uint64_t index, const std::string& name) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0) {
        return "unreadable attributes of " + name;
    }
    if (system == ZIP_OPSYS_UNIX) {
        const std::uint32_t type = (attributes >> 16) & kTypeMask;
        if (type != 0 && type != kRegular && type != kFolder) {
            return "a link or device entry: " + name;
        }
    } else if ((attributes & kReparsePoint) != 0) {
        return "a link entry: " + name;
    }
    return {};
}

ZipListing List(zip_t* archive, std::uint64_t archiveBytes, const UnpackLimits& limits) {
    ZipListing listing;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits.maxEntries) {
        listing.error = "more entries than an add-on may have";
        return listing;
    }
    NameSet names;
    for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
        zip_stat_t st;
        zip_stat_init(&st);
        constexpr zip_uint64_t kNeeded = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE |
                                         ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
        if (zip_stat_index(archive, index, 0, &st) != 0 || (st.valid & kNeeded) != kNeeded) {
            listing.error = "an entry whose record cannot be read";
            return listing;
        }
        ZipEntry entry;
        std::string error;
        entry.name = CleanEntryName(st.name, entry.directory, error, limits);
        if (!error.empty()) {
            listing.error = error;
            return listing;
        }
        if (error = EntryKindError(archive, index, st.name); !error.empty()) {
            listing.error = error;
            return listing;
        }
        if (entry.name.empty()) {
            continue;  // "./": the folder itself
        }
        entry.index = index;
        entry.size = st.size;
        entry.compressedSize = st.comp_size;
        if (entry.directory) {
            if (st.size != 0) {
                listing.error = "a folder entry with content: " + entry.name;
                return listing;
            }
        } else {
            if (st.encryption_method != ZIP_EM_NONE) {
                listing.error = "an encrypted entry: " + entry.name;
                return listing;
            }
            if (zip_compression_method_supported(static_cast<zip_int32_t>(st.comp_method), 0) ==
                0) {
                listing.error = "an entry packed in a way Fenmar cannot unpack: " + entry.name;
                return listing;
            }
            if (st.size > limits.ratioFloor &&
                (st.comp_size == 0 || st.size / st.comp_size > limits.maxRatio)) {
                listing.error = "an entry that inflates beyond reason: " + entry.name;
                return listing;
            }
            listing.totalBytes += st.size;
            if (st.size > limits.maxTotalBytes || listing.totalBytes > limits.maxTotalBytes) {
                listing.error = "more content than an add-on may have";
                return listing;
            }
        }
        if (error = names.Add(entry.name, entry.directory); !error.empty()) {
            listing.error = error;
            return listing;
        }
        listing.entries.push_back(std::move(entry));
    }
    if (listing.totalBytes > limits.ratioFloor &&
        (archiveBytes == 0 || listing.totalBytes / archiveBytes > limits.maxRatio)) {
        listing.error = "an archive that inflates beyond reason";
    }
    return listing;
}

}  // namespace

bool ZipSupported() {
    return true;
}

ZipListing InspectZip(const std::string& path, const UnpackLimits& limits) {
    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    int code = 0;
    const ZipPtr archive(ec ? nullptr : zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!archive) {
        ZipListing listing;
        listing.error =
            "not a readable zip archive (" + (ec ? ec.message() : OpenError(code)) + ")";
        return listing;
    }
    return List(archive.get(), bytes, limits);
}

ZipListing InspectZipBytes(std::span<const std::uint8_t> bytes, const UnpackLimits& limits) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* opened = source != nullptr
                        ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error)
                        : nullptr;
    if (opened == nullptr) {
        ZipListing listing;
        listing.error =
            std::string("not a readable zip archive (") + zip_error_strerror(&error) + ")";
        if (source != nullptr) {
            zip_source_free(source);
        }
        zip_error_fini(&error);
        return listing;
    }
    zip_error_fini(&error);
    const ZipPtr archive(opened);
    return List(archive.get(), bytes.size(), limits);
}

namespace detail {

struct ZipReader::Impl {
    ZipPtr archive;
};

ZipReader::ZipReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    int code = 0;
    impl_->archive.reset(zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!impl_->archive) {
        error_ = "not a readable zip archive (" + OpenError(code) + ")";
    }
}

ZipReader::~ZipReader() = default;

bool ZipReader::IsOpen() const {
    return impl_->archive != nullptr;
}

bool ZipReader::Extract(std::uint64_t index, std::uint64_t size,
                        const std::function<bool(const char*, std::size_t)>& sink) {
    if (!IsOpen()) {
        return false;
    }
    struct FileCloser {
        void operator()(zip_file_t* file) const { zip_fclose(file); }
    };
    const std::unique_ptr<zip_file_t, FileCloser> file(
        zip_fopen_index(impl_->archive.get(), index, 0));
    if (!file) {
        error_ = zip_error_strerror(zip_get_error(impl_->archive.get()));
        return false;
    }
    std::array<char, 64 * 1024> buffer{};
    std::uint64_t done = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            error_ = zip_error_strerror(zip_file_get_error(file.get()));
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::uint64_t>(got);
        if (done > size) {
            error_ = "an entry larger than its record says";
            return false;
        }
        if (!sink(buffer.data(), static_cast<std::size_t>(got))) {
            error_ = "stopped";
            return false;
        }
    }
    if (done != size) {
        error_ = "an entry shorter than its record says";
        return false;
    }
    return true;
}

}  // namespace detail

}  // namespace fenmar::addons
