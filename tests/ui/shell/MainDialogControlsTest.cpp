#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QSpinBox>
#include <QTreeWidget>
#include <array>
#include <optional>

#include "LauncherWindows.h"
#include "ScriptedUiServices.h"
#include "ui/pages/GeneralPage.h"
#include "ui/widgets/Controls.h"
#include "ui/window/AppContext.h"
#include "ui/window/MainDialog.h"

namespace fenmar {
namespace {

// What one control of the main window looks like before anything is loaded. Unset fields are
// not checked.
struct Expect {
    const char* name;
    std::optional<QString> caption = {};
    std::optional<QString> tip = {};
    std::optional<int> tag = {};
    std::optional<bool> checked = {};
    std::optional<bool> enabled = {};
    std::optional<QString> text = {};
    std::optional<QStringList> items = {};
    std::optional<std::array<int, 3>> range = {};  // minimum, maximum, step
    std::optional<int> position = {};
    std::optional<bool> readOnly = {};
    std::optional<int> maxLength = {};
    bool sorted = false;
};

const QString kNone = QStringLiteral("<none>");
const QStringList kNoneOnly = {kNone};
const QStringList kExecutables = test::BuiltInExecutables();
const QString kParamTip = QStringLiteral("Exchange param in listbox with the one in the edit-box.");
const QString kFragTip =
    QStringLiteral("Ends the game when a player reaches a special number of frags.");
const QString kTimeTip = QStringLiteral("Ends the game after several minutes.");
const QString kDmTip = QStringLiteral("How do you want to play today ?");
const QString kBspTip = QStringLiteral("Just files below this size will be selectable as maps.");

const Expect kControls[] = {
    // The Quick-Set bar, the plug-in panel, the logo, the action buttons, the command line.
    {.name = "labQuickSet", .caption = "Q&uick-Set:"},
    {.name = "comboQuickSet",
     .tip = "Select a previously saved quick-set for most used settings.",
     .enabled = true,
     .items = QStringList{},
     .sorted = true},
    {.name = "buQuickSaveAs", .caption = "save as", .tip = "Save quick-set", .enabled = true},
    {.name = "buQuickRenameTo", .caption = "rename", .tip = "Rename quick-set.", .enabled = true},
    {.name = "buQuickDelete",
     .caption = "delete",
     .tip = "Delete quick-set (remove from registry)",
     .enabled = true},
    {.name = "panelPlugIn", .tip = "click on the icon to run the plug-in"},
    {.name = "Label6", .caption = "P&lug-In: (F12)"},
    {.name = "imActivePlugIn"},
    {.name = "panelLogo"},
    {.name = "imgQuakePanel", .tip = "About..."},
    {.name = "buRunQuake", .caption = "run &Quake !", .enabled = false},
    {.name = "buExit", .caption = "E&xit Fenmar", .enabled = true},
    {.name = "labCommandLine",
     .caption = "Commandline:",
     .tip = "This represents the commandline, how quake will be executed."},
    {.name = "edCommandLine",
     .tip = "This represents the commandline, how quake will be executed.",
     .text = "",
     .readOnly = true},
    {.name = "buEvalCmdLine",
     .caption = "evaluate",
     .tip = "Press this button to preview the commandline, how quake will be executed.",
     .enabled = true},
    // General
    {.name = "labExecutable", .caption = "Executable:"},
    {.name = "comboExecutables", .enabled = true, .items = kExecutables, .sorted = true},
    {.name = "GroupPatch", .caption = "Game patch"},
    {.name = "comboPatch",
     .tip = "Directory of patch being used.",
     .tag = 20,
     .enabled = true,
     .text = kNone,
     .items = kNoneOnly},
    {.name = "buSelectPatch", .caption = "browse for &patch", .enabled = true},
    {.name = "GroupMap", .caption = "Map"},
    {.name = "comboMap",
     .tip = "Type in a map or select one from the drop-down list.",
     .enabled = true,
     .text = kNone},
    {.name = "buBrowseMap", .caption = "", .tip = "Browse for user-created maps.", .enabled = true},
    {.name = "groupSkill", .caption = "Skill level", .tip = "Select desired skill."},
    {.name = "rbSkill0", .caption = "&Easy", .tag = 0, .checked = false, .enabled = true},
    {.name = "rbSkill1", .caption = "N&ormal", .tag = 1, .checked = true, .enabled = true},
    {.name = "rbSkill2", .caption = "&Hard", .tag = 2, .checked = false, .enabled = true},
    {.name = "rbSkill3", .caption = "N&ightmare!", .tag = 3, .checked = false, .enabled = true},
    {.name = "groupDemos", .caption = "Demos"},
    {.name = "cbRecord", .caption = "Record", .tip = "Record a new demo.", .checked = false},
    {.name = "cbPlayback",
     .caption = "Pla&yback",
     .tip = "Playback an existing demo.",
     .checked = false,
     .enabled = true},
    {.name = "comboDemo",
     .tip = "Type a demo-name or select one from the drop-down list.",
     .tag = 20,
     .enabled = false,
     .text = kNone,
     .items = kNoneOnly},
    {.name = "buBrowseDemo", .caption = "", .enabled = false},
    {.name = "buBrowsePatchDemo", .caption = "", .enabled = false},
    {.name = "GroupParams", .caption = "additional Params"},
    {.name = "labAddParams", .caption = "enter p&aram:"},
    {.name = "edAddParams", .text = ""},
    {.name = "lbAddParams", .tip = "Your additional parameters are placed here."},
    {.name = "buAPAdd", .caption = "a&dd", .tip = "Add param to list.", .enabled = false},
    {.name = "buAPChange", .caption = "&change", .tip = kParamTip, .enabled = false},
    {.name = "buAPRemove",
     .caption = "&remove",
     .tip = "Remove param from list.",
     .enabled = false},
    {.name = "MvUp", .tip = "Move param up.", .enabled = true},
    {.name = "MvDn", .tip = "Move param down.", .enabled = true},
    {.name = "cbNoAutoAim",
     .caption = "No auto-aiming",
     .tip = "Sets the SV_AIM-variable to \"1\" if checked.",
     .checked = false,
     .enabled = true},
    {.name = "buSoundSettings", .caption = "&Sound-settings", .enabled = true},
    {.name = "buNetSettings", .caption = "&Network-settings", .enabled = true},
    {.name = "buWinSettings", .caption = "&Win memory-settings", .enabled = true},
    {.name = "buTrouble", .caption = "&Troubleshooting", .enabled = true},
    {.name = "labNoMap",
     .caption = "The current Plug-In doesn't allow map-changing or has an own routine for it."},
    {.name = "labNoPatch",
     .caption = "The current Plug-In doesn't allow patch-changing or has an own routine for it."},
    {.name = "labNoSkill",
     .caption = "The current Plug-In doesn't allow skill-changing or has an own routine for it."},
    {.name = "labNoDemos",
     .caption = "The current Plug-In doesn't allow demo-handling or has an own routine for it."},
    // Multiplayer
    {.name = "buLaunchQW", .caption = "launch QSpy/QW !", .enabled = false},
    {.name = "groupMultiPl", .caption = "Multiplayer-functionality"},
    {.name = "cbEnableServer",
     .caption = "&Enable Quake-server",
     .tip = "Turns your computer into a Quake-server.",
     .checked = false,
     .enabled = true},
    {.name = "labHostName", .caption = "Hostname:", .enabled = false},
    {.name = "edHostName", .enabled = false, .text = "My server"},
    {.name = "cbConnectToServer",
     .caption = "&Connect to server:",
     .tip = "Connect to a special server.",
     .checked = false,
     .enabled = true},
    {.name = "comboServer",
     .tip = "Type in the server you want to connect or select one from drop-down list.",
     .tag = 50,
     .enabled = false,
     .text = kNone,
     .items = kNoneOnly},
    {.name = "groupServerConfig", .caption = "Server-config"},
    {.name = "labServerType", .caption = "server-&type:", .enabled = false},
    {.name = "rbListenServer",
     .caption = "Liste&n-server",
     .tip = "You are able to play on the server. (Booo!)",
     .tag = 0,
     .checked = true,
     .enabled = false},
    {.name = "rbDedicatedServer",
     .caption = "&Dedicated server",
     .tip = "You cannot play on this machine.",
     .tag = 1,
     .checked = false,
     .enabled = false},
    {.name = "labMaxPlayers", .caption = "&max. players:", .enabled = false},
    {.name = "tbMaxPlayers",
     .tip = "Drag left and right for changing the number of players.",
     .enabled = false,
     .range = std::array{1, 16, 1},
     .position = 8},
    {.name = "edMaxPlayers", .enabled = false, .text = "8", .readOnly = true, .maxLength = 3},
    {.name = "groupServerRules", .caption = "Server-rules"},
    {.name = "cbFragLimit",
     .caption = "&Frag-limit:",
     .tip = kFragTip,
     .checked = false,
     .enabled = false},
    {.name = "edFragLimit", .tip = kFragTip, .enabled = false, .text = "50"},
    {.name = "udFragLimit", .tip = kFragTip, .enabled = false, .range = std::array{0, 100, 10}},
    {.name = "labFragLimit", .caption = "frags", .enabled = false},
    {.name = "cbTimeLimit",
     .caption = "&Time-limit:",
     .tip = kTimeTip,
     .checked = false,
     .enabled = false},
    {.name = "edTimeLimit", .tip = kTimeTip, .enabled = false, .text = "30"},
    {.name = "udTimeLimit", .tip = kTimeTip, .enabled = false, .range = std::array{0, 60, 5}},
    {.name = "labTimeLimit", .caption = "minutes", .enabled = false},
    {.name = "cbNoExit",
     .caption = "Cl&ients may not exit a level",
     .tip = "Players are gibbed when entering the exit.",
     .checked = false,
     .enabled = false},
    {.name = "cbPausable",
     .caption = "Pausable by clients",
     .tip = "Clients may or may not pause the game.",
     .checked = true,
     .enabled = false},
    {.name = "groupPlayMode", .caption = "Deathmatch-mode"},
    {.name = "rbCoop",
     .caption = "C&ooperative",
     .tip = kDmTip,
     .tag = 0,
     .checked = false,
     .enabled = false},
    {.name = "rbDM1",
     .caption = "De&athmatch with respawning weapons",
     .tip = kDmTip,
     .tag = 1,
     .checked = true,
     .enabled = false},
    {.name = "rbDM2",
     .caption = "Deat&hmatch with staying weapons",
     .tip = kDmTip,
     .tag = 2,
     .checked = false,
     .enabled = false},
    {.name = "groupTeamMode", .caption = "Teamplay-mode"},
    {.name = "rbNoTeamMode",
     .caption = "&No teamplay",
     .tip = "You may attack everyone.",
     .tag = 0,
     .checked = true,
     .enabled = false},
    {.name = "rbTeamMode1",
     .caption = "Teammate&s don't hurt each other",
     .tip = "You cannot kill a teammate. You only damage his armor if you shoot him.",
     .tag = 1,
     .checked = false,
     .enabled = false},
    {.name = "rbTeamMode2",
     .caption = "&Kill Teammates for a minus-frag",
     .tip = "If you kill a teammate you will be penalized frags.",
     .tag = 2,
     .checked = false,
     .enabled = false},
    {.name = "labNoServer",
     .caption = "The current Plug-In doesn't allow to set up a server or has an own routine for "
                "it."},
    {.name = "labNoPlayMode",
     .caption = "The current Plug-In doesn't allow to change the deathmatch-mode or has an own "
                "routine for it."},
    {.name = "labNoTeamplay",
     .caption = "The current Plug-In doesn't allow to change the teamplay-mode or has an own "
                "routine for it."},
    // Plug-Ins
    {.name = "lvPlugIns", .tip = "Double-click on a plug-in for usage."},
    {.name = "Panel2"},
    // The window shows its plug-in directory once created (no program directory here).
    {.name = "labPlugInDir",
     .caption = "PlugIns",
     .tip = "This is the directory, where your plug-ins reside."},
    {.name = "buIcons", .tip = "Large Icons", .tag = 0, .checked = true},
    {.name = "buSmlIcons", .tip = "Small Icons", .tag = 1, .checked = false},
    {.name = "buList", .tip = "List", .tag = 2, .checked = false},
    {.name = "buDetails", .tip = "Details", .tag = 3, .checked = false},
    {.name = "buRefreshPlugIns",
     .caption = "refresh (F5)",
     .tip = "Checks for new or modified plug-ins.",
     .enabled = true},
    // Options
    {.name = "groupStartingOptions", .caption = "Quake-starting-options"},
    {.name = "labWriteParams", .caption = "write parameters to:"},
    {.name = "rbCmdLine",
     .caption = "c&ommand-line",
     .tip = "All parameters will be added to the command-line.",
     .tag = 0,
     .checked = false,
     .enabled = true},
    {.name = "rbConfigFile",
     .caption = "co&nfig-file:",
     .tip = "All parameters that start with \"+\" will be written into a text-file.",
     .tag = 1,
     .checked = true,
     .enabled = true},
    {.name = "edConfigFile",
     .tip = "Enter some name for the config-file.",
     .enabled = true,
     .text = "fenmar.cfg"},
    {.name = "buBrowseConfigFile", .caption = "", .enabled = true},
    {.name = "labConfigFileNote",
     .caption = "(use this, if you have many params or if you use a batch-file like Q95.BAT)"},
    {.name = "groupFenmarBehave", .caption = "Fenmar behaviour"},
    {.name = "cbCloseOnExec",
     .caption = "Close Fenmar on executing Quake",
     .tip = "Check this if Quake crashes and you think the reason is Fenmar.",
     .checked = false},
    {.name = "cbIgnoreGlobalParams",
     .caption = "Ignore \"Global params\"",
     .tip = "Ignore \"global params\" in the \"global options\"-tab for this Quick-Set.",
     .checked = false},
    // Global options
    {.name = "labGlobalNote",
     .caption = "These options are the same for every quick-set and plug-in."},
    {.name = "groupDirs", .caption = "Directories"},
    {.name = "labQuakePath", .caption = "&Quake-directory:"},
    {.name = "edQuakePath",
     .tip = "The directory containing the Quake-executable.",
     .enabled = true,
     .text = ""},
    {.name = "labPatchPath", .caption = "&Patch-directory:"},
    {.name = "edPatchPath",
     .tip = "The directory containing your patch-subdirectories.",
     .enabled = true,
     .text = ""},
    {.name = "buBrowseForQuakeFolder", .caption = "", .enabled = true},
    {.name = "buBrowseForPatchFolder", .caption = "", .enabled = true},
    {.name = "groupGlobalParams", .caption = "Global params"},
    {.name = "labGlobalParams", .caption = "enter p&aram:"},
    {.name = "edGlobalParams", .text = ""},
    {.name = "lbGlobalParams",
     .tip = "Use global parameters for commands that are used with each Quick-Set."},
    {.name = "buGPAdd", .caption = "a&dd", .tip = "Add param to list.", .enabled = false},
    {.name = "buGPChange", .caption = "&change", .tip = kParamTip, .enabled = false},
    {.name = "buGPRemove",
     .caption = "&remove",
     .tip = "Remove param from list.",
     .enabled = false},
    {.name = "buGPMvUp", .tip = "Move param up.", .enabled = true},
    {.name = "buGPMvDn", .tip = "Move param down.", .enabled = true},
    {.name = "groupQSpy", .caption = "QSpy-executable"},
    {.name = "edQSpy",
     .tip = "This program is executed, when you press the \"launch QSpy\"-button.",
     .enabled = true,
     .text = "qw.exe"},
    {.name = "buBrowseQSpy", .caption = "", .enabled = true},
    {.name = "groupDeleteConfigs", .caption = "Delete CONFIG.CFGs ..."},
    {.name = "labDeleteWarning",
     .caption = "WARNING: Just change the following options, if you are absolutely sure about "
                "what you do !"},
    {.name = "labWhere", .caption = "where?"},
    {.name = "labWhen", .caption = "when?"},
    {.name = "cbDelInID1Dir",
     .caption = "... in the ID1-directory",
     .tip = "Delete CONFIG.CFGs in the \"quake\\id1\"-directory.",
     .tag = 1,
     .checked = false,
     .enabled = true},
    {.name = "cbDelInPatchDir",
     .caption = "... in the patch-directory",
     .tip = "Delete CONFIG.CFGs in the current patch-directory.",
     .tag = 2,
     .checked = false,
     .enabled = true},
    {.name = "cbDelOnLaunch",
     .caption = "... on launching Quake",
     .tip = "Delete CONFIG.CFGs when launching Quake.",
     .tag = 4,
     .checked = false,
     .enabled = false},
    {.name = "cbDelOnExit",
     .caption = "... on exiting Fenmar",
     .tip = "Delete CONFIG.CFGs when exiting Fenmar.",
     .tag = 8,
     .checked = false,
     .enabled = false},
    // ...more global options
    {.name = "GroupBox1", .caption = "configure executables"},
    {.name = "labName", .caption = "Name:"},
    {.name = "edName", .tip = "How do want to call your executable ?", .enabled = true, .text = ""},
    {.name = "labFile", .caption = "File:"},
    {.name = "edFile", .tip = "The actual file that is executed.", .enabled = true, .text = ""},
    {.name = "buBrowseExecutable",
     .caption = "",
     .tip = "Browse for an executable.",
     .enabled = true},
    {.name = "buAdd",
     .caption = "&add",
     .tip = "Adds another executable to the list.",
     .enabled = false},
    {.name = "buChangeTo",
     .caption = "&change to",
     .tip = "Changes the selected executable to the one above.",
     .enabled = false},
    {.name = "buDelete",
     .caption = "&delete",
     .tip = "Removes the selected executable from the list.",
     .enabled = false},
    {.name = "lvExecutables", .items = kExecutables, .sorted = true},
    {.name = "GroupBox2", .caption = "user-maps"},
    {.name = "labFilesBelow", .caption = "Files below", .tip = kBspTip},
    {.name = "edMinBSPSize", .tip = kBspTip, .enabled = true, .text = "20"},
    {.name = "udMinBSPSize", .tip = kBspTip, .enabled = true, .range = std::array{0, 100, 1}},
    {.name = "labKB", .caption = "KB", .tip = kBspTip},
    {.name = "labNoValidMaps", .caption = "...are no valid BSP map-files.", .tip = kBspTip},
    {.name = "cbDontScanBSPMsgs",
     .caption = "Don't scan map-descriptions",
     .tip = "Don't read \"message\"-descriptions from the BSP-files. This will accellerate "
            "map-selecting.",
     .checked = false},
};

std::optional<QString> CaptionOf(const QWidget& w) {
    if (auto* b = qobject_cast<const QAbstractButton*>(&w)) {
        return b->text();
    }
    if (auto* l = qobject_cast<const QLabel*>(&w)) {
        return l->text();
    }
    if (auto* g = qobject_cast<const QGroupBox*>(&w)) {
        return g->title();
    }
    return std::nullopt;
}

QStringList ItemsOf(const QWidget& w) {
    QStringList items;
    if (auto* c = qobject_cast<const QComboBox*>(&w)) {
        for (int i = 0; i < c->count(); ++i) {
            items << c->itemText(i);
        }
    } else if (auto* t = qobject_cast<const QTreeWidget*>(&w)) {
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            items << t->topLevelItem(i)->text(0);
        }
    }
    return items;
}

class MainDialogControls : public ::testing::Test {
protected:
    test::ScriptedUiServices services;
    ui::AppContext context{services};
    ui::TMainDialog window{context};
};

TEST_F(MainDialogControls, EveryControlHasItsNameCaptionHintTagAndInitialState) {
    for (const Expect& e : kControls) {
        SCOPED_TRACE(e.name);
        const auto* w = window.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(w, nullptr);
        if (e.caption) {
            EXPECT_EQ(CaptionOf(*w), e.caption);
        }
        if (e.tip) {
            EXPECT_EQ(w->toolTip(), *e.tip);
        }
        if (e.tag) {
            EXPECT_EQ(ui::TagOf(w), *e.tag);
        }
        if (e.checked) {
            auto* b = qobject_cast<const QAbstractButton*>(w);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->isChecked(), *e.checked);
        }
        if (e.enabled) {
            EXPECT_EQ(w->isEnabledTo(&window), *e.enabled);
        }
        if (e.text) {
            auto* edit = qobject_cast<const QLineEdit*>(w);
            auto* combo = qobject_cast<const QComboBox*>(w);
            ASSERT_TRUE(edit != nullptr || combo != nullptr);
            EXPECT_EQ(edit != nullptr ? edit->text() : combo->currentText(), *e.text);
        }
        if (e.items) {
            EXPECT_EQ(ItemsOf(*w), *e.items);
        }
        if (e.range) {
            auto* slider = qobject_cast<const QAbstractSlider*>(w);
            auto* spin = qobject_cast<const QSpinBox*>(w);
            ASSERT_TRUE(slider != nullptr || spin != nullptr);
            const std::array<int, 3> actual =
                slider != nullptr
                    ? std::array{slider->minimum(), slider->maximum(), slider->singleStep()}
                    : std::array{spin->minimum(), spin->maximum(), spin->singleStep()};
            EXPECT_EQ(actual, *e.range);
        }
        if (e.position) {
            EXPECT_EQ(qobject_cast<const QAbstractSlider*>(w)->value(), *e.position);
        }
        if (e.readOnly) {
            EXPECT_EQ(qobject_cast<const QLineEdit*>(w)->isReadOnly(), *e.readOnly);
        }
        if (e.maxLength) {
            EXPECT_EQ(qobject_cast<const QLineEdit*>(w)->maxLength(), *e.maxLength);
        }
        if (e.sorted) {
            auto* tree = qobject_cast<const QTreeWidget*>(w);
            EXPECT_TRUE(tree != nullptr ? tree->isSortingEnabled()
                                        : w->property("sorted").toBool());
        }
    }
}

TEST_F(MainDialogControls, MapBoxOffersTheGamesMapsInOrder) {
    const auto* map = window.findChild<QComboBox*>(QStringLiteral("comboMap"));
    const QStringList items = ItemsOf(*map);
    ASSERT_EQ(items.size(), 39);
    EXPECT_EQ(items.first(), kNone);
    EXPECT_EQ(items[1], "start - Welcome to Quake");
    EXPECT_EQ(items[32], "end - Shub-Niggurath's Pit");
    EXPECT_EQ(items.last(), "dm6 - The Dark Zone");
    EXPECT_EQ(items, ui::GeneralPage::StandardMaps());
}

TEST_F(MainDialogControls, StandInLabelsLieUnderTheirGroupsAndShowOnlyWhenTheyAreHidden) {
    window.show();
    const std::pair<const char*, const char*> pairs[] = {{"labNoMap", "GroupMap"},
                                                         {"labNoPatch", "GroupPatch"},
                                                         {"labNoSkill", "groupSkill"},
                                                         {"labNoDemos", "groupDemos"},
                                                         {"labNoServer", "groupServerConfig"},
                                                         {"labNoPlayMode", "groupPlayMode"},
                                                         {"labNoTeamplay", "groupTeamMode"}};
    for (const auto& [labelName, groupName] : pairs) {
        SCOPED_TRACE(labelName);
        auto* label = window.findChild<QLabel*>(QString::fromLatin1(labelName));
        auto* group = window.findChild<QGroupBox*>(QString::fromLatin1(groupName));
        ASSERT_TRUE(label != nullptr && group != nullptr);
        EXPECT_FALSE(label->isHidden());
        EXPECT_EQ(label->parentWidget(), group->parentWidget());
        EXPECT_EQ(label->geometry(), group->geometry());
        // The group is stacked above the label.
        const QObjectList siblings = group->parentWidget()->children();
        EXPECT_GT(siblings.indexOf(group), siblings.indexOf(label));
    }
}

}  // namespace
}  // namespace fenmar
