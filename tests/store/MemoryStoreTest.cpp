// The store kept in memory (what builds without SQLite use) against the SQLite store's rules:
// one script of operations and what each must answer, run on both. In builds without SQLite
// the second store is a memory store too.

#include <gtest/gtest.h>

#include "store/MemoryStore.h"
#include "store/OpenStore.h"

namespace fenmar::store {
namespace {

enum class Op {
    Create,
    Exists,
    DeleteKey,
    Set,
    Get,
    DeleteValue,
    Subkeys,
    Values,
    Begin,
    Commit,
    Rollback
};

struct Step {
    Op op;
    std::string path;
    std::string name;
    std::string data;
    std::string expect;
    std::uint32_t type = kRegSz;
};

const char* StatusName(Status s) {
    switch (s) {
        case Status::Ok:
            return "Ok";
        case Status::NotFound:
            return "NotFound";
        case Status::KeyDeleted:
            return "KeyDeleted";
        case Status::InvalidArgument:
            return "InvalidArgument";
        case Status::Failed:
            return "Failed";
    }
    return "?";
}

// What the store answers to one step, as text.
std::string Answer(Store& store, const Step& s) {
    std::string out;
    switch (s.op) {
        case Op::Create: {
            bool created = false;
            out = StatusName(store.CreateKey(s.path, &created));
            return created ? out + " new" : out;
        }
        case Op::Exists:
            return store.KeyExists(s.path) ? "yes" : "no";
        case Op::DeleteKey:
            return StatusName(store.DeleteKey(s.path));
        case Op::Set:
            return StatusName(store.SetValue(s.path, s.name, s.type, s.data));
        case Op::Get: {
            ValueData data;
            out = StatusName(store.QueryValue(s.path, s.name, data));
            return out == "Ok" ? out + " " + std::to_string(data.type) + ":" + data.bytes : out;
        }
        case Op::DeleteValue:
            return StatusName(store.DeleteValue(s.path, s.name));
        case Op::Subkeys: {
            std::vector<std::string> names;
            out = StatusName(store.EnumSubkeys(s.path, names));
            for (std::size_t i = 0; i < names.size(); ++i) {
                out += (i == 0 ? " " : ",") + names[i];
            }
            return out;
        }
        case Op::Values: {
            std::vector<NamedValue> values;
            out = StatusName(store.EnumValues(s.path, values));
            for (std::size_t i = 0; i < values.size(); ++i) {
                out += (i == 0 ? " " : ",") + values[i].name + "=" + values[i].bytes;
            }
            return out;
        }
        case Op::Begin:
            return store.BeginTransaction() ? "true" : "false";
        case Op::Commit:
            return store.Commit() ? "true" : "false";
        case Op::Rollback:
            store.Rollback();
            return "";
    }
    return "?";
}

TEST(MemoryStore, AnswersAsTheSqliteStoreDoes) {
    std::string deep;
    for (int i = 0; i < 512; ++i) {
        deep += "\\d";
    }
    const std::string binary("\0\x01\xFF\"\\\n", 6);
    const std::string name255(255, 'k');
    const std::string name256(256, 'k');
    const Step steps[] = {
        // Paths and names ignore case (beyond ASCII too), the first spelling is kept, and
        // doubled, leading and trailing backslashes are passed over.
        {Op::Create, "Software\\Corvanta\\Fenmar", "", "", "Ok new"},
        {Op::Create, "software\\CORVANTA", "", "", "Ok"},
        {Op::Exists, "SOFTWARE\\corvanta\\FENMAR", "", "", "yes"},
        {Op::Create, "\\Software\\\\Corvanta\\Städte\\", "", "", "Ok new"},
        {Op::Exists, "software\\corvanta\\STÄDTE", "", "", "yes"},
        {Op::Subkeys, "SOFTWARE\\corvanta", "", "", "Ok Fenmar,Städte"},
        // Names up to 255 characters, paths up to 512 levels; the root holds values and stays.
        {Op::Create, "K\\" + name255, "", "", "Ok new"},
        {Op::Create, "K\\" + name256, "", "", "InvalidArgument"},
        {Op::Exists, "K\\" + name256, "", "", "no"},
        {Op::Create, deep, "", "", "Ok new"},
        {Op::Create, deep + "\\d", "", "", "InvalidArgument"},
        {Op::Set, "", "AtRoot", "r", "Ok"},
        {Op::Get, "", "atroot", "", "Ok 1:r"},
        {Op::DeleteKey, "", "", "", "InvalidArgument"},
        {Op::Exists, "", "", "", "yes"},
        // Values in the order first written; rewriting keeps the place (and the first
        // spelling), one deleted and written anew goes to the end; bytes are kept as written.
        {Op::Create, "V", "", "", "Ok new"},
        {Op::Set, "V", "zulu", "z", "Ok"},
        {Op::Set, "V", "Alpha", "a", "Ok"},
        {Op::Set, "V", "mike", "m", "Ok"},
        {Op::Set, "V", "ALPHA", "A2", "Ok", kRegDword},
        {Op::Values, "V", "", "", "Ok zulu=z,Alpha=A2,mike=m"},
        {Op::DeleteValue, "V", "ZULU", "", "Ok"},
        {Op::Set, "V", "Zulu", "again", "Ok"},
        {Op::Values, "V", "", "", "Ok Alpha=A2,mike=m,Zulu=again"},
        {Op::Get, "v", "alpha", "", "Ok 4:A2"},
        {Op::Set, "V", "bin", binary, "Ok", 3},
        {Op::Get, "V", "BIN", "", "Ok 3:" + binary},
        {Op::Set, "V", "", "default", "Ok"},
        {Op::Get, "V", "", "", "Ok 1:default"},
        // Missing keys and values.
        {Op::Get, "No\\Such", "x", "", "KeyDeleted"},
        {Op::Set, "No\\Such", "x", "y", "KeyDeleted"},
        {Op::DeleteValue, "No\\Such", "x", "", "KeyDeleted"},
        {Op::Subkeys, "No\\Such", "", "", "NotFound"},
        {Op::Values, "No\\Such", "", "", "NotFound"},
        {Op::DeleteKey, "No\\Such", "", "", "NotFound"},
        {Op::Get, "V", "nothing", "", "NotFound"},
        {Op::DeleteValue, "V", "nothing", "", "NotFound"},
        // Subkeys sorted as the registry sorts: by the upper-case forms.
        {Op::Create, "Q\\beta", "", "", "Ok new"},
        {Op::Create, "Q\\Alpha", "", "", "Ok new"},
        {Op::Create, "Q\\_under", "", "", "Ok new"},
        {Op::Create, "Q\\Zeta", "", "", "Ok new"},
        {Op::Create, "Q\\<default>", "", "", "Ok new"},
        {Op::Create, "Q\\alpha2\\deeper", "", "", "Ok new"},
        {Op::Subkeys, "q", "", "", "Ok <default>,Alpha,alpha2,beta,Zeta,_under"},
        // Deleting a key takes its branch, and only its branch, with it.
        {Op::Create, "R\\Duel\\Sub", "", "", "Ok new"},
        {Op::Set, "R\\Duel", "v", "1", "Ok"},
        {Op::Create, "R\\Duel2\\X", "", "", "Ok new"},
        {Op::Create, "R\\Duel[\\X", "", "", "Ok new"},
        {Op::Create, "R\\Duel]\\X", "", "", "Ok new"},
        {Op::DeleteKey, "r\\DUEL", "", "", "Ok"},
        {Op::Exists, "R\\Duel\\Sub", "", "", "no"},
        {Op::Subkeys, "R", "", "", "Ok Duel2,Duel[,Duel]"},
        {Op::Exists, "R\\Duel]\\X", "", "", "yes"},
        {Op::DeleteKey, "R\\Duel", "", "", "NotFound"},
        {Op::Create, "R\\Duel", "", "", "Ok new"},
        {Op::Values, "R\\Duel", "", "", "Ok"},
        // Transactions nest: a rolled back inner one loses only its own writes.
        {Op::Create, "T", "", "", "Ok new"},
        {Op::Begin, "", "", "", "true"},
        {Op::Set, "T", "outer", "1", "Ok"},
        {Op::Begin, "", "", "", "true"},
        {Op::Set, "T", "inner", "2", "Ok"},
        {Op::Create, "T\\Inner", "", "", "Ok new"},
        {Op::Rollback, "", "", "", ""},
        {Op::Begin, "", "", "", "true"},
        {Op::Set, "T", "inner2", "3", "Ok"},
        {Op::Commit, "", "", "", "true"},
        {Op::Commit, "", "", "", "true"},
        {Op::Commit, "", "", "", "false"},
        {Op::Values, "T", "", "", "Ok outer=1,inner2=3"},
        {Op::Exists, "T\\Inner", "", "", "no"},
        {Op::Begin, "", "", "", "true"},
        {Op::DeleteKey, "T", "", "", "Ok"},
        {Op::Rollback, "", "", "", ""},
        {Op::Values, "T", "", "", "Ok outer=1,inner2=3"},
    };
    const std::unique_ptr<Store> memory = MakeMemoryStore();
    const std::unique_ptr<Store> reference = OpenMemoryStore();
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Answer(*memory, steps[i]), steps[i].expect) << "step " << i << " (memory)";
        EXPECT_EQ(Answer(*reference, steps[i]), steps[i].expect) << "step " << i << " (reference)";
    }
}

}  // namespace
}  // namespace fenmar::store
