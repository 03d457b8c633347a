// Stands in for a game in the tests: appends its working directory, its arguments and a
// marker to the file named by FENMAR_FAKE_GAME_LOG, then exits.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

int main(int argc, char** argv) {
    const char* log = std::getenv("FENMAR_FAKE_GAME_LOG");
    if (log == nullptr) {
        return 2;
    }
    std::ofstream out(log, std::ios::app | std::ios::binary);  // "\n" on every system
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    out << "cwd=" << (ec ? std::string("?") : cwd.string()) << '\n';
    for (int i = 1; i < argc; ++i) {
        out << "arg=" << argv[i] << '\n';
    }
    out << "done\n";
    return 0;
}
