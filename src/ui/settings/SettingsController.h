#pragma once
// The main window's stored state: showing a profile in the controls, loading and saving
// Quick-Sets with the window, loading the whole stored state at the first activation and
// saving it when the window closes, and the stored options of the global pages (the four
// CONFIG.CFG boxes, the map size threshold, the description scan).

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"

class QComboBox;

namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

class ParamListController;
class TMainDialog;

class SettingsController : public QObject {
    Q_OBJECT
public:
    // Connects the option handlers, the lifecycle signals and both parameter-list editors.
    explicit SettingsController(TMainDialog& dialog);

    // The store of the run (the context's); null: nothing is loaded or saved.
    store::Store* Store() const;

    // Copies the live profile into the controls, in a fixed order; the controls' handlers
    // then re-apply the window's rules.
    void ShowProfile();
    // A Quick-Set, or the working profile for the empty name, into the profile and window.
    void LoadQuickSet(const std::string& name);
    // The live profile, the additional parameters and the plug-in's settings into the store.
    void SaveQuickSet(const std::string& name);

    // Everything stored, once per run: version test and import, global options, executables,
    // "<default>", global parameters, recent lists, working profile, Quick-Set chooser.
    void LoadSettings();
    // Everything, in one transaction of the store: the previous settings stay whole until
    // the new ones are complete.
    void SaveSettings();
    bool SettingsLoaded() const { return loaded_; }

    // Window events: the first activation loads and checks the directories; closing saves.
    void FormActivate();
    void FormClose();

    // Option handlers.
    void cbDelConfigsClick(QObject* sender);
    void udMinBSPSizeClick();
    void cbDontScanBSPMsgsClick();

    // The two parameter-list editors.
    ParamListController* addParams;
    ParamListController* globalParams;

private:
    // The entries of a chooser; appending the ones beyond its count, keeping its text.
    static std::vector<std::string> Items(const QComboBox& combo);
    static void SetItems(QComboBox& combo, const std::vector<std::string>& items);
    // The plug-in manager's hooks: refreshing the window, restoring a chosen plug-in.
    void ConnectPlugInHost();
    // Typing stops where a stored text would no longer read back.
    void LimitStoredEdits();
    void LoadInternalOptions(store::Store& store);
    void LoadRecentLists(store::Store& store);
    void LoadQuickSetChooser(store::Store& store);
    std::string HostNameText() const;
    // With the active plug-in's part: the first start's "<default>", and everything stored.
    void CreateDefaultQuickSet(store::Store& store);
    void SaveAll(store::Store& store, const GlobalSettingsData& data);

    TMainDialog& dialog_;
    bool loaded_ = false;
    bool activated_ = false;
};

}  // namespace fenmar::ui
