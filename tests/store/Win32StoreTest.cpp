// The registry backend against the system's real registry (Windows builds only): every case
// works below a key of its own in HKEY_CURRENT_USER and removes it again. What the backend
// wrote is also read back with the registry's own functions, and what they wrote is read
// through the backend.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "TempDir.h"
#include "store/OpenStore.h"
#include "store/RegFile.h"
#include "store/RegistryHandling.h"

namespace fenmar::store {
namespace {

using Strings = std::vector<std::string>;

// Is there a key at `path` below HKEY_CURRENT_USER, asked of the registry directly?
bool RegistryHasKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// A value as the registry itself has it: {type, bytes}, type REG_NONE and "" when absent.
ValueData RegistryValue(const std::string& path, const char* name) {
    ValueData value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    char data[512];
    DWORD size = sizeof data;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        value.type = type;
        value.bytes.assign(data, size);
    }
    RegCloseKey(key);
    return value;
}

// A text as read through the registry's ANSI functions: they may hand a text back with a
// terminating zero even when it was written without one. Drops that zero.
std::string Text(const std::string& bytes) {
    if (!bytes.empty() && bytes.back() == '\0') {
        return bytes.substr(0, bytes.size() - 1);
    }
    return bytes;
}

Strings ValueNames(Store& store, const std::string& path) {
    std::vector<NamedValue> values;
    EXPECT_EQ(store.EnumValues(path, values), Status::Ok);
    Strings names;
    for (const NamedValue& value : values) {
        names.push_back(value.name);
    }
    return names;
}

Strings SubkeyNames(Store& store, const std::string& path) {
    Strings names;
    EXPECT_EQ(store.EnumSubkeys(path, names), Status::Ok);
    return names;
}

class Win32StoreTest : public ::testing::Test {
protected:
    void TearDown() override {
        store->DeleteKey(root);
        EXPECT_FALSE(RegistryHasKey(root)) << "the test key was left behind";
    }

    std::unique_ptr<Store> store = OpenDefaultStore().store;
    const std::string root = "Software\\Fenmar store test " + std::to_string(GetCurrentProcessId());
    Key key = CreateKey(*store, root + "\\Settings");
};

TEST_F(Win32StoreTest, IsTheRegistryOfTheCurrentUser) {
    EXPECT_EQ(store->Location(), "HKEY_CURRENT_USER");
    ASSERT_TRUE(key.IsOpen());
    EXPECT_TRUE(RegistryHasKey(root + "\\Settings"));
    bool created = true;
    EXPECT_EQ(store->CreateKey(root + "\\Settings", &created), Status::Ok);
    EXPECT_FALSE(created);
    EXPECT_EQ(store->CreateKey(root + "\\Settings\\New\\Deeper", &created), Status::Ok);
    EXPECT_TRUE(created);
    EXPECT_TRUE(RegistryHasKey(root + "\\Settings\\New"));
}

TEST_F(Win32StoreTest, TypedValuesLandInTheRegistryWithTheirTypes) {
    RegWriteString(key, "LaunchMap", "e1m1");
    RegWriteInteger(key, "Skill", 0x01020304);
    RegWriteInteger(key, "Negative", -2);
    RegWriteBool(key, "Deathmatch", true);
    RegWriteBool(key, "Coop", false);

    const std::string path = key.Path();
    const ValueData map = RegistryValue(path, "LaunchMap");
    EXPECT_EQ(map.type, static_cast<std::uint32_t>(REG_SZ));
    EXPECT_EQ(Text(map.bytes), "e1m1");
    const ValueData skill = RegistryValue(path, "Skill");
    EXPECT_EQ(skill.type, static_cast<std::uint32_t>(REG_DWORD));
    EXPECT_EQ(skill.bytes, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(Text(RegistryValue(path, "Deathmatch").bytes), "Yes");
    EXPECT_EQ(Text(RegistryValue(path, "Coop").bytes), "No");

    EXPECT_EQ(RegReadString(key, "LaunchMap"), "e1m1");
    EXPECT_EQ(RegReadInteger(key, "Skill"), 0x01020304);
    EXPECT_EQ(RegReadInteger(key, "Negative"), -2);
    EXPECT_TRUE(RegReadBool(key, "Deathmatch"));
    EXPECT_FALSE(RegReadBool(key, "Coop"));
    EXPECT_EQ(RegReadString(key, "Absent"), "");
    EXPECT_EQ(RegReadInteger(key, "Absent"), -1);
    EXPECT_FALSE(RegReadBool(key, "Absent"));
}

TEST_F(Win32StoreTest, ValuesWrittenByOthersReadThroughTheTypedLayer) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_ALL_ACCESS, &raw),
              ERROR_SUCCESS);
    // With the terminating zero, as most programs write texts.
    RegSetValueExA(raw, "Map", 0, REG_SZ, reinterpret_cast<const BYTE*>("dm4"), 4);
    const DWORD number = 70;
    RegSetValueExA(raw, "Volume", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const std::string tooLong(261, 'x');
    RegSetValueExA(raw, "TooLong", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.data()),
                   static_cast<DWORD>(tooLong.size()));
    RegCloseKey(raw);

    EXPECT_EQ(RegReadString(key, "Map"), "dm4");
    EXPECT_EQ(RegReadInteger(key, "Volume"), 70);
    EXPECT_EQ(RegReadString(key, "TooLong"), "");
}

TEST_F(Win32StoreTest, StringListsRoundTrip) {
    RegWriteStringList(key, {"e1m1", "", "<none>", "E1M1", "start"});
    EXPECT_EQ(RegReadInteger(key, "Count"), 3);
    Strings list;
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"e1m1", "E1M1", "start"}));
    list.clear();
    RegReadStringList(key, list, true, 2);
    EXPECT_EQ(list, (Strings{"e1m1"}));
}

TEST_F(Win32StoreTest, ValuesEnumerateInTheOrderFirstWritten) {
    for (const char* name : {"zeta", "Alpha", "mid", "beta", "Zulu"}) {
        RegWriteString(key, name, "x");
    }
    RegWriteString(key, "ALPHA", "rewritten");  // keeps its place, and its spelling
    EXPECT_EQ(ValueNames(*store, key.Path()), (Strings{"zeta", "Alpha", "mid", "beta", "Zulu"}));
    EXPECT_EQ(RegReadString(key, "alpha"), "rewritten");

    // Deleted and written again: at the end.
    ASSERT_EQ(store->DeleteValue(key.Path(), "MID"), Status::Ok);
    RegWriteString(key, "mid", "again");
    EXPECT_EQ(ValueNames(*store, key.Path()), (Strings{"zeta", "Alpha", "beta", "Zulu", "mid"}));

    // Values another program wrote come after the ones written here.
    HKEY raw = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.Path().c_str(), 0, KEY_ALL_ACCESS, &raw),
              ERROR_SUCCESS);
    RegSetValueExA(raw, "Aaa", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 1);
    RegCloseKey(raw);
    const Strings names = ValueNames(*store, key.Path());
    EXPECT_EQ(names, (Strings{"zeta", "Alpha", "beta", "Zulu", "mid", "Aaa"}));
}

TEST_F(Win32StoreTest, OrderKeepingLeavesNoTraceInEnumerationOrExport) {
    RegWriteString(key, "b", "1");
    RegWriteString(key, "a", "2");
    std::vector<NamedValue> values;
    ASSERT_EQ(store->EnumValues(key.Path(), values), Status::Ok);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "b");
    EXPECT_EQ(Text(values[0].bytes), "1");
    EXPECT_EQ(values[1].name, "a");

    std::string out;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(ExportRegFile(*store, key.Path(), out, warnings, error)) << error;
    EXPECT_EQ(out, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key.Path() +
                       "]\r\n\"b\"=\"1\"\r\n\"a\"=\"2\"\r\n\r\n");
}

TEST_F(Win32StoreTest, SubkeysEnumerateSortedIgnoringCase) {
    for (const char* name : {"zeta", "_under", "Alpha", "mid", "beta", "Zulu", "a"}) {
        ASSERT_TRUE(CreateSubkey(key, name).IsOpen());
    }
    // Compared by their capitals, as the registry does: '_' sorts after the letters.
    EXPECT_EQ(SubkeyNames(*store, key.Path()),
              (Strings{"a", "Alpha", "beta", "mid", "zeta", "Zulu", "_under"}));
}

TEST_F(Win32StoreTest, NamesOfKeysAndValuesIgnoreCase) {
    RegWriteString(key, "LaunchMap", "e2m1");
    const std::string otherCapitals = "SOFTWARE\\" + root.substr(9) + "\\settings";
    EXPECT_TRUE(store->KeyExists(otherCapitals));
    EXPECT_EQ(RegReadString(*store, otherCapitals, "LAUNCHMAP"), "e2m1");
    RegWriteString(*store, otherCapitals, "launchmap", "e3m1");
    EXPECT_EQ(ValueNames(*store, key.Path()), (Strings{"LaunchMap"}));
    EXPECT_EQ(RegReadString(key, "LaunchMap"), "e3m1");
    bool created = true;
    EXPECT_EQ(store->CreateKey(otherCapitals, &created), Status::Ok);
    EXPECT_FALSE(created);
    EXPECT_EQ(SubkeyNames(*store, root), (Strings{"Settings"}));
}

TEST_F(Win32StoreTest, DeleteKeyRemovesEverythingBelow) {
    RegWriteString(key, "Top", "1");
    const Key deep = CreateKey(*store, key.Path() + "\\One\\Two\\Three");
    RegWriteString(deep, "Deep", "yes");
    CreateKey(*store, key.Path() + "\\One\\Sibling");
    CreateKey(*store, key.Path() + "\\Other");

    EXPECT_EQ(store->DeleteKey(root + "\\SETTINGS\\one"), Status::Ok);
    EXPECT_FALSE(RegistryHasKey(key.Path() + "\\One"));
    EXPECT_FALSE(store->KeyExists(key.Path() + "\\One\\Two\\Three"));
    EXPECT_EQ(SubkeyNames(*store, key.Path()), (Strings{"Other"}));
    EXPECT_EQ(RegReadString(key, "Top"), "1");

    EXPECT_EQ(store->DeleteKey(key.Path() + "\\One"), Status::NotFound);
    EXPECT_EQ(store->DeleteKey(""), Status::InvalidArgument);
}

TEST_F(Win32StoreTest, MissingKeysAndValues) {
    const std::string missing = root + "\\Nowhere";
    EXPECT_FALSE(store->KeyExists(missing));
    ValueData data;
    EXPECT_EQ(store->QueryValue(missing, "x", data), Status::KeyDeleted);
    EXPECT_EQ(store->SetValue(missing, "x", kRegSz, "y"), Status::KeyDeleted);
    EXPECT_FALSE(RegistryHasKey(missing));  // writing never creates the key
    EXPECT_EQ(store->QueryValue(key.Path(), "x", data), Status::NotFound);
    EXPECT_EQ(store->DeleteValue(key.Path(), "x"), Status::NotFound);
    Strings names;
    EXPECT_EQ(store->EnumSubkeys(missing, names), Status::NotFound);
    EXPECT_FALSE(OpenKey(*store, missing).IsOpen());
}

// fenmar-reg as a user runs it: a real process working on the real registry.
int RunRegTool(const std::string& arguments) {
    std::string line = "fenmar-reg " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(FENMAR_REG_TOOL, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TEST_F(Win32StoreTest, RegToolImportsIntoAndDeletesFromTheRegistry) {
    fenmar::test::TempDir dir;
    const std::string file = dir.WriteFile(
        "import.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + key.Path() +
                          "\\Imported]\r\n\"Nick\"=\"Ranger\"\r\n\"Volume\"=dword:00000046\r\n");
    ASSERT_EQ(RunRegTool("import \"" + file + "\""), 0);
    const Key imported = OpenSubkey(key, "imported");
    ASSERT_TRUE(imported.IsOpen());
    EXPECT_EQ(RegReadString(imported, "Nick"), "Ranger");
    EXPECT_EQ(RegReadInteger(imported, "Volume"), 70);

    ASSERT_EQ(RunRegTool("delete \"HKCU\\" + key.Path() + "\""), 0);
    EXPECT_FALSE(RegistryHasKey(key.Path()));
    EXPECT_EQ(RunRegTool("delete \"HKCU\\" + key.Path() + "\""), 1);
}

}  // namespace
}  // namespace fenmar::store
