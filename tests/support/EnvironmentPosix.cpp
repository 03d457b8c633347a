#include <stdlib.h>

#include <stdexcept>

#include "Environment.h"

namespace fenmar::test {

void SetEnv(const std::string& name, const std::string& value) {
    if (::setenv(name.c_str(), value.c_str(), 1) != 0) {
        throw std::runtime_error("setenv " + name + " failed");
    }
}

}  // namespace fenmar::test
