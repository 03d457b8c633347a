#include "ui/maps/MapBrowse.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include <QCoreApplication>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>

#include "core/LiveProfile.h"
#include "platform/FileSystem.h"
#include "ui/maps/MapFilter.h"
#include "ui/widgets/CutTextTips.h"
#include "ui/widgets/LocalText.h"
#include "ui/widgets/WindowSize.h"

namespace fenmar::ui {

namespace {

// The lists' part, then the preview pane beside them.
constexpr int kListsWidth = 715;
constexpr int kClientWidth = kListsWidth + 268;
// One row below the lists' row for the filter box and the scan's progress.
constexpr int kClientHeight = 342 + 26;
constexpr int kListWidth = 233;
constexpr int kListHeight = 297;
constexpr int kListTop = 22;
// Where the size the user gave the window is kept (never below the design size).
const char* const kSizeKey = "MapBrowser";

}  // namespace

// The window as the scan threads see it: gone once it is destroyed. Calls are posted to the
// window's thread under the lock, so none can reach a window being destroyed (Qt drops the
// events still queued for a deleted object).
struct TMapBrowse::ScanLink {
    std::mutex mutex;
    TMapBrowse* window = nullptr;

    // Runs call(window) on the window's thread, unless the window is gone.
    template <typename Call>
    void Post(Call call) {
        const std::lock_guard lock(mutex);
        if (window != nullptr) {
            QMetaObject::invokeMethod(
                window, [w = window, call = std::move(call)]() mutable { call(*w); },
                Qt::QueuedConnection);
        }
    }
};

TMapBrowse::TMapBrowse(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      context_(context) {
    setObjectName("TMapBrowse");
    setWindowTitle("Browse for user-created maps...");
    // Opens at its design size, which is also its smallest.
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);

    const QChar separator(platform::PathSeparator());
    id1_ = MakeColumn(4, "lvID1Maps", QString("Contents of ID1%1MAPS:").arg(separator),
                      QString("Sorry, you don't have a subdirectory called \"MAPS\" in your "
                              "\"QUAKE%1ID1\"-directory.")
                          .arg(separator));
    patch_ = MakeColumn(241, "lvPatchMaps", "External maps in the patch-dir:",
                        "Sorry, you don't have a subdirectory called \"MAPS\" in your current "
                        "patch-directory or didn't even select a patch.");
    id1_.filter = &filters_[0];
    patch_.filter = &filters_[1];
    builtIn_ = MakeColumn(478, "lvBuiltInMaps", "Built-in patch-maps:",
                          "Sorry, you don't have any PAK-files in your current patch-directory.");
    builtIn_.filter = &filters_[2];

    constexpr int kRowTop = kListTop + kListHeight + 1;
    auto* label = new QLabel("Selected map:", this);
    auto* filterLabel = new QLabel("&Filter:", this);
    // The edits start after the wider of the two captions, whatever the font.
    const int labelWidth =
        std::max({74, label->sizeHint().width(), filterLabel->sizeHint().width()});
    const int editLeft = 4 + labelWidth + 4;
    label->setGeometry(4, kRowTop + 2, labelWidth, 17);
    edMap_ = new QLineEdit(this);
    edMap_->setObjectName("edMap");
    edMap_->setGeometry(editLeft, kRowTop, 548 - editLeft, 21);
    label->setBuddy(edMap_);
    buOK_ = new QPushButton("&OK", this);
    buOK_->setObjectName("buOK");
    buOK_->setGeometry(556, kRowTop, 75, 21);
    buOK_->setDefault(true);
    buCancel_ = new QPushButton("&Cancel", this);
    buCancel_->setObjectName("buCancel");
    buCancel_->setGeometry(636, kRowTop, 75, 21);
    connect(buOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(buCancel_, &QPushButton::clicked, this, &QDialog::reject);

    constexpr int kFilterTop = kRowTop + 26;
    filterLabel->setGeometry(4, kFilterTop + 2, labelWidth, 17);
    edFilter_ = new FilterEdit(this);
    edFilter_->setObjectName("edFilter");
    edFilter_->setGeometry(editLeft, kFilterTop, 313 - editLeft, 21);
    edFilter_->setPlaceholderText("part of a name or title");
    edFilter_->setClearButtonEnabled(true);
    edFilter_->setToolTip("Shows only the maps whose name or title contains this text.");
    filterLabel->setBuddy(edFilter_);
    connect(edFilter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    labProgress_ = new QLabel(this);
    labProgress_->setObjectName("labScanProgress");
    labProgress_->setGeometry(324, kFilterTop + 2, 387, 17);
    // In the progress line's place once the scan has ended.
    labHiddenMaps_ = new QLabel(this);
    labHiddenMaps_->setObjectName("labHiddenMaps");
    labHiddenMaps_->setGeometry(324, kFilterTop + 2, 387, 17);
    labHiddenMaps_->setTextFormat(Qt::RichText);
    labHiddenMaps_->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                            Qt::LinksAccessibleByKeyboard);
    connect(labHiddenMaps_, &QLabel::linkActivated, this,
            [this](const QString& link) { ShowSmallMaps(link == QLatin1String("show")); });
    cacheFile_ = maps::DefaultCacheFile();
    link_ = std::make_shared<ScanLink>();
    link_->window = this;
    SetUpPreview();
    stretch_.Record(*this, 237, kRowTop);
}

void TMapBrowse::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    stretch_.Apply(size() - QSize(kClientWidth, kClientHeight));
}

TMapBrowse::~TMapBrowse() {
    StopScan();
    const std::lock_guard lock(link_->mutex);
    link_->window = nullptr;
}

TMapBrowse::Column TMapBrowse::MakeColumn(int x, const char* name, const QString& heading,
                                          const QString& notice) {
    Column c;
    c.heading = new QLabel(heading, this);
    QFont headingFont = c.heading->font();
    headingFont.setBold(true);
    headingFont.setUnderline(true);
    c.heading->setFont(headingFont);
    c.heading->setGeometry(x, 3, kListWidth, 17);

    c.notice = new QLabel(notice, this);
    c.notice->setObjectName(QString(name) + "Notice");
    QFont noticeFont = c.notice->font();
    noticeFont.setBold(true);
    c.notice->setFont(noticeFont);
    c.notice->setAlignment(Qt::AlignCenter);
    c.notice->setWordWrap(true);
    c.notice->setGeometry(x, kListTop, kListWidth, kListHeight);

    c.list = new QTreeWidget(this);
    c.list->setObjectName(name);
    c.list->setGeometry(x, kListTop, kListWidth, kListHeight);
    c.list->setColumnCount(4);
    c.list->setHeaderLabels({"Filename", "Description", "Monsters", "Secrets"});
    c.list->setColumnWidth(0, 60);
    c.list->setColumnWidth(1, 300);
    // The counts' columns as wide as their headings.
    for (const int column : {kMonstersColumn, kSecretsColumn}) {
        c.list->setColumnWidth(column, c.list->header()->fontMetrics().horizontalAdvance(
                                           c.list->headerItem()->text(column)) +
                                           14);
    }
    c.list->header()->moveSection(kMonstersColumn, 1);
    c.list->header()->moveSection(kSecretsColumn, 2);
    c.list->header()->setSectionsClickable(true);
    c.list->header()->setSortIndicatorShown(false);
    ShowCutTextsAsTips(*c.list);
    c.list->setRootIsDecorated(false);
    c.list->setUniformRowHeights(true);
    c.list->setSelectionMode(QAbstractItemView::SingleSelection);
    c.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    c.notice->setHidden(true);

    QTreeWidget* list = c.list;
    connect(list, &QTreeWidget::itemClicked, this, [this, list] { lvMapsClick(list); });
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] { lvMapsChange(list); });
    connect(list, &QTreeWidget::currentItemChanged, this, [this, list] { lvMapsChange(list); });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list] { lvMapsDblClick(list); });
    return c;
}

std::optional<QString> TMapBrowse::Execute() {
    if (context_.ui.ExecModal(*this) != QDialog::Accepted) {
        return std::nullopt;
    }
    return edMap_->text();
}

std::optional<std::string> TMapBrowse::ExecuteForPlugIn() {
    if (auto text = Execute()) {
        return text->toLocal8Bit().toStdString();
    }
    return std::nullopt;
}

void TMapBrowse::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (!sizeRestored_ && context_.store != nullptr) {
            sizeRestored_ = true;
            RestoreWindowSize(*context_.store, kSizeKey, *this);
        }
        if (!centred_ && parentWidget() == nullptr && screen() != nullptr) {
            move(screen()->availableGeometry().center() - rect().center());
            centred_ = true;
        }
        FormShow();
    }
    QDialog::showEvent(event);
}

void TMapBrowse::FormShow() {
    StopScan();
    const Globals& globals = context_.globals;
    maps::BrowserRequest request{globals.Profile.Text(TextField::QuakePath),
                                 globals.Profile.Text(TextField::GamePatch),
                                 maps::ScanOptions{globals.MinBSPSize, globals.DontScanBSPMsgs}};
    // Without a Quake directory or a patch there is nothing to look into: the lists stay
    // hidden rather than searching the working directory.
    if (!IsSet(request.patch)) {
        request.patch.clear();
    }
    request.options.keepSmall = true;  // counted, and shown on request
    smallLimit_ = globals.MinBSPSize;
    pk3Reading_ = EnginePk3Reading();
    engineName_ = FromLocal(globals.Executable);
    pane_->Start(request, cacheFile_, globals.Profile->SkillLevel);
    const unsigned generation = ++generation_;
    ResetFills();
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    scanning_ = true;
    labProgress_->setText("Reading maps...");
    std::thread([link = link_, request = std::move(request), cancel = cancel_,
                 cacheFile = cacheFile_, generation] {
        const std::unique_ptr<maps::MapCache> cache = maps::MapCache::Open(cacheFile);
        maps::ScanContext scan;
        scan.cache = cache.get();
        scan.cancel = cancel.get();
        scan.progress = [&link, generation](std::size_t done) {
            link->Post([generation, done](TMapBrowse& w) { w.Progress(generation, done); });
        };
        maps::ScanForBrowser(request, scan, [&](maps::BrowserList which, maps::MapScan result) {
            maps::SortLikeBrowser(result.entries);  // here rather than on the window's thread
            link->Post([generation, which, result = std::move(result)](TMapBrowse& w) mutable {
                w.ListDone(generation, which, std::move(result));
            });
        });
        link->Post([generation, counters = scan.counters](TMapBrowse& w) {
            w.ScanEnded(generation, counters);
        });
    }).detach();
}

void TMapBrowse::WaitForScan() {
    while (scanning_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

void TMapBrowse::StopScan() {
    if (cancel_) {
        cancel_->store(true);
    }
    scanning_ = false;
}

void TMapBrowse::done(int result) {
    if (result == QDialog::Accepted) {
        WarnAboutPk3();
    }
    // Closing ends the scan; what it has not handed over yet is dropped.
    if (cancel_) {
        cancel_->store(true);
    }
    ++generation_;
    ResetFills();
    scanning_ = false;
    labProgress_->clear();
    if (context_.store != nullptr) {
        SaveWindowSize(*context_.store, kSizeKey, *this);
    }
    QDialog::done(result);
}

void TMapBrowse::Progress(unsigned generation, std::size_t done) {
    if (generation == generation_) {
        labProgress_->setText(QString("Reading maps... %1 so far").arg(done));
    }
}

TMapBrowse::Column& TMapBrowse::ColumnAt(int index) {
    return index == 0 ? id1_ : index == 1 ? patch_ : builtIn_;
}

void TMapBrowse::ListDone(unsigned generation, maps::BrowserList which, maps::MapScan scan) {
    if (generation != generation_) {
        return;
    }
    const int index = which == maps::BrowserList::ID1     ? 0
                      : which == maps::BrowserList::Patch ? 1
                                                          : 2;
    const Column& column = ColumnAt(index);
    column.list->clear();
    ShowList(column, scan.found);
    Fill& fill = fills_[index];
    if (!fill.active) {
        ++pendingFills_;
    }
    small_[index].clear();
    std::erase_if(scan.entries, [this, index](maps::MapEntry& entry) {
        if (entry.small) {
            small_[index].push_back(std::move(entry));
        }
        return entry.small;
    });
    fill.entries = std::move(scan.entries);
    fill.next = 0;
    fill.error = std::move(scan.error);
    fill.active = true;
    FillSome(generation, index);
}

void TMapBrowse::FillSome(unsigned generation, int index) {
    Fill& fill = fills_[index];
    if (generation != generation_ || !fill.active) {
        return;
    }
    const Column& column = ColumnAt(index);
    // The rows come sorted from the scan: appended in turns of a few thousand, so the window
    // keeps answering while a list of tens of thousands of maps fills.
    constexpr std::size_t kRowsPerTurn = 2000;
    const std::size_t count = std::min(kRowsPerTurn, fill.entries.size() - fill.next);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = fill.next; i < fill.next + count; ++i) {
        rows.append(MakeRow(fill.entries[i]));
    }
    column.list->addTopLevelItems(rows);
    fill.next += count;
    if (fill.next < fill.entries.size()) {
        QTimer::singleShot(0, this, [this, generation, index] { FillSome(generation, index); });
        return;
    }
    if (showSmall_) {
        SetSmallRows(index);
    }
    column.list->resizeColumnToContents(0);  // names are short: the whole name shows
    column.filter->Rebuild(*column.list);
    ApplyFilterTo(column);
    AskVisibleSummaries(column);
    maps::MapScan failed;
    failed.error = std::move(fill.error);
    fill = Fill{};
    --pendingFills_;
    Report(failed);
    MaybeFinished();
}

void TMapBrowse::MaybeFinished() {
    if (scanEnded_ && pendingFills_ == 0) {
        scanning_ = false;
        labProgress_->clear();
        ShowHiddenLine();
    }
}

void TMapBrowse::ResetFills() {
    for (Fill& fill : fills_) {
        fill = Fill{};
    }
    for (std::vector<maps::MapEntry>& small : small_) {
        small.clear();
    }
    labHiddenMaps_->clear();
    pendingFills_ = 0;
    scanEnded_ = false;
}

void TMapBrowse::ScanEnded(unsigned generation, const maps::ScanCounters& counters) {
    if (generation != generation_) {
        return;
    }
    counters_ = counters;
    scanEnded_ = true;
    MaybeFinished();
}

void TMapBrowse::ApplyFilter() {
    for (const Column* column : {&id1_, &patch_, &builtIn_}) {
        ApplyFilterTo(*column);
    }
}

void TMapBrowse::AddRows(QTreeWidget& list, const std::vector<maps::MapEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const maps::MapEntry& entry : entries) {
        rows.append(
            new QTreeWidgetItem(QStringList{FromLocal(entry.name), FromLocal(entry.description)}));
    }
    list.addTopLevelItems(rows);
    list.sortItems(0, Qt::AscendingOrder);
}

void TMapBrowse::ShowList(const Column& column, bool shown) {
    column.list->setHidden(!shown);
    column.notice->setHidden(shown);
}

bool TMapBrowse::Report(const maps::MapScan& scan) {
    if (!scan.Failed()) {
        return false;
    }
    context_.ui.ShowMessage(FromLocal(scan.error), QString(), MessageIcon::Error);
    return true;
}

void TMapBrowse::TakeSelection(QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty()) {
        edMap_->setText(selected.first()->text(0) + " - " + selected.first()->text(1));
        pane_->ShowMap(ListOf(list), selected.first()->text(0));
    }
}

void TMapBrowse::lvMapsClick(QTreeWidget* list) {
    TakeSelection(list);
}

void TMapBrowse::lvMapsChange(QTreeWidget* list) {
    TakeSelection(list);
}

void TMapBrowse::lvMapsDblClick(QTreeWidget* list) {
    if (!list->selectedItems().isEmpty()) {
        accept();
    }
}

}  // namespace fenmar::ui
