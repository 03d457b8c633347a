// The SQLite backend: case-insensitive names, recursive delete, enumeration order,
// transactions, the file's location and the broken-file rule.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include <sqlite3.h>

#include "StoreTestSupport.h"
#include "store/RegistryHandling.h"
#include "store/SqliteStore.h"

namespace fenmar::store {
namespace {

using fenmar::test::ReadFile;
using fenmar::test::TempDir;
using test::Bytes;
using Strings = std::vector<std::string>;

Strings Subkeys(Store& store, const std::string& path) {
    Strings out;
    EXPECT_EQ(store.EnumSubkeys(path, out), Status::Ok) << path;
    return out;
}

Strings ValueNames(Store& store, const std::string& path) {
    std::vector<NamedValue> values;
    EXPECT_EQ(store.EnumValues(path, values), Status::Ok) << path;
    Strings names;
    for (const auto& v : values) {
        names.push_back(v.name);
    }
    return names;
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class SqliteStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = (dir.Path() / "settings.sqlite").string();
    std::unique_ptr<Store> store = test::OpenFresh(dir);
};

TEST_F(SqliteStoreTest, KeyPathsAndNamesIgnoreCase) {
    ASSERT_EQ(store->CreateKey("Software\\Corvanta\\Fenmar\\QuickSets"), Status::Ok);
    EXPECT_TRUE(store->KeyExists("SOFTWARE\\corvanta\\FENMAR\\quicksets"));
    bool created = true;
    ASSERT_EQ(store->CreateKey("software\\CORVANTA\\fenmar", &created), Status::Ok);
    EXPECT_FALSE(created);
    EXPECT_EQ(Subkeys(*store, "Software"), (Strings{"Corvanta"}));  // first capitals kept

    ASSERT_EQ(
        store->SetValue("Software\\Corvanta\\Fenmar\\QuickSets", "CurrentSelected", kRegSz, "a"),
        Status::Ok);
    ASSERT_EQ(
        store->SetValue("software\\corvanta\\fenmar\\quicksets", "CURRENTSELECTED", kRegSz, "b"),
        Status::Ok);
    EXPECT_EQ(ValueNames(*store, "Software\\Corvanta\\Fenmar\\QuickSets"),
              (Strings{"CurrentSelected"}));
    EXPECT_EQ(Bytes(*store, "SOFTWARE\\Corvanta\\Fenmar\\QuickSets", "currentselected"), "b");
}

TEST_F(SqliteStoreTest, NonAsciiLettersIgnoreCaseToo) {
    ASSERT_EQ(store->CreateKey("Software\\Städte\\Ελλάδα\\Москва"), Status::Ok);
    EXPECT_TRUE(store->KeyExists("SOFTWARE\\STÄDTE\\ΕΛΛΆΔΑ\\МОСКВА"));
    store->SetValue("Software\\Städte", "Ærø", kRegSz, "x");
    EXPECT_EQ(Bytes(*store, "software\\städte", "ærØ"), "x");
    EXPECT_EQ(FoldCase("straße"), "STRAßE");  // no multi-letter folds
    EXPECT_TRUE(EqualsIgnoringCase("ÿ", "Ÿ"));
}

TEST_F(SqliteStoreTest, PathsAreNormalized) {
    ASSERT_EQ(store->CreateKey("\\Software\\\\Corvanta\\"), Status::Ok);
    EXPECT_TRUE(store->KeyExists("Software\\Corvanta"));
    EXPECT_EQ(NormalizeKeyPath("\\a\\\\b\\"), "a\\b");
    EXPECT_EQ(JoinKeyPath("", "x"), "x");
    EXPECT_EQ(JoinKeyPath("a", "x"), "a\\x");
}

TEST_F(SqliteStoreTest, KeyNamesAreLimitedTo255CharactersAndPathsTo512Levels) {
    EXPECT_EQ(store->CreateKey("Software\\" + std::string(255, 'k')), Status::Ok);
    EXPECT_EQ(store->CreateKey("Software\\" + std::string(256, 'k')), Status::InvalidArgument);
    EXPECT_FALSE(CreateKey(*store, std::string(256, 'k')).IsOpen());
    std::string deep;
    for (int i = 0; i < 512; ++i) {
        deep += "\\d";
    }
    EXPECT_EQ(store->CreateKey(deep), Status::Ok);
    EXPECT_EQ(store->CreateKey(deep + "\\d"), Status::InvalidArgument);
}

TEST_F(SqliteStoreTest, RootExistsAndHoldsValues) {
    EXPECT_TRUE(store->KeyExists(""));
    EXPECT_EQ(store->SetValue("", "AtRoot", kRegSz, "r"), Status::Ok);
    EXPECT_EQ(Bytes(*store, "", "atroot"), "r");
    EXPECT_EQ(store->DeleteKey(""), Status::InvalidArgument);
}

TEST_F(SqliteStoreTest, DeleteKeyRemovesEverythingBelow) {
    for (const char* path : {"R\\A", "R\\A\\B", "R\\A\\B\\C", "R\\A2", "R\\A\\D"}) {
        ASSERT_EQ(store->CreateKey(path), Status::Ok);
        ASSERT_EQ(store->SetValue(path, "v", kRegSz, path), Status::Ok);
    }
    EXPECT_EQ(store->DeleteKey("r\\a"), Status::Ok);
    EXPECT_FALSE(store->KeyExists("R\\A"));
    EXPECT_FALSE(store->KeyExists("R\\A\\B\\C"));
    EXPECT_EQ(Subkeys(*store, "R"), (Strings{"A2"}));
    EXPECT_EQ(Bytes(*store, "R\\A2", "v"), "R\\A2");
    EXPECT_EQ(store->DeleteKey("R\\A"), Status::NotFound);
    store.reset();
    // Nothing of the deleted branch is left in the file.
    EXPECT_EQ(test::QueryFile(file, "SELECT count(*) FROM vals"), "1");
    EXPECT_EQ(test::QueryFile(file, "SELECT count(*) FROM keys"), "3");  // root, R, R\A2
}

TEST_F(SqliteStoreTest, DeleteKeyKeepsSiblingsThatSortNextToItsBranch) {
    // Folded names that continue past "duel" with a character just below or above "\".
    const Strings siblings = {"Duel2", "Duel[", "Duel]", "Duel_CTF", "Duel{", "Duel}", "Duel~"};
    for (const std::string& name : siblings) {
        ASSERT_EQ(store->CreateKey("R\\" + name + "\\X"), Status::Ok) << name;
        ASSERT_EQ(store->SetValue("R\\" + name + "\\X", "v", kRegSz, name), Status::Ok) << name;
    }
    ASSERT_EQ(store->CreateKey("R\\Duel\\Sub"), Status::Ok);
    EXPECT_EQ(store->DeleteKey("R\\duel"), Status::Ok);
    EXPECT_EQ(Subkeys(*store, "R"), siblings);
    for (const std::string& name : siblings) {
        EXPECT_EQ(Bytes(*store, "R\\" + name + "\\X", "v"), name);
    }
}

TEST_F(SqliteStoreTest, ValuesEnumerateInTheOrderFirstWritten) {
    store->CreateKey("K");
    for (const char* name : {"zulu", "Alpha", "mike", "1", "Count"}) {
        store->SetValue("K", name, kRegSz, name);
    }
    EXPECT_EQ(ValueNames(*store, "K"), (Strings{"zulu", "Alpha", "mike", "1", "Count"}));
    store->SetValue("K", "ALPHA", kRegDword, std::string(4, '\0'));  // rewrite keeps place
    EXPECT_EQ(ValueNames(*store, "K"), (Strings{"zulu", "Alpha", "mike", "1", "Count"}));
    EXPECT_EQ(store->DeleteValue("K", "zulu"), Status::Ok);
    store->SetValue("K", "Zulu", kRegSz, "again");  // deleted and written anew: at the end
    EXPECT_EQ(ValueNames(*store, "K"), (Strings{"Alpha", "mike", "1", "Count", "Zulu"}));
    std::vector<NamedValue> values;
    store->EnumValues("K", values);
    EXPECT_EQ(values[0].type, kRegDword);
    EXPECT_EQ(values[4].bytes, "again");
}

TEST_F(SqliteStoreTest, SubkeysEnumerateSortedIgnoringCase) {
    for (const char* name : {"beta", "Alpha", "gamma", "_under", "Zeta", "<default>", "alpha2"}) {
        store->CreateKey(std::string("Q\\") + name);
    }
    // As the registry sorts: by the upper-case forms ("_" after the letters, "<" before).
    EXPECT_EQ(Subkeys(*store, "Q"),
              (Strings{"<default>", "Alpha", "alpha2", "beta", "gamma", "Zeta", "_under"}));
}

TEST_F(SqliteStoreTest, MissingKeysAndValues) {
    ValueData data;
    EXPECT_EQ(store->QueryValue("No\\Such", "x", data), Status::KeyDeleted);
    EXPECT_EQ(store->SetValue("No\\Such", "x", kRegSz, "y"), Status::KeyDeleted);
    EXPECT_EQ(store->DeleteValue("No\\Such", "x"), Status::KeyDeleted);
    Strings names;
    EXPECT_EQ(store->EnumSubkeys("No\\Such", names), Status::NotFound);
    std::vector<NamedValue> values;
    EXPECT_EQ(store->EnumValues("No\\Such", values), Status::NotFound);
    store->CreateKey("Yes");
    EXPECT_EQ(store->QueryValue("Yes", "x", data), Status::NotFound);
    EXPECT_EQ(store->DeleteValue("Yes", "x"), Status::NotFound);
    EXPECT_FALSE(OpenKey(*store, "No\\Such").IsOpen());
    EXPECT_TRUE(OpenKey(*store, "yes").IsOpen());
}

TEST_F(SqliteStoreTest, DataIsKeptByteForByte) {
    store->CreateKey("B");
    const std::string binary("\0\x01\xFF\"\\\n", 6);
    ASSERT_EQ(store->SetValue("B", "bin", 3, binary), Status::Ok);
    ValueData data;
    ASSERT_EQ(store->QueryValue("B", "bin", data), Status::Ok);
    EXPECT_EQ(data.type, 3u);
    EXPECT_EQ(data.bytes, binary);
    ASSERT_EQ(store->SetValue("B", "", kRegSz, "default"), Status::Ok);
    EXPECT_EQ(Bytes(*store, "B", ""), "default");
}

TEST_F(SqliteStoreTest, SettingsSurviveReopening) {
    Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\Internal");
    RegWriteString(key, "Quake Path", "/games/quake");
    RegWriteInteger(key, "MinBSPSize", 50);
    store.reset();
    OpenResult again = OpenStoreAt(file);
    EXPECT_TRUE(again.movedAsideTo.empty());
    EXPECT_TRUE(again.problem.empty());
    Key reopened = OpenKey(*again.store, "software\\corvanta\\fenmar\\internal");
    EXPECT_EQ(RegReadString(reopened, "Quake Path"), "/games/quake");
    EXPECT_EQ(RegReadInteger(reopened, "MinBSPSize"), 50);
}

TEST_F(SqliteStoreTest, RolledBackTransactionLeavesNothing) {
    store->CreateKey("T");
    store->SetValue("T", "old", kRegSz, "1");
    ASSERT_TRUE(store->BeginTransaction());
    store->SetValue("T", "old", kRegSz, "2");
    store->CreateKey("T\\New");
    store->DeleteValue("T", "old");
    store->Rollback();
    EXPECT_EQ(Bytes(*store, "T", "old"), "1");
    EXPECT_FALSE(store->KeyExists("T\\New"));
}

TEST_F(SqliteStoreTest, TransactionIsInvisibleToOthersUntilCommitted) {
    OpenResult other = OpenStoreAt(file);
    store->CreateKey("T");
    {
        Transaction transaction(*store);
        ASSERT_TRUE(transaction.Active());
        store->SetValue("T", "a", kRegSz, "1");
        store->SetValue("T", "b", kRegSz, "2");
        EXPECT_EQ(Bytes(*store, "T", "a"), "1");
        EXPECT_EQ(Bytes(*other.store, "T", "a"), "");  // readers are not blocked
        EXPECT_TRUE(transaction.Commit());
    }
    EXPECT_EQ(Bytes(*other.store, "T", "a"), "1");
    EXPECT_EQ(Bytes(*other.store, "T", "b"), "2");
}

TEST_F(SqliteStoreTest, TransactionObjectRollsBackUnlessCommitted) {
    store->CreateKey("T");
    {
        Transaction transaction(*store);
        store->SetValue("T", "lost", kRegSz, "x");
    }
    EXPECT_EQ(Bytes(*store, "T", "lost"), "");
}

TEST_F(SqliteStoreTest, TransactionsNest) {
    store->CreateKey("T");
    ASSERT_TRUE(store->BeginTransaction());
    store->SetValue("T", "outer", kRegSz, "1");
    ASSERT_TRUE(store->BeginTransaction());
    store->SetValue("T", "inner", kRegSz, "2");
    store->Rollback();
    ASSERT_TRUE(store->BeginTransaction());
    store->SetValue("T", "inner2", kRegSz, "3");
    EXPECT_TRUE(store->Commit());
    EXPECT_TRUE(store->Commit());
    EXPECT_EQ(Bytes(*store, "T", "outer"), "1");
    EXPECT_EQ(Bytes(*store, "T", "inner"), "");
    EXPECT_EQ(Bytes(*store, "T", "inner2"), "3");
    EXPECT_FALSE(store->Commit());  // nothing open
}

TEST_F(SqliteStoreTest, FailedOperationInsideTransactionKeepsTheRest) {
    store->CreateKey("T");
    Transaction transaction(*store);
    store->SetValue("T", "a", kRegSz, "1");
    EXPECT_EQ(store->SetValue("Missing", "b", kRegSz, "2"), Status::KeyDeleted);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_EQ(Bytes(*store, "T", "a"), "1");
}

TEST_F(SqliteStoreTest, FileIsMarkedAsOurs) {
    store.reset();
    EXPECT_EQ(test::QueryFile(file, "PRAGMA application_id"), std::to_string(kApplicationId));
    EXPECT_EQ(test::QueryFile(file, "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(test::QueryFile(file, "PRAGMA integrity_check"), "ok");
}

TEST(SqliteStoreOpen, DefaultLocationFollowsXdgConfigHome) {
    TempDir dir;
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", dir.Str().c_str());
        EXPECT_EQ(DefaultStorePath(), dir.Str() + "/fenmar/settings.sqlite");
        OpenResult opened = OpenDefaultStore();
        EXPECT_TRUE(opened.problem.empty()) << opened.problem;
        EXPECT_EQ(opened.file, dir.Str() + "/fenmar/settings.sqlite");
        opened.store->CreateKey("Software");
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / "fenmar" / "settings.sqlite"));
    }
    {
        ScopedEnv home("HOME", dir.Str().c_str());
        ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(DefaultStorePath(), dir.Str() + "/.config/fenmar/settings.sqlite");
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");  // not absolute: ignored
        EXPECT_EQ(DefaultStorePath(), dir.Str() + "/.config/fenmar/settings.sqlite");
        ScopedEnv empty("XDG_CONFIG_HOME", "");
        EXPECT_EQ(DefaultStorePath(), dir.Str() + "/.config/fenmar/settings.sqlite");
    }
}

void ExpectFreshStoreAfterMovingAside(const TempDir& dir, const std::string& junk) {
    const std::string file = (dir.Path() / "settings.sqlite").string();
    OpenResult opened = OpenStoreAt(file);
    EXPECT_TRUE(opened.problem.empty()) << opened.problem;
    ASSERT_FALSE(opened.movedAsideTo.empty());
    EXPECT_NE(opened.movedAsideTo, file);
    EXPECT_EQ(opened.movedAsideTo.rfind(file + ".broken-", 0), 0u) << opened.movedAsideTo;
    EXPECT_EQ(ReadFile(opened.movedAsideTo), junk);  // kept as it was
    // The fresh store works and is kept.
    ASSERT_EQ(opened.store->CreateKey("Software\\Corvanta"), Status::Ok);
    opened.store.reset();
    OpenResult again = OpenStoreAt(file);
    EXPECT_TRUE(again.movedAsideTo.empty());  // told once only
    EXPECT_TRUE(again.store->KeyExists("software\\corvanta"));
}

TEST(SqliteStoreOpen, FileThatIsNotADatabaseIsMovedAside) {
    TempDir dir;
    const std::string junk = "this is not a database, just some text\n" + std::string(5000, 'x');
    dir.WriteFile("settings.sqlite", junk);
    ExpectFreshStoreAfterMovingAside(dir, junk);
}

TEST(SqliteStoreOpen, ForeignDatabaseIsMovedAside) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE keys(x); INSERT INTO keys VALUES(1);", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    ExpectFreshStoreAfterMovingAside(dir, ReadFile(file));
}

TEST(SqliteStoreOpen, DamagedDatabaseIsMovedAside) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    {
        auto store = test::OpenFresh(dir);
        store->CreateKey("K");
        for (int i = 0; i < 500; ++i) {
            store->SetValue("K", "value" + std::to_string(i), kRegSz, std::string(100, 'v'));
        }
    }
    std::string bytes = ReadFile(file);
    ASSERT_GT(bytes.size(), 4096u * 4);
    for (std::size_t i = 4096; i < bytes.size(); i += 4096) {
        bytes.replace(i, 64, std::string(64, '\xA5'));  // every page header but the first
    }
    dir.WriteFile("settings.sqlite", bytes);
    ExpectFreshStoreAfterMovingAside(dir, bytes);
}

TEST(SqliteStoreOpen, EmptyFileIsAFreshStore) {
    TempDir dir;
    dir.WriteFile("settings.sqlite", "");
    OpenResult opened = OpenStoreAt((dir.Path() / "settings.sqlite").string());
    EXPECT_TRUE(opened.movedAsideTo.empty());
    EXPECT_TRUE(opened.problem.empty());
    EXPECT_EQ(opened.store->CreateKey("A"), Status::Ok);
}

TEST(SqliteStoreOpen, UnusableLocationFallsBackToMemory) {
    TempDir dir;
    dir.WriteFile("plainfile", "x");
    OpenResult opened = OpenStoreAt((dir.Path() / "plainfile" / "settings.sqlite").string());
    EXPECT_FALSE(opened.problem.empty());
    EXPECT_TRUE(opened.movedAsideTo.empty());
    ASSERT_NE(opened.store, nullptr);
    EXPECT_EQ(opened.store->CreateKey("A"), Status::Ok);
    EXPECT_TRUE(opened.store->KeyExists("a"));
    EXPECT_EQ(ReadFile(dir.Path() / "plainfile"), "x");
}

TEST(SqliteStoreOpen, MemoryStoreWorks) {
    auto store = OpenMemoryStore();
    ASSERT_NE(store, nullptr);
    Key key = CreateKey(*store, "A\\B");
    RegWriteStringList(key, {"x", "y"});
    std::vector<std::string> list;
    RegReadStringList(key, list);
    EXPECT_EQ(list, (Strings{"x", "y"}));
}

}  // namespace
}  // namespace fenmar::store
