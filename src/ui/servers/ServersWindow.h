#pragma once
// The Servers window: the servers of the history, the user's own list and favourites, and
// with "Internet" those the master servers list, asked in the background what they run; a
// chosen server goes to the Multiplayer page's server box.

#include <QList>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/ServerLists.h"
#include "net/MasterQuery.h"
#include "net/ServerQuery.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItem;
class QStandardItemModel;
class QTableView;
class QTreeWidget;

namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

class ServersWindow : public QWidget {
    Q_OBJECT
public:
    enum Column {
        ColFavourite,
        ColName,
        ColAddress,
        ColMap,
        ColPlayers,
        ColPing,
        ColKind,
        ColState,
        ColumnCount
    };
    // Receives the server to join: its address as an engine's "connect" takes it, and the
    // protocol it answered in (or was forced to; Auto when neither is known).
    using ConnectFunction = std::function<void(const QString& address, net::ServerKind kind)>;

    // `history` gives the server box's items.
    ServersWindow(store::Store* store, std::function<std::vector<std::string>()> history,
                  ConnectFunction connect, QWidget* parent = nullptr);
    ~ServersWindow() override;

    // Lists the history and the kept servers again (keeps answers already known).
    void Reload();
    void Refresh();
    bool Refreshing() const { return worker_.joinable() && !finished_; }
    net::QueryOptions& Options() { return options_; }
    net::MasterOptions& MastersOptions() { return masterOptions_; }
    // Marks or unmarks the server of a model row as a favourite (stored at once).
    void ToggleFavourite(int row);
    // Told the text to show when an address typed to add cannot be read.
    void OnBadAddress(std::function<void(const QString&)> tell) { badAddress_ = std::move(tell); }

    QLineEdit* edFilter;
    QLineEdit* edPlayer;
    QCheckBox* cbInternet;
    QPushButton* buMasters;
    QCheckBox* cbHideEmpty;
    QCheckBox* cbHideFull;
    QPushButton* buRefresh;
    QTableView* lvServers;
    QTreeWidget* lvPlayers;
    QTreeWidget* lvRules;
    QLineEdit* edAddServer;
    QPushButton* buAddServer;
    QPushButton* buRemoveServer;
    QProgressBar* pbRefresh;
    QPushButton* buConnect;
    QPushButton* buCloseServers;
    QLabel* lbStatus;
    QWidget* pnMasters;
    QPlainTextEdit* edMasters;
    QPushButton* buSaveMasters;
    QPushButton* buDefaultMasters;
    QStandardItemModel* model;
    QSortFilterProxyModel* proxy;

signals:
    // A refresh has ended (all servers finished); the list shows every answer.
    void refreshFinished();

private:
    std::function<void(const QString&)> badAddress_;
    void BuildControls();
    void AddRow(const QString& address, bool kept);
    void AddFoundRows(int generation, const std::vector<std::string>& addresses);
    void buSaveMastersClick();
    void ShowMasters();
    bool IsFavourite(const std::string& address) const;
    void ShowResult(int row, const net::ServerResult& result);
    void FillCells(const QList<QStandardItem*>& items, const net::ServerResult& result) const;
    void ShowDetails();
    int CurrentRow() const;
    void UpdateButtons();
    void buAddServerClick();
    void buRemoveServerClick();
    void buConnectClick();
    void StopRefresh();
    void TakePending(int generation);

    store::Store* store_;
    std::function<std::vector<std::string>()> history_;
    ConnectFunction connect_;
    std::vector<std::string> kept_;
    std::vector<std::string> favourites_;
    std::vector<std::string> masters_ = DefaultMasters();  // without a store: until saved
    net::MasterOptions masterOptions_;
    // The model row of each server the running refresh asks, by the worker's index: the rows
    // listed when it began, then the rows the masters added.
    std::vector<int> rowOfIndex_;
    std::vector<net::ServerResult> results_;  // by row of the model
    net::QueryOptions options_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool finished_ = true;
    int done_ = 0;
    int generation_ = 0;
    std::vector<bool> counted_;
    std::mutex pendingMutex_;
    std::vector<std::pair<std::size_t, net::ServerResult>> pending_;  // from the worker
};

}  // namespace fenmar::ui
