#include "ui/window/MainDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "ui/executables/ExecutableList.h"
#include "ui/launch/GameLaunch.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/launch/PickerButtons.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pages/PlugInsPage.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/pickers/DirectoryChecks.h"
#include "ui/plugins/PlugInManager.h"
#include "ui/quicksets/QuickSetController.h"
#include "ui/servers/ServersController.h"
#include "ui/settings/SettingsController.h"
#include "ui/shell/AboutForm.h"
#include "ui/widgets/Artwork.h"
#include "ui/widgets/ClickableLabel.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/CutTextTips.h"
#include "ui/widgets/ImageList.h"
#include "ui/widgets/ListView.h"
#include "ui/window/ActionBar.h"
#include "ui/window/AppWindows.h"
#include "ui/window/SidePanels.h"

namespace fenmar::ui {

namespace {
constexpr QSize kDesignSize(569, 461);
constexpr int kIconInterval = 100;

QAction* AddAction(QMenu& menu, const QString& name, const QString& caption) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    return action;
}
}  // namespace

TMainDialog::TMainDialog(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      context_(context) {
    setObjectName(QStringLiteral("MainDialog"));
    setWindowTitle(QStringLiteral("Fenmar - launch Quake (the better way)"));

    quickSetBar = new QuickSetBar(this);
    BuildPages();
    panelPlugIn = new PlugInPanel(this);
    panelLogo = new LogoColumn(this);
    actions = new ActionButtons(this);
    commandLine = new CommandLineRow(this);
    BuildMenus();
    BuildImageLists();
    FillExecutables();
    executableList = new ExecutableList(*this);
    directoryChecks = new DirectoryChecks(*this);
    // With the Quake directory known, the engines this computer has, if the built-in rows
    // name none that exists.
    connect(directoryChecks, &DirectoryChecks::firstRunDirectoriesChecked, executableList,
            &ExecutableList::OfferEnginesOnFirstRun);
    pickers = new PickerButtons(*this);
    launchOptions = new LaunchOptionsController(*this);
    plugInManager = new PlugInManager(*this);
    settings = new SettingsController(*this);
    quickSets = new QuickSetController(*this, *settings);
    gameLaunch = new GameLaunchController(*this, [this] { settings->SaveSettings(); });
    new ServersController(*this);  // the Multiplayer page's "Servers..." button

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);
    grid->addWidget(quickSetBar, 0, 0);
    grid->addWidget(panelPlugIn, 0, 1);
    grid->addWidget(PageControl1, 1, 0);
    grid->addWidget(panelLogo, 1, 1, 2, 1);
    grid->addWidget(actions, 2, 0);
    grid->addWidget(commandLine, 3, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);

    InstallCutTextTips();

    connect(panelLogo->imgQuakePanel, &ClickableLabel::clicked, this,
            &TMainDialog::imgQuakePanelClick);

    // The window icon turns while the application is active.
    tiIconTimer = new QTimer(this);
    tiIconTimer->setObjectName(QStringLiteral("tiIconTimer"));
    tiIconTimer->setInterval(kIconInterval);
    connect(tiIconTimer, &QTimer::timeout, this, &TMainDialog::tiIconTimerTimer);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                ApplicationActiveChanged(state == Qt::ApplicationActive);
            });
    qApp->installEventFilter(this);
    tiIconTimer->start();
    setWindowIcon(QIcon(ilRotatingLogo->At(0)));

    // Opens at the design's size, or larger where the contents need it; that is also the
    // smallest size. Larger, the pages, lists and edits grow with the window.
    layout()->activate();
    const QSize opened = sizeHint().expandedTo(kDesignSize);
    setMinimumSize(opened);
    resize(opened);
}

TMainDialog::~TMainDialog() {
    qApp->removeEventFilter(this);
}

AppWindows* TMainDialog::Windows() const {
    if (windows_ != nullptr) {
        windows_->CreateDialogs();
    }
    return windows_;
}

void TMainDialog::BuildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    general = new GeneralPage(PageControl1);
    multiplayer = new MultiplayerPage(PageControl1);
    plugIns = new PlugInsPage(PageControl1);
    options = new OptionsPage(PageControl1);
    globalOptions = new GlobalOptionsPage(PageControl1);
    moreGlobalOptions = new MoreGlobalOptionsPage(PageControl1);
    PageControl1->addTab(general, QStringLiteral("General"));
    PageControl1->addTab(multiplayer, QStringLiteral("Multiplayer"));
    PageControl1->addTab(plugIns, QStringLiteral("Plug-Ins"));
    PageControl1->addTab(options, QStringLiteral("Options"));
    PageControl1->addTab(globalOptions, QStringLiteral("Global options"));
    PageControl1->addTab(moreGlobalOptions, QStringLiteral("...more global options"));
    PageControl1->setCurrentIndex(0);
}

void TMainDialog::InstallCutTextTips() {
    // The map box's tip is the map's picture and says its name; the others show a text that
    // does not fit whole.
    for (QComboBox* combo : {static_cast<QComboBox*>(quickSetBar->comboQuickSet),
                             static_cast<QComboBox*>(general->comboExecutables),
                             general->comboPatch, general->comboDemo, multiplayer->comboServer}) {
        ShowCutTextAsTip(*combo);
    }
    for (QLineEdit* edit :
         {commandLine->edCommandLine, general->edAddParams, globalOptions->edQuakePath,
          globalOptions->edPatchPath, globalOptions->edQSpy, globalOptions->edGlobalParams}) {
        ShowCutTextAsTip(*edit);
    }
}

void TMainDialog::BuildMenus() {
    PlugInMenu = new QMenu(this);
    PlugInMenu->setObjectName(QStringLiteral("PlugInMenu"));
    mi_execute = AddAction(*PlugInMenu, QStringLiteral("mi_execute"), QStringLiteral("&Execute"));
    PlugInMenu->setDefaultAction(mi_execute);
    mi_reset = AddAction(*PlugInMenu, QStringLiteral("mi_reset"), QStringLiteral("&Reset"));
    PlugInMenu->addSeparator();
    miPlugIns = PlugInMenu->addMenu(QStringLiteral("&Plug-Ins"));
    miPlugIns->setObjectName(QStringLiteral("miPlugIns"));

    menuListView = new QMenu(this);
    menuListView->setObjectName(QStringLiteral("menuListView"));
    use1 = AddAction(*menuListView, QStringLiteral("use1"), QStringLiteral("&use"));
    menuListView->setDefaultAction(use1);
    delete1 = AddAction(*menuListView, QStringLiteral("delete1"), QStringLiteral("&delete"));
    delete1->setEnabled(false);
    query1 = AddAction(*menuListView, QStringLiteral("query1"), QStringLiteral("query"));
    query1->setEnabled(false);
}

void TMainDialog::BuildImageLists() {
    ilLargePlugIn = new ImageList(this, QStringLiteral("ilLargePlugIn"), {32, 32});
    ilSmallPlugIn = new ImageList(this, QStringLiteral("ilSmallPlugIn"), {16, 16});
    plugIns->lvPlugIns->SetImageLists(ilLargePlugIn, ilSmallPlugIn);
    ilRotatingLogo = new ImageList(this, QStringLiteral("ilRotatingLogo"), {32, 32});
    for (int frame = 0; frame < kLogoFrameCount; ++frame) {
        ilRotatingLogo->AddDrawn([frame] { return RotatingLogoFrame(frame); });
    }
}

void TMainDialog::FillExecutables() {
    QTreeWidget* list = moreGlobalOptions->lvExecutables;
    for (const ExecutableEntry& entry : context_.executables.Entries()) {
        const QString name = QString::fromLocal8Bit(entry.name);
        list->addTopLevelItem(new QTreeWidgetItem({name, QString::fromLocal8Bit(entry.file)}));
        general->comboExecutables->AddSorted(name);
    }
}

void TMainDialog::imgQuakePanelClick() {
    if (windows_ != nullptr && windows_->about != nullptr) {
        context_.ui.ExecModal(*windows_->about);
    }
}

void TMainDialog::tiIconTimerTimer() {
    logoFrame_ = static_cast<std::uint8_t>(logoFrame_ + 1);
    if (logoFrame_ > 5) {
        logoFrame_ = static_cast<std::uint8_t>(logoFrame_ - 6);
    }
    setWindowIcon(QIcon(ilRotatingLogo->At(logoFrame_)));
}

void TMainDialog::ApplicationActiveChanged(bool active) {
    if (active) {
        tiIconTimer->start();
    } else {
        tiIconTimer->stop();
    }
}

bool TMainDialog::HandleKey(QKeyEvent& event) {
    for (const KeyHandler& handler : keyHandlers_) {
        if (handler(event)) {
            return true;
        }
    }
    return false;
}

bool TMainDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ApplicationActivate:
            ApplicationActiveChanged(true);
            break;
        case QEvent::ApplicationDeactivate:
            ApplicationActiveChanged(false);
            break;
        case QEvent::KeyPress: {
            // Only the first receiver: the focused control of this window, or the window itself
            // when nothing has the focus. Parents seeing the key again on its way up are not.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget == nullptr || widget->window() != this) {
                break;
            }
            QWidget* first = QApplication::focusWidget();
            if (widget != (first != nullptr && first->window() == this ? first : this)) {
                break;
            }
            if (HandleKey(*static_cast<QKeyEvent*>(event))) {
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainDialog::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activatedOnce_) {
        activatedOnce_ = true;
        emit activatedFirstTime();
    }
    return QWidget::event(event);
}

void TMainDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!centred_ && screen() != nullptr) {
        centred_ = true;
        const QRect area = screen()->availableGeometry();
        move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TMainDialog::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

}  // namespace fenmar::ui
