#include "ui/launch/GameLaunch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

#include "core/GameStart.h"
#include "core/History.h"
#include "ui/launch/CommandLineShow.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/ActionBar.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {

// Tells the user why a program did not start.
void ReportFailedStart(UiServices& ui, const platform::StartRequest& request,
                       const platform::StartResult& result) {
    const QString program =
        request.program.empty() ? QStringLiteral("(no program)") : FromLocal(request.program);
    ui.ShowMessage(
        QStringLiteral("\"%1\" could not be started:\n%2.").arg(program, FromLocal(result.error)),
        QString(), MessageIcon::Error);
}

// Composes as "evaluate" does, keeping the program the line was composed for.
ComposedLaunch ComposeForLaunch(TMainDialog& dialog) {
    AppContext& context = dialog.Context();
    UiServices& ui = context.ui;
    return ComposeLaunch(
        context.globals, context.executables, dialog.launchOptions->CurrentComposeInputs(),
        dialog.launchOptions->ComposerPlugIn(), [&ui](const std::string& message) {
            ui.ShowMessage(FromLocal(message), QStringLiteral("Something you should know..."));
        });
}

}  // namespace

GameLaunchController::GameLaunchController(TMainDialog& dialog, std::function<void()> saveSettings)
    : QObject(&dialog), dialog_(dialog), saveSettings_(std::move(saveSettings)) {
    connect(dialog.actions->buRunQuake, &QPushButton::clicked, this,
            &GameLaunchController::buRunQuakeClick);
    connect(dialog.actions->buExit, &QPushButton::clicked, this,
            &GameLaunchController::buExitClick);
    connect(dialog.multiplayer->buLaunchQW, &QPushButton::clicked, this,
            &GameLaunchController::buLaunchQWClick);
}

void GameLaunchController::AddToHistory(QComboBox& box) {
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i) {
        items.push_back(ToLocal(box.itemText(i)));
    }
    const QString text = box.currentText();
    const auto size = static_cast<std::size_t>(std::max(0, TagOf(&box)));
    if (!fenmar::AddToHistory(items, ToLocal(text), size)) {
        return;
    }
    // Rebuilding the items must not look like an edit of the box's text.
    const QSignalBlocker blocker(&box);
    box.clear();
    for (const auto& item : items) {
        box.addItem(FromLocal(item));
    }
    box.setEditText(text);
}

void GameLaunchController::buRunQuakeClick() {
    AppContext& context = dialog_.Context();
    const ComposedLaunch launch = ComposeForLaunch(dialog_);
    ShowCommandLine(*dialog_.commandLine, context.globals.Profile, FromLocal(launch.line));
    AddToHistory(*dialog_.general->comboPatch);
    AddToHistory(*dialog_.general->comboDemo);
    AddToHistory(*dialog_.multiplayer->comboServer);
    saveSettings_();
    if (context.globals.DeleteConfigs & kDeleteOnLaunch) {
        DeleteConfigFiles(context.globals);
    }
    if (!launch.hasExecutable) {
        return;  // the composer has said so; nothing is started
    }
    if (const auto missing = MissingProgramMessage(launch)) {
        context.ui.ShowMessage(FromLocal(*missing), QString(), MessageIcon::Error);
        return;
    }
    const auto request = GameStartRequest(launch);
    const auto result = platform::StartDetached(request);
    lastStartedProcess_ = result.processId;
    if (!result.started) {
        ReportFailedStart(context.ui, request, result);
        return;  // nothing runs: the launcher stays open
    }
    if (context.globals.CloseOnExecQuake) {
        buExitClick();
    }
}

void GameLaunchController::buExitClick() {
    const Globals& globals = dialog_.Context().globals;
    if (globals.DeleteConfigs & kDeleteOnExit) {
        DeleteConfigFiles(globals);
    }
    dialog_.close();
}

void GameLaunchController::buLaunchQWClick() {
    AppContext& context = dialog_.Context();
    const QString text = dialog_.globalOptions->edQSpy->text();
    const auto request = CompanionStartRequest(ToLocal(text));
    if (request.program.empty()) {
        context.ui.ShowMessage(QStringLiteral("\"%1\" cannot be found.").arg(text), QString(),
                               MessageIcon::Error);
        return;
    }
    const auto result = platform::StartDetached(request);
    if (!result.started) {
        ReportFailedStart(context.ui, request, result);
        return;
    }
    dialog_.showMinimized();
}

}  // namespace fenmar::ui
