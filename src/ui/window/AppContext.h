#pragma once
// What every window of the program shares for the whole run. Windows take it by reference in
// their constructors: `explicit TSomething(AppContext& context, QWidget* parent = nullptr)`.

#include <string>

#include "core/ExecutableTable.h"
#include "core/Globals.h"
#include "ui/services/UiServices.h"

namespace fenmar {
class TPlugIn;
}
namespace fenmar::store {
class Store;
}

namespace fenmar::ui {

struct AppContext {
    explicit AppContext(UiServices& services) : ui(services) {}

    Globals globals;              // the launch profile and the values beside it
    ExecutableTable executables;  // the named executables shown on the options page
    UiServices& ui;               // every modal interaction
    std::string programDir;       // the directory of the program (plug-ins lie below it)
    // The active plug-in's slot, one for the whole run; owned by the main window's plug-in
    // manager, null while there is no main window.
    TPlugIn* activePlugIn = nullptr;
    // The settings store of the run, owned by the program's start; null: nothing is stored.
    store::Store* store = nullptr;
};

}  // namespace fenmar::ui
