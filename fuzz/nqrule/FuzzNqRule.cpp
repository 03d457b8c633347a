// Any datagram as a rule-info answer: a rule with a name, the end of the list, or refused.
#include <cstdlib>

#include "net/Protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fenmar::net;
    const auto rule = ParseNqRuleInfo(ByteView(data, size));
    if (rule && !rule->last &&
        (rule->name.empty() || rule->name.size() > kMaxTextLength ||
         rule->value.size() > kMaxTextLength)) {
        std::abort();
    }
    return 0;
}
