#pragma once
// The folder and file pickers behind the small browse buttons: two primitives (a folder
// chooser and the standard open/save dialog with our trimming of the result) and the pickers
// built on them. The pickers read the live values and return their result; the buttons put it
// into their fields. The folder buttons of the global options live with the directory checks
// (DirectoryChecks), the executable button with the executable list (ExecutableList), the
// other buttons in PickerButtons.

#include <QString>
#include <optional>

#include "ui/window/AppContext.h"

class QLineEdit;

namespace fenmar::ui {

// The chosen folder's path (lower case where file names ignore case), "" when cancelled.
// With a non-empty `root` only that folder and what lies below it can be chosen.
QString BrowseForFolder(UiServices& ui, const QString& root, const QString& initial,
                        const QString& title);

// The trimmed file name or path, or nothing: cancelled, the initial directory is missing (the
// user is told), or a file outside the initial directory while the result is to be relative
// to it (the user is told).
std::optional<QString> SelectFile(UiServices& ui, const FileDialogRequest& request);

// --- The pickers, on the live values -------------------------------------------------------
QString BrowseQuakeFolder(AppContext& context);  // "" when cancelled
QString BrowsePatchFolder(AppContext& context);  // "" when cancelled
// The game patch relative to the Quake directory, "<none>" for the Quake directory itself,
// "" when cancelled.
QString BrowseForPatch(AppContext& context);
// A demo below id1 or below the game patch, relative, without extension; also stored as the
// profile's DemoName.
std::optional<QString> BrowseDemoID1(AppContext& context);
std::optional<QString> BrowseDemoPatch(AppContext& context);
// An executable's file name; `current` is the text of the field it is for (none: "*.exe").
std::optional<QString> BrowseExecutableFile(AppContext& context,
                                            const std::optional<QString>& current = {});
std::optional<QString> BrowseConfigFile(AppContext& context, const QString& current);
// The companion program's full path.
std::optional<QString> BrowseQSpy(AppContext& context, const QString& current);

// Where file names ignore case, the edit shows and keeps its text in lower case.
void KeepPathCase(QLineEdit* edit);

}  // namespace fenmar::ui
