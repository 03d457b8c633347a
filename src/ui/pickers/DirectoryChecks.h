#pragma once
// The Quake and patch directories of the global options: their fields, their two folder
// buttons, and the checks that send the user to the folder choosers when a directory is
// unusable. Also the companion program's field, which the checks fill when it is empty.

#include <QObject>

namespace fenmar::ui {

class TMainDialog;

class DirectoryChecks : public QObject {
    Q_OBJECT
public:
    explicit DirectoryChecks(TMainDialog& dialog);

    // Asks for the Quake directory when it does not exist, for the patch directory when one
    // was given in this run and does not lie in the Quake directory (otherwise the patch
    // directory becomes the Quake directory), enables the run button once a Quake directory
    // was given in this run, and fills an empty companion field. On a first run it then
    // emits firstRunDirectoriesChecked (the executable list offers the engines found).
    void CheckDirectories();

    // Whether a (non-empty) directory was given in this run: loaded, typed or chosen. Stays
    // true when the field is emptied again.
    bool QuakePathGiven() const { return quakePathGiven_; }
    bool PatchPathGiven() const { return patchPathGiven_; }

    void edQuakePathChange();
    void edPatchPathChange();
    // Enables "launch QSpy/QW !" exactly while a file of the name in the field exists.
    void edQSpyChange();
    void buBrowseForQuakeFolderClick();
    void buBrowseForPatchFolderClick();

signals:
    // The first check of this computer's first run is done: the Quake directory is known.
    void firstRunDirectoriesChecked();

private:
    void RunQuakeFolderPicker();
    void RunPatchFolderPicker();
    bool PatchPathValid() const;

    TMainDialog& dialog_;
    bool quakePathGiven_ = false;
    bool patchPathGiven_ = false;
    bool settingDefaultPatchPath_ = false;
    bool checkedBefore_ = false;
};

}  // namespace fenmar::ui
