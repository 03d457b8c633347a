#include "addons/AddOnSettings.h"

#include "addons/Download.h"
#include "store/RegistryHandling.h"

namespace fenmar::addons {

std::string ReadCatalogueAddress(store::Store& store) {
    std::string url = store::RegReadString(store, kAddOnsKey, kCatalogueValue);
    if (url.empty() || !IsWebAddress(url)) {
        return std::string(kDefaultCatalogue);
    }
    return url;
}

bool WriteCatalogueAddress(store::Store& store, std::string_view url) {
    if (url.empty()) {
        const store::Status status = store.DeleteValue(kAddOnsKey, kCatalogueValue);
        return status == store::Status::Ok || status == store::Status::NotFound ||
               status == store::Status::KeyDeleted;
    }
    if (!IsWebAddress(url) || url.size() > store::kMaxTextLength) {
        return false;
    }
    if (store.CreateKey(kAddOnsKey) != store::Status::Ok) {
        return false;
    }
    return store.SetValue(kAddOnsKey, kCatalogueValue, store::kRegSz, url) == store::Status::Ok;
}

}  // namespace fenmar::addons
