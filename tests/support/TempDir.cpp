#include "TempDir.h"

#include <random>
#include <sstream>
#include <stdexcept>

namespace fenmar::test {

// A random name that nobody else has taken: create_directory fails on an existing one.
TempDir::TempDir() {
    const auto base = std::filesystem::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kDigits - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "fenmar-test-";
        for (int i = 0; i < 12; ++i) {
            name += kDigits[pick(random)];
        }
        std::error_code ec;
        if (std::filesystem::create_directory(base / name, ec)) {
            path_ = base / name;
            return;
        }
        if (ec) {
            throw std::runtime_error("cannot create a directory in " + base.string() + ": " +
                                     ec.message());
        }
    }
    throw std::runtime_error("no free temporary directory name in " + base.string());
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
