// The "Options" page and the command line: how parameters reach the game, and "evaluate".

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/Globals.h"
#include "plugins/TPlugIn.h"
#include "ui/launch/CommandLineShow.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/RadioChoice.h"
#include "ui/window/ActionBar.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {
const QString kNoticeCaption = QStringLiteral("Something you should know...");

std::vector<std::string> Entries(const QListWidget& list) {
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row) {
        entries.push_back(list.item(row)->text().toLocal8Bit().toStdString());
    }
    return entries;
}
}  // namespace

void LaunchOptionsController::ConnectOptions() {
    OptionsPage& page = *dialog_.options;
    using C = LaunchOptionsController;
    OnRadioChecked({page.rbCmdLine, page.rbConfigFile}, this,
                   [this](QAbstractButton* radio) { CmdLineModeClick(radio); });
    connect(page.edConfigFile, &QLineEdit::textChanged, this, &C::edConfigFileChange);
    connect(page.cbCloseOnExec, &QCheckBox::toggled, this, &C::cbCloseOnExecClick);
    connect(page.cbIgnoreGlobalParams, &QCheckBox::toggled, this, &C::cbIgnoreGlobalParamsClick);
    connect(dialog_.commandLine->buEvalCmdLine, &QPushButton::clicked, this,
            &C::buEvalCmdLineClick);
}

void LaunchOptionsController::CmdLineModeClick(QAbstractButton* sender) {
    globals_.Profile->CommandLineMode = static_cast<std::uint8_t>(TagOf(sender));
}

void LaunchOptionsController::edConfigFileChange() {
    globals_.Profile.SetText(TextField::ConfigFile, ToText(dialog_.options->edConfigFile->text()));
}

void LaunchOptionsController::cbCloseOnExecClick() {
    globals_.CloseOnExecQuake = dialog_.options->cbCloseOnExec->isChecked();
}

void LaunchOptionsController::cbIgnoreGlobalParamsClick() {
    globals_.IgnoreGlobalParams = dialog_.options->cbIgnoreGlobalParams->isChecked();
}

ComposeInputs LaunchOptionsController::CurrentComposeInputs() const {
    ComposeInputs inputs;
    const QComboBox& executables = *dialog_.general->comboExecutables;
    if (executables.currentIndex() >= 0) {
        inputs.shownExecutable = ToText(executables.currentText());
    }
    inputs.hostName = ToText(dialog_.multiplayer->edHostName->text());
    inputs.globalParams = Entries(*dialog_.globalOptions->lbGlobalParams);
    inputs.additionalParams = Entries(*dialog_.general->lbAddParams);
    return inputs;
}

ActivePlugInQueries* LaunchOptionsController::ComposerPlugIn() const {
    return dialog_.Context().activePlugIn;  // null while there is no main window's slot
}

std::string LaunchOptionsController::ComposeLine() {
    UiServices& ui = dialog_.Context().ui;
    return ComposeCommandLine(
        globals_, dialog_.Context().executables, CurrentComposeInputs(), ComposerPlugIn(),
        [&ui](const std::string& message) { ui.ShowMessage(FromText(message), kNoticeCaption); });
}

void LaunchOptionsController::buEvalCmdLineClick() {
    ShowCommandLine(*dialog_.commandLine, globals_.Profile, FromText(ComposeLine()));
}

}  // namespace fenmar::ui
