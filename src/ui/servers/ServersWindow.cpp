#include "ui/servers/ServersWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <set>

#include "core/ServerLists.h"
#include "net/MasterProtocol.h"
#include "net/Protocol.h"
#include "ui/servers/ServerListStore.h"
#include "ui/widgets/CutTextTips.h"

namespace fenmar::ui {

namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kKeptRole = Qt::UserRole + 2;
constexpr int kPlayersRole = Qt::UserRole + 3;
constexpr int kMaxRole = Qt::UserRole + 4;
constexpr int kFavouriteRole = Qt::UserRole + 5;
constexpr int kPlayerNamesRole = Qt::UserRole + 6;
// Rows the masters found are added this many per turn of the window's thread.
constexpr std::size_t kFoundRowsPerTurn = 100;

const QChar kStar(0x2605);
const QChar kHollowStar(0x2606);

// A text from a server, in Quake's character set.
QString FromText(const std::string& text) {
    const std::string plain = net::QuakeText(text);
    return QString::fromLatin1(plain.data(), static_cast<qsizetype>(plain.size()));
}

bool SameAddress(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

bool IsServerText(const std::string& text) {
    return !text.empty() && text != "<none>";
}

// The same server however it is written: "Host:26000", "host", "qw://host:26000".
std::string ListKey(const std::string& text) {
    const auto a = net::ParseServerAddress(text);
    if (!a) {
        return text;
    }
    std::string key = a->host;
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key + "|" + std::to_string(a->port);
}

QString Lines(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromLocal8Bit(line) + QLatin1Char('\n');
    }
    return text;
}

// Filter box, player search, "hide empty" and "hide full" over the server list; favourites
// sort first whichever way the list is sorted.
class ServerFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QString text;
    QString player;
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
        if (!player.isEmpty()) {
            const QStringList names = first.data(kPlayerNamesRole).toStringList();
            if (!std::any_of(names.begin(), names.end(), [this](const QString& name) {
                    return name.contains(player, Qt::CaseInsensitive);
                })) {
                return false;
            }
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

    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const QAbstractItemModel* m = sourceModel();
        const bool leftFavourite = m->index(left.row(), 0).data(kFavouriteRole).toBool();
        const bool rightFavourite = m->index(right.row(), 0).data(kFavouriteRole).toBool();
        if (leftFavourite != rightFavourite) {
            // A descending sort asks the other way round: favourites stay on top.
            return (sortOrder() == Qt::AscendingOrder) == leftFavourite;
        }
        return QSortFilterProxyModel::lessThan(left, right);
    }
};

}  // namespace

ServersWindow::ServersWindow(store::Store* store, std::function<std::vector<std::string>()> history,
                             ConnectFunction connect, QWidget* parent)
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
    edPlayer = new QLineEdit(this);
    edPlayer->setObjectName(QStringLiteral("edPlayer"));
    edPlayer->setPlaceholderText(QStringLiteral("Find a player"));
    edPlayer->setToolTip(QStringLiteral("Show only the servers a player of this name is on"));
    edPlayer->setClearButtonEnabled(true);
    // The hint stays readable beside the clear button.
    edPlayer->setMinimumWidth(
        edPlayer->fontMetrics().horizontalAdvance(edPlayer->placeholderText()) + 48);
    cbInternet = new QCheckBox(QStringLiteral("&Internet"), this);
    cbInternet->setObjectName(QStringLiteral("cbInternet"));
    cbInternet->setToolTip(QStringLiteral("Also ask the master servers which servers are up"));
    buMasters = new QPushButton(QStringLiteral("M&asters..."), this);
    buMasters->setObjectName(QStringLiteral("buMasters"));
    buMasters->setCheckable(true);
    cbHideEmpty = new QCheckBox(QStringLiteral("hide &empty"), this);
    cbHideEmpty->setObjectName(QStringLiteral("cbHideEmpty"));
    cbHideFull = new QCheckBox(QStringLiteral("hide &full"), this);
    cbHideFull->setObjectName(QStringLiteral("cbHideFull"));
    buRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
    buRefresh->setObjectName(QStringLiteral("buRefresh"));

    model = new QStandardItemModel(0, ColumnCount, this);
    model->setHorizontalHeaderLabels({QString(kStar), QStringLiteral("Name"),
                                      QStringLiteral("Address"), QStringLiteral("Map"),
                                      QStringLiteral("Players"), QStringLiteral("Ping"),
                                      QStringLiteral("Kind"), QStringLiteral("State")});
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
    // The columns fit the table: the name takes the room the others, sized to their contents,
    // leave; it is cut (with the whole name as its tip) rather than the table scrolling sideways.
    QHeaderView* header = lvServers->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ColName, QHeaderView::Stretch);
    ShowCutTextsAsTips(*lvServers);

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
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

    pnMasters = new QWidget(this);
    pnMasters->setObjectName(QStringLiteral("pnMasters"));
    edMasters = new QPlainTextEdit(pnMasters);
    edMasters->setObjectName(QStringLiteral("edMasters"));
    edMasters->setLineWrapMode(QPlainTextEdit::NoWrap);
    buSaveMasters = new QPushButton(QStringLiteral("&Save"), pnMasters);
    buSaveMasters->setObjectName(QStringLiteral("buSaveMasters"));
    buDefaultMasters = new QPushButton(QStringLiteral("&Defaults"), pnMasters);
    buDefaultMasters->setObjectName(QStringLiteral("buDefaultMasters"));
    auto* mastersButtons = new QHBoxLayout;
    mastersButtons->addWidget(buDefaultMasters);
    mastersButtons->addStretch(1);
    mastersButtons->addWidget(buSaveMasters);
    auto* mastersLayout = new QVBoxLayout(pnMasters);
    mastersLayout->setContentsMargins(0, 0, 0, 0);
    auto* mastersCaption = new QLabel(
        QStringLiteral("Master servers, one a line (qw://host:port, dp://host:port):"), pnMasters);
    mastersCaption->setWordWrap(true);
    mastersLayout->addWidget(mastersCaption);
    mastersLayout->addWidget(edMasters, 1);
    mastersLayout->addLayout(mastersButtons);
    pnMasters->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(edFilter, 2);
    top->addWidget(edPlayer, 1);
    top->addWidget(cbHideEmpty);
    top->addWidget(cbHideFull);
    top->addWidget(cbInternet);
    top->addWidget(buMasters);
    top->addWidget(buRefresh);
    auto* details = new QSplitter(Qt::Horizontal, this);
    details->addWidget(lvPlayers);
    details->addWidget(lvRules);
    details->addWidget(pnMasters);
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
    layout->addWidget(lbStatus);

    connect(edFilter, &QLineEdit::textChanged, this, [filter](const QString& text) {
        filter->text = text.trimmed();
        filter->Apply();
    });
    connect(edPlayer, &QLineEdit::textChanged, this, [filter](const QString& text) {
        filter->player = text.trimmed();
        filter->Apply();
    });
    connect(buMasters, &QPushButton::toggled, pnMasters, &QWidget::setVisible);
    connect(buSaveMasters, &QPushButton::clicked, this, &ServersWindow::buSaveMastersClick);
    connect(buDefaultMasters, &QPushButton::clicked, this,
            [this] { edMasters->setPlainText(Lines(DefaultMasters())); });
    connect(lvServers, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == ColFavourite) {
            ToggleFavourite(proxy->mapToSource(index).row());
        }
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
    favourites_ = store_ != nullptr ? ReadStoredFavourites(*store_) : std::vector<std::string>{};
    if (store_ != nullptr) {
        masters_ = ReadStoredMasters(*store_);
    }
    ShowMasters();
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
    for (const std::string& address : favourites_) {
        add(address, false);
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
    const bool favourite = IsFavourite(address.toStdString());
    items[0]->setData(favourite, kFavouriteRole);
    items[ColFavourite]->setText(favourite ? kStar : kHollowStar);
    items[ColFavourite]->setData(favourite ? 0 : 1, kSortRole);
    items[ColFavourite]->setTextAlignment(Qt::AlignCenter);
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
    const QString kind =
        r.kind == net::ServerKind::Auto ? QString() : QString::fromLatin1(net::KindName(r.kind));
    set(ColKind, kind, kind);
    const QString state = r.state == net::QueryState::Waiting
                              ? (finished_ ? QString() : QStringLiteral("asking..."))
                              : QString::fromLatin1(net::StateText(r.state));
    set(ColState, state, state);
    items[0]->setData(answered ? r.players : -1, kPlayersRole);
    items[0]->setData(answered ? r.maxPlayers : -1, kMaxRole);
    QStringList names;
    for (const net::PlayerEntry& p : r.playerList) {
        names << FromText(p.name);
    }
    items[0]->setData(names, kPlayerNamesRole);
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
    rowOfIndex_.resize(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rowOfIndex_[i] = static_cast<int>(i);
    }
    const std::vector<std::string> masters =
        cbInternet->isChecked() ? masters_ : std::vector<std::string>{};
    if (!masters.empty()) {
        lbStatus->setText(QStringLiteral("Asking %1 master server(s)...").arg(masters.size()));
    }
    const net::MasterOptions masterOptions = masterOptions_;
    const int generation = ++generation_;
    worker_ = std::thread([this, entries, options, masters, masterOptions, generation] {
        // Every change goes to the window's thread; `this` outlives the thread (joined), and
        // changes of an earlier refresh still queued are dropped by their generation.
        std::vector<net::ServerEntry> all = entries;
        if (!masters.empty()) {
            const net::MasterQueryResult found =
                net::QueryMasters(masters, masterOptions, &cancel_);
            std::set<std::string> listed;
            for (const net::ServerEntry& e : entries) {
                listed.insert(ListKey(e.address));
            }
            std::vector<std::string> added;
            for (const net::FoundServer& server : found.servers) {
                std::string text = net::FoundServerText(server);
                if (listed.insert(ListKey(text)).second) {
                    all.push_back({text, net::ServerKind::Auto});
                    added.push_back(std::move(text));
                }
            }
            // Queued before any answer: the rows exist when their answers arrive.
            for (std::size_t at = 0; at < added.size(); at += kFoundRowsPerTurn) {
                std::vector<std::string> part(
                    added.begin() + static_cast<std::ptrdiff_t>(at),
                    added.begin() + static_cast<std::ptrdiff_t>(
                                        std::min(added.size(), at + kFoundRowsPerTurn)));
                QMetaObject::invokeMethod(
                    this, [this, generation, part] { AddFoundRows(generation, part); },
                    Qt::QueuedConnection);
            }
            const QString summary = QString::fromLocal8Bit(net::MasterSummary(found));
            QMetaObject::invokeMethod(
                this,
                [this, generation, summary] {
                    if (generation == generation_) {
                        lbStatus->setText(summary);
                    }
                },
                Qt::QueuedConnection);
        }
        net::QueryServers(
            all, options,
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
    // A call queued by an earlier refresh must leave the new refresh's changes where they are.
    if (generation != generation_) {
        return;
    }
    std::vector<std::pair<std::size_t, net::ServerResult>> batch;
    {
        const std::lock_guard lock(pendingMutex_);
        batch.swap(pending_);
    }
    if (batch.empty()) {
        return;
    }
    // One sort and filter for the whole batch.
    proxy->setDynamicSortFilter(false);
    for (const auto& [index, result] : batch) {
        if (index >= rowOfIndex_.size()) {
            continue;
        }
        ShowResult(rowOfIndex_[index], result);
        if (!counted_[index] && result.state != net::QueryState::Waiting) {
            counted_[index] = true;
            ++done_;
        }
    }
    proxy->setDynamicSortFilter(true);
    static_cast<ServerFilter*>(proxy)->Apply();
    pbRefresh->setValue(done_);
}

void ServersWindow::AddFoundRows(int generation, const std::vector<std::string>& addresses) {
    if (generation != generation_) {
        return;
    }
    proxy->setDynamicSortFilter(false);
    for (const std::string& address : addresses) {
        rowOfIndex_.push_back(model->rowCount());
        AddRow(QString::fromStdString(address), false);
    }
    counted_.resize(rowOfIndex_.size(), false);
    proxy->setDynamicSortFilter(true);
    static_cast<ServerFilter*>(proxy)->Apply();
    pbRefresh->setRange(0, std::max<int>(1, static_cast<int>(rowOfIndex_.size())));
}

bool ServersWindow::IsFavourite(const std::string& address) const {
    const std::string key = ListKey(address);
    return std::any_of(favourites_.begin(), favourites_.end(),
                       [&](const std::string& f) { return ListKey(f) == key; });
}

void ServersWindow::ToggleFavourite(int row) {
    if (row < 0 || row >= model->rowCount()) {
        return;
    }
    const std::string address = results_[static_cast<std::size_t>(row)].address;
    const bool favourite = !IsFavourite(address);
    if (favourite) {
        favourites_.push_back(address);
    } else {
        const std::string key = ListKey(address);
        std::erase_if(favourites_, [&](const std::string& f) { return ListKey(f) == key; });
    }
    if (store_ != nullptr) {
        WriteStoredFavourites(*store_, favourites_);
    }
    model->item(row, ColFavourite)->setText(favourite ? kStar : kHollowStar);
    model->item(row, ColFavourite)->setData(favourite ? 0 : 1, kSortRole);
    model->item(row, 0)->setData(favourite, kFavouriteRole);
    proxy->invalidate();
}

void ServersWindow::ShowMasters() {
    edMasters->setPlainText(Lines(masters_));
}

void ServersWindow::buSaveMastersClick() {
    std::vector<std::string> masters;
    const QStringList lines = edMasters->toPlainText().split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const std::string line = lines[i].trimmed().toLocal8Bit().toStdString();
        if (line.empty()) {
            continue;
        }
        if (!net::ParseMasterAddress(line)) {
            lbStatus->setText(QStringLiteral("Line %1 names no master server: %2")
                                  .arg(i + 1)
                                  .arg(lines[i].trimmed()));
            return;
        }
        masters.push_back(line);
    }
    if (masters.size() > kMostMasters) {
        lbStatus->setText(QStringLiteral("At most %1 master servers.").arg(kMostMasters));
        return;
    }
    if (store_ != nullptr && !WriteStoredMasters(*store_, masters)) {
        lbStatus->setText(QStringLiteral("The master servers could not be saved."));
        return;
    }
    masters_ = std::move(masters);
    lbStatus->setText(QStringLiteral("%1 master server(s) saved.").arg(masters_.size()));
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
        // The engine takes the address without the kind the list may put in front.
        const net::ServerResult& r = results_[static_cast<std::size_t>(row)];
        net::ServerKind kind = r.kind;
        if (kind == net::ServerKind::Auto) {
            if (const auto parsed = net::ParseServerAddress(r.address)) {
                kind = parsed->kind;
            }
        }
        connect_(QString::fromStdString(net::ConnectText(r.address)), kind);
    }
}

}  // namespace fenmar::ui
