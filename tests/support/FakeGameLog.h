#pragma once
// Reads what the stand-in game wrote, waiting (bounded) for it to finish.

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace fenmar::test {

struct FakeGameRun {
    bool finished = false;
    std::string cwd;
    std::vector<std::string> args;
};

inline FakeGameRun WaitForFakeGame(const std::filesystem::path& log) {
    using namespace std::chrono_literals;
    FakeGameRun run;
    for (int i = 0; i < 500 && !run.finished; ++i) {
        const std::string text = ReadFile(log);
        if (text.find("done\n") == std::string::npos) {
            std::this_thread::sleep_for(20ms);
            continue;
        }
        run.finished = true;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find('\n', pos);
            const std::string line = text.substr(pos, end - pos);
            if (line.rfind("cwd=", 0) == 0) run.cwd = line.substr(4);
            if (line.rfind("arg=", 0) == 0) run.args.push_back(line.substr(4));
            pos = end == std::string::npos ? text.size() : end + 1;
        }
    }
    return run;
}

}  // namespace fenmar::test
