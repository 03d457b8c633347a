#pragma once
// The command line's server query: one line per listed server, fields separated by tabs.

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

namespace fenmar::net {

// Prints, per address in the order given: address, kind (nq/qw/dp), state, host name, map,
// players, maximum, ping in ms (unknown numbers as "-"). Texts from servers are printed with
// control characters replaced, so an answer cannot forge lines or columns. Returns 0 when at
// least one server answered, 1 otherwise (also for an empty list, with a note on `err`).
int RunQueryCommand(const std::vector<std::string>& addresses, std::ostream& out, std::ostream& err,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

// Asks the masters (texts as ParseMasterAddress reads them) which servers are up, then those
// servers and the `addresses`, printing as RunQueryCommand does. Masters that did not answer
// in full are named on `err`. Returns 0 when at least one server answered, 1 otherwise.
int RunMasterQueryCommand(const std::vector<std::string>& masters,
                          const std::vector<std::string>& addresses, std::ostream& out,
                          std::ostream& err,
                          std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

}  // namespace fenmar::net
