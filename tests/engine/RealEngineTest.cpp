#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSlider>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "platform/ProgramSearch.h"
#include "store/OpenStore.h"
#include "ui/launch/GameLaunch.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/window/ActionBar.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kEngine = "/usr/games/quakespasm";

// Generous: the machine may be busy with other builds.
constexpr auto kPatience = 90s;

// A UDP port nobody uses right now, chosen by the system.
int FreeUdpPort() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port = ntohs(address.sin_port);
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

// Points this process's standard streams somewhere else while it exists; programs started
// meanwhile inherit them.
class RedirectedStreams {
public:
    RedirectedStreams(const fs::path& out, const fs::path& err) {
        std::fflush(stdout);
        std::fflush(stderr);
        Swap(0, ::open("/dev/null", O_RDONLY | O_CLOEXEC));
        Swap(1, ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        Swap(2, ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    }
    ~RedirectedStreams() {
        std::fflush(stdout);
        std::fflush(stderr);
        for (int fd = 0; fd < 3; ++fd) {
            if (saved_[fd] >= 0) {
                ::dup2(saved_[fd], fd);
                ::close(saved_[fd]);
            }
        }
    }
    RedirectedStreams(const RedirectedStreams&) = delete;
    RedirectedStreams& operator=(const RedirectedStreams&) = delete;

private:
    void Swap(int fd, int replacement) {
        saved_[fd] = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (replacement >= 0) {
            ::dup2(replacement, fd);
            ::close(replacement);
        }
    }
    int saved_[3] = {-1, -1, -1};
};

// True once the process has ended and was reaped (this test program adopts the detached
// games, see EngineTestMain.cpp).
bool Reaped(pid_t pid) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    return r == pid || (r < 0 && errno == ECHILD);
}

template <typename Predicate>
bool WaitFor(Predicate&& done, std::chrono::steady_clock::duration limit = kPatience) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// Ends the engine by its id: politely, then for sure; always reaps it.
void EndEngine(pid_t pid) {
    if (pid <= 0 || Reaped(pid)) {
        return;
    }
    ::kill(pid, SIGTERM);
    if (!WaitFor([&] { return Reaped(pid); }, 20s)) {
        ::kill(pid, SIGKILL);
        WaitFor([&] { return Reaped(pid); }, 20s);
    }
}

// The window over a real store, with a Quake directory and the engine as an executable row
// outside it.
class RealEngine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!platform::IsRunnableFile(kEngine)) {
            GTEST_SKIP() << kEngine << " is not installed (Debian package quakespasm)";
        }
        quake = dir.MakeDir("quake");
        auto opened = store::OpenStoreAt((dir.Path() / "settings.sqlite").string());
        storage = std::move(opened.store);
        context.store = storage.get();
        dlg.globalOptions->edQuakePath->setText(QString::fromStdString(quake));
        context.executables.Add({"QuakeSpasm", kEngine});
        QComboBox* box = dlg.general->comboExecutables;
        box->addItem("QuakeSpasm");
        box->setCurrentIndex(box->findText("QuakeSpasm"));
        // A dedicated server needs no display; a private port keeps it to itself.
        port = FreeUdpPort();
        ASSERT_GT(port, 0);
        context.globals.Profile->UDPPort = static_cast<std::uint16_t>(port);
        dlg.multiplayer->cbEnableServer->setChecked(true);
        dlg.multiplayer->rbDedicatedServer->setChecked(true);
    }
    void TearDown() override { EndEngine(engine); }

    // Presses "run Quake !" with the engine's output going to files.
    void Run() {
        {
            const RedirectedStreams streams(Out(), dir.Path() / "engine.err");
            dlg.gameLaunch->buRunQuakeClick();
        }
        engine = static_cast<pid_t>(dlg.gameLaunch->LastStartedProcess());
        for (const auto& m : services.messages) {
            ADD_FAILURE() << "message: " << m.text.toStdString();
        }
        ASSERT_GT(engine, 0);
    }
    fs::path Out() const { return dir.Path() / "engine.out"; }
    std::string Line() const { return dlg.commandLine->edCommandLine->text().toStdString(); }

    test::TempDir dir;
    std::string quake;
    int port = 0;
    pid_t engine = 0;
    std::unique_ptr<store::Store> storage;
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    ui::AppWindows windows{context};
    ui::TMainDialog& dlg = *windows.main;
};

TEST_F(RealEngine, ReportsTheCommandLineTheLauncherComposed) {
    dlg.options->rbCmdLine->setChecked(true);
    dlg.multiplayer->edHostName->clear();  // the engine reports its words without quotes
    Run();
    const std::string expected = std::string(kEngine) + " -basedir " + quake + " -udpport " +
                                 std::to_string(port) + " -dedicated";
    EXPECT_EQ(Line(), expected);
    // Without game data the engine stops by itself after reporting its command line.
    ASSERT_TRUE(WaitFor([&] { return Reaped(engine); })) << "the engine did not stop";
    const std::string out = test::ReadFile(Out());
    EXPECT_EQ(out.substr(0, out.find('\n')), "Command line: " + expected) << out;
}

// What quakestat says about the server on the port, as XML.
std::string Query(int port) {
    QProcess query;
    query.start(
        QStringLiteral("quakestat"),
        {QStringLiteral("-qs"), QStringLiteral("127.0.0.1:%1").arg(port), QStringLiteral("-xml")});
    if (!query.waitForFinished(30000)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return query.readAllStandardOutput().toStdString();
}

TEST_F(RealEngine, RunsADedicatedServerWithTheProfilesHostNameAndMap) {
    const fs::path data = FENMAR_QUAKE_FREE_DIR;
    if (!fs::is_directory(data / "id1")) {
        GTEST_SKIP() << "no free game data at " << data.string() << " (see its README)";
    }
    if (!platform::FindProgramOnPath("quakestat")) {
        GTEST_SKIP() << "quakestat is not installed (Debian package qstat)";
    }
    // A private copy: the engine may write into id1.
    fs::copy(data / "id1", fs::path(quake) / "id1", fs::copy_options::recursive);
    dlg.multiplayer->edHostName->setText(QStringLiteral("Fenmar test"));
    dlg.multiplayer->tbMaxPlayers->setValue(4);
    ui::SetComboText(dlg.general->comboMap, "start");
    dlg.options->rbConfigFile->setChecked(true);
    dlg.options->edConfigFile->setText(QStringLiteral("fenmar.cfg"));
    Run();
    EXPECT_EQ(Line(), std::string(kEngine) + " -basedir " + quake + " -udpport " +
                          std::to_string(port) + " -dedicated 4 +exec fenmar.cfg");
    EXPECT_EQ(test::ReadFile(fs::path(quake) / "id1" / "fenmar.cfg"),
              "hostname \"Fenmar test\"\r\nmap start\r\n");

    std::string reply;
    const bool up = WaitFor([&] {
        if (Reaped(engine)) {
            return true;  // gone: nothing more to wait for
        }
        reply = Query(port);
        return reply.find("<map>start</map>") != std::string::npos;
    });
    ASSERT_TRUE(up) << "no answer from the server; last reply:\n"
                    << reply << "\nengine errors:\n"
                    << test::ReadFile(dir.Path() / "engine.err");
    EXPECT_NE(reply.find("status=\"UP\""), std::string::npos) << reply;
    EXPECT_NE(reply.find("<name>Fenmar test</name>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<map>start</map>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<maxplayers>4</maxplayers>"), std::string::npos) << reply;
}

}  // namespace
}  // namespace fenmar
