#pragma once
// The plug-in manager of the main window: lists the libraries of the plug-in directory on the
// "Plug-Ins" page, makes one of them the active plug-in (the one slot of the run), runs it on
// request (F12, the panel, "&Execute") and lets its allow list hide parts of the window.

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "plugins/PlugInList.h"
#include "ui/plugins/WindowPlugInHost.h"

class QKeyEvent;

namespace fenmar::ui {

struct AppContext;
class TMainDialog;

class PlugInManager : public QObject {
    Q_OBJECT
public:
    // Fixes the plug-in directory (the program's directory + "PlugIns"), shows it, connects
    // the page, the panel and both menus, and lists the plug-ins. No plug-in is active yet.
    explicit PlugInManager(TMainDialog& dialog);
    ~PlugInManager() override;

    const std::string& PlugInDir() const { return plugInDir_; }
    // The active plug-in's slot, for the whole run (also in the context: activePlugIn).
    TPlugIn& ActivePlugIn() { return *activePlugIn_; }
    // The window's side of the plug-in calls: wire its hooks here.
    WindowPlugInHost& Host() { return host_; }

    // Empties the list and both image lists, then lists "<no plugin>" and every library of
    // the plug-in directory whose PI_IsPlugIn is true; rebuilds the "&Plug-Ins" sub-menu.
    // The active plug-in stays as it is.
    void ScanPlugIns();
    void AddNoPlugInItem();
    // Loads `fileName` into the active slot (freeing the one before), shows its icon and
    // initialises it (allow list, settings exchange).
    void ActivatePlugIn(const std::string& fileName);
    void ResetPlugIn();
    // Shows and hides the gated controls of the window; null: everything allowed.
    void ApplyAllowList(const AllowList* list);
    // Shows a plug-in's large icon in the panel (e.g. after a stored plug-in was activated).
    void ShowActiveIcon(const PlugInIcon& icon);

    // How a plug-in chosen in the list restores its settings (from the current settings' key
    // "PlugIn-Settings\<description>"). Unset: nothing is restored.
    void SetRestoreSettings(std::function<void(TPlugIn&)> hook) { restore_ = std::move(hook); }

    // Handlers.
    // Activates the selected row's library unless it is the active one, then lets it restore
    // its settings from the current settings' key "PlugIn-Settings\<description>".
    void lvPlugInsDblClick();
    void buSelectViewStyle(int tag);
    void buRefreshPlugInsClick() { ScanPlugIns(); }
    // Runs the active plug-in, if there is one (F12, "&Execute", the panel).
    void mi_executeClick();
    void imActivePlugInClick() { mi_executeClick(); }
    void mi_resetClick() { ResetPlugIn(); }
    void menuListViewPopup();
    // A "&Plug-Ins" item: activates the first row (from row 0) with that caption, afresh.
    void PlugInsMenuClick(const QString& caption);

private:
    bool FormKeyDown(QKeyEvent& event);
    void AddRow(const PlugInListing& row);
    void Connect();
    void ConnectHost();

    TMainDialog& dialog_;
    // The context outlives the window; the destructor, run while the window is being
    // destroyed, reaches it directly instead of through the window.
    AppContext& context_;
    std::string plugInDir_;
    WindowPlugInHost host_;
    std::unique_ptr<TPlugIn> activePlugIn_;
    std::function<void(TPlugIn&)> restore_;
};

}  // namespace fenmar::ui
