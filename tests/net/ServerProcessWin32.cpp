#include "ServerProcess.h"

namespace fenmar::net::testing {

// The real servers of these tests are Linux programs; on Windows the tests skip them.
ServerProcess::ServerProcess(const std::string&, const std::vector<std::string>&) {}
ServerProcess::~ServerProcess() = default;

std::string RunAndCapture(const std::string&, const std::vector<std::string>&) {
    return {};
}

bool CanRunServers() {
    return false;
}

}  // namespace fenmar::net::testing
