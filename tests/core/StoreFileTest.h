#pragma once
// Tests of what the program stores: a settings file of their own in a fresh directory.

#include <gtest/gtest.h>

#include <memory>

#include "TempDir.h"
#include "store/OpenStore.h"

namespace fenmar::test {

class StoreFileTest : public ::testing::Test {
protected:
    StoreFileTest() : store_(store::OpenStoreAt(dir_.Str() + "/settings.sqlite").store) {}
    void SetUp() override {
        if (!store_) {
            GTEST_SKIP() << "this build has no file-backed settings store";
        }
    }

    TempDir dir_;
    std::unique_ptr<store::Store> store_;
};

}  // namespace fenmar::test
