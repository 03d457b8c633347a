// The user's store on systems without a registry: a SQLite file in the configuration
// directory of the XDG base-directory rules.

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "store/OpenStore.h"

namespace fenmar::store {

std::string DefaultStoreDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/fenmar";
    }
    std::string home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
        home = env;
    } else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    return home + "/.config/fenmar";
}

std::string DefaultStorePath() {
    return DefaultStoreDirectory() + "/settings.sqlite";
}

OpenResult OpenDefaultStore() {
    return OpenStoreAt(DefaultStorePath());
}

}  // namespace fenmar::store
