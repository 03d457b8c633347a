// Stands in for a game in the tests: appends its working directory, its arguments and a
// marker to the file named by FENMAR_FAKE_GAME_LOG, then exits.
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    const char* log = std::getenv("FENMAR_FAKE_GAME_LOG");
    if (log == nullptr) {
        return 2;
    }
    std::ofstream out(log, std::ios::app);
    char cwd[PATH_MAX];
    out << "cwd=" << (::getcwd(cwd, sizeof cwd) ? cwd : "?") << '\n';
    for (int i = 1; i < argc; ++i) {
        out << "arg=" << argv[i] << '\n';
    }
    out << "done\n";
    return 0;
}
