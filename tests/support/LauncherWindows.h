#pragma once
// The launcher's windows as the program creates them, for window tests: modal questions are
// answered from a script, files go to a scratch folder, and the settings stay in memory unless
// the test asks for a real settings file.

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "store/OpenStore.h"
#include "ui/window/AppContext.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar::test {

// Mixed into a fixture beside ::testing::Test (or TestWithParam): the fixture's own members are
// made after the windows and go before them.
struct LauncherWindows {
    // From now on the settings are kept in a real file in the scratch folder.
    store::Store& UseSettingsFile() {
        storage = store::OpenStoreAt((temp.Path() / "settings.sqlite").string()).store;
        context.store = storage.get();
        return *storage;
    }

    // The folder and the settings file outlive the windows.
    TempDir temp;
    std::unique_ptr<store::Store> storage;

    ScriptedUiServices services;
    ui::AppContext context{services};
    ui::AppWindows windows{context};
    ui::TMainDialog& dlg = *windows.main;
};

// A local path as the window shows it.
inline QString Q(const std::string& path) {
    return QString::fromLocal8Bit(path);
}

// The executables a fresh launcher offers, in the order its lists show them.
inline const QStringList& BuiltInExecutables() {
    static const QStringList names = {"DOS-Quake",
                                      "DOS-Quake (TCP/IP)",
                                      "GL-Quake",
                                      "GL-QuakeWorld-client",
                                      "QuakeWorld-client",
                                      "QuakeWorld-server",
                                      QString::fromUtf8("V\u00e9rit\u00e9 Quake"),
                                      "WinQuake"};
    return names;
}

}  // namespace fenmar::test
