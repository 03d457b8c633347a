// The registry functions plug-ins call: checked from C (CApiChecks.c), and from a real
// plug-in library that resolves them from this program.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "CApiChecks.h"
#include "StoreTestSupport.h"
#include "store/PlugInKeys.h"
#include "store/RegistryHandling.h"

namespace fenmar::store {
namespace {

using fenmar::test::TempDir;

class CApiTest : public ::testing::Test {
protected:
    void SetUp() override { SetPlugInStore(store.get()); }
    void TearDown() override {
        SetPlugInStore(nullptr);
        EXPECT_EQ(OpenPlugInHandleCount(), 0u) << "a handle was left open";
    }

    TempDir dir;
    std::unique_ptr<Store> store = test::OpenFresh(dir);
};

// A failed C check shows the line of CApiChecks.c where it failed ("Which is: <line>").

TEST_F(CApiTest, TypesAndConstantsHaveTheWin32Shapes) {
    EXPECT_EQ(CheckTypesHaveWin32Sizes(), 0);
}

TEST_F(CApiTest, CreateOpenClose) {
    EXPECT_EQ(CheckCreateOpenClose(), 0);
    EXPECT_TRUE(store->KeyExists("Software\\Corvanta\\Fenmar\\CTest\\Deep\\Er\\Est"));
}

TEST_F(CApiTest, SetAndQueryValues) {
    EXPECT_EQ(CheckSetAndQueryValues(), 0);
    // The typed layer reads what C wrote (text with its zero, dword).
    const Key key = OpenKey(*store, "Software\\Corvanta\\Fenmar\\CTest");
    EXPECT_EQ(RegReadString(key, "Greeting"), "hello");
    EXPECT_EQ(RegReadInteger(key, "Number"), 0x11223344);
}

TEST_F(CApiTest, QueryBufferRules) {
    EXPECT_EQ(CheckQueryBufferRules(), 0);
}

TEST_F(CApiTest, NamesIgnoreCase) {
    ASSERT_EQ(CheckSetAndQueryValues(), 0);
    EXPECT_EQ(CheckNamesIgnoreCase(), 0);
}

TEST_F(CApiTest, EnumerateValuesInOrderFirstWritten) {
    EXPECT_EQ(CheckEnumerateValuesInOrder(), 0);
}

TEST_F(CApiTest, EnumerateSubkeysSortedIgnoringCase) {
    EXPECT_EQ(CheckEnumerateSubkeysSorted(), 0);
}

TEST_F(CApiTest, DeleteValueAndKey) {
    EXPECT_EQ(CheckDeleteValueAndKey(), 0);
}

TEST_F(CApiTest, InvalidHandlesAndArguments) {
    EXPECT_EQ(CheckInvalidHandlesAndArguments(), 0);
}

TEST_F(CApiTest, TextWrittenByTheTypedLayerReadsFromC) {
    Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\PlugIn-Settings\\Sample");
    RegWriteString(key, "Map", "dm4");
    char buf[16] = "xxxxxxxxxxxxxxx";
    DWORD size = sizeof buf;
    DWORD type = 0;
    PlugInKey handle(key);
    ASSERT_EQ(
        RegQueryValueExA(handle.Get(), "Map", nullptr, &type, reinterpret_cast<LPBYTE>(buf), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);       // stored without a zero...
    EXPECT_STREQ(buf, "dm4");  // ...but handed over with one
}

TEST_F(CApiTest, HostHandsAPlugInItsSettingsKey) {
    const Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\PlugIn-Settings\\Sample");
    {
        PlugInKey handle(key);
        ASSERT_TRUE(handle);
        EXPECT_EQ(SaveLikeAPlugIn(handle.Get()), 0);
        EXPECT_EQ(OpenPlugInHandleCount(), 1u);
    }
    EXPECT_EQ(OpenPlugInHandleCount(), 0u);
    EXPECT_EQ(RegReadString(key, "Nick"), "Ranger");
    EXPECT_EQ(RegReadInteger(key, "Volume"), 70);
    EXPECT_EQ(RegReadString(OpenSubkey(key, "colors"), "Shirt"), "red");
    EXPECT_EQ(WrapPlugInKey(Key()), nullptr);
}

TEST_F(CApiTest, WrappedKeyWorksOnItsOwnStoreEvenWithoutAPlugInStore) {
    SetPlugInStore(nullptr);
    const Key key = CreateKey(*store, "Software\\X");
    PlugInKey handle(key);
    EXPECT_EQ(SaveLikeAPlugIn(handle.Get()), 0);
    EXPECT_EQ(CheckWithoutStore(), 0);
    EXPECT_EQ(RegReadString(key, "nick"), "Ranger");
}

TEST_F(CApiTest, RealPlugInLibraryResolvesTheFunctionsFromTheProgram) {
    void* library = dlopen(FENMAR_STORE_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using SaveFn = LONG (*)(HKEY);
    using RestoreFn = LONG (*)(HKEY, char*, DWORD);
    auto save = reinterpret_cast<SaveFn>(dlsym(library, "FixtureSaveSettings"));
    auto restore = reinterpret_cast<RestoreFn>(dlsym(library, "FixtureRestoreSettings"));
    ASSERT_NE(save, nullptr);
    ASSERT_NE(restore, nullptr);

    const Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\PlugIn-Settings\\Fixture");
    {
        PlugInKey handle(key);
        EXPECT_EQ(save(handle.Get()), ERROR_SUCCESS);
    }
    EXPECT_EQ(RegReadString(key, "Map"), "e1m1");
    EXPECT_EQ(RegReadInteger(key, "Skill"), 3);
    EXPECT_EQ(RegReadString(OpenSubkey(key, "Sub"), "Deep"), "yes");
    {
        RegWriteString(key, "Map", "start");
        PlugInKey handle(key);
        char buf[32] = {};
        EXPECT_EQ(restore(handle.Get(), buf, sizeof buf), ERROR_SUCCESS);
        EXPECT_STREQ(buf, "start");
    }
    dlclose(library);
}

}  // namespace
}  // namespace fenmar::store
