#include "addons/CatalogueReader.h"

namespace fenmar::addons {

CatalogueResult XmlCatalogueReader::Read(std::string_view, const ReadLimits&) const {
    return {{}, "not yet"};
}

std::unique_ptr<CatalogueReader> ReaderFor(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            continue;
        }
        if (c == '<') {
            return std::make_unique<XmlCatalogueReader>();
        }
        break;
    }
    return nullptr;
}

CatalogueResult ReadCatalogue(std::string_view bytes, const ReadLimits& limits) {
    const std::unique_ptr<CatalogueReader> reader = ReaderFor(bytes);
    if (!reader) {
        return {{}, "The catalogue is in a format Fenmar does not read"};
    }
    return reader->Read(bytes, limits);
}

CatalogueResult ReadCatalogueFile(const std::string&, const ReadLimits&) {
    return {{}, "not yet"};
}

}  // namespace fenmar::addons
