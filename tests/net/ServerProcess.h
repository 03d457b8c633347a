#pragma once
// A real game server started for a test and ended by its process id.

#include <string>
#include <vector>

namespace fenmar::net::testing {

class ServerProcess {
public:
    // Starts `program` with `args`, its standard input a pipe kept open (a dedicated server
    // reads its console from there). Started() tells whether it runs.
    ServerProcess(const std::string& program, const std::vector<std::string>& args);
    ~ServerProcess();  // ends the process by its id and waits for it
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    bool Started() const { return pid_ > 0; }

private:
    long pid_ = -1;
    int input_ = -1;
};

// Runs a program to its end and returns what it printed; empty when it could not run.
std::string RunAndCapture(const std::string& program, const std::vector<std::string>& args);

bool CanRunServers();  // false where the tests cannot start programs this way (Windows)

}  // namespace fenmar::net::testing
