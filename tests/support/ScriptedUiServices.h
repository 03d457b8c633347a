#pragma once
// UiServices for tests: answers from a script, and a record of everything that was asked.

#include <deque>
#include <functional>
#include <vector>

#include "ui/services/UiServices.h"

namespace fenmar::test {

class ScriptedUiServices : public ui::UiServices {
public:
    // Answers for the next message boxes, in order; when none is queued the default button.
    std::deque<ui::MessageResult> messageAnswers;
    // What the user does in the next modal dialogs, in order. The dialog is shown (so its
    // activation runs) before the action; the action clicks, types and closes it. Without a
    // queued action the dialog is cancelled.
    std::deque<std::function<void(QDialog&)>> modalActions;

    std::vector<ui::MessageRequest> messages;  // every message box shown
    std::vector<ui::BeepKind> beeps;
    std::vector<QString> modalTitles;  // window titles of the dialogs shown modally

    // Answers of the next folder and file choosers, in order (full paths; nullopt: cancelled).
    // Without a queued answer the chooser is cancelled.
    std::deque<std::optional<QString>> folderAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    struct FolderRequest {
        QString root;
        QString initial;
        QString title;
        std::size_t messagesBefore = 0;  // message boxes shown before this chooser opened
    };
    std::vector<FolderRequest> folderRequests;
    std::vector<ui::FileDialogRequest> fileRequests;

    using ui::UiServices::ShowMessage;
    ui::MessageResult ShowMessage(const ui::MessageRequest& request) override;
    void Beep(ui::BeepKind kind) override { beeps.push_back(kind); }
    int ExecModal(QDialog& dialog) override;
    std::optional<QString> ChooseFolder(const QString& root, const QString& initial,
                                        const QString& title) override;
    std::optional<QString> ChooseFile(const ui::FileDialogRequest& request) override;

    // The texts of the messages shown so far.
    std::vector<QString> MessageTexts() const;

    // Answers of the next lists to choose from, in order (nullopt: cancelled); without a
    // queued answer the list is cancelled.
    std::deque<std::optional<std::vector<int>>> choiceAnswers;
    std::vector<ui::ChoiceRequest> choiceRequests;
    std::optional<std::vector<int>> ChooseFromList(const ui::ChoiceRequest& request) override;
};

}  // namespace fenmar::test
