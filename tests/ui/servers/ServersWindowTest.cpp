// The Servers window over a real settings file, asking small servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <thread>

#include "../net/Responder.h"
#include "LauncherWindows.h"
#include "core/ServerLists.h"
#include "store/RegistryHandling.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/servers/ServerListStore.h"
#include "ui/servers/ServersController.h"
#include "ui/servers/ServersWindow.h"
#include "ui/widgets/Controls.h"

namespace fenmar {
namespace {

using net::testing::NqServerScript;
using net::testing::Responder;
using ui::ServersWindow;

std::string ClosedPortAddress() {
    auto socket = platform::UdpSocket::Open(false);
    socket->Bind(*platform::ParseNumericAddress("127.0.0.1", 0));
    return "127.0.0.1:" + std::to_string(socket->LocalAddress()->port);
}

class ServersWindowTest : public ::testing::Test, public test::LauncherWindows {
protected:
    ServersWindowTest() {
        UseSettingsFile();
        // The server history as the settings fill it.
        multi.comboServer->addItem(QString::fromStdString(full.Address()));
        multi.comboServer->addItem(QString::fromStdString(empty.Address()));
    }

    ServersWindow& Open() {
        multi.buServers->click();
        ServersWindow* window = Controller().Window();
        EXPECT_NE(window, nullptr);
        window->Options().timeout = std::chrono::milliseconds(800);
        return *window;
    }
    ui::ServersController& Controller() {
        return *dlg.findChild<ui::ServersController*>(QStringLiteral("ServersController"));
    }
    // Lets the background refresh finish while the window's thread keeps running events.
    static void WaitForRefresh(ServersWindow& window) {
        QElapsedTimer timer;
        timer.start();
        while (window.Refreshing() && timer.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QCoreApplication::processEvents();
        ASSERT_FALSE(window.Refreshing());
    }
    static void RefreshAndWait(ServersWindow& window) {
        window.buRefresh->click();
        WaitForRefresh(window);
    }
    static int RowOf(const ServersWindow& w, const std::string& address) {
        for (int row = 0; row < w.proxy->rowCount(); ++row) {
            if (w.proxy->index(row, ServersWindow::ColAddress).data().toString().toStdString() ==
                address) {
                return row;
            }
        }
        return -1;
    }
    static QString Cell(const ServersWindow& w, const std::string& address, int column) {
        const int row = RowOf(w, address);
        return row < 0 ? QStringLiteral("<hidden>") : w.proxy->index(row, column).data().toString();
    }
    static void Select(ServersWindow& w, const std::string& address) {
        w.lvServers->selectRow(RowOf(w, address));
    }
    std::vector<std::string> Kept() { return ui::LoadKeptServers(storage.get()); }

    Responder full{NqServerScript("Full house", "dm4", 2, {{"Ranger", 12}, {"Grunt", 3}},
                                  {{"deathmatch", "1"}, {"fraglimit", "15"}})};
    Responder empty{NqServerScript("Empty hall", "e1m1", 10, {}, {{"teamplay", "0"}})};
    ui::MultiplayerPage& multi = *dlg.multiplayer;
};

TEST_F(ServersWindowTest, ListsHistoryAndKeptServersWithTheirAnswersInTheBackground) {
    const std::string closed = ClosedPortAddress();
    ui::SaveKeptServers(storage.get(), {closed, full.Address()});  // listed once only
    ServersWindow& w = Open();
    ASSERT_EQ(w.model->rowCount(), 3) << "the history's servers and the kept one, not <none>";
    EXPECT_TRUE(w.Refreshing()) << "the button starts a refresh and returns at once";
    WaitForRefresh(w);
    EXPECT_EQ(w.pbRefresh->value(), w.pbRefresh->maximum());

    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColName), "Full house");
    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColMap), "dm4");
    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColPlayers), "2/2");
    EXPECT_FALSE(Cell(w, full.Address(), ServersWindow::ColPing).isEmpty());
    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColState), "ok");
    EXPECT_EQ(Cell(w, empty.Address(), ServersWindow::ColPlayers), "0/10");
    EXPECT_EQ(Cell(w, closed, ServersWindow::ColState), "no answer");
    EXPECT_EQ(Cell(w, closed, ServersWindow::ColPlayers), "");
    // At the window's first size every column is in view: the table does not scroll sideways.
    QCoreApplication::processEvents();
    EXPECT_EQ(w.lvServers->horizontalScrollBar()->maximum(), 0);

    Select(w, full.Address());
    ASSERT_EQ(w.lvPlayers->topLevelItemCount(), 2);
    EXPECT_EQ(w.lvPlayers->topLevelItem(0)->text(0), "Ranger");
    EXPECT_EQ(w.lvPlayers->topLevelItem(0)->text(1), "12");
    ASSERT_EQ(w.lvRules->topLevelItemCount(), 2);
    EXPECT_EQ(w.lvRules->topLevelItem(1)->text(0), "fraglimit");
    EXPECT_EQ(w.lvRules->topLevelItem(1)->text(1), "15");
    Select(w, empty.Address());
    EXPECT_EQ(w.lvPlayers->topLevelItemCount(), 0);
    EXPECT_EQ(w.lvRules->topLevelItemCount(), 1);
}

TEST_F(ServersWindowTest, SortsNumbersAsNumbersAndFiltersByTextEmptyAndFull) {
    ServersWindow& w = Open();
    WaitForRefresh(w);
    w.lvServers->sortByColumn(ServersWindow::ColPlayers, Qt::DescendingOrder);
    EXPECT_EQ(w.proxy->index(0, ServersWindow::ColName).data().toString(), "Full house");
    w.lvServers->sortByColumn(ServersWindow::ColName, Qt::AscendingOrder);
    EXPECT_EQ(w.proxy->index(0, ServersWindow::ColName).data().toString(), "Empty hall");

    w.edFilter->setText(QStringLiteral("DM4"));
    EXPECT_EQ(w.proxy->rowCount(), 1);
    EXPECT_EQ(RowOf(w, full.Address()), 0);
    w.edFilter->clear();
    w.cbHideEmpty->setChecked(true);
    EXPECT_EQ(RowOf(w, empty.Address()), -1);
    EXPECT_GE(RowOf(w, full.Address()), 0);
    w.cbHideEmpty->setChecked(false);
    w.cbHideFull->setChecked(true);
    EXPECT_EQ(RowOf(w, full.Address()), -1);
    EXPECT_GE(RowOf(w, empty.Address()), 0);
}

TEST_F(ServersWindowTest, KeepsAddedServersUnderTheirOwnKeyAndRemovesOnlyThose) {
    ServersWindow& w = Open();
    WaitForRefresh(w);
    const std::string added = "qw://" + ClosedPortAddress();
    w.edAddServer->setText(QString::fromStdString(" " + added + " "));
    w.buAddServer->click();
    EXPECT_TRUE(w.Refreshing()) << "a server added is asked at once";
    WaitForRefresh(w);
    EXPECT_EQ(Cell(w, added, ServersWindow::ColState), "no answer") << "and has its answer";
    w.edAddServer->setText(QStringLiteral("bad address"));
    w.buAddServer->click();
    ASSERT_EQ(services.MessageTexts().size(), 1U) << "an address that cannot be read is told";
    EXPECT_TRUE(services.MessageTexts()[0].contains(QStringLiteral("\"bad address\"")));
    w.edAddServer->setText(QString::fromStdString(full.Address()));  // already listed
    w.buAddServer->click();
    EXPECT_EQ(Kept(), (std::vector<std::string>{added}));
    EXPECT_EQ(store::RegReadInteger(*storage, ui::ServersKeyPath(), "Count"), 1);
    EXPECT_EQ(w.model->rowCount(), 3);

    Select(w, full.Address());
    EXPECT_FALSE(w.buRemoveServer->isEnabled()) << "the history is not the user's list";
    Select(w, added);
    ASSERT_TRUE(w.buRemoveServer->isEnabled());
    w.buRemoveServer->click();
    EXPECT_TRUE(Kept().empty());
    EXPECT_EQ(w.model->rowCount(), 2);
}

TEST_F(ServersWindowTest, ConnectFillsTheServerBoxAndRunsTheConnectionRules) {
    ServersWindow& w = Open();
    WaitForRefresh(w);
    const std::string address = empty.Address();
    const QModelIndex cell = w.proxy->index(RowOf(w, address), ServersWindow::ColName);
    w.lvServers->setCurrentIndex(cell);
    emit w.lvServers->doubleClicked(cell);
    EXPECT_TRUE(multi.cbConnectToServer->isChecked());
    EXPECT_EQ(multi.comboServer->currentText().toStdString(), address);
    EXPECT_EQ(context.globals.Profile.Text(TextField::CurrentServer), address);
    EXPECT_EQ(context.globals.Profile->ConnectToServer, 1);
    EXPECT_TRUE(multi.comboServer->isEnabledTo(&dlg));
    EXPECT_FALSE(dlg.general->comboMap->isEnabledTo(&dlg)) << "the page's rules ran";
    EXPECT_FALSE(multi.cbEnableServer->isEnabledTo(&dlg));
}

TEST_F(ServersWindowTest, ConnectWhileAServerIsEnabledOnlyTellsWhy) {
    multi.cbEnableServer->click();
    ServersWindow& w = Open();
    WaitForRefresh(w);
    Select(w, full.Address());
    w.buConnect->click();
    EXPECT_FALSE(multi.cbConnectToServer->isChecked());
    EXPECT_EQ(context.globals.Profile->EnableServer, 1);
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_TRUE(services.messages[0].text.contains("Enable Quake-server"));
}

TEST_F(ServersWindowTest, FavouritesSortFirstAreStoredAndStayListed) {
    ServersWindow& w = Open();
    WaitForRefresh(w);
    w.lvServers->sortByColumn(ServersWindow::ColName, Qt::AscendingOrder);
    ASSERT_EQ(RowOf(w, full.Address()), 1);
    const QModelIndex star = w.proxy->index(1, ServersWindow::ColFavourite);
    emit w.lvServers->clicked(star);
    EXPECT_EQ(ReadStoredFavourites(*storage), std::vector<std::string>{full.Address()});
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        for (const int column : {ServersWindow::ColName, ServersWindow::ColPlayers}) {
            w.lvServers->sortByColumn(column, order);
            EXPECT_EQ(RowOf(w, full.Address()), 0) << column << " " << order;
        }
    }
    multi.comboServer->clear();  // no longer in the history: listed as a favourite
    multi.buServers->click();
    ASSERT_EQ(w.model->rowCount(), 1);
    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColFavourite), QString(QChar(0x2605)));
    emit w.lvServers->clicked(w.proxy->index(0, ServersWindow::ColFavourite));
    EXPECT_TRUE(ReadStoredFavourites(*storage).empty());
}

TEST_F(ServersWindowTest, FindsTheServerAPlayerIsOn) {
    ServersWindow& w = Open();
    WaitForRefresh(w);
    w.edPlayer->setText(QStringLiteral("rANGER"));
    EXPECT_EQ(w.proxy->rowCount(), 1);
    EXPECT_EQ(RowOf(w, full.Address()), 0);
    w.edPlayer->setText(QStringLiteral("nobody"));
    EXPECT_EQ(w.proxy->rowCount(), 0);
}

TEST_F(ServersWindowTest, InternetAsksTheStoredMastersAndMergesWhatTheyList) {
    Responder third{NqServerScript("Third", "e2m1", 4, {}, {})};
    const auto at = [](const std::string& address) {
        const auto colon = address.rfind(':');
        return *platform::ParseNumericAddress(
            address.substr(0, colon),
            static_cast<std::uint16_t>(std::stoi(address.substr(colon + 1))));
    };
    const std::string closed = ClosedPortAddress();
    // Lists a server of the history again, and one the window does not know yet.
    Responder dp([&](net::ByteView request, int) {
        const bool first =
            std::string(request.begin(), request.end()).find("FTE") == std::string::npos;
        return net::testing::DpMasterAnswers(
            first ? std::vector{at(full.Address()), at(third.Address())} : std::vector{at(closed)},
            1);
    });
    Responder silent([](net::ByteView, int) { return std::vector<net::Bytes>{}; });
    ServersWindow& w = Open();
    WaitForRefresh(w);
    w.MastersOptions().timeout = std::chrono::milliseconds(800);
    w.buMasters->click();
    EXPECT_FALSE(w.pnMasters->isHidden());
    EXPECT_EQ(w.edMasters->toPlainText().count(QLatin1Char('\n')),
              static_cast<int>(DefaultMasters().size()))
        << "a new user starts with the usual masters";
    w.edMasters->setPlainText(QStringLiteral("dp://%1\nnot a master!\n").arg(dp.Address().c_str()));
    w.buSaveMasters->click();
    EXPECT_TRUE(w.lbStatus->text().contains(QStringLiteral("Line 2")));
    EXPECT_EQ(ReadStoredMasters(*storage), DefaultMasters()) << "nothing saved";
    const std::string masters = "dp://" + dp.Address() + "\ndp://" + silent.Address() + "\n";
    w.edMasters->setPlainText(QString::fromStdString(masters));
    w.buSaveMasters->click();
    EXPECT_EQ(store::RegReadString(*storage, ServersKeyPath(), kMastersValue), masters);

    RefreshAndWait(w);
    EXPECT_EQ(w.model->rowCount(), 2) << "without \"Internet\" no master is asked";
    w.cbInternet->setChecked(true);
    RefreshAndWait(w);
    ASSERT_EQ(w.model->rowCount(), 4) << "the history's two, and two more from the master";
    EXPECT_EQ(Cell(w, third.Address(), ServersWindow::ColName), "Third");
    EXPECT_EQ(Cell(w, closed, ServersWindow::ColState), "no answer");
    EXPECT_EQ(Cell(w, full.Address(), ServersWindow::ColState), "ok");
    EXPECT_TRUE(w.lbStatus->text().contains(
        QStringLiteral("dp://%1 no answer").arg(silent.Address().c_str())))
        << w.lbStatus->text().toStdString();
    RefreshAndWait(w);
    EXPECT_EQ(w.model->rowCount(), 4) << "asked again, listed once";
    EXPECT_TRUE(Kept().empty()) << "found servers are not the user's list";
}

TEST_F(ServersWindowTest, ClosingDuringARefreshNeitherBlocksNorCrashes) {
    Responder silent([](net::ByteView, int) { return std::vector<net::Bytes>{}; });
    multi.comboServer->addItem(QString::fromStdString(silent.Address()));
    ServersWindow& w = Open();
    w.Options().timeout = std::chrono::milliseconds(60000);
    w.buRefresh->click();
    EXPECT_TRUE(w.Refreshing());
    multi.buServers->click();  // reopening lists again and starts anew
    EXPECT_TRUE(w.Refreshing());
    delete Controller().Window();  // the loop is cancelled and the thread joined
    EXPECT_EQ(Controller().Window(), nullptr);
}

TEST_F(ServersWindowTest, ANewRefreshKeepsItsFirstAnswersWhileTheOldOneIsStillQueued) {
    // A bad address is finished the moment a refresh starts: the first change of each refresh.
    multi.comboServer->addItem(QStringLiteral("bad:address:x"));
    ServersWindow& w = Open();  // the first refresh; its first change is queued, not yet taken
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    w.Refresh();  // the second: its first change goes out while the first's call still waits
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    WaitForRefresh(w);
    EXPECT_EQ(Cell(w, "bad:address:x", ServersWindow::ColState), "bad address");
}

TEST_F(ServersWindowTest, ShowsQuakeCharactersAsTextAndJoinsWithoutTheKind) {
    Responder gold(
        NqServerScript("\x90\xC7\xEF\xEC\xE4\x91 \x92\x9B", "e1m1", 4, {{"\xD2\x85x", 1}}, {}));
    const std::string listed = "nq://" + gold.Address();
    ui::SaveKeptServers(storage.get(), {listed});
    ServersWindow& w = Open();
    WaitForRefresh(w);
    EXPECT_EQ(Cell(w, listed, ServersWindow::ColName), "[Gold] 09");
    Select(w, listed);
    ASSERT_EQ(w.lvPlayers->topLevelItemCount(), 1);
    EXPECT_EQ(w.lvPlayers->topLevelItem(0)->text(0), "R.x");
    w.buConnect->click();
    EXPECT_EQ(multi.comboServer->currentText().toStdString(), gold.Address());
}

TEST_F(ServersWindowTest, JoinsQuakeWorldServersWithTheQuakeWorldEngineChosenOnce) {
    const std::string status = "\xFF\xFF\xFF\xFFn\\hostname\\QW\\map\\dm6\\maxclients\\8\n";
    Responder qw([&](net::ByteView request, int) -> std::vector<net::Bytes> {
        if (request.size() > 4 && request[4] == 's') {
            return {net::Bytes(status.begin(), status.end())};
        }
        return {};
    });
    Responder dp(net::testing::DpServerScript("DP", "start", 8, {}));
    ui::SaveKeptServers(storage.get(), {qw.Address(), "dp://" + dp.Address()});
    context.globals.Executable = "WinQuake";
    ServersWindow& w = Open();
    WaitForRefresh(w);
    EXPECT_EQ(Cell(w, qw.Address(), ServersWindow::ColKind), "qw");
    EXPECT_EQ(Cell(w, "dp://" + dp.Address(), ServersWindow::ColKind), "dp");
    const auto& rows = context.executables.Entries();
    const auto qwRow = std::find_if(rows.begin(), rows.end(),
                                    [](const auto& r) { return r.name == "QuakeWorld-client"; });
    ASSERT_NE(qwRow, rows.end());

    Select(w, qw.Address());
    w.buConnect->click();  // the question is cancelled: nothing changes
    ASSERT_EQ(services.choiceRequests.size(), 1u);
    EXPECT_FALSE(multi.cbConnectToServer->isChecked());
    EXPECT_EQ(context.globals.Executable, "WinQuake");
    const int suggested = services.choiceRequests[0].ticked.at(0);
    EXPECT_TRUE(rows[static_cast<std::size_t>(suggested)].name.find("QuakeWorld") !=
                std::string::npos);
    services.choiceAnswers.push_back(std::vector<int>{static_cast<int>(qwRow - rows.begin())});
    w.buConnect->click();
    EXPECT_EQ(context.globals.Executable, "QuakeWorld-client");
    EXPECT_EQ(dlg.general->comboExecutables->currentText(), "QuakeWorld-client");
    EXPECT_EQ(multi.comboServer->currentText().toStdString(), qw.Address());
    EXPECT_EQ(ui::LoadQuakeWorldEngine(storage.get()), "QuakeWorld-client");

    Select(w, "dp://" + dp.Address());
    w.buConnect->click();
    EXPECT_EQ(context.globals.Executable, "WinQuake") << "back to the NetQuake engine";
    EXPECT_EQ(multi.comboServer->currentText().toStdString(), dp.Address());
    Select(w, qw.Address());
    w.buConnect->click();
    EXPECT_EQ(services.choiceRequests.size(), 2u) << "chosen once, then kept";
    EXPECT_EQ(context.globals.Executable, "QuakeWorld-client");
    EXPECT_EQ(Kept().size(), 2u) << "the kept list keeps its meaning";
}

}  // namespace
}  // namespace fenmar
