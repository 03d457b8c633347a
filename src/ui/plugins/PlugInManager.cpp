#include "ui/plugins/PlugInManager.h"

#include <QAction>
#include <QButtonGroup>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "core/InstallLayout.h"
#include "platform/FileSystem.h"
#include "ui/executables/ExecutableList.h"
#include "ui/maps/MapBrowse.h"
#include "ui/pages/PlugInsPage.h"
#include "ui/pickers/Pickers.h"
#include "ui/plugins/PlugInGating.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/ImageList.h"
#include "ui/widgets/ListView.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"
#include "ui/window/SidePanels.h"

namespace fenmar::ui {

namespace {
constexpr int kDllColumn = 1;

std::optional<std::string> ToLocal(const std::optional<QString>& text) {
    return text ? std::optional<std::string>(ToLocal(*text)) : std::nullopt;
}

// A plug-in's icon at `side` pixels: its own image, or the host's default picture.
QPixmap IconPixmap(const PlugInIcon& icon, int side) {
    QPixmap pixmap;
    switch (icon.kind) {
        case PlugInIcon::Kind::DefaultLarge:
            pixmap = ResourcePixmap(QStringLiteral("NPI_LARGE"));
            break;
        case PlugInIcon::Kind::DefaultSmall:
            pixmap = ResourcePixmap(QStringLiteral("NPI_SMALL"));
            break;
        case PlugInIcon::Kind::Image: {
            // The pixels are 0xAARRGGBB words, which is QImage's ARGB32 layout.
            const QImage image(reinterpret_cast<const uchar*>(icon.pixels.data()), icon.width,
                               icon.height, icon.width * 4, QImage::Format_ARGB32);
            pixmap = QPixmap::fromImage(image.copy());
            break;
        }
    }
    if (pixmap.width() != side || pixmap.height() != side) {
        pixmap = pixmap.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return pixmap;
}
}  // namespace

PlugInManager::PlugInManager(TMainDialog& dialog)
    : QObject(&dialog),
      dialog_(dialog),
      context_(dialog.Context()),
      plugInDir_(PlugInDirectoryFor(dialog.Context().programDir)),
      host_(dialog.Context().globals) {
    setObjectName(QStringLiteral("plugInManager"));
    AppContext& context = dialog.Context();
    ConnectHost();
    activePlugIn_ = std::make_unique<TPlugIn>(
        PlugInEnvironment{plugInDir_, &context.globals, &context.executables, &host_});
    context.activePlugIn = activePlugIn_.get();
    dialog.plugIns->labPlugInDir->SetPath(FromLocal(plugInDir_));
    Connect();
    ScanPlugIns();
}

PlugInManager::~PlugInManager() {
    if (context_.activePlugIn == activePlugIn_.get()) {
        context_.activePlugIn = nullptr;
    }
}

void PlugInManager::ConnectHost() {
    AppContext& context = dialog_.Context();
    host_.SetApplyAllowList([this](const AllowList* list) { ApplyAllowList(list); });
    // The pickers of the info function.
    host_.SetBrowseMap([this]() -> std::optional<std::string> {
        AppWindows* windows = dialog_.Windows();
        if (windows == nullptr || windows->mapBrowse == nullptr) {
            return std::nullopt;
        }
        return windows->mapBrowse->ExecuteForPlugIn();
    });
    host_.SetBrowseForPatch([&context] { return ToLocal(BrowseForPatch(context)); });
    host_.SetBrowseDemoID1([&context] { return ToLocal(BrowseDemoID1(context)); });
    host_.SetBrowseDemoPatch([&context] { return ToLocal(BrowseDemoPatch(context)); });
    host_.SetBrowseExecutableFile([&context] { return ToLocal(BrowseExecutableFile(context)); });
    // A 1.22 plug-in names its executable by file; an empty list keeps the current name.
    host_.SetResolveExecutableName([this, &context](const std::string& file) {
        return dialog_.executableList->ResolveExecutableName(file).value_or(
            context.globals.Executable);
    });
}

void PlugInManager::Connect() {
    PlugInsPage& page = *dialog_.plugIns;
    connect(page.lvPlugIns, &ListView::rowActivated, this, [this] { lvPlugInsDblClick(); });
    connect(page.viewStyleButtons, &QButtonGroup::idClicked, this,
            &PlugInManager::buSelectViewStyle);
    connect(page.buRefreshPlugIns, &QPushButton::clicked, this,
            &PlugInManager::buRefreshPlugInsClick);
    connect(dialog_.panelPlugIn, &PlugInPanel::clicked, this, &PlugInManager::imActivePlugInClick);
    connect(dialog_.mi_execute, &QAction::triggered, this, &PlugInManager::mi_executeClick);
    connect(dialog_.mi_reset, &QAction::triggered, this, &PlugInManager::mi_resetClick);
    connect(dialog_.use1, &QAction::triggered, this, &PlugInManager::lvPlugInsDblClick);
    connect(dialog_.menuListView, &QMenu::aboutToShow, this, &PlugInManager::menuListViewPopup);

    // The panel reports its labels' clicks itself; the click must not reach it a second time
    // on its way up, or the plug-in would run twice.
    PlugInPanel* panel = dialog_.panelPlugIn;
    panel->Label6->setAttribute(Qt::WA_NoMousePropagation);
    panel->imActivePlugIn->setAttribute(Qt::WA_NoMousePropagation);

    // The pop-up menus open on a right click on the panel and on the list.
    panel->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(panel, &QWidget::customContextMenuRequested, this,
            [this, panel](const QPoint& at) { dialog_.PlugInMenu->popup(panel->mapToGlobal(at)); });
    ListView* list = page.lvPlugIns;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& at) { dialog_.menuListView->popup(list->mapToGlobal(at)); });

    dialog_.AddKeyHandler([this](QKeyEvent& event) { return FormKeyDown(event); });
}

void PlugInManager::ScanPlugIns() {
    dialog_.plugIns->lvPlugIns->Clear();
    dialog_.ilLargePlugIn->Clear();
    dialog_.ilSmallPlugIn->Clear();
    AddNoPlugInItem();
    dialog_.miPlugIns->clear();
    // A scan slot of its own: the active plug-in is left alone.
    for (const PlugInListing& row : ListPlugIns(activePlugIn_->Environment())) {
        AddRow(row);
    }
}

void PlugInManager::AddNoPlugInItem() {
    PlugInListing row;
    row.description = kNoPlugInCaption;
    row.fileName = std::string(kNone);
    row.versionText = APIVersionText(PI_API_NONE);
    row.largeIcon = PlugInIcon::Default(2);
    row.smallIcon = PlugInIcon::Default(1);
    const int image = dialog_.ilLargePlugIn->Add(IconPixmap(row.largeIcon, 32));
    dialog_.ilSmallPlugIn->Add(IconPixmap(row.smallIcon, 16));
    dialog_.plugIns->lvPlugIns->AddRow(
        {FromLocal(row.description), FromLocal(row.fileName), FromLocal(row.versionText)}, image);
}

void PlugInManager::AddRow(const PlugInListing& row) {
    const int image = dialog_.ilLargePlugIn->Add(IconPixmap(row.largeIcon, 32));
    dialog_.ilSmallPlugIn->Add(IconPixmap(row.smallIcon, 16));
    const QString caption = FromLocal(row.description);
    dialog_.plugIns->lvPlugIns->AddRow(
        {caption, FromLocal(row.fileName), FromLocal(row.versionText)}, image);
    // The caption shows literally: a "&" in a description is no mnemonic.
    QString menuText = caption;
    menuText.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = dialog_.miPlugIns->addAction(menuText);
    item->setData(caption);
    connect(item, &QAction::triggered, this, [this, caption] { PlugInsMenuClick(caption); });
}

void PlugInManager::ActivatePlugIn(const std::string& fileName) {
    ShowActiveIcon(fenmar::ActivatePlugIn(*activePlugIn_, fileName));
}

void PlugInManager::ResetPlugIn() {
    ShowActiveIcon(fenmar::ResetPlugIn(*activePlugIn_));
}

void PlugInManager::ApplyAllowList(const AllowList* list) {
    fenmar::ui::ApplyAllowList(dialog_, list);
}

void PlugInManager::ShowActiveIcon(const PlugInIcon& icon) {
    ClickableLabel* image = dialog_.panelPlugIn->imActivePlugIn;
    image->setPixmap(IconPixmap(icon, 32));
    image->repaint();
}

void PlugInManager::lvPlugInsDblClick() {
    ListView* list = dialog_.plugIns->lvPlugIns;
    const int row = list->SelectedRow();
    if (row < 0) {
        return;
    }
    const std::string file = ToLocal(list->Text(row, kDllColumn));
    if (file == activePlugIn_->FileName()) {
        return;  // already active: no reload, no restore
    }
    ActivatePlugIn(file);
    if (!activePlugIn_->IsLoaded()) {
        return;
    }
    if (restore_) {
        restore_(*activePlugIn_);
    }
}

void PlugInManager::buSelectViewStyle(int tag) {
    if (tag >= 0 && tag <= static_cast<int>(ViewStyle::Report)) {
        dialog_.plugIns->lvPlugIns->SetViewStyle(static_cast<ViewStyle>(tag));
    }
}

void PlugInManager::mi_executeClick() {
    if (activePlugIn_->IsLoaded()) {
        activePlugIn_->Execute();
    }
}

void PlugInManager::menuListViewPopup() {
    const bool selected = dialog_.plugIns->lvPlugIns->SelectedRow() >= 0;
    dialog_.use1->setEnabled(selected);
    // Removing a plug-in from here is not offered: the item would do nothing.
    dialog_.delete1->setEnabled(false);
    dialog_.query1->setEnabled(false);
}

void PlugInManager::PlugInsMenuClick(const QString& caption) {
    ListView* list = dialog_.plugIns->lvPlugIns;
    for (int row = 0; row < list->RowCount(); ++row) {
        if (list->Text(row, 0) == caption) {
            ActivatePlugIn(ToLocal(list->Text(row, kDllColumn)));
            return;
        }
    }
}

bool PlugInManager::FormKeyDown(QKeyEvent& event) {
    // Whatever the shift state. The key goes on to the focused control afterwards.
    if (event.key() == Qt::Key_F5) {
        ScanPlugIns();
    } else if (event.key() == Qt::Key_F12) {
        mi_executeClick();
    }
    return false;
}

}  // namespace fenmar::ui
