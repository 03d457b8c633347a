// The Add-ons window over the launcher's real windows, a catalogue on the loopback server and
// the stand-in game: install with requirements, play through the launch page, remove, cancel
// and a refused overwrite. Modal answers are scripted.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>

#include <QRadioButton>
#include "AddOnFixtures.h"
#include "Environment.h"
#include "FakeGameLog.h"
#include "LauncherWindows.h"
#include "addons/AddOnSettings.h"
#include "ui/addons/AddOnList.h"
#include "ui/addons/AddOnsWindow.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/window/ActionBar.h"

namespace fenmar {
namespace {

namespace fs = std::filesystem;

class AddOnsWindow : public ::testing::Test, public test::LauncherWindows {
protected:
    AddOnsWindow() {
        temp.MakeDir("quake/id1");
        fs::copy_file(FENMAR_FAKE_GAME, fs::path(quake) / "quake.exe");
        test::SetEnv("FENMAR_FAKE_GAME_LOG", log.string());
        test::SetEnv("XDG_CACHE_HOME", (temp.Path() / "cache").string());
        UseSettingsFile();
        dlg.globalOptions->edQuakePath->setText(test::Q(quake));
        dlg.options->rbCmdLine->setChecked(true);   // everything on the line
        dlg.actions->buRunQuake->setEnabled(true);  // as the first activation's checks leave it
    }

    // Opens the window as the action bar does, over a catalogue of `releases`.
    ui::AddOnsWindow& Open(const std::vector<test::Release>& releases) {
        const QString url = test::Publish(server, temp, releases);
        addons::WriteCatalogueAddress(*storage, url.toStdString());
        dlg.actions->buAddOns->click();
        ui::AddOnsWindow& w = windows.AddOns();
        Wait(w);
        return w;
    }

    // Runs the event loop until the window's fetch or install has ended (20 s at most).
    static void Wait(ui::AddOnsWindow& w) {
        QEventLoop loop;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (!w.Busy())
                loop.quit();
        });
        tick.start(20);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        ASSERT_FALSE(w.Busy());
    }

    static QStringList Column(ui::AddOnsWindow& w, int column) {
        QStringList cells;
        for (int row = 0; row < w.list->rowCount(); ++row) {
            cells << w.list->index(row, column).data().toString();
        }
        return cells;
    }

    std::string Q(const std::string& rel) const { return (fs::path(quake) / rel).string(); }

    test::LoopbackHttpServer server;
    const std::string quake = temp.MakeDir("quake");
    const fs::path log = temp.Path() / "game.log";
};

TEST_F(AddOnsWindow, InstallsRequirementsFirstAndPlaysThroughTheLaunchPage) {
    ui::AddOnsWindow& w = Open(test::ModAndMap());
    ASSERT_TRUE(w.isVisible());
    EXPECT_EQ(w.list->rowCount(), 2);
    EXPECT_TRUE(w.labCatalogue->text().startsWith("2 add-ons, fetched"))
        << w.labCatalogue->text().toStdString();

    // Every column sorts by its value; the filter looks at title, author and id.
    w.lvAddOns->sortByColumn(ui::AddOnList::ColType, Qt::AscendingOrder);
    EXPECT_EQ(Column(w, ui::AddOnList::ColTitle), (QStringList{"My Map", "My Mod"}));
    w.lvAddOns->sortByColumn(ui::AddOnList::ColType, Qt::DescendingOrder);
    EXPECT_EQ(Column(w, ui::AddOnList::ColTitle), (QStringList{"My Mod", "My Map"}));
    w.edFilter->setText("MAP my");
    EXPECT_EQ(Column(w, ui::AddOnList::ColTitle), (QStringList{"My Map"}));

    ASSERT_TRUE(w.Select("mymap"));
    EXPECT_TRUE(w.tbDescription->toHtml().contains("My Map"));
    EXPECT_FALSE(w.buPlay->isEnabled());
    w.buInstall->click();  // the list of what comes first is confirmed with OK (default)
    Wait(w);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages[0].text.contains("mymod\nmymap"))
        << services.messages[0].text.toStdString();
    EXPECT_EQ(test::ReadFile(Q("mymod/maps/second.bsp")), "second map");
    EXPECT_TRUE(fs::exists(Q("mymod/pak0.pak")));
    EXPECT_EQ(w.Installer().Summary().installed, (std::vector<std::string>{"mymod", "mymap"}));

    w.edFilter->clear();
    w.cbHideInstalled->setChecked(true);
    EXPECT_EQ(w.list->rowCount(), 0);
    w.cbInstalledOnly->setChecked(true);
    EXPECT_FALSE(w.cbHideInstalled->isChecked());
    EXPECT_EQ(Column(w, ui::AddOnList::ColInstalled), (QStringList{"installed", "installed"}));

    // Play: the second start map chosen; the launch page filled and the game run.
    ASSERT_TRUE(w.Select("mymap"));
    services.choiceAnswers.push_back(std::vector<int>{1});
    ASSERT_TRUE(w.buPlay->isEnabled());
    w.buPlay->click();
    ASSERT_EQ(services.choiceRequests.size(), 1u);
    EXPECT_EQ(services.choiceRequests[0].items, (QStringList{"first", "second"}));
    EXPECT_EQ(dlg.general->comboPatch->currentText(), "mymod");
    EXPECT_EQ(dlg.general->comboMap->currentText(), "second");
    ASSERT_EQ(dlg.general->lbAddParams->count(), 1);
    EXPECT_EQ(dlg.general->lbAddParams->item(0)->text(), "-nomonsters");
    const test::FakeGameRun run = test::WaitForFakeGame(log);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.args,
              (std::vector<std::string>{"-game", "mymod", "-nomonsters", "+map", "second"}));

    // Nothing the description names was fetched.
    for (const QString& path : server.Requests()) {
        EXPECT_NE(path, "/x.png");
    }

    // Remove keeps the file the user changed and says so.
    temp.WriteFile("quake/mymod/maps/first.bsp", "edited");
    services.messageAnswers.push_back(ui::MessageResult::Yes);
    w.buRemove->click();
    EXPECT_FALSE(fs::exists(Q("mymod/maps/second.bsp")));
    EXPECT_EQ(test::ReadFile(Q("mymod/maps/first.bsp")), "edited");
    ASSERT_EQ(services.messages.size(), 3u);
    EXPECT_TRUE(services.messages[2].text.contains("first.bsp"));
}

TEST_F(AddOnsWindow, CancelsADownloadAndRefusesAnOverwriteLeavingNothingBehind) {
    std::string noise(300 * 1024, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    test::Release slow{"slow", 1, "Slow", "id1/maps", "", {}, {}, {{"slow.bsp", noise, false}}};
    slow.mode = test::LoopbackHttpServer::Route::Mode::Slow;
    test::Release clash{
        "clash", 1,  "Clash", "id1",
        "",      {}, {},      {{"maps/clash.bsp", "theirs"}, {"autoexec.cfg", "bind x quit"}}};
    test::Release evil{"evil", 1,  "Evil", "id1/maps",
                       "",     {}, {},     {{"good.bsp", "fine"}, {"../../x", "escaped"}}};
    const std::string mine = temp.WriteFile("quake/id1/autoexec.cfg", "mine");
    ui::AddOnsWindow& w = Open({slow, clash, evil});

    ASSERT_TRUE(w.Select("slow"));
    bool cancelled = false;
    QObject::connect(&w.Installer(), &download::AddOnInstaller::downloadProgress, &w,
                     [&](qint64 got, qint64) {
                         if (got > 0 && !cancelled) {
                             cancelled = true;
                             w.buCancel->click();
                         }
                     });
    EXPECT_FALSE(w.buCancel->isEnabled());
    w.buInstall->click();
    EXPECT_TRUE(w.buCancel->isEnabled());
    Wait(w);
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(w.Installer().Summary().cancelled);
    EXPECT_FALSE(fs::exists(Q("id1/maps/slow.bsp")));
    EXPECT_EQ(w.labProgress->text(), "Install cancelled.");

    ASSERT_TRUE(w.Select("clash"));
    services.messageAnswers.push_back(ui::MessageResult::No);  // keep my autoexec.cfg
    w.buInstall->click();
    Wait(w);
    ASSERT_EQ(services.messages.size(), 2u);
    EXPECT_TRUE(services.messages[0].text.contains("autoexec.cfg"));
    EXPECT_EQ(services.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(services.messages[1].icon, ui::MessageIcon::Error);
    EXPECT_EQ(test::ReadFile(mine), "mine");
    EXPECT_FALSE(fs::exists(Q("id1/maps/clash.bsp")));

    // A zip whose entry climbs out is refused with a message; nothing is written anywhere.
    ASSERT_TRUE(w.Select("evil"));
    w.buInstall->click();
    Wait(w);
    ASSERT_EQ(services.messages.size(), 3u);
    EXPECT_TRUE(services.messages[2].text.contains(".."))
        << services.messages[2].text.toStdString();
    EXPECT_FALSE(fs::exists(Q("id1/maps")));
    EXPECT_FALSE(fs::exists(Q("x")));
    EXPECT_FALSE(fs::exists(temp.Path() / "x"));
}

}  // namespace
}  // namespace fenmar
