// The Servers window over a real settings file, asking small servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>

#include "../net/Responder.h"
#include "LauncherWindows.h"
#include "store/RegistryHandling.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/servers/ServerListStore.h"
#include "ui/servers/ServersController.h"
#include "ui/servers/ServersWindow.h"

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

}  // namespace
}  // namespace fenmar
