#include <gtest/gtest.h>

#include <QDialog>

#include "ScriptedUiServices.h"

namespace fenmar {
namespace {

TEST(ScriptedUiServices, ShowsTheDialogRunsTheActionAndReportsItsResult) {
    test::ScriptedUiServices ui;
    QDialog dialog;
    dialog.setWindowTitle("Some dialog");
    bool wasVisible = false;
    ui.modalActions.push_back([&](QDialog& d) {
        wasVisible = d.isVisible();
        d.accept();
    });
    EXPECT_EQ(ui.ExecModal(dialog), QDialog::Accepted);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ui.ExecModal(dialog), QDialog::Rejected);  // no action: cancelled
    ASSERT_EQ(ui.modalTitles.size(), 2u);
    EXPECT_EQ(ui.modalTitles[0], "Some dialog");
}

TEST(ScriptedUiServices, AnswersMessagesInOrderThenWithTheDefault) {
    test::ScriptedUiServices ui;
    ui.messageAnswers = {ui::MessageResult::Yes};
    ui::MessageRequest q{"Really?", "Caption", ui::MessageIcon::Question,
                         ui::MessageButtons::YesNo, ui::MessageResult::No};
    EXPECT_EQ(ui.ShowMessage(q), ui::MessageResult::Yes);
    EXPECT_EQ(ui.ShowMessage(q), ui::MessageResult::No);
    EXPECT_EQ(ui.MessageTexts(), (std::vector<QString>{"Really?", "Really?"}));
}

}  // namespace
}  // namespace fenmar
