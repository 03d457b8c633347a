#pragma once
// The action buttons: "run Quake !", "Exit Fenmar" and "launch QSpy/QW !", with the recent
// lists of the patch, demo and server boxes.

#include <QObject>

class QComboBox;

namespace fenmar::ui {

class TMainDialog;

class GameLaunchController : public QObject {
    Q_OBJECT
public:
    explicit GameLaunchController(TMainDialog& dialog);

    // Composes and shows the line, updates the recent lists, saves, cleans up and starts the
    // game; closes the window afterwards when asked to. A game that cannot be started is
    // reported and keeps the launcher open.
    void buRunQuakeClick();
    // Deletes CONFIG.CFG files when asked to on exit, then closes the window (which saves).
    void buExitClick();
    // Starts the companion program, then minimises the launcher.
    void buLaunchQWClick();

    // Puts the box's text at the top of its history; the box's tag is the history size.
    static void AddToHistory(QComboBox& box);

private:
    TMainDialog& dialog_;
};

}  // namespace fenmar::ui
