#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <memory>

#include "ScriptedUiServices.h"
#include "TempDir.h"
#include "core/GlobalSettings.h"
#include "core/QuickSetLayout.h"
#include "store/OpenStore.h"
#include "store/RegistryHandling.h"
#include "ui/pages/GeneralPage.h"
#include "ui/pages/GlobalOptionsPage.h"
#include "ui/pages/MoreGlobalOptionsPage.h"
#include "ui/pages/MultiplayerPage.h"
#include "ui/pages/OptionsPage.h"
#include "ui/pages/QuickSetBar.h"
#include "ui/settings/SettingsController.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"
#include "ui/window/AppWindows.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

using store::JoinKeyPath;
const std::string kRoot(store::kFenmarRoot);

// One run of the program: the context and every window, over the test's store.
struct ProgramRun {
    explicit ProgramRun(store::Store& store) { context.store = &store; }
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    ui::AppWindows windows{context};
    ui::TMainDialog& dlg = *windows.main;
};

class Persistence : public ::testing::Test {
protected:
    Persistence() : store_(store::OpenStoreAt(dir_.Str() + "/settings.sqlite").store) {}

    ProgramRun& Start() {
        run_ = std::make_unique<ProgramRun>(*store_);
        return *run_;
    }
    // The first activation, as the window gets it.
    ProgramRun& StartAndActivate() {
        ProgramRun& r = Start();
        emit r.dlg.activatedFirstTime();
        return r;
    }
    std::string Text(const std::string& sub, const std::string& name) {
        return store::RegReadString(*store_, sub.empty() ? kRoot : JoinKeyPath(kRoot, sub), name);
    }
    std::int32_t Int(const std::string& sub, const std::string& name) {
        return store::RegReadInteger(*store_, sub.empty() ? kRoot : JoinKeyPath(kRoot, sub), name);
    }

    test::TempDir dir_;
    std::unique_ptr<store::Store> store_;
    std::unique_ptr<ProgramRun> run_;
};

TEST_F(Persistence, ClosingBeforeTheFirstActivationKeepsTheStoredSettings) {
    {
        ProgramRun& r = StartAndActivate();
        r.dlg.general->comboMap->setEditText(QStringLiteral("dm4 - The Bad Place"));
        r.dlg.close();
    }
    ASSERT_EQ(Text("General", "LaunchMap"), "dm4 - The Bad Place");
    ProgramRun& r = Start();  // shown, never activated: nothing was loaded
    r.dlg.close();
    EXPECT_EQ(Text("General", "LaunchMap"), "dm4 - The Bad Place");
}

TEST_F(Persistence, FirstRunThenCloseLeavesTheWholeLayout) {
    ProgramRun& r = StartAndActivate();
    ui::SortedComboBox* chooser = r.dlg.quickSetBar->comboQuickSet;
    ASSERT_EQ(chooser->count(), 1);
    EXPECT_EQ(chooser->currentText(), "<default>");
    EXPECT_EQ(Int("QuickSets", "CurrentSelected"), 0);
    EXPECT_EQ(Text("QuickSets\\<default>\\General", "LaunchMap"), "<none>");
    r.dlg.close();

    EXPECT_EQ(Text("", "Author"), "Ardwell");
    EXPECT_EQ(Text("", "Version"), "1.30");
    EXPECT_EQ(Text("Internal", "QSpy executable"), "qw.exe");
    EXPECT_EQ(Int("Internal", "Delete CONFIG.CFGs"), 0);
    EXPECT_EQ(Int("Internal", "MinBSPSize"), 20);
    EXPECT_EQ(Text("Internal", "DontScanBSPMsgs"), "No");
    std::vector<store::NamedValue> executables;
    store_->EnumValues(JoinKeyPath(kRoot, "Executables"), executables);
    EXPECT_EQ(executables.size(), 8u);
    EXPECT_EQ(Int("Global params", "Count"), 0);
    EXPECT_EQ(Int("MRUs\\Server", "Count"), 0);
    // The working profile at its initial values.
    EXPECT_EQ(Text("General", "Executable"), "DOS-Quake");
    EXPECT_EQ(Text("General", "Current Plug-In"), "<none>");
    EXPECT_EQ(Int("General", "SkillLevel"), 1);
    EXPECT_EQ(Int("General", "CommandLineMode"), 1);
    EXPECT_EQ(Text("Multiplayer", "HostName"), "My server");
    EXPECT_EQ(Int("Multiplayer", "MaxPlayers"), 8);
    EXPECT_EQ(Text("Multiplayer", "Pausable"), "Yes");
    EXPECT_EQ(Int("Sound", "SampleRate"), 11025);
    EXPECT_EQ(Int("Network", "IPXPort"), 26000);
    EXPECT_EQ(Int("Win95", "AllocateMem"), 8);
    EXPECT_EQ(Int("Additional Params", "Count"), 0);
}

TEST_F(Persistence, ChangingOnlyTheMapAndClosingShowsTheMapAtTheNextStart) {
    ProgramRun& first = StartAndActivate();
    first.dlg.general->comboMap->setEditText(QStringLiteral("e1m3 - The Necropolis"));
    // The window's size comes back too, as far as the screen has room.
    const QSize larger = first.dlg.minimumSize() + QSize(20, 30);
    first.dlg.resize(larger);
    first.dlg.close();
    ProgramRun& second = StartAndActivate();
    EXPECT_EQ(second.dlg.size(), larger.boundedTo(second.dlg.screen()->availableGeometry().size())
                                     .expandedTo(second.dlg.minimumSize()));
    EXPECT_NE(second.dlg.size(), second.dlg.minimumSize());
    EXPECT_EQ(second.dlg.general->comboMap->currentText(), "e1m3 - The Necropolis");
    EXPECT_EQ(second.context.globals.Profile.Text(TextField::LaunchMap), "e1m3 - The Necropolis");
}

TEST_F(Persistence, EveryGlobalOptionAndTheWorkingProfileComeBack) {
    const std::string quake = dir_.MakeDir("quake");
    {
        ProgramRun& r = StartAndActivate();
        ui::TMainDialog& d = r.dlg;
        d.globalOptions->edQuakePath->setText(QString::fromLocal8Bit(quake));
        d.globalOptions->edQSpy->setText(QStringLiteral("qspy.exe"));
        d.globalOptions->cbDelInPatchDir->setChecked(true);
        d.globalOptions->cbDelOnExit->setChecked(true);
        d.moreGlobalOptions->udMinBSPSize->stepBy(5);
        d.moreGlobalOptions->cbDontScanBSPMsgs->setChecked(true);
        d.globalOptions->lbGlobalParams->addItems({"-zone 512", "-zone 512", "+developer 1"});
        d.general->comboDemo->addItem(QStringLiteral("last"));
        d.general->lbAddParams->addItems({"-nocdaudio", "+gamma 0.7"});
        d.general->rbSkill3->setChecked(true);
        d.general->cbRecord->setChecked(true);
        d.multiplayer->edHostName->setText(QStringLiteral("Frag hall"));
        d.options->rbCmdLine->setChecked(true);
        d.options->cbCloseOnExec->setChecked(true);
        d.quickSetBar->comboQuickSet->setCurrentIndex(-1);
        d.close();
    }
    ProgramRun& r = StartAndActivate();
    ui::TMainDialog& d = r.dlg;
    const Globals& g = r.context.globals;
    EXPECT_EQ(g.Profile.Text(TextField::QuakePath), quake);
    EXPECT_EQ(d.globalOptions->edQSpy->text(), "qspy.exe");
    EXPECT_EQ(g.DeleteConfigs, 10);
    EXPECT_TRUE(d.globalOptions->cbDelOnExit->isChecked());
    EXPECT_EQ(g.MinBSPSize, 25);
    EXPECT_EQ(d.moreGlobalOptions->edMinBSPSize->text(), "25");
    EXPECT_TRUE(g.DontScanBSPMsgs);
    ASSERT_EQ(d.globalOptions->lbGlobalParams->count(), 3);
    EXPECT_EQ(d.globalOptions->lbGlobalParams->item(2)->text(), "+developer 1");
    EXPECT_NE(d.general->comboDemo->findText(QStringLiteral("last")), -1);
    ASSERT_EQ(d.general->lbAddParams->count(), 2);
    EXPECT_EQ(d.general->lbAddParams->item(1)->text(), "+gamma 0.7");
    EXPECT_TRUE(d.general->rbSkill3->isChecked());
    EXPECT_TRUE(d.general->cbRecord->isChecked());
    EXPECT_EQ(g.Profile->DemoState, 2);
    EXPECT_EQ(d.multiplayer->edHostName->text(), "Frag hall");
    EXPECT_TRUE(d.options->rbCmdLine->isChecked());
    EXPECT_TRUE(g.CloseOnExecQuake);
    // Saved with nothing chosen: the chooser starts empty, showing the working profile.
    EXPECT_EQ(Int("QuickSets", "CurrentSelected"), -1);
    EXPECT_EQ(d.quickSetBar->comboQuickSet->currentIndex(), -1);
    EXPECT_EQ(d.quickSetBar->comboQuickSet->count(), 1);
}

TEST_F(Persistence, StoredMaskNeedsALocationForItsWhenBits) {
    const auto load = [&](int mask) {
        const store::Key internal = store::CreateKey(*store_, JoinKeyPath(kRoot, "Internal"));
        store::RegWriteInteger(internal, "Delete CONFIG.CFGs", mask);
        return &StartAndActivate();
    };
    ProgramRun* r = load(12);
    ui::GlobalOptionsPage* page = r->dlg.globalOptions;
    EXPECT_EQ(r->context.globals.DeleteConfigs, 0);
    EXPECT_FALSE(page->cbDelOnLaunch->isChecked() || page->cbDelOnExit->isChecked());
    EXPECT_FALSE(page->cbDelOnLaunch->isEnabledTo(&r->dlg));
    EXPECT_FALSE(page->cbDelOnExit->isEnabledTo(&r->dlg));
    r = load(5);
    page = r->dlg.globalOptions;
    EXPECT_EQ(r->context.globals.DeleteConfigs, 5);
    EXPECT_TRUE(page->cbDelOnLaunch->isChecked());
    EXPECT_TRUE(page->cbDelOnExit->isEnabledTo(&r->dlg));
    // Unchecking the only location takes the "when?" choice with it.
    page->cbDelInID1Dir->setChecked(false);
    EXPECT_EQ(r->context.globals.DeleteConfigs, 0);
    EXPECT_FALSE(page->cbDelOnLaunch->isChecked());
}

TEST_F(Persistence, SettingsAreLoadedOnceOnly) {
    ProgramRun& r = StartAndActivate();
    store::RegWriteString(*store_, JoinKeyPath(kRoot, "General"), "LaunchMap", "e4m1");
    emit r.dlg.activatedFirstTime();
    r.dlg.settings->FormActivate();
    EXPECT_EQ(r.dlg.general->comboMap->currentText(), "<none>");
}

TEST_F(Persistence, OldLayoutIsImportedThroughTheExecutableList) {
    store_->CreateKey(kRoot);
    store::RegWriteString(*store_, kRoot, "Version", "1.22");
    const store::Key general = store::CreateKey(*store_, JoinKeyPath(kRoot, "General"));
    store::RegWriteString(general, "QuakeExe", "quake.exe");
    store::RegWriteString(general, "QuakeBat", "Q95.BAT");
    store::RegWriteString(store::CreateKey(*store_, JoinKeyPath(kRoot, "Network")),
                          "EnableWin95TCP/IP", "Yes");
    ProgramRun& r = StartAndActivate();
    EXPECT_EQ(r.context.globals.Executable, "DOS-Quake (TCP/IP)");
    EXPECT_EQ(r.dlg.general->comboExecutables->currentText(), "DOS-Quake (TCP/IP)");
    EXPECT_TRUE(r.services.modalTitles.empty());  // known file: nobody was asked
    r.dlg.close();
    EXPECT_EQ(Text("", "Version"), "1.30");
}

TEST_F(Persistence, AStartThatNeverClosedNormallyImportsNothingAtTheNext) {
    {
        ProgramRun& r = StartAndActivate();  // the first start: "<default>" is created
        r.dlg.multiplayer->rbCoop->setChecked(true);
        r.dlg.settings->SaveQuickSet("");  // the working profile, but no normal close
    }
    ProgramRun& r = StartAndActivate();
    EXPECT_TRUE(r.services.modalTitles.empty()) << "asked for an executable without a file";
    EXPECT_EQ(r.context.globals.Executable, "DOS-Quake");
    EXPECT_EQ(r.context.globals.Profile->Deathmatch, 0);
    EXPECT_TRUE(r.dlg.multiplayer->rbCoop->isChecked());
    EXPECT_EQ(Text("", "Version"), "1.30");
}

TEST_F(Persistence, AStoreWithoutSkillStartsWithTheInitialSkill) {
    {
        ProgramRun& r = StartAndActivate();
        r.dlg.general->rbSkill3->setChecked(true);
        r.dlg.close();
    }
    store_->DeleteValue(JoinKeyPath(kRoot, "General"), "SkillLevel");
    ProgramRun& r = StartAndActivate();
    EXPECT_EQ(r.context.globals.Profile->SkillLevel, 1);  // not 255, nor "+skill 255"
    EXPECT_TRUE(r.dlg.general->rbSkill1->isChecked());
}

TEST_F(Persistence, ShowProfileFollowsTheLoadedValuesThroughTheRules) {
    ProgramRun& r = StartAndActivate();
    ui::TMainDialog& d = r.dlg;
    d.general->cbPlayback->setChecked(true);
    LiveProfile& p = r.context.globals.Profile;
    p->DemoState = 2;
    p->SkillLevel = 7;  // out of range: no skill chosen
    p->Deathmatch = 0;
    p->EnableServer = 1;
    p->ServerType = 0;
    d.settings->ShowProfile();
    EXPECT_TRUE(d.general->cbRecord->isChecked());
    EXPECT_FALSE(d.general->cbPlayback->isChecked());
    EXPECT_EQ(p->DemoState, 2);
    for (QRadioButton* rb :
         {d.general->rbSkill0, d.general->rbSkill1, d.general->rbSkill2, d.general->rbSkill3}) {
        EXPECT_FALSE(rb->isChecked());
    }
    EXPECT_TRUE(d.multiplayer->rbCoop->isChecked());
    EXPECT_TRUE(d.multiplayer->cbEnableServer->isChecked());
    EXPECT_EQ(d.options->edConfigFile->text(), "fenmar.cfg");
}

}  // namespace
}  // namespace fenmar
