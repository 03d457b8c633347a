// Two copies of the program at once, and a writer killed in the middle of its work: real
// child processes on one store file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>

#include "StoreTestSupport.h"
#include "store/RegistryHandling.h"

namespace fenmar::store {
namespace {

using fenmar::test::TempDir;
using test::Bytes;

// A pipe between the parent and its children; both ends are closed when it goes.
class Pipe {
public:
    Pipe() {
        if (pipe(fds_) != 0) {
            fds_[0] = fds_[1] = -1;
        }
    }
    ~Pipe() {
        Close(0);
        Close(1);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

protected:
    void Close(int end) {
        if (fds_[end] >= 0) {
            close(fds_[end]);
            fds_[end] = -1;
        }
    }
    int fds_[2];
};

// The parent closes it to let waiting children start together.
class StartSignal : Pipe {
public:
    void Wait() {  // in a child
        Close(1);
        char c = 0;
        while (read(fds_[0], &c, 1) > 0) {
        }
    }
    void Go() { Close(1); }  // in the parent
};

// A child tells the parent through it that it reached a point.
class ReadySignal : Pipe {
public:
    void Tell() {  // in a child
        const char c = 'r';
        [[maybe_unused]] const auto n = write(fds_[1], &c, 1);
    }
    bool Await() {  // in the parent; false when the child ended without telling
        Close(1);
        char c = 0;
        return read(fds_[0], &c, 1) == 1;
    }
};

// Lets the child go on writing for `delay`, then kills it: it must end by that kill.
void KillAfter(int child, std::chrono::milliseconds delay) {
    std::this_thread::sleep_for(delay);
    kill(child, SIGKILL);
    EXPECT_EQ(test::WaitChild(child), 128 + SIGKILL);
}

constexpr int kWrites = 150;

// One copy of the program: single writes and small transactions, each checked.
int Writer(const std::string& file, const std::string& tag) {
    OpenResult opened = OpenStoreAt(file);
    if (!opened.problem.empty() || !opened.movedAsideTo.empty()) {
        return 10;
    }
    Store& store = *opened.store;
    for (int i = 0; i < kWrites; ++i) {
        if (store.CreateKey("Shared\\" + tag) != Status::Ok) {
            return 11;
        }
        const std::string n = std::to_string(i);
        if (store.SetValue("Shared", tag + n, kRegSz, tag + n) != Status::Ok ||
            store.SetValue("Shared", "Both", kRegSz, tag + n) != Status::Ok) {
            return 12;
        }
        if (i % 10 == 0) {
            Transaction transaction(store);
            if (!transaction.Active()) {
                return 13;
            }
            for (int k = 0; k < 5; ++k) {
                if (store.SetValue("Shared\\" + tag, "t" + std::to_string(k), kRegSz, n) !=
                    Status::Ok) {
                    return 14;
                }
            }
            if (!transaction.Commit()) {
                return 15;
            }
        }
    }
    return 0;
}

TEST(StoreProcesses, TwoWritersAtOnceLoseNothing) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    {
        auto store = test::OpenFresh(dir);
        Key other = CreateKey(*store, "Software\\Corvanta\\Fenmar\\Unrelated");
        RegWriteString(other, "Keep", "me");
        RegWriteStringList(other, {"x", "y", "z"});
    }
    StartSignal start;
    const int a = test::StartChild([&] {
        start.Wait();
        return Writer(file, "A");
    });
    const int b = test::StartChild([&] {
        start.Wait();
        return Writer(file, "B");
    });
    start.Go();
    EXPECT_EQ(test::WaitChild(a), 0);
    EXPECT_EQ(test::WaitChild(b), 0);

    auto store = test::OpenFresh(dir);
    for (const char* tag : {"A", "B"}) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string name = tag + std::to_string(i);
            EXPECT_EQ(Bytes(*store, "Shared", name), name);
        }
        EXPECT_EQ(Bytes(*store, std::string("Shared\\") + tag, "t4"), std::to_string(kWrites - 10));
    }
    // The last writer wins: "Both" holds one writer's last text.
    const std::string both = Bytes(*store, "Shared", "Both");
    EXPECT_TRUE(both == "A" + std::to_string(kWrites - 1) ||
                both == "B" + std::to_string(kWrites - 1))
        << both;
    Key other = OpenKey(*store, "Software\\Corvanta\\Fenmar\\Unrelated");
    EXPECT_EQ(RegReadString(other, "Keep"), "me");
    std::vector<std::string> list;
    RegReadStringList(other, list);
    EXPECT_EQ(list, (std::vector<std::string>{"x", "y", "z"}));
    store.reset();
    EXPECT_EQ(test::QueryFile(file, "PRAGMA integrity_check"), "ok");
}

TEST(StoreProcesses, BusyStoreIsWaitedFor) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    const std::string reg = dir.WriteFile("child.reg",
                                          "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
                                          "\"child\"=\"c\"\r\n");
    auto store = test::OpenFresh(dir);
    store->CreateKey("K");
    ASSERT_TRUE(store->BeginTransaction());
    store->SetValue("K", "parent", kRegSz, "p");

    // Another copy of the program (a real process, not a fork: this one holds the store).
    const int child = test::StartTool({"--store", file, "import", reg}, "", dir);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, WNOHANG), 0) << "the writer did not wait";
    EXPECT_TRUE(store->Commit());
    const test::ToolRun run = test::FinishTool(child, dir);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Bytes(*store, "K", "parent"), "p");
    EXPECT_EQ(Bytes(*store, "K", "child"), "c");
}

TEST(StoreProcesses, WriterKilledMidTransactionDamagesNothing) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    {
        auto store = test::OpenFresh(dir);
        Key key = CreateKey(*store, "Software\\Corvanta\\Fenmar\\MRUs\\Demos");
        std::vector<std::string> demos;
        for (int i = 0; i < 50; ++i) {
            demos.push_back("old" + std::to_string(i));
        }
        RegWriteStringList(key, demos);
        CreateKey(*store, "Software\\Corvanta\\Fenmar\\Executables");
    }
    ReadySignal ready;
    const int child = test::StartChild([&] {
        OpenResult opened = OpenStoreAt(file);
        Store& store = *opened.store;
        if (!store.BeginTransaction()) {
            return 10;
        }
        // What SaveSettings does: delete, then rewrite, in one transaction.
        store.DeleteKey("Software\\Corvanta\\Fenmar\\Executables");
        store.DeleteKey("Software\\Corvanta\\Fenmar\\MRUs");
        Key key = CreateKey(store, "Software\\Corvanta\\Fenmar\\MRUs\\Demos");
        RegWriteStringList(key, {"new"});
        ready.Tell();
        for (long i = 0;; ++i) {  // keep writing until killed
            store.CreateKey("Software\\Grow\\" + std::to_string(i % 1000));
            store.SetValue("Software\\Grow", std::to_string(i), kRegSz, std::string(200, 'g'));
        }
    });
    ASSERT_TRUE(ready.Await());
    KillAfter(child, std::chrono::milliseconds(200));

    OpenResult opened = OpenStoreAt(file);
    EXPECT_TRUE(opened.movedAsideTo.empty());
    EXPECT_TRUE(opened.problem.empty());
    Key key = OpenKey(*opened.store, "Software\\Corvanta\\Fenmar\\MRUs\\Demos");
    std::vector<std::string> demos;
    RegReadStringList(key, demos);
    ASSERT_EQ(demos.size(), 50u);
    EXPECT_EQ(demos.front(), "old0");
    EXPECT_TRUE(opened.store->KeyExists("Software\\Corvanta\\Fenmar\\Executables"));
    EXPECT_FALSE(opened.store->KeyExists("Software\\Grow"));
    opened.store.reset();
    EXPECT_EQ(test::QueryFile(file, "PRAGMA integrity_check"), "ok");
}

TEST(StoreProcesses, WriterKilledWhileCommittingLeavesWholeTransactions) {
    TempDir dir;
    const std::string file = (dir.Path() / "settings.sqlite").string();
    test::OpenFresh(dir)->CreateKey("Counter");
    ReadySignal ready;
    const int child = test::StartChild([&]() -> int {
        OpenResult opened = OpenStoreAt(file);
        Store& store = *opened.store;
        for (int generation = 1;; ++generation) {
            Transaction transaction(store);
            for (int k = 0; k < 20; ++k) {
                store.SetValue("Counter", "k" + std::to_string(k), kRegSz,
                               std::to_string(generation) + std::string(300, '.'));
            }
            transaction.Commit();
            if (generation == 5) {
                ready.Tell();
            }
        }
    });
    ASSERT_TRUE(ready.Await());
    KillAfter(child, std::chrono::milliseconds(250));

    OpenResult opened = OpenStoreAt(file);
    EXPECT_TRUE(opened.movedAsideTo.empty());
    std::set<std::string> generations;
    for (int k = 0; k < 20; ++k) {
        generations.insert(Bytes(*opened.store, "Counter", "k" + std::to_string(k)));
    }
    EXPECT_EQ(generations.size(), 1u);  // every value from the same, whole transaction
    EXPECT_FALSE(generations.begin()->empty());
    opened.store.reset();
    EXPECT_EQ(test::QueryFile(file, "PRAGMA integrity_check"), "ok");
}

}  // namespace
}  // namespace fenmar::store
