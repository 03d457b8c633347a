#pragma once
// The action buttons: "run Quake !", "Exit Fenmar" and "launch QSpy/QW !", with the recent
// lists of the patch, demo and server boxes.

#include <QObject>
#include <functional>

class QComboBox;

namespace fenmar::ui {

class TMainDialog;

class GameLaunchController : public QObject {
    Q_OBJECT
public:
    // `saveSettings` stores the window's values; a launch saves before the game starts.
    GameLaunchController(TMainDialog& dialog, std::function<void()> saveSettings);

    // Composes and shows the line, updates the recent lists, saves, cleans up and starts the
    // program the line was composed for; closes the window afterwards when asked to. Without
    // an executable nothing is started; a program that cannot be found or started is reported
    // and keeps the launcher open.
    void buRunQuakeClick();
    // Deletes CONFIG.CFG files when asked to on exit, then closes the window (which saves).
    void buExitClick();
    // Starts the companion program, then minimises the launcher.
    void buLaunchQWClick();

    // Puts the box's text at the top of its history; the box's tag is the history size.
    static void AddToHistory(QComboBox& box);

    // The process id of the game the run button started last (0: none). The game runs
    // detached; this only lets a caller that must end it (a test) find it.
    long long LastStartedProcess() const { return lastStartedProcess_; }

private:
    TMainDialog& dialog_;
    std::function<void()> saveSettings_;
    long long lastStartedProcess_ = 0;
};

}  // namespace fenmar::ui
