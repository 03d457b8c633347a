#pragma once
// The stored catalogue address: "Software\Corvanta\Fenmar\AddOns", value "Catalogue".

#include <string>
#include <string_view>

#include "store/Store.h"

namespace fenmar::addons {

inline constexpr std::string_view kAddOnsKey = "Software\\Corvanta\\Fenmar\\AddOns";
inline constexpr std::string_view kCatalogueValue = "Catalogue";
inline constexpr std::string_view kDefaultCatalogue =
    "https://www.quaddicted.com/reviews/quaddicted_database.xml";

// The stored address, or the default when none (or an unusable one) is stored.
std::string ReadCatalogueAddress(store::Store& store);
// Stores `url` (creating the key); false, storing nothing, when it is not an http or https
// address or the store does not take it. An empty `url` deletes the value (the default holds).
bool WriteCatalogueAddress(store::Store& store, std::string_view url);

}  // namespace fenmar::addons
