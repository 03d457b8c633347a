#include "ScriptedUiServices.h"

#include <QCoreApplication>
#include <QDialog>

namespace fenmar::test {

ui::MessageResult ScriptedUiServices::ShowMessage(const ui::MessageRequest& request) {
    messages.push_back(request);
    if (messageAnswers.empty()) {
        return request.defaultButton;
    }
    const auto answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

int ScriptedUiServices::ExecModal(QDialog& dialog) {
    modalTitles.push_back(dialog.windowTitle());
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    QCoreApplication::processEvents();
    if (modalActions.empty()) {
        dialog.reject();
    } else {
        const auto action = std::move(modalActions.front());
        modalActions.pop_front();
        action(dialog);
    }
    if (dialog.isVisible()) {
        dialog.hide();
    }
    return dialog.result();
}

namespace {
std::optional<QString> NextAnswer(std::deque<std::optional<QString>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    const bool chosen = answers.front().has_value();
    const QString path = chosen ? *answers.front() : QString();
    answers.pop_front();
    if (!chosen) {
        return std::nullopt;
    }
    return path;
}
}  // namespace

std::optional<QString> ScriptedUiServices::ChooseFolder(const QString& root, const QString& initial,
                                                        const QString& title) {
    folderRequests.push_back({root, initial, title, messages.size()});
    return NextAnswer(folderAnswers);
}

std::optional<QString> ScriptedUiServices::ChooseFile(const ui::FileDialogRequest& request) {
    fileRequests.push_back(request);
    return NextAnswer(fileAnswers);
}

std::vector<QString> ScriptedUiServices::MessageTexts() const {
    std::vector<QString> out;
    for (const auto& m : messages) {
        out.push_back(m.text);
    }
    return out;
}

std::optional<std::vector<int>> ScriptedUiServices::ChooseFromList(
    const ui::ChoiceRequest& request) {
    choiceRequests.push_back(request);
    if (choiceAnswers.empty()) {
        return std::nullopt;
    }
    const bool chosen = choiceAnswers.front().has_value();
    std::vector<int> rows = chosen ? *choiceAnswers.front() : std::vector<int>();
    choiceAnswers.pop_front();
    if (!chosen) {
        return std::nullopt;
    }
    return rows;
}

}  // namespace fenmar::test
