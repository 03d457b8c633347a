#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "LauncherWindows.h"
#include "ui/launch/LaunchOptions.h"
#include "ui/launch/NetworkSettings.h"
#include "ui/launch/SoundSettings.h"
#include "ui/launch/TroubleSettings.h"
#include "ui/launch/Win95Settings.h"
#include "ui/maps/MapBrowse.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/ComboText.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/ActionBar.h"

namespace fenmar {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class LaunchOptions : public ::testing::Test, public test::LauncherWindows {
protected:
    bool Enabled(const QWidget* widget) const { return widget->isEnabledTo(&dlg); }
    std::string Line() {
        dlg.commandLine->buEvalCmdLine->click();
        return dlg.commandLine->edCommandLine->text().toStdString();
    }
    LaunchProfile& Profile() { return context.globals.Profile.Record(); }
    std::string Text(TextField field) const { return context.globals.Profile.Text(field); }

    ui::GeneralPage& general = *dlg.general;
    ui::MultiplayerPage& multi = *dlg.multiplayer;
};

TEST_F(LaunchOptions, PlaybackFixesMapSkillAndAutoAimAndUncheckingReleasesThem) {
    const std::vector<QWidget*> fixed = {general.comboMap,   general.buBrowseMap, general.rbSkill0,
                                         general.rbSkill1,   general.rbSkill2,    general.rbSkill3,
                                         general.cbNoAutoAim};
    general.cbPlayback->click();
    for (QWidget* w : fixed) {
        EXPECT_FALSE(Enabled(w)) << w->objectName().toStdString();
    }
    EXPECT_TRUE(Enabled(general.comboDemo));
    EXPECT_TRUE(Enabled(general.buBrowseDemo));
    EXPECT_FALSE(Enabled(general.buBrowsePatchDemo));
    EXPECT_FALSE(Enabled(general.cbRecord));
    EXPECT_EQ(Profile().DemoState, 1);
    EXPECT_FALSE(context.globals.MapSelectable);
    EXPECT_FALSE(context.globals.SkillSelectable);

    general.cbPlayback->click();
    for (QWidget* w : fixed) {
        EXPECT_TRUE(Enabled(w)) << w->objectName().toStdString();
    }
    EXPECT_FALSE(Enabled(general.comboDemo));
    EXPECT_TRUE(Enabled(general.cbRecord));
    EXPECT_EQ(Profile().DemoState, 0);
    EXPECT_TRUE(context.globals.MapSelectable);
    EXPECT_TRUE(context.globals.SkillSelectable);
}

TEST_F(LaunchOptions, RecordingClearsPlaybackAndOffersThePickerOfThePatch) {
    general.cbRecord->click();
    EXPECT_EQ(Profile().DemoState, 2);
    EXPECT_FALSE(Enabled(general.cbPlayback));
    EXPECT_TRUE(Enabled(general.buBrowseDemo));
    EXPECT_FALSE(Enabled(general.buBrowsePatchDemo));

    ui::SetComboText(general.comboPatch, QStringLiteral("ctf"));
    EXPECT_EQ(Text(TextField::GamePatch), "ctf");
    EXPECT_FALSE(Enabled(general.buBrowseDemo));
    EXPECT_TRUE(Enabled(general.buBrowsePatchDemo));

    // A loaded profile that plays back and records: the record box, set last, wins.
    general.cbRecord->click();
    general.cbPlayback->setChecked(true);
    general.cbRecord->setChecked(true);
    EXPECT_FALSE(general.cbPlayback->isChecked());
    EXPECT_EQ(Profile().DemoState, 2);
    EXPECT_TRUE(Enabled(general.comboMap));
}

TEST_F(LaunchOptions, ServerClearsPlaybackAndADedicatedServerClearsRecord) {
    general.cbPlayback->click();
    multi.cbEnableServer->click();
    EXPECT_FALSE(general.cbPlayback->isChecked());
    EXPECT_FALSE(Enabled(general.cbPlayback));
    EXPECT_EQ(Profile().DemoState, 0);
    EXPECT_TRUE(Enabled(general.comboMap));
    EXPECT_FALSE(Enabled(multi.cbConnectToServer));
    for (QWidget* w : std::vector<QWidget*>{
             multi.edHostName, multi.labHostName, multi.rbListenServer, multi.rbDedicatedServer,
             multi.tbMaxPlayers, multi.edMaxPlayers, multi.cbFragLimit, multi.cbTimeLimit,
             multi.rbCoop, multi.rbTeamMode2, multi.cbNoExit, multi.cbPausable}) {
        EXPECT_TRUE(Enabled(w)) << w->objectName().toStdString();
    }
    // An unchecked limit keeps its edit, spinner and label disabled.
    EXPECT_FALSE(Enabled(multi.edFragLimit));
    EXPECT_FALSE(Enabled(multi.udFragLimit));
    EXPECT_FALSE(Enabled(multi.labTimeLimit));

    general.cbRecord->click();
    multi.rbDedicatedServer->click();
    EXPECT_EQ(Profile().ServerType, 1);
    EXPECT_FALSE(general.cbRecord->isChecked());
    EXPECT_FALSE(Enabled(general.cbRecord));
    EXPECT_EQ(Profile().DemoState, 0);
    multi.rbListenServer->click();
    EXPECT_TRUE(Enabled(general.cbRecord));

    multi.cbEnableServer->click();
    EXPECT_TRUE(Enabled(general.cbPlayback));
    EXPECT_TRUE(Enabled(multi.cbConnectToServer));
    EXPECT_FALSE(Enabled(multi.cbFragLimit));
    EXPECT_FALSE(Enabled(multi.rbDM1));
}

TEST_F(LaunchOptions, ChoosingTheServerTypeWhileNoServerRunsKeepsTheRecording) {
    general.cbRecord->click();
    multi.rbDedicatedServer->setChecked(true);  // as a loaded profile sets it
    EXPECT_TRUE(general.cbRecord->isChecked());
    EXPECT_EQ(Profile().DemoState, 2);
    multi.cbEnableServer->setChecked(true);  // now a dedicated server runs
    EXPECT_FALSE(general.cbRecord->isChecked());
    EXPECT_FALSE(Enabled(general.cbRecord));
}

TEST_F(LaunchOptions, ConnectingLeavesMapSkillAndAutoAimOffTheLine) {
    dlg.options->rbCmdLine->click();
    ui::SetComboText(general.comboMap, QStringLiteral("e1m1 - Slipgate Complex"));
    general.rbSkill2->click();
    general.cbNoAutoAim->click();
    const std::string before = Line();
    EXPECT_THAT(before, HasSubstr(" +skill 2"));
    EXPECT_THAT(before, HasSubstr(" +sv_aim 1"));
    EXPECT_THAT(before, HasSubstr(" +map e1m1"));

    multi.cbConnectToServer->click();
    ui::SetComboText(multi.comboServer, QStringLiteral("192.168.0.7"));
    for (QWidget* w :
         std::vector<QWidget*>{multi.cbEnableServer, general.cbPlayback, general.comboMap,
                               general.buBrowseMap, general.rbSkill0, general.cbNoAutoAim}) {
        EXPECT_FALSE(Enabled(w)) << w->objectName().toStdString();
    }
    EXPECT_TRUE(Enabled(multi.comboServer));
    const std::string connecting = Line();
    EXPECT_THAT(connecting, HasSubstr(" +connect 192.168.0.7"));
    EXPECT_THAT(connecting, Not(HasSubstr("+map")));
    EXPECT_THAT(connecting, Not(HasSubstr("+skill")));
    EXPECT_THAT(connecting, Not(HasSubstr("+sv_aim")));
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(LaunchOptions, ConnectingDuringPlaybackStillFixesMapAndSkill) {
    dlg.options->rbCmdLine->click();
    ui::SetComboText(general.comboMap, QStringLiteral("dm4 - The Bad Place"));
    general.cbPlayback->click();
    multi.cbConnectToServer->click();  // clears the playback
    EXPECT_FALSE(general.cbPlayback->isChecked());
    EXPECT_EQ(Profile().DemoState, 0);
    EXPECT_FALSE(Enabled(general.comboMap));
    EXPECT_FALSE(Enabled(general.rbSkill1));
    EXPECT_FALSE(Enabled(general.cbNoAutoAim));
    EXPECT_FALSE(context.globals.MapSelectable);
    EXPECT_THAT(Line(), Not(HasSubstr("+map")));

    multi.cbConnectToServer->click();
    EXPECT_TRUE(Enabled(general.comboMap));
    EXPECT_TRUE(Enabled(general.cbNoAutoAim));
    EXPECT_THAT(Line(), HasSubstr(" +map dm4"));
}

TEST_F(LaunchOptions, EvaluateWithoutAnExecutableTellsTheUserAndStillShowsTheLine) {
    context.globals.Profile.SetText(TextField::QuakePath, "/games/quake");
    dlg.options->rbCmdLine->click();
    general.comboExecutables->setCurrentIndex(-1);
    multi.cbEnableServer->click();
    const std::string line = Line();
    ASSERT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(services.messages[0].text, QStringLiteral("You MUST select an executable first !"));
    EXPECT_EQ(services.messages[0].caption, QStringLiteral("Something you should know..."));
    EXPECT_THAT(line, HasSubstr("/games/quake"));
    EXPECT_THAT(line, Not(HasSubstr(".exe")));
    EXPECT_THAT(line, HasSubstr(" -listen +hostname \"My server\""));
    EXPECT_FALSE(dlg.commandLine->labConfigLines->isVisibleTo(&dlg)) << "no config file runs";
}

TEST_F(LaunchOptions, NumberEditsIgnoreNonNumbersAndClampToTheirField) {
    multi.cbEnableServer->click();
    multi.cbFragLimit->click();
    EXPECT_EQ(Profile().EnableFragLimit, 1);
    EXPECT_TRUE(Enabled(multi.edFragLimit));
    EXPECT_TRUE(Enabled(multi.udFragLimit));
    EXPECT_TRUE(Enabled(multi.labFragLimit));

    multi.edFragLimit->setText(QStringLiteral("75"));
    EXPECT_EQ(Profile().FragLimit, 75);
    multi.edFragLimit->clear();  // retyping: silently ignored
    multi.edFragLimit->setText(QStringLiteral("7x"));
    EXPECT_EQ(Profile().FragLimit, 75);
    EXPECT_TRUE(services.messages.empty());
    emit multi.edFragLimit->editingFinished();  // leaving the edit shows the value in force
    EXPECT_EQ(multi.edFragLimit->text(), QStringLiteral("75"));

    multi.edFragLimit->setText(QStringLiteral("300"));
    EXPECT_EQ(Profile().FragLimit, 255);
    multi.edTimeLimit->setText(QStringLiteral("-5"));
    EXPECT_EQ(Profile().TimeLimit, 0);
    multi.udTimeLimit->stepBy(2);
    EXPECT_EQ(Profile().TimeLimit, 10);
}

TEST_F(LaunchOptions, MaxPlayersTrackBarAndEditKeepInStepWithin1To16) {
    multi.tbMaxPlayers->setValue(12);
    EXPECT_EQ(multi.edMaxPlayers->text(), QStringLiteral("12"));
    EXPECT_EQ(Profile().MaxPlayers, 12);
    multi.edMaxPlayers->setText(QStringLiteral("0"));
    EXPECT_EQ(multi.tbMaxPlayers->value(), 1);
    EXPECT_EQ(multi.edMaxPlayers->text(), QStringLiteral("1"));
    EXPECT_EQ(Profile().MaxPlayers, 1);
    multi.edMaxPlayers->setText(QStringLiteral("40"));
    EXPECT_EQ(Profile().MaxPlayers, 16);
    EXPECT_EQ(multi.edMaxPlayers->text(), QStringLiteral("16"));
    multi.edMaxPlayers->setText(QStringLiteral("99"));  // already at 16: the edit still follows
    EXPECT_EQ(multi.edMaxPlayers->text(), QStringLiteral("16"));
    multi.edMaxPlayers->clear();
    EXPECT_EQ(Profile().MaxPlayers, 16);
}

TEST_F(LaunchOptions, ControlsWriteTheirFields) {
    general.comboDemo->setEditText(QStringLiteral("demo1"));
    multi.cbEnableServer->click();  // the rules' controls are disabled without a server
    multi.edHostName->setText(QStringLiteral("LAN party"));
    multi.rbCoop->click();
    multi.rbTeamMode2->click();
    multi.cbNoExit->click();
    multi.cbPausable->click();
    dlg.options->rbCmdLine->click();
    dlg.options->edConfigFile->setText(QStringLiteral("mine.cfg"));
    dlg.options->cbCloseOnExec->click();
    dlg.options->cbIgnoreGlobalParams->click();
    EXPECT_EQ(Text(TextField::DemoName), "demo1");
    EXPECT_EQ(Text(TextField::HostName), "LAN party");
    EXPECT_EQ(Profile().Deathmatch, 0);
    EXPECT_EQ(Profile().Teamplay, 2);
    EXPECT_EQ(Profile().NoExit, 1);
    EXPECT_EQ(Profile().Pausable, 0);
    EXPECT_EQ(Profile().CommandLineMode, 0);
    EXPECT_EQ(Text(TextField::ConfigFile), "mine.cfg");
    EXPECT_TRUE(context.globals.CloseOnExecQuake);
    EXPECT_TRUE(context.globals.IgnoreGlobalParams);

    // Setting the text the chooser already shows still runs its handler.
    context.globals.Profile.SetText(TextField::LaunchMap, "stale");
    ui::SetComboText(general.comboMap, general.comboMap->currentText());
    EXPECT_EQ(Text(TextField::LaunchMap), "<none>");
}

TEST_F(LaunchOptions, EachOptionDialogOpensModallyFromItsButton) {
    const std::vector<std::pair<QPushButton*, QDialog*>> pairs = {
        {general.buSoundSettings, windows.sound},
        {general.buNetSettings, windows.network},
        {general.buWinSettings, windows.win95},
        {general.buTrouble, windows.trouble}};
    for (const auto& [button, expected] : pairs) {
        QDialog* shown = nullptr;
        services.modalActions.push_back([&shown](QDialog& d) {
            shown = &d;
            d.reject();
        });
        EXPECT_TRUE(Enabled(button));
        button->click();
        EXPECT_EQ(shown, expected) << button->objectName().toStdString();
    }
    EXPECT_EQ(services.modalTitles,
              (std::vector<QString>{"Fenmar - Sound-settings", "Fenmar - Network-settings",
                                    "Fenmar - Win95 memory-settings", "Fenmar - Troubleshooting"}));
}

TEST_F(LaunchOptions, TheMapBrowsersChoiceGoesIntoTheMapBox) {
    services.modalActions.push_back([](QDialog& d) {
        static_cast<ui::TMapBrowse&>(d).edMap()->setText(QStringLiteral("mymap - Custom"));
        d.accept();
    });
    general.buBrowseMap->click();
    EXPECT_EQ(general.comboMap->currentText(), QStringLiteral("mymap - Custom"));
    EXPECT_EQ(Text(TextField::LaunchMap), "mymap - Custom");

    general.buBrowseMap->click();  // cancelled
    EXPECT_EQ(Text(TextField::LaunchMap), "mymap - Custom");
    EXPECT_EQ(services.modalTitles.size(), 2u);
}

TEST_F(LaunchOptions, ALoadedProfileShowsItsPlayersAndLimitsConsistently) {
    // A stored player count above the track bar's range shows as its largest value.
    Profile().MaxPlayers = 120;
    Profile().EnableServer = 0;
    Profile().EnableFragLimit = 1;
    Profile().EnableTimeLimit = 1;
    dlg.settings->ShowProfile();
    EXPECT_EQ(multi.edMaxPlayers->text(), QStringLiteral("16"));
    EXPECT_EQ(Profile().MaxPlayers, 16);
    // The server is off: its limits, checked or not, cannot be edited.
    for (QWidget* w :
         std::initializer_list<QWidget*>{multi.cbFragLimit, multi.edFragLimit, multi.udFragLimit,
                                         multi.cbTimeLimit, multi.edTimeLimit, multi.udTimeLimit}) {
        EXPECT_FALSE(Enabled(w)) << w->objectName().toStdString();
    }
    multi.cbEnableServer->setChecked(true);
    EXPECT_TRUE(Enabled(multi.edFragLimit));
    EXPECT_TRUE(Enabled(multi.edTimeLimit));
}

}  // namespace
}  // namespace fenmar
