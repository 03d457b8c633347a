#pragma once
// Every modal interaction of the program goes through this one seam: production shows the real
// Qt dialogs (QtUiServices), tests script the user's answers (tests/support).

#include <QString>

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
};

}  // namespace fenmar::ui
