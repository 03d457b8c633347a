#include "ui/shortcuts/ShortcutController.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// True when the launcher text `text` is the one written for `quickSet` (its Name= line).
bool NamesQuickSet(const QByteArray& text, const std::string& quickSet) {
    const std::string line =
        "\nName=" + EscapeDesktopValue(QuickSetShortcut(quickSet, {}, {}).name) + "\n";
    return text.toStdString().find(line) != std::string::npos;
}

}  // namespace

ShortcutController::ShortcutController(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("shortcuts"));
    connect(dialog.quickSetBar->miCreateShortcut, &QAction::triggered, this,
            &ShortcutController::miCreateShortcutClick);
    connect(dialog.quickSetBar->miRemoveShortcut, &QAction::triggered, this,
            &ShortcutController::miRemoveShortcutClick);
}

QString ShortcutController::ApplicationsFolder() const {
    return applicationsDir.isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation)
               : applicationsDir;
}

QString ShortcutController::DesktopFolder() const {
    return desktopDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)
                                : desktopDir;
}

void ShortcutController::miCreateShortcutClick() {
    written_.clear();
    UiServices& ui = dialog_.Context().ui;
    const QString shown = dialog_.quickSetBar->comboQuickSet->currentText();
    const std::string quickSet = dialog_.quickSetBar->CurrentName();
    if (quickSet.empty()) {
        ui.ShowMessage(QStringLiteral("Select a Quick-Set first."), kCaption,
                       MessageIcon::Information);
        return;
    }
    const MessageResult onDesktop = ui.ShowMessage(
        {QStringLiteral("Create a shortcut that starts Quake with the Quick-Set \"%1\".\n\n"
                        "Put it on the desktop too?")
             .arg(shown),
         kCaption, MessageIcon::Question, MessageButtons::YesNoCancel, MessageResult::No});
    if (onDesktop == MessageResult::Cancel) {
        return;
    }
    if (!WriteInto(ApplicationsFolder(), quickSet)) {
        return;
    }
    if (onDesktop == MessageResult::Yes) {
        WriteInto(DesktopFolder(), quickSet);
    }
    if (!written_.isEmpty()) {
        ui.ShowMessage(
            QStringLiteral("Shortcut created:\n%1").arg(written_.join(QLatin1Char('\n'))), kCaption,
            MessageIcon::Information);
    }
}

void ShortcutController::miRemoveShortcutClick() {
    UiServices& ui = dialog_.Context().ui;
    const std::string quickSet = dialog_.quickSetBar->CurrentName();
    const QStringList files = quickSet.empty() ? QStringList() : LaunchersOf(quickSet);
    if (files.isEmpty()) {
        ui.ShowMessage(QStringLiteral("The Quick-Set \"%1\" has no shortcut.")
                           .arg(dialog_.quickSetBar->comboQuickSet->currentText()),
                       kCaption, MessageIcon::Information);
        return;
    }
    const MessageResult remove = ui.ShowMessage(
        {QStringLiteral("Remove these shortcuts?\n%1").arg(files.join(QLatin1Char('\n'))), kCaption,
         MessageIcon::Question, MessageButtons::OkCancel, MessageResult::Cancel});
    if (remove == MessageResult::Ok) {
        RemoveFiles(files);
    }
}

QStringList ShortcutController::LaunchersOf(const std::string& quickSet) const {
    QStringList files;
    const char* suffix = platform::ShortcutSuffix();
    for (const QString& dir : {ApplicationsFolder(), DesktopFolder()}) {
        const QString current = QDir(dir).filePath(FromLocal(ShortcutFileName(quickSet, suffix)));
        if (QFileInfo::exists(current) && !files.contains(current)) {
            files << current;
        }
        // Older names are shared by names alike ("Coop night", "Coop.night"): only the
        // launcher that names this Quick-Set is its own.
        const QString older =
            QDir(dir).filePath(FromLocal(OlderShortcutFileName(quickSet, suffix)));
        QFile file(older);
        if (!files.contains(older) && file.open(QIODevice::ReadOnly) &&
            NamesQuickSet(file.read(1 << 16), quickSet)) {
            files << older;
        }
    }
    return files;
}

bool ShortcutController::RemoveFiles(const QStringList& files) {
    for (const QString& file : files) {
        if (!QFile::remove(file)) {
            dialog_.Context().ui.ShowMessage(
                QStringLiteral("The shortcut \"%1\" cannot be removed.").arg(file), kCaption,
                MessageIcon::Error);
            return false;
        }
    }
    return true;
}

void ShortcutController::QuickSetRenamed(const std::string& oldName, const std::string& newName) {
    const QStringList files = LaunchersOf(oldName);
    if (files.isEmpty()) {
        return;
    }
    UiServices& ui = dialog_.Context().ui;
    const MessageResult update = ui.ShowMessage(
        {QStringLiteral("The Quick-Set has shortcuts:\n%1\n\nMake them start \"%2\"?")
             .arg(files.join(QLatin1Char('\n')), FromLocal(newName)),
         kCaption, MessageIcon::Question, MessageButtons::YesNo, MessageResult::Yes});
    if (update != MessageResult::Yes) {
        return;
    }
    written_.clear();
    for (const QString& file : files) {
        const QString dir = QFileInfo(file).absolutePath();
        const QString target =
            QDir(dir).filePath(FromLocal(ShortcutFileName(newName, platform::ShortcutSuffix())));
        if (!RemoveFiles({file}) || (!written_.contains(target) && !WriteInto(dir, newName))) {
            return;
        }
    }
}

void ShortcutController::QuickSetDeleted(const std::string& name) {
    const QStringList files = LaunchersOf(name);
    if (files.isEmpty()) {
        return;
    }
    const MessageResult remove = dialog_.Context().ui.ShowMessage(
        {QStringLiteral("Remove the deleted Quick-Set's shortcuts too?\n%1")
             .arg(files.join(QLatin1Char('\n'))),
         kCaption, MessageIcon::Question, MessageButtons::YesNo, MessageResult::Yes});
    if (remove == MessageResult::Yes) {
        RemoveFiles(files);
    }
}

bool ShortcutController::WriteInto(const QString& dir, const std::string& quickSet) {
    UiServices& ui = dialog_.Context().ui;
    const QString program =
        programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath;
    const std::string programDir = ToLocal(QFileInfo(program).absolutePath());
    const QString file =
        QDir(dir).filePath(FromLocal(ShortcutFileName(quickSet, platform::ShortcutSuffix())));
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
        QuickSetShortcut(quickSet, ToLocal(program), ApplicationIconFor(programDir));
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
