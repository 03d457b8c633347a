#include "ui/servers/ServersWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/servers/ServerListStore.h"

namespace fenmar::ui {

namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kKeptRole = Qt::UserRole + 2;
constexpr int kPlayersRole = Qt::UserRole + 3;
constexpr int kMaxRole = Qt::UserRole + 4;

QString FromText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool SameAddress(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

bool IsServerText(const std::string& text) {
    return !text.empty() && text != "<none>";
}

// Filter box, "hide empty" and "hide full" over the server list.
class ServerFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QString text;
    bool hideEmpty = false;
    bool hideFull = false;
    void Apply() { invalidateFilter(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QAbstractItemModel* m = sourceModel();
        const QModelIndex first = m->index(row, 0, parent);
        const int players = first.data(kPlayersRole).toInt();
        const int max = first.data(kMaxRole).toInt();
        const bool known = max > 0;
        if (hideEmpty && known && players == 0) {
            return false;
        }
        if (hideFull && known && players >= max) {
            return false;
        }
        if (text.isEmpty()) {
            return true;
        }
        for (const int column :
             {ServersWindow::ColName, ServersWindow::ColAddress, ServersWindow::ColMap}) {
            if (m->index(row, column, parent)
                    .data()
                    .toString()
                    .contains(text, Qt::CaseInsensitive)) {
                return true;
            }
        }
        return false;
    }
};

}  // namespace

ServersWindow::ServersWindow(store::Store* store, std::function<std::vector<std::string>()> history,
                             std::function<void(const QString&)> connect, QWidget* parent)
    : QWidget(parent, Qt::Window),
      store_(store),
      history_(std::move(history)),
      connect_(std::move(connect)) {
    setObjectName(QStringLiteral("ServersWindow"));
    setWindowTitle(QStringLiteral("Servers"));
    options_.timeout = std::chrono::milliseconds(2000);
    BuildControls();
    Reload();
    resize(760, 520);
}

ServersWindow::~ServersWindow() {
    StopRefresh();
}

void ServersWindow::BuildControls() {
    edFilter = new QLineEdit(this);
    edFilter->setObjectName(QStringLiteral("edFilter"));
    edFilter->setPlaceholderText(QStringLiteral("Filter"));
    edFilter->setClearButtonEnabled(true);
    cbHideEmpty = new QCheckBox(QStringLiteral("hide &empty"), this);
    cbHideEmpty->setObjectName(QStringLiteral("cbHideEmpty"));
    cbHideFull = new QCheckBox(QStringLiteral("hide &full"), this);
    cbHideFull->setObjectName(QStringLiteral("cbHideFull"));
    buRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
    buRefresh->setObjectName(QStringLiteral("buRefresh"));

    model = new QStandardItemModel(0, ColumnCount, this);
    model->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Address"),
                                      QStringLiteral("Map"), QStringLiteral("Players"),
                                      QStringLiteral("Ping"), QStringLiteral("State")});
    model->setSortRole(kSortRole);
    auto* filter = new ServerFilter(this);
    proxy = filter;
    proxy->setSourceModel(model);
    proxy->setSortRole(kSortRole);
    lvServers = new QTableView(this);
    lvServers->setObjectName(QStringLiteral("lvServers"));
    lvServers->setModel(proxy);
    lvServers->setSortingEnabled(true);
    lvServers->sortByColumn(ColName, Qt::AscendingOrder);
    lvServers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvServers->setSelectionMode(QAbstractItemView::SingleSelection);
    lvServers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvServers->verticalHeader()->hide();
    lvServers->horizontalHeader()->setStretchLastSection(true);
    lvServers->setColumnWidth(ColName, 200);
    lvServers->setColumnWidth(ColAddress, 160);
    lvServers->setColumnWidth(ColMap, 90);
    lvServers->setColumnWidth(ColPlayers, 70);
    lvServers->setColumnWidth(ColPing, 55);

    lvPlayers = new QTreeWidget(this);
    lvPlayers->setObjectName(QStringLiteral("lvPlayers"));
    lvPlayers->setHeaderLabels({QStringLiteral("Player"), QStringLiteral("Frags"),
                                QStringLiteral("Time"), QStringLiteral("Ping")});
    lvPlayers->setRootIsDecorated(false);
    lvPlayers->setColumnWidth(0, 150);
    for (const int column : {1, 2, 3}) {
        lvPlayers->setColumnWidth(column, 55);
    }
    lvRules = new QTreeWidget(this);
    lvRules->setObjectName(QStringLiteral("lvRules"));
    lvRules->setHeaderLabels({QStringLiteral("Rule"), QStringLiteral("Value")});
    lvRules->setRootIsDecorated(false);
    lvRules->setColumnWidth(0, 150);

    edAddServer = new QLineEdit(this);
    edAddServer->setObjectName(QStringLiteral("edAddServer"));
    edAddServer->setPlaceholderText(QStringLiteral("host:port"));
    buAddServer = new QPushButton(QStringLiteral("&Add"), this);
    buAddServer->setObjectName(QStringLiteral("buAddServer"));
    buRemoveServer = new QPushButton(QStringLiteral("Re&move"), this);
    buRemoveServer->setObjectName(QStringLiteral("buRemoveServer"));
    pbRefresh = new QProgressBar(this);
    pbRefresh->setObjectName(QStringLiteral("pbRefresh"));
    pbRefresh->setValue(0);
    buConnect = new QPushButton(QStringLiteral("&Connect"), this);
    buConnect->setObjectName(QStringLiteral("buConnect"));
    buCloseServers = new QPushButton(QStringLiteral("Close"), this);
    buCloseServers->setObjectName(QStringLiteral("buCloseServers"));

    auto* top = new QHBoxLayout;
    top->addWidget(edFilter, 1);
    top->addWidget(cbHideEmpty);
    top->addWidget(cbHideFull);
    top->addWidget(buRefresh);
    auto* details = new QSplitter(Qt::Horizontal, this);
    details->addWidget(lvPlayers);
    details->addWidget(lvRules);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(lvServers);
    split->addWidget(details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(edAddServer, 1);
    bottom->addWidget(buAddServer);
    bottom->addWidget(buRemoveServer);
    bottom->addWidget(pbRefresh, 1);
    bottom->addWidget(buConnect);
    bottom->addWidget(buCloseServers);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);

    connect(edFilter, &QLineEdit::textChanged, this, [filter](const QString& text) {
        filter->text = text.trimmed();
        filter->Apply();
    });
    connect(cbHideEmpty, &QCheckBox::toggled, this, [filter](bool on) {
        filter->hideEmpty = on;
        filter->Apply();
    });
    connect(cbHideFull, &QCheckBox::toggled, this, [filter](bool on) {
        filter->hideFull = on;
        filter->Apply();
    });
    connect(buRefresh, &QPushButton::clicked, this, &ServersWindow::Refresh);
    connect(buAddServer, &QPushButton::clicked, this, &ServersWindow::buAddServerClick);
    connect(edAddServer, &QLineEdit::returnPressed, this, &ServersWindow::buAddServerClick);
    connect(buRemoveServer, &QPushButton::clicked, this, &ServersWindow::buRemoveServerClick);
    connect(buConnect, &QPushButton::clicked, this, &ServersWindow::buConnectClick);
    connect(buCloseServers, &QPushButton::clicked, this, &QWidget::close);
    connect(lvServers, &QTableView::doubleClicked, this, &ServersWindow::buConnectClick);
    connect(lvServers->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        ShowDetails();
        UpdateButtons();
    });
}

void ServersWindow::Reload() {
    StopRefresh();
    kept_ = LoadKeptServers(store_);
    model->removeRows(0, model->rowCount());
    results_.clear();
    std::vector<std::string> listed;
    auto add = [&](const std::string& address, bool kept) {
        if (!IsServerText(address)) {
            return;
        }
        for (const std::string& known : listed) {
            if (SameAddress(known, address)) {
                return;
            }
        }
        listed.push_back(address);
        AddRow(QString::fromStdString(address), kept);
    };
    // One sort at the end instead of one per row.
    lvServers->setSortingEnabled(false);
    if (history_) {
        for (const std::string& address : history_()) {
            add(address, false);
        }
    }
    for (const std::string& address : kept_) {
        add(address, true);
    }
    lvServers->setSortingEnabled(true);
    pbRefresh->setRange(0, std::max(1, model->rowCount()));
    pbRefresh->setValue(0);
    ShowDetails();
    UpdateButtons();
}

void ServersWindow::AddRow(const QString& address, bool kept) {
    QList<QStandardItem*> items;
    for (int c = 0; c < ColumnCount; ++c) {
        auto* item = new QStandardItem;
        item->setEditable(false);
        items << item;
    }
    items[ColAddress]->setText(address);
    items[ColAddress]->setData(address.toLower(), kSortRole);
    items[0]->setData(kept, kKeptRole);
    net::ServerResult result;
    result.address = address.toStdString();
    results_.push_back(result);
    // Filled before they join the model: no change signals for a new row.
    FillCells(items, result);
    model->appendRow(items);
}

void ServersWindow::ShowResult(int row, const net::ServerResult& r) {
    results_[static_cast<std::size_t>(row)] = r;
    QList<QStandardItem*> items;
    for (int c = 0; c < ColumnCount; ++c) {
        items << model->item(row, c);
    }
    FillCells(items, r);
    if (row == CurrentRow()) {
        ShowDetails();
    }
}

void ServersWindow::FillCells(const QList<QStandardItem*>& items,
                              const net::ServerResult& r) const {
    auto set = [&](int column, const QString& text, const QVariant& sort) {
        items[column]->setText(text);
        items[column]->setData(sort, kSortRole);
    };
    // Host name and map are known also when the server stopped answering later questions.
    const bool answered = r.state == net::QueryState::Answered ||
                          (r.state == net::QueryState::TimedOut && r.maxPlayers >= 0);
    const QString name = FromText(r.hostName);
    set(ColName, name, name.toLower());
    set(ColMap, FromText(r.map), FromText(r.map).toLower());
    set(ColPlayers,
        answered && r.maxPlayers >= 0 ? QStringLiteral("%1/%2").arg(r.players).arg(r.maxPlayers)
                                      : QString(),
        answered ? r.players : -1);
    set(ColPing, answered && r.pingMs >= 0 ? QString::number(r.pingMs) : QString(),
        answered ? r.pingMs : 1 << 30);
    const QString state = r.state == net::QueryState::Waiting
                              ? (finished_ ? QString() : QStringLiteral("asking..."))
                              : QString::fromLatin1(net::StateText(r.state));
    set(ColState, state, state);
    items[0]->setData(answered ? r.players : -1, kPlayersRole);
    items[0]->setData(answered ? r.maxPlayers : -1, kMaxRole);
}

int ServersWindow::CurrentRow() const {
    const QModelIndexList rows = lvServers->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return -1;
    }
    return proxy->mapToSource(rows.first()).row();
}

void ServersWindow::ShowDetails() {
    lvPlayers->clear();
    lvRules->clear();
    const int row = CurrentRow();
    if (row < 0) {
        return;
    }
    const net::ServerResult& r = results_[static_cast<std::size_t>(row)];
    for (const net::PlayerEntry& p : r.playerList) {
        auto* item = new QTreeWidgetItem(lvPlayers);
        item->setText(0, FromText(p.name));
        item->setText(1, QString::number(p.frags));
        item->setText(2, QStringLiteral("%1:%2")
                             .arg(p.seconds / 60)
                             .arg(p.seconds % 60, 2, 10, QLatin1Char('0')));
        item->setText(3, p.ping >= 0 ? QString::number(p.ping) : QString());
    }
    for (const auto& [name, value] : r.rules) {
        auto* item = new QTreeWidgetItem(lvRules);
        item->setText(0, FromText(name));
        item->setText(1, FromText(value));
    }
}

void ServersWindow::UpdateButtons() {
    const int row = CurrentRow();
    buConnect->setEnabled(row >= 0);
    buRemoveServer->setEnabled(row >= 0 && model->item(row, 0)->data(kKeptRole).toBool());
}

void ServersWindow::Refresh() {
    StopRefresh();
    std::vector<net::ServerEntry> entries;
    for (int row = 0; row < model->rowCount(); ++row) {
        entries.push_back({results_[static_cast<std::size_t>(row)].address, net::ServerKind::Auto});
    }
    finished_ = false;
    done_ = 0;
    cancel_ = false;
    proxy->setDynamicSortFilter(false);
    for (int row = 0; row < model->rowCount(); ++row) {
        net::ServerResult waiting;
        waiting.address = entries[static_cast<std::size_t>(row)].address;
        ShowResult(row, waiting);
    }
    proxy->setDynamicSortFilter(true);
    static_cast<ServerFilter*>(proxy)->Apply();
    pbRefresh->setRange(0, std::max(1, model->rowCount()));
    pbRefresh->setValue(0);
    buRefresh->setEnabled(false);
    const net::QueryOptions options = options_;
    counted_.assign(entries.size(), false);
    const int generation = ++generation_;
    worker_ = std::thread([this, entries, options, generation] {
        // Every change goes to the window's thread; `this` outlives the thread (joined), and
        // changes of an earlier refresh still queued are dropped by their generation.
        net::QueryServers(
            entries, options,
            [this, generation](std::size_t index, const net::ServerResult& result) {
                // Changes are collected and taken over in batches: one call to the window's
                // thread for whatever arrived meanwhile, not one per change.
                bool first = false;
                {
                    const std::lock_guard lock(pendingMutex_);
                    first = pending_.empty();
                    pending_.emplace_back(index, result);
                }
                if (first) {
                    QMetaObject::invokeMethod(
                        this, [this, generation] { TakePending(generation); },
                        Qt::QueuedConnection);
                }
            },
            &cancel_);
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != generation_) {
                    return;
                }
                TakePending(generation);
                finished_ = true;
                pbRefresh->setValue(pbRefresh->maximum());
                buRefresh->setEnabled(true);
                emit refreshFinished();
            },
            Qt::QueuedConnection);
    });
}

void ServersWindow::TakePending(int generation) {
    std::vector<std::pair<std::size_t, net::ServerResult>> batch;
    {
        const std::lock_guard lock(pendingMutex_);
        batch.swap(pending_);
    }
    if (generation != generation_ || batch.empty()) {
        return;
    }
    // One sort and filter for the whole batch.
    proxy->setDynamicSortFilter(false);
    for (const auto& [index, result] : batch) {
        ShowResult(static_cast<int>(index), result);
        if (!counted_[index] && result.state != net::QueryState::Waiting) {
            counted_[index] = true;
            ++done_;
        }
    }
    proxy->setDynamicSortFilter(true);
    static_cast<ServerFilter*>(proxy)->Apply();
    pbRefresh->setValue(done_);
}

void ServersWindow::StopRefresh() {
    if (worker_.joinable()) {
        cancel_ = true;
        worker_.join();
        ++generation_;
        const std::lock_guard lock(pendingMutex_);
        pending_.clear();
    }
    finished_ = true;
    buRefresh->setEnabled(true);
}

void ServersWindow::buAddServerClick() {
    const std::string text = edAddServer->text().trimmed().toStdString();
    if (!net::ParseServerAddress(text)) {
        edAddServer->selectAll();
        if (badAddress_) {
            badAddress_(QStringLiteral("\"%1\" is not a server address. Type it as host:port, "
                                       "e.g. 192.168.0.5:26000.")
                            .arg(edAddServer->text().trimmed()));
        }
        return;
    }
    for (const net::ServerResult& r : results_) {
        if (SameAddress(r.address, text)) {
            edAddServer->clear();
            return;
        }
    }
    kept_.push_back(text);
    SaveKeptServers(store_, kept_);
    AddRow(QString::fromStdString(text), true);
    edAddServer->clear();
    pbRefresh->setRange(0, std::max(1, model->rowCount()));
    Refresh();  // the new server is asked at once, not only on the next refresh
}

void ServersWindow::buRemoveServerClick() {
    const int row = CurrentRow();
    if (row < 0 || !model->item(row, 0)->data(kKeptRole).toBool() || Refreshing()) {
        return;
    }
    const std::string address = results_[static_cast<std::size_t>(row)].address;
    std::erase_if(kept_, [&](const std::string& a) { return SameAddress(a, address); });
    SaveKeptServers(store_, kept_);
    model->removeRow(row);
    results_.erase(results_.begin() + row);
    ShowDetails();
    UpdateButtons();
}

void ServersWindow::buConnectClick() {
    const int row = CurrentRow();
    if (row >= 0 && connect_) {
        connect_(QString::fromStdString(results_[static_cast<std::size_t>(row)].address));
    }
}

}  // namespace fenmar::ui
