#pragma once
// The main window: the Quick-Set bar, the six pages, the plug-in panel, the logo column, the
// action buttons and the command-line row, plus its menus, image lists and the icon timer.
//
// Every control is a public, typed member of the part that holds it, named as its objectName
// (e.g. `dialog.general->comboMap`, `dialog.actions->buRunQuake`), so behaviour can be added
// in classes of its own that connect to these controls.

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/window/AppContext.h"

class QAction;
class QKeyEvent;
class QMenu;
class QTabWidget;
class QTimer;

namespace fenmar::ui {

class ActionButtons;
class CommandLineRow;
class DirectoryChecks;
class ExecutableList;
class GameLaunchController;
class GeneralPage;
class GlobalOptionsPage;
class ImageList;
class LaunchOptionsController;
class LogoColumn;
class MoreGlobalOptionsPage;
class MultiplayerPage;
class OptionsPage;
class PickerButtons;
class PlugInManager;
class PlugInPanel;
class PlugInsPage;
class QuickSetBar;
class QuickSetController;
class SettingsController;
struct AppWindows;

class TMainDialog : public QWidget {
    Q_OBJECT
public:
    explicit TMainDialog(AppContext& context, QWidget* parent = nullptr);
    ~TMainDialog() override;

    AppContext& Context() const { return context_; }
    // The program's other windows, their dialogs made if they were not yet; set once at
    // start-up, null while the window stands alone.
    AppWindows* Windows() const;
    void SetWindows(AppWindows* windows) { windows_ = windows; }

    // Key presses reach these handlers, in the order added, before the focused control sees
    // them. A handler returns true when it used the key (the control then never gets it).
    using KeyHandler = std::function<bool(QKeyEvent&)>;
    void AddKeyHandler(KeyHandler handler) { keyHandlers_.push_back(std::move(handler)); }

    // The frame of the rotating logo that the window icon shows (0..5).
    std::uint8_t LogoFrame() const { return logoFrame_; }

    // Regions.
    QuickSetBar* quickSetBar;
    QTabWidget* PageControl1;
    GeneralPage* general;
    MultiplayerPage* multiplayer;
    PlugInsPage* plugIns;
    OptionsPage* options;
    GlobalOptionsPage* globalOptions;
    MoreGlobalOptionsPage* moreGlobalOptions;
    PlugInPanel* panelPlugIn;
    LogoColumn* panelLogo;
    ActionButtons* actions;
    CommandLineRow* commandLine;

    // The plug-in panel's pop-up menu.
    QMenu* PlugInMenu;
    QAction* mi_execute;
    QAction* mi_reset;
    QMenu* miPlugIns;  // "&Plug-Ins": one item per plug-in found
    // The plug-in list's pop-up menu.
    QMenu* menuListView;
    QAction* use1;
    QAction* delete1;
    QAction* query1;

    ImageList* ilLargePlugIn;   // 32 x 32
    ImageList* ilSmallPlugIn;   // 16 x 16
    ImageList* ilRotatingLogo;  // the six frames of the window icon
    QTimer* tiIconTimer;        // 100 ms; runs while the application is active

    // The named executables: the list, its editor and the executable box.
    ExecutableList* executableList;
    // The Quake and patch directories, their folder buttons and their checks.
    DirectoryChecks* directoryChecks;
    // The browse buttons of the patch, demo, config-file and companion fields.
    PickerButtons* pickers;

    // The launch options of the pages: their handlers and enabling rules.
    LaunchOptionsController* launchOptions;

    // The plug-in list, the active plug-in and its gating of the window.
    PlugInManager* plugInManager;

    // The stored state: profile display, Quick-Sets, load and save, parameter lists.
    SettingsController* settings;
    // The Quick-Set bar's chooser and buttons.
    QuickSetController* quickSets;
    // The action buttons: run, exit and the companion program.
    GameLaunchController* gameLaunch;

public slots:
    // Shows the about box modally.
    void imgQuakePanelClick();
    // Advances the window icon to the next frame of the rotating logo.
    void tiIconTimerTimer();

signals:
    // The first activation of the window in this run (settings are loaded then).
    void activatedFirstTime();
    // The window is closing; the program ends after it.
    void closing();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPages();
    void BuildMenus();
    void InstallCutTextTips();
    void BuildImageLists();
    void FillExecutables();
    void ApplicationActiveChanged(bool active);
    bool HandleKey(QKeyEvent& event);

    AppContext& context_;
    AppWindows* windows_ = nullptr;
    std::vector<KeyHandler> keyHandlers_;
    std::uint8_t logoFrame_ = 0;
    bool centred_ = false;
    bool activatedOnce_ = false;
};

}  // namespace fenmar::ui
