#pragma once
// The production UiServices: real Qt message boxes and modal dialogs.

#include "ui/UiServices.h"

class QWidget;

namespace fenmar::ui {

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
