#pragma once
// Reading the catalogue. The XML reader takes the community archive's database: root
// <files>, one <file id type rating normalized_users_rating> per release with <author>,
// <title>, <md5sum>, <size> (KiB), <date>, <description> (HTML, often CDATA) and <techinfo>
// (<zipbasedir>, <commandline>, <startmap>..., <requirements><file id/></requirements>),
// plus <tags><tag>...</tag></tags>.
//
// The data is hostile: no external entity is ever loaded and a document that declares its
// own entities (a DTD internal subset) is refused whole; the size, the nesting depth, the
// number of releases and each release's size are bounded. One damaged release (a bare '&'
// in a title, an unknown entity, a tag left open) costs only itself: it is repaired where a
// bare '&' is the fault and skipped (and counted) otherwise.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "addons/AddOn.h"

namespace fenmar::addons {

struct ReadLimits {
    std::size_t maxBytes = 64u << 20;      // the whole document
    std::size_t maxEntries = 50000;        // releases
    std::size_t maxEntryBytes = 1u << 20;  // one release's text
    int maxDepth = 16;                     // element nesting
};

struct CatalogueResult {
    Catalogue catalogue;
    std::string error;  // non-empty: nothing usable (not a catalogue, refused, too large)
    bool Ok() const { return error.empty(); }
};

// A catalogue format. The archive also serves a JSON listing: a second reader goes here.
class CatalogueReader {
public:
    virtual ~CatalogueReader() = default;
    virtual CatalogueResult Read(std::string_view bytes, const ReadLimits& limits) const = 0;
};

class XmlCatalogueReader : public CatalogueReader {
public:
    CatalogueResult Read(std::string_view bytes, const ReadLimits& limits) const override;
};

// The reader for these bytes by their first non-blank character; nullptr for an unknown
// format.
std::unique_ptr<CatalogueReader> ReaderFor(std::string_view bytes);

// The bytes through the reader ReaderFor picks.
CatalogueResult ReadCatalogue(std::string_view bytes, const ReadLimits& limits = {});
// A catalogue file (refused unread when larger than limits.maxBytes).
CatalogueResult ReadCatalogueFile(const std::string& path, const ReadLimits& limits = {});

}  // namespace fenmar::addons
