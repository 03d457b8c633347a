#pragma once
// Every window of the program, created once at start-up in a fixed order and kept until the
// program ends. The main window reaches the others through this. The program makes the
// dialogs just after its main window is first on the screen (they are not needed to show it);
// the main window's first reach for one makes them at once.

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
    enum class Dialogs { Now, Later };
    // Creates the windows, hidden, in the order of the members below; with `Later` only the
    // main window, the others at CreateDialogs().
    explicit AppWindows(AppContext& context, Dialogs dialogs = Dialogs::Now);
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

    // Creates the dialogs not made yet, in their order; does nothing the second time.
    void CreateDialogs();

    // The windows in the order they were created.
    std::vector<QWidget*> CreationOrder() const;

    // The Add-ons window, created on first use (the action bar's "Add-ons..." shows it).
    AddOnsWindow& AddOns();

private:
    template <typename T>
    T* Create(AppContext& context);

    AppContext& context_;
    bool dialogsMade_ = false;
    std::vector<std::unique_ptr<QWidget>> owned_;
    std::unique_ptr<AddOnPlayTarget> addOnTarget_;
    std::unique_ptr<AddOnsWindow> addOns_;
};

}  // namespace fenmar::ui
