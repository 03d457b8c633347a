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

private:
    QWidget* parent_;
};

}  // namespace fenmar::ui
