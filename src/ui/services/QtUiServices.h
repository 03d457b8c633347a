#pragma once
// The production UiServices: real Qt message boxes and modal dialogs.

#include "ui/services/UiServices.h"

class QFileDialog;
class QWidget;

namespace fenmar::ui {

// Patterns separated by ";" ("*.dem;*.qwd") as name patterns that match any capitals
// ("*.[dD][eE][mM] *.[qQ][wW][dD]"), so "Duel1.Dem" is listed on a case-sensitive system.
QString PatternsMatchingAnyCase(const QString& patterns);
// Sets up a file dialog for `request`: one filter that shows only its own text (the
// patterns are not repeated after it), the default suffix, open or save mode.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    using UiServices::ShowMessage;
    MessageResult ShowMessage(const MessageRequest& request) override;
    void Beep(BeepKind kind) override;
    int ExecModal(QDialog& dialog) override;
    std::optional<QString> ChooseFolder(const QString& root, const QString& initial,
                                        const QString& title) override;
    std::optional<QString> ChooseFile(const FileDialogRequest& request) override;
    std::optional<std::vector<int>> ChooseFromList(const ChoiceRequest& request) override;

private:
    QWidget* Owner() const;  // the active window, else the parent

    QWidget* parent_;
};

}  // namespace fenmar::ui
