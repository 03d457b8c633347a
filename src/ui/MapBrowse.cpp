#include "ui/MapBrowse.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTreeWidget>

#include "core/LiveProfile.h"
#include "platform/FileSystem.h"

namespace fenmar::ui {

namespace {

constexpr int kClientWidth = 715;
constexpr int kClientHeight = 342;
constexpr int kListWidth = 233;
constexpr int kListHeight = 297;
constexpr int kListTop = 22;

QString Local(const std::string& text) {
    return QString::fromLocal8Bit(text);
}

}  // namespace

TMapBrowse::TMapBrowse(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      context_(context) {
    setObjectName("TMapBrowse");
    setWindowTitle("Browse for user-created maps...");
    setFixedSize(kClientWidth, kClientHeight);

    id1_ = MakeColumn(4, "lvID1Maps", "Contents of ID1\\MAPS:",
                      "Sorry, you don't have a subdirectory called \"MAPS\" in your "
                      "\"QUAKE\\ID1\"-directory.");
    patch_ = MakeColumn(241, "lvPatchMaps", "External maps in the patch-dir:",
                        "Sorry, you don't have a subdirectory called \"MAPS\" in your current "
                        "patch-directory or didn't even select a patch.");
    builtIn_ = MakeColumn(478, "lvBuiltInMaps", "Built-in patch-maps:",
                          "Sorry, you don't have any PAK-files in your current patch-directory.");

    constexpr int kRowTop = kListTop + kListHeight + 1;
    auto* label = new QLabel("Selected map:", this);
    label->setGeometry(4, kRowTop + 2, 74, 17);
    edMap_ = new QLineEdit(this);
    edMap_->setObjectName("edMap");
    edMap_->setGeometry(80, kRowTop, 468, 21);
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
    c.list->setColumnCount(2);
    c.list->setHeaderLabels({"Filename", "Description"});
    c.list->setColumnWidth(0, 60);
    c.list->setColumnWidth(1, 300);
    c.list->header()->setSectionsClickable(false);
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
        if (!centred_ && parentWidget() == nullptr && screen() != nullptr) {
            move(screen()->availableGeometry().center() - rect().center());
            centred_ = true;
        }
        FormShow();
    }
    QDialog::showEvent(event);
}

void TMapBrowse::FormShow() {
    const Globals& globals = context_.globals;
    const std::string quakePath = globals.Profile.Text(TextField::QuakePath);
    const std::string patch = globals.Profile.Text(TextField::GamePatch);
    const maps::ScanOptions options{globals.MinBSPSize, globals.DontScanBSPMsgs};
    // Without a Quake directory or a patch there is nothing to look into: the lists stay
    // hidden rather than searching the working directory.
    const bool haveQuake = !quakePath.empty();
    const bool havePatch = haveQuake && IsSet(patch);
    const std::string patchDir = havePatch ? platform::JoinPath(quakePath, patch) : std::string();

    id1_.list->clear();
    maps::MapScan scan;
    if (haveQuake) {
        const std::string id1 = maps::SubdirectoryIgnoringCase(quakePath, "id1");
        scan = maps::ScanMapDirectory(maps::SubdirectoryIgnoringCase(id1, "maps"), options);
    }
    AddRows(*id1_.list, scan.entries);
    ShowList(id1_, scan.found);
    if (Report(scan)) {
        return;
    }

    patch_.list->clear();
    scan = havePatch
               ? maps::ScanMapDirectory(maps::SubdirectoryIgnoringCase(patchDir, "maps"), options)
               : maps::MapScan{};
    AddRows(*patch_.list, scan.entries);
    ShowList(patch_, scan.found);
    if (Report(scan)) {
        return;
    }

    builtIn_.list->clear();
    const maps::MapScan paks = havePatch ? maps::FindPakFiles(patchDir) : maps::MapScan{};
    ShowList(builtIn_, paks.found);
    if (Report(paks)) {
        return;
    }
    for (const maps::MapEntry& pak : paks.entries) {
        scan = maps::ScanPakFile(platform::JoinPath(patchDir, pak.name), options);
        AddRows(*builtIn_.list, scan.entries);
        if (Report(scan)) {
            return;
        }
    }
}

void TMapBrowse::AddRows(QTreeWidget& list, const std::vector<maps::MapEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const maps::MapEntry& entry : entries) {
        rows.append(new QTreeWidgetItem(QStringList{Local(entry.name), Local(entry.description)}));
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
    context_.ui.ShowMessage(Local(scan.error), QString(), MessageIcon::Error);
    return true;
}

void TMapBrowse::TakeSelection(QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty()) {
        edMap_->setText(selected.first()->text(0) + " - " + selected.first()->text(1));
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
