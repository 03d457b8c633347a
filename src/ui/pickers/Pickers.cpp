#include "ui/pickers/Pickers.h"
#include "ui/widgets/LocalText.h"

#include <QLineEdit>

#include "core/PathPicking.h"
#include "platform/FileSystem.h"

namespace fenmar::ui {

namespace {

const QString kNotice = QStringLiteral("Something you should know...");
const QString kDemoFilter = QStringLiteral("Quake demo-files (*.dem, *.qwd)");
const QString kExeFilter = QStringLiteral("Executables (*.exe, *.bat)");
const QString kExePattern = QStringLiteral("*.exe;*.bat");
const QString kSelectExecutable = QStringLiteral("Select an executable...");

std::string ProfileText(const AppContext& context, TextField field) {
    return context.globals.Profile.Text(field);
}

// A fixed sub-directory of the Quake directory, found in whatever case it has on disk.
QString QuakeSubDir(const AppContext& context, std::string_view name) {
    return FromLocal(
        platform::ResolveIgnoringCase(ProfileText(context, TextField::QuakePath), name));
}

std::optional<QString> BrowseDemo(AppContext& context, const QString& dir) {
    FileDialogRequest request;
    request.initialDir = dir;
    request.filterText = kDemoFilter;
    request.filterPattern = QStringLiteral("*.dem;*.qwd");
    request.openMode = context.globals.Profile->DemoState == 1;
    request.keepExtension = false;
    request.keepPath = true;
    request.relative = true;
    request.defaultExt = QStringLiteral("DEM");
    request.title = QStringLiteral("Select a demo...");
    auto demo = SelectFile(context.ui, request);
    if (demo) {
        context.globals.Profile.SetText(TextField::DemoName, ToLocal(*demo));
    }
    return demo;
}

}  // namespace

QString BrowseForFolder(UiServices& ui, const QString& root, const QString& initial,
                        const QString& title) {
    const auto chosen = ui.ChooseFolder(root, initial, title);
    if (!chosen || chosen->isEmpty()) {
        return QString();
    }
    return FromLocal(PathInStoredCase(ToLocal(*chosen)));
}

std::optional<QString> SelectFile(UiServices& ui, const FileDialogRequest& request) {
    if (request.initialDir && !platform::DirectoryExists(ToLocal(*request.initialDir))) {
        ui.ShowMessage(
            QStringLiteral("Sorry, i did not find the directory: ") + *request.initialDir, kNotice,
            MessageIcon::Information);
        return std::nullopt;
    }
    const auto chosen = ui.ChooseFile(request);
    if (!chosen || chosen->isEmpty()) {
        return std::nullopt;
    }
    const std::string initialDir =
        request.initialDir ? ToLocal(*request.initialDir) : std::string();
    const auto trimmed =
        TrimChosenFile(PathInStoredCase(ToLocal(*chosen)), PathInStoredCase(initialDir),
                       {request.keepExtension, request.keepPath, request.relative});
    if (!trimmed) {
        ui.ShowMessage(QStringLiteral("Please choose a file inside the directory: ") +
                           request.initialDir.value_or(QString()),
                       kNotice, MessageIcon::Information);
        return std::nullopt;
    }
    return FromLocal(*trimmed);
}

QString BrowseQuakeFolder(AppContext& context) {
    return BrowseForFolder(context.ui, QString(),
                           FromLocal(ProfileText(context, TextField::QuakePath)),
                           QStringLiteral("Select the directory, where your QUAKE.EXE resides."));
}

QString BrowsePatchFolder(AppContext& context) {
    return BrowseForFolder(context.ui, FromLocal(ProfileText(context, TextField::QuakePath)),
                           FromLocal(ProfileText(context, TextField::PatchPath)),
                           QStringLiteral("Select the directory, where your patches are."));
}

QString BrowseForPatch(AppContext& context) {
    const std::string quakePath = ProfileText(context, TextField::QuakePath);
    const QString folder = BrowseForFolder(
        context.ui, FromLocal(quakePath), FromLocal(ProfileText(context, TextField::PatchPath)),
        QStringLiteral("Select the patch you want to use in Quake."));
    if (folder.isEmpty()) {
        return QString();
    }
    const auto patch = PatchOfFolder(ToLocal(folder), PathInStoredCase(quakePath));
    if (!patch) {
        // Only reachable when the chooser could not be kept to the Quake directory.
        context.ui.ShowMessage(
            QStringLiteral("Please choose a patch inside the Quake-directory: ") +
                FromLocal(quakePath),
            kNotice, MessageIcon::Information);
        return QString();
    }
    return FromLocal(*patch);
}

std::optional<QString> BrowseDemoID1(AppContext& context) {
    return BrowseDemo(context, QuakeSubDir(context, "id1"));
}

std::optional<QString> BrowseDemoPatch(AppContext& context) {
    return BrowseDemo(context,
                      FromLocal(platform::JoinPath(ProfileText(context, TextField::QuakePath),
                                                   ProfileText(context, TextField::GamePatch))));
}

std::optional<QString> BrowseExecutableFile(AppContext& context,
                                            const std::optional<QString>& current) {
    FileDialogRequest request;
    request.initialDir = FromLocal(ProfileText(context, TextField::QuakePath));
    request.defaultName = current.value_or(QStringLiteral("*.exe"));
    request.filterText = kExeFilter;
    request.filterPattern = kExePattern;
    request.defaultExt = QStringLiteral("EXE");
    request.title = kSelectExecutable;
    return SelectFile(context.ui, request);
}

std::optional<QString> BrowseConfigFile(AppContext& context, const QString& current) {
    FileDialogRequest request;
    request.initialDir = QuakeSubDir(context, "id1");
    request.defaultName = current;
    request.filterText = QStringLiteral("Config-files (*.cfg)");
    request.filterPattern = QStringLiteral("*.cfg");
    request.openMode = false;
    request.defaultExt = QStringLiteral("CFG");
    request.title = QStringLiteral("Select a config-file...");
    return SelectFile(context.ui, request);
}

std::optional<QString> BrowseQSpy(AppContext& context, const QString& current) {
    FileDialogRequest request;
    request.initialDir = FromLocal(ProfileText(context, TextField::QuakePath));
    request.defaultName = current;
    request.filterText = kExeFilter;
    request.filterPattern = kExePattern;
    request.keepPath = true;
    request.defaultExt = QStringLiteral("EXE");
    request.title = kSelectExecutable;
    return SelectFile(context.ui, request);
}

void KeepPathCase(QLineEdit* edit) {
    if (!platform::FileNamesIgnoreCase()) {
        return;
    }
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        const QString lower = FromLocal(PathInStoredCase(ToLocal(text)));
        if (lower != text) {
            const int cursor = edit->cursorPosition();
            edit->setText(lower);
            edit->setCursorPosition(cursor);
        }
    });
}

}  // namespace fenmar::ui
