#include "ui/pickers/DirectoryChecks.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/EngineProgram.h"
#include "core/PathPicking.h"
#include "platform/FileSystem.h"
#include "ui/discovery/Offers.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pickers/Pickers.h"
#include "ui/widgets/LocalText.h"
#include "ui/window/ActionBar.h"
#include "ui/window/MainDialog.h"

namespace fenmar::ui {

DirectoryChecks::DirectoryChecks(TMainDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    setObjectName(QStringLiteral("directoryChecks"));
    GlobalOptionsPage& page = *dialog.globalOptions;
    for (QLineEdit* edit : {page.edQuakePath, page.edPatchPath, page.edQSpy}) {
        KeepPathCase(edit);
    }
    connect(page.edQuakePath, &QLineEdit::textChanged, this, &DirectoryChecks::edQuakePathChange);
    connect(page.edPatchPath, &QLineEdit::textChanged, this, &DirectoryChecks::edPatchPathChange);
    connect(page.edQSpy, &QLineEdit::textChanged, this, &DirectoryChecks::edQSpyChange);
    connect(page.buBrowseForQuakeFolder, &QToolButton::clicked, this,
            &DirectoryChecks::buBrowseForQuakeFolderClick);
    connect(page.buBrowseForPatchFolder, &QToolButton::clicked, this,
            &DirectoryChecks::buBrowseForPatchFolderClick);
    edQSpyChange();
}

void DirectoryChecks::edQuakePathChange() {
    const QString text = dialog_.globalOptions->edQuakePath->text();
    dialog_.Context().globals.Profile.SetText(TextField::QuakePath, ToLocal(text));
    quakePathGiven_ = quakePathGiven_ || !text.isEmpty();
}

void DirectoryChecks::edPatchPathChange() {
    const QString text = dialog_.globalOptions->edPatchPath->text();
    dialog_.Context().globals.Profile.SetText(TextField::PatchPath, ToLocal(text));
    if (!settingDefaultPatchPath_) {
        patchPathGiven_ = patchPathGiven_ || !text.isEmpty();
    }
}

void DirectoryChecks::edQSpyChange() {
    const std::string file = ToLocal(dialog_.globalOptions->edQSpy->text());
    dialog_.Context().globals.QSpyExecutable = file;
    // The same lookup as the start: a path, or a bare name on PATH.
    dialog_.multiplayer->buLaunchQW->setEnabled(ResolveCompanionProgram(file).program.has_value());
}

void DirectoryChecks::buBrowseForQuakeFolderClick() {
    RunQuakeFolderPicker();
    CheckDirectories();
}

void DirectoryChecks::buBrowseForPatchFolderClick() {
    RunPatchFolderPicker();
    CheckDirectories();
}

void DirectoryChecks::RunQuakeFolderPicker() {
    // The directories found to hold game data come first; the folder chooser is the last
    // entry of that list.
    const QuakeDirectoryChoice offer = OfferQuakeDirectories(dialog_.Context(), &dialog_);
    if (offer.kind == QuakeDirectoryChoice::Kind::Cancelled) {
        return;
    }
    if (offer.kind == QuakeDirectoryChoice::Kind::Chosen) {
        dialog_.globalOptions->edQuakePath->setText(
            QString::fromLocal8Bit(PathInStoredCase(ToLocal(offer.path))));
        return;
    }
    const QString folder = BrowseQuakeFolder(dialog_.Context());
    if (!folder.isEmpty()) {
        dialog_.globalOptions->edQuakePath->setText(folder);
    }
}

void DirectoryChecks::RunPatchFolderPicker() {
    const QString folder = BrowsePatchFolder(dialog_.Context());
    if (!folder.isEmpty()) {
        dialog_.globalOptions->edPatchPath->setText(folder);
    }
}

bool DirectoryChecks::PatchPathValid() const {
    const LiveProfile& profile = dialog_.Context().globals.Profile;
    const std::string quakePath = profile.Text(TextField::QuakePath);
    const std::string patchPath = profile.Text(TextField::PatchPath);
    // Without a Quake directory there is nothing to hold the patch directory against.
    return platform::DirectoryExists(patchPath) &&
           (quakePath.empty() || IsSameOrBelow(patchPath, quakePath));
}

void DirectoryChecks::CheckDirectories() {
    // A first run: nothing stored, this is the check of the first activation.
    const bool firstRun = !checkedBefore_ && !quakePathGiven_;
    checkedBefore_ = true;
    AppContext& context = dialog_.Context();
    GlobalOptionsPage& page = *dialog_.globalOptions;
    const auto quakePath = [&context] {
        return context.globals.Profile.Text(TextField::QuakePath);
    };

    if (!platform::DirectoryExists(quakePath())) {
        context.ui.Beep(BeepKind::Exclamation);
        context.ui.ShowMessage(QStringLiteral("In order to work properly, Fenmar requires you to "
                                              "select your Quake directory."),
                               QStringLiteral("Quake-directory not found..."),
                               MessageIcon::Information);
        RunQuakeFolderPicker();
    }

    if (patchPathGiven_) {
        if (!PatchPathValid()) {
            context.ui.Beep(BeepKind::Exclamation);
            context.ui.ShowMessage(
                QStringLiteral("Something is wrong with the patch-directory. Please re-select it."),
                QStringLiteral("Patch-directory invalid..."), MessageIcon::Information);
            RunPatchFolderPicker();
        }
    } else {
        settingDefaultPatchPath_ = true;
        page.edPatchPath->setText(page.edQuakePath->text());
        settingDefaultPatchPath_ = false;
    }

    dialog_.actions->buRunQuake->setEnabled(quakePathGiven_);

    if (page.edQSpy->text().isEmpty()) {
        page.edQSpy->setText(
            QString::fromLocal8Bit(platform::ResolveIgnoringCase(quakePath(), "qw.exe")));
    }

    if (firstRun) {
        emit firstRunDirectoriesChecked();
    }
}

}  // namespace fenmar::ui
