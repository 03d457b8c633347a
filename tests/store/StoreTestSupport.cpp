// Helpers of the store tests that work with every backend.

#include "StoreTestSupport.h"

namespace fenmar::store::test {

std::string Bytes(Store& store, const std::string& path, const std::string& name) {
    ValueData data;
    if (store.QueryValue(path, name, data) != Status::Ok) {
        return {};
    }
    return data.bytes;
}

}  // namespace fenmar::store::test
