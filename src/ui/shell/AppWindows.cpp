#include "ui/window/AppWindows.h"

#include <QPushButton>

#include "ui/addons/AddOnsWindow.h"
#include "ui/executables/ExeNotDefined.h"
#include "ui/launch/NetworkSettings.h"
#include "ui/launch/SoundSettings.h"
#include "ui/launch/TroubleSettings.h"
#include "ui/launch/Win95Settings.h"
#include "ui/maps/MapBoxPreview.h"
#include "ui/maps/MapBrowse.h"
#include "ui/pages/GeneralPage.h"
#include "ui/quicksets/QuickSetDialogs.h"
#include "ui/shell/AboutForm.h"
#include "ui/shell/AddOnsLink.h"
#include "ui/window/ActionBar.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

template <typename T>
T* AppWindows::Create(AppContext& context) {
    auto window = std::make_unique<T>(context);
    T* raw = window.get();
    owned_.push_back(std::move(window));
    return raw;
}

AppWindows::AppWindows(AppContext& context, Dialogs dialogs) : context_(context) {
    // The main window first: it is the application's main window.
    main = Create<TMainDialog>(context);
    InstallMapBoxPreview(*main->general->comboMap, context);
    addOnTarget_ = std::make_unique<MainWindowPlayTarget>(*main);
    QObject::connect(main->actions->buAddOns, &QPushButton::clicked, main, [this] {
        AddOnsWindow& window = AddOns();
        window.show();
        window.raise();
        window.activateWindow();
    });
    main->SetWindows(this);
    if (dialogs == Dialogs::Now) {
        CreateDialogs();
    }
}

void AppWindows::CreateDialogs() {
    if (dialogsMade_) {
        return;
    }
    dialogsMade_ = true;  // first: a dialog reaching for the others while made starts no second set
    AppContext& context = context_;
    win95 = Create<TWin95Settings>(context);
    sound = Create<TSoundSettings>(context);
    network = Create<TNetworkSettings>(context);
    about = Create<TAboutForm>(context);
    about->SetLogoFrames(main->ilRotatingLogo);
    trouble = Create<TTroubleSettings>(context);
    quickSaveAs = Create<TQuickSaveAs>(context);
    quickRenameTo = Create<TQuickRenameTo>(context);
    mapBrowse = Create<TMapBrowse>(context);
    exeNotDefined = Create<TExeNotDefined>(context);
}

AppWindows::~AppWindows() {
    addOns_.reset();
    main->SetWindows(nullptr);
    // The dialogs go first, the main window last.
    while (!owned_.empty()) {
        owned_.pop_back();
    }
}

AddOnsWindow& AppWindows::AddOns() {
    if (!addOns_) {
        AppContext& context = main->Context();
        addOns_ = std::make_unique<AddOnsWindow>(context.ui, context.store, *addOnTarget_);
        addOns_->setWindowIcon(main->windowIcon());
    }
    return *addOns_;
}

std::vector<QWidget*> AppWindows::CreationOrder() const {
    std::vector<QWidget*> order;
    order.reserve(owned_.size());
    for (const auto& window : owned_) {
        order.push_back(window.get());
    }
    return order;
}

}  // namespace fenmar::ui
