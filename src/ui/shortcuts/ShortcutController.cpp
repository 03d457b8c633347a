#include "ui/shortcuts/ShortcutController.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/DesktopEntry.h"
#include "core/InstallLayout.h"
#include "platform/Shortcut.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

namespace {
const QString kCaption = QStringLiteral("Fenmar - desktop shortcut");

}  // namespace

ShortcutController::ShortcutController(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("shortcuts"));
    connect(dialog.quickSetBar->miCreateShortcut, &QAction::triggered, this,
            &ShortcutController::miCreateShortcutClick);
}

void ShortcutController::miCreateShortcutClick() {
    written_.clear();
    UiServices& ui = dialog_.Context().ui;
    const QString quickSet = dialog_.quickSetBar->comboQuickSet->currentText();
    if (quickSet.isEmpty()) {
        ui.ShowMessage(QStringLiteral("Select a Quick-Set first."), kCaption,
                       MessageIcon::Information);
        return;
    }
    const MessageResult onDesktop = ui.ShowMessage(
        {QStringLiteral("Create a shortcut that starts Quake with the Quick-Set \"%1\".\n\n"
                        "Put it on the desktop too?")
             .arg(quickSet),
         kCaption, MessageIcon::Question, MessageButtons::YesNoCancel, MessageResult::No});
    if (onDesktop == MessageResult::Cancel) {
        return;
    }
    const QString applications =
        applicationsDir.isEmpty()
            ? QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
            : applicationsDir;
    if (!WriteInto(applications, quickSet)) {
        return;
    }
    if (onDesktop == MessageResult::Yes) {
        const QString desktop =
            desktopDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                 : desktopDir;
        WriteInto(desktop, quickSet);
    }
    if (!written_.isEmpty()) {
        ui.ShowMessage(
            QStringLiteral("Shortcut created:\n%1").arg(written_.join(QLatin1Char('\n'))), kCaption,
            MessageIcon::Information);
    }
}

bool ShortcutController::WriteInto(const QString& dir, const QString& quickSet) {
    UiServices& ui = dialog_.Context().ui;
    const QString program =
        programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    const std::string programDir = ToLocal(QFileInfo(program).absolutePath());
    const QString file = QDir(dir).filePath(
        FromLocal(ShortcutFileName(ToLocal(quickSet), platform::ShortcutSuffix())));
    if (QFileInfo::exists(file)) {
        const MessageResult replace = ui.ShowMessage(
            {QStringLiteral("The shortcut \"%1\" exists already. Replace it?").arg(file), kCaption,
             MessageIcon::Question, MessageButtons::OkCancel, MessageResult::Cancel});
        if (replace != MessageResult::Ok) {
            return false;
        }
    }
    if (!QDir().mkpath(dir)) {
        ui.ShowMessage(QStringLiteral("The folder \"%1\" cannot be created.").arg(dir), kCaption,
                       MessageIcon::Error);
        return false;
    }
    const DesktopShortcut shortcut =
        QuickSetShortcut(ToLocal(quickSet), ToLocal(program), ApplicationIconFor(programDir));
    platform::ShortcutRequest request;
    request.program = shortcut.program;
    request.args = shortcut.args;
    request.description = shortcut.comment;
    request.icon = shortcut.icon;
    request.desktopEntry = DesktopEntryText(shortcut);
    std::string error;
    if (!platform::WriteShortcut(ToLocal(file), request, error)) {
        ui.ShowMessage(QStringLiteral("The shortcut \"%1\" cannot be written:\n%2.")
                           .arg(file, FromLocal(error)),
                       kCaption, MessageIcon::Error);
        return false;
    }
    written_ << file;
    return true;
}

}  // namespace fenmar::ui
