#pragma once
// The launch options of the main window: every control of the "General", "Multiplayer" and
// "Options" pages that edits the launch profile writes its field through its handler here, and
// the rules below keep contradicting choices apart (no playback while a server runs or a
// connection is made, no recording on a dedicated server, no map or skill while connecting,
// server rules only with a server).
//
// Programmatic changes behave like the user's: checking a box, checking a radio that was not
// checked or setting an edit's text runs the control's handler when the state changes; the
// choosers run theirs through SetComboText (ui/widgets/ComboText.h).

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>

#include "core/CommandLine.h"

class QAbstractButton;
class QDialog;
class QLineEdit;

namespace fenmar {
struct Globals;
}

namespace fenmar::ui {

class TMainDialog;
struct AppWindows;

class LaunchOptionsController : public QObject {
    Q_OBJECT
public:
    // Connects the handlers to the window's controls. Runs no rule: the controls keep their
    // initial states until the first profile is shown.
    explicit LaunchOptionsController(TMainDialog& dialog);

    // --- Rules -----------------------------------------------------------------------------
    // The demo box and the two demo pickers follow DemoState and the patch.
    void RefreshDemoButtons();
    // "Record" is allowed unless forbidden, a dedicated server runs or a demo is played back;
    // when not allowed it is unchecked.
    void UpdateRecordAllowed(bool permit);
    // "Playback" is allowed unless forbidden, a server runs, a connection is made or a demo is
    // recorded; when not allowed it is unchecked.
    void UpdatePlaybackAllowed(bool permit);
    // UpdatePlaybackAllowed(permit), then UpdateRecordAllowed(permit).
    void UpdateDemoAllowed(bool permit);
    // The map box and its browser, and MapSelectable: permit and no playback.
    void SetMapSelectable(bool permit);
    // The four skill radios, and SkillSelectable: permit and no playback.
    void SetSkillSelectable(bool permit);
    // Frag and time limit (their edits only while checked), modes, no-exit and pausable.
    void EnableServerRules(bool on);

    // --- "General" -------------------------------------------------------------------------
    void comboPatchChange();
    void comboMapChange();
    void rbSkillClick(QAbstractButton* sender);
    void cbRecordClick();
    void cbPlaybackClick();
    void comboDemoChange();
    void cbNoAutoAimClick();
    void buBrowseMapClick();
    void buSoundSettingsClick();
    void buNetSettingsClick();
    void buWinSettingsClick();
    void buTroubleClick();

    // --- "Multiplayer" ---------------------------------------------------------------------
    void cbEnableServerClick();
    void edHostNameChange();
    void cbConnectToServerClick();
    void comboServerChange();
    void cbFragLimitClick();
    void edFragLimitChange();
    void cbTimeLimitClick();
    void edTimeLimitChange();
    void rbPlayModeClick(QAbstractButton* sender);
    void rbTeamModeClick(QAbstractButton* sender);
    void cbNoExitClick();
    void cbPausableClick();
    void ServerTypeClick(QAbstractButton* sender);
    void tbMaxPlayersChange();
    void edMaxPlayersChange();

    // --- "Options" -------------------------------------------------------------------------
    void CmdLineModeClick(QAbstractButton* sender);
    void edConfigFileChange();
    void cbCloseOnExecClick();
    void cbIgnoreGlobalParamsClick();

    // --- The command line ------------------------------------------------------------------
    // What the composer reads from the window: the executable box's name (none while nothing
    // is selected), the host name and both parameter lists.
    ComposeInputs CurrentComposeInputs() const;
    // The active plug-in as the composer sees it; null while there is none.
    ActivePlugInQueries* ComposerPlugIn() const;
    // Composes the line (telling the user when no executable is selected; in config-file mode
    // writing the config file).
    std::string ComposeLine();
    // "evaluate": shows the composed line in the command-line field.
    void buEvalCmdLineClick();

private:
    // DemoState and ServerType values.
    static constexpr std::uint8_t kNoDemo = 0;
    static constexpr std::uint8_t kPlayback = 1;
    static constexpr std::uint8_t kRecord = 2;
    static constexpr std::uint8_t kListenServer = 0;

    void ConnectGeneral();
    void ConnectMultiplayer();
    void ConnectOptions();
    // Opens one of the option dialogs modally (none while the window stands alone).
    template <typename Window>
    void OpenDialog(Window* AppWindows::*window);
    // A text of the window as the profile keeps it (8-bit, the system's encoding), and back.
    static std::string ToText(const QString& text);
    static QString FromText(const std::string& text);
    // The edit's whole number, clamped to 0..255; nothing (and no message) for any other text.
    static std::optional<std::uint8_t> ByteOf(const QLineEdit& edit);
    // When the user leaves a number edit, it shows the value that is in force.
    static void ShowValueInForce(QLineEdit* edit, std::uint8_t value);

    TMainDialog& dialog_;
    Globals& globals_;
};

}  // namespace fenmar::ui
