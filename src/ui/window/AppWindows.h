#pragma once
// Every window of the program, created once at start-up in a fixed order and kept until the
// program ends. The main window reaches the others through this.

#include <QWidget>
#include <memory>
#include <vector>

#include "ui/window/AppContext.h"

namespace fenmar::ui {

class AddOnPlayTarget;
class AddOnsWindow;
class TAboutForm;
class TExeNotDefined;
class TMainDialog;
class TMapBrowse;
class TNetworkSettings;
class TQuickRenameTo;
class TQuickSaveAs;
class TSoundSettings;
class TTroubleSettings;
class TWin95Settings;

struct AppWindows {
    // Creates the windows, hidden, in the order of the members below.
    explicit AppWindows(AppContext& context);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    TMainDialog* main = nullptr;
    TWin95Settings* win95 = nullptr;
    TSoundSettings* sound = nullptr;
    TNetworkSettings* network = nullptr;
    TAboutForm* about = nullptr;
    TTroubleSettings* trouble = nullptr;
    TQuickSaveAs* quickSaveAs = nullptr;
    TQuickRenameTo* quickRenameTo = nullptr;
    TMapBrowse* mapBrowse = nullptr;
    TExeNotDefined* exeNotDefined = nullptr;

    // The windows in the order they were created.
    std::vector<QWidget*> CreationOrder() const;

    // The Add-ons window, created on first use (the action bar's "Add-ons..." shows it).
    AddOnsWindow& AddOns();

private:
    template <typename T>
    T* Create(AppContext& context);

    std::vector<std::unique_ptr<QWidget>> owned_;
    std::unique_ptr<AddOnPlayTarget> addOnTarget_;
    std::unique_ptr<AddOnsWindow> addOns_;
};

}  // namespace fenmar::ui
