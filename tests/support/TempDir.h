#pragma once
// A fresh directory below the system's temporary directory, removed with everything in it.

#include <filesystem>
#include <fstream>
#include <string>

namespace fenmar::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }
    // Creates `rel` (and its parents) below the directory and returns its full path.
    std::string MakeDir(const std::string& rel) const;
    std::string WriteFile(const std::string& rel, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

}  // namespace fenmar::test
