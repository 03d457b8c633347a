#include <stdlib.h>

#include <stdexcept>

#include "Environment.h"

namespace fenmar::test {

// _putenv_s changes both the C library's copy and the process environment that
// CreateProcess hands to children.
void SetEnv(const std::string& name, const std::string& value) {
    if (::_putenv_s(name.c_str(), value.c_str()) != 0) {
        throw std::runtime_error("_putenv_s " + name + " failed");
    }
}

}  // namespace fenmar::test
