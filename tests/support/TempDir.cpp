#include "TempDir.h"

#include <stdlib.h>

#include <sstream>
#include <stdexcept>

namespace fenmar::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fenmar-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::MakeDir(const std::string& rel) const {
    const auto p = path_ / rel;
    std::filesystem::create_directories(p);
    return p.string();
}

std::string TempDir::WriteFile(const std::string& rel, const std::string& bytes) const {
    const auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace fenmar::test
