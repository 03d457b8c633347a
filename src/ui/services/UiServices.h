#pragma once
// Every modal interaction of the program goes through this one seam: production shows the real
// Qt dialogs (QtUiServices), tests script the user's answers (tests/support).

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QDialog;

namespace fenmar::ui {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };
enum class BeepKind { Default, Exclamation, Error };

struct MessageRequest {
    QString text;
    QString caption;  // empty: the application's title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageResult defaultButton = MessageResult::Ok;
};

// What an open or save file dialog is asked to show.
struct FileDialogRequest {
    std::optional<QString> initialDir;
    QString defaultName;    // pre-filled file name
    QString filterText;     // e.g. "Config-files (*.cfg)"
    QString filterPattern;  // e.g. "*.dem;*.qwd"
    bool openMode = true;   // false: a save dialog that asks before overwriting
    bool keepExtension = true;
    bool keepPath = false;
    bool relative = false;  // with keepPath: the path relative to initialDir
    QString defaultExt;     // e.g. "DEM"
    QString title;
};

// A list to choose from, e.g. the engines or Quake directories found on this computer.
struct ChoiceRequest {
    QString title;
    QString text;  // above the list
    QStringList items;
    bool multiple = false;    // several rows may be ticked; otherwise exactly one is chosen
    std::vector<int> ticked;  // rows ticked (or the row selected) when the list opens
};

class UiServices {
public:
    virtual ~UiServices() = default;

    virtual MessageResult ShowMessage(const MessageRequest& request) = 0;
    // A plain notice with an OK button.
    MessageResult ShowMessage(const QString& text, const QString& caption = QString(),
                              MessageIcon icon = MessageIcon::None) {
        return ShowMessage(MessageRequest{text, caption, icon, MessageButtons::Ok,
                                          MessageResult::Ok});
    }
    virtual void Beep(BeepKind kind) = 0;
    // Shows a dialog modally and returns its result (QDialog::Accepted / Rejected). A scripted
    // implementation runs the dialog's activation and lets the test act on it instead.
    virtual int ExecModal(QDialog& dialog) = 0;

    // A folder chooser; with a non-empty `root` only that folder and what lies below it can be
    // chosen. Returns the full path of the chosen folder, nullopt when cancelled.
    virtual std::optional<QString> ChooseFolder(const QString& /*root*/, const QString& /*initial*/,
                                                const QString& /*title*/) {
        return std::nullopt;
    }
    // The standard open or save dialog. Returns the full path of the chosen file, nullopt when
    // cancelled. The caller checks the initial directory and trims the result.
    virtual std::optional<QString> ChooseFile(const FileDialogRequest& /*request*/) {
        return std::nullopt;
    }
    // The rows the user chose (indexes into request.items, ascending); nullopt when cancelled.
    virtual std::optional<std::vector<int>> ChooseFromList(const ChoiceRequest& /*request*/) {
        return std::nullopt;
    }
};

}  // namespace fenmar::ui
