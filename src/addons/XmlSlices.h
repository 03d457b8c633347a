#pragma once
// The catalogue document cut into its releases before any of them is parsed, so that one
// damaged release cannot cost the others. Inside this layer only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "addons/CatalogueReader.h"

namespace fenmar::addons::detail {

struct XmlSlices {
    std::string_view declaration;           // "<?xml ...?>" as written, or empty
    std::vector<std::string_view> entries;  // each "<file ...>...</file>" (or self-closed)
    std::size_t skipped = 0;                // releases cut off (too deep, too large, truncated)
    std::vector<std::string> problems;
    std::string error;  // non-empty: the document is refused whole
};

// Finds the children of the root element <files> without checking what is inside them.
// End tags close the innermost open element of the same name (a forgotten end tag does not
// swallow the rest of the document); a DTD with an internal subset refuses the document.
XmlSlices SliceCatalogue(std::string_view bytes, const ReadLimits& limits);

// A release that did not parse, mended the way its generator damages releases: every '&'
// that starts no predefined or numeric reference becomes "&amp;", every '<' that starts no
// markup "&lt;" (in text and attribute values); an end tag closes what was left open inside
// it, one that closes nothing is dropped, and what is open at the end is closed. CDATA
// sections and comments stay as they were.
std::string RepairRelease(std::string_view xml);

}  // namespace fenmar::addons::detail
