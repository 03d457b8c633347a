#include "ui/pages/GeneralPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

#include "ui/maps/MapFilter.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/ParamListEditor.h"

namespace fenmar::ui {

namespace {
const QString kNone = QStringLiteral("<none>");

// An editable drop-down that starts with "<none>" as its only item and text.
QComboBox* MakeHistoryCombo(QWidget* parent, const QString& name, const QString& tip, int size) {
    auto* combo = Named(new QComboBox(parent), name, tip);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItem(kNone);
    combo->setEditText(kNone);
    SetTag(combo, size);
    return combo;
}

// A group holding one row: the drop-down takes the room the button leaves.
QGroupBox* LayOutComboRow(QGroupBox* group, QComboBox* combo, QWidget* button) {
    auto* row = new QHBoxLayout(group);
    row->addWidget(combo, 1);
    row->addWidget(button);
    UseNormalFontInside(group);
    return group;
}
}  // namespace

QStringList GeneralPage::StandardMaps() {
    return {kNone,
            QStringLiteral("start - Welcome to Quake"),
            QStringLiteral("e1m1 - Slipgate Complex"),
            QStringLiteral("e1m2 - Castle of the Damned"),
            QStringLiteral("e1m3 - The Necropolis"),
            QStringLiteral("e1m4 - The Grisly Grotto"),
            QStringLiteral("e1m5 - Gloom Keep"),
            QStringLiteral("e1m6 - The Door To Chthon"),
            QStringLiteral("e1m7 - The House of Chthon"),
            QStringLiteral("e1m8 - Ziggurat Vertigo"),
            QStringLiteral("e2m1 - The Installation"),
            QStringLiteral("e2m2 - Ogre Citadel"),
            QStringLiteral("e2m3 - Crypt of Decay"),
            QStringLiteral("e2m4 - The Ebon Fortress"),
            QStringLiteral("e2m5 - The Wizard's Manse"),
            QStringLiteral("e2m6 - The Dismal Oubliette"),
            QStringLiteral("e2m7 - Underearth"),
            QStringLiteral("e3m1 - Termination Central"),
            QStringLiteral("e3m2 - The Vaults of Zin"),
            QStringLiteral("e3m3 - The Tomb of Terror"),
            QStringLiteral("e3m4 - Satan's Dark Delight"),
            QStringLiteral("e3m5 - Wind Tunnels"),
            QStringLiteral("e3m6 - Chambers of Torment"),
            QStringLiteral("e3m7 - The Haunted Halls"),
            QStringLiteral("e4m1 - The Sewage System"),
            QStringLiteral("e4m2 - The Tower of Despair"),
            QStringLiteral("e4m3 - The Elder God Shrine"),
            QStringLiteral("e4m4 - The Palace of Hate"),
            QStringLiteral("e4m5 - Hell's Atrium"),
            QStringLiteral("e4m6 - The Pain Maze"),
            QStringLiteral("e4m7 - Azure Agony"),
            QStringLiteral("e4m8 - The Nameless City"),
            QStringLiteral("end - Shub-Niggurath's Pit"),
            QStringLiteral("dm1 - Place of Two Deaths"),
            QStringLiteral("dm2 - Claustrophobopolis"),
            QStringLiteral("dm3 - The Abandoned Base"),
            QStringLiteral("dm4 - The Bad Place"),
            QStringLiteral("dm5 - The Cistern"),
            QStringLiteral("dm6 - The Dark Zone")};
}

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabGeneral"));
    comboExecutables = Named(new SortedComboBox(this), QStringLiteral("comboExecutables"));
    labExecutable = MakeLabel(this, QStringLiteral("labExecutable"), QStringLiteral("Executable:"),
                              comboExecutables);

    QWidget* patch = BuildPatchGroup();
    QWidget* map = BuildMapGroup();
    QWidget* skill = BuildSkillGroup();
    QWidget* demos = BuildDemoGroup();
    BuildParamGroup();

    cbNoAutoAim = MakeCheck(this, QStringLiteral("cbNoAutoAim"), QStringLiteral("No auto-aiming"),
                            QStringLiteral("Sets the SV_AIM-variable to \"1\" if checked."));
    buSoundSettings =
        MakeButton(this, QStringLiteral("buSoundSettings"), QStringLiteral("&Sound-settings"));
    buNetSettings =
        MakeButton(this, QStringLiteral("buNetSettings"), QStringLiteral("&Network-settings"));
    buWinSettings =
        MakeButton(this, QStringLiteral("buWinSettings"), QStringLiteral("&Win memory-settings"));
    buTrouble = MakeButton(this, QStringLiteral("buTrouble"), QStringLiteral("&Troubleshooting"));

    auto* executable = new QHBoxLayout;
    executable->addWidget(labExecutable);
    executable->addWidget(comboExecutables, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(executable);
    left->addWidget(patch);
    left->addWidget(map);
    left->addWidget(skill);
    left->addWidget(cbNoAutoAim);
    left->addStretch();

    auto* right = new QVBoxLayout;
    right->addWidget(demos);
    right->addWidget(GroupParams, 1);

    auto* dialogs = new QGridLayout;
    dialogs->addWidget(buSoundSettings, 0, 0);
    dialogs->addWidget(buNetSettings, 0, 1);
    dialogs->addWidget(buWinSettings, 1, 0);
    dialogs->addWidget(buTrouble, 1, 1);
    right->addLayout(dialogs);

    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 1);
    page->addLayout(right, 1);
}

QWidget* GeneralPage::BuildPatchGroup() {
    GroupPatch = MakeTitledGroup(this, QStringLiteral("GroupPatch"), QStringLiteral("Game patch"));
    comboPatch = MakeHistoryCombo(GroupPatch, QStringLiteral("comboPatch"),
                                  QStringLiteral("Directory of patch being used."), 20);
    buSelectPatch = MakeButton(GroupPatch, QStringLiteral("buSelectPatch"),
                               QStringLiteral("browse for &patch"));
    return StackOverStandIn(
        this, LayOutComboRow(GroupPatch, comboPatch, buSelectPatch), labNoPatch,
        QStringLiteral("labNoPatch"),
        QStringLiteral(
            "The current Plug-In doesn't allow patch-changing or has an own routine for it."));
}

QWidget* GeneralPage::BuildMapGroup() {
    GroupMap = MakeTitledGroup(this, QStringLiteral("GroupMap"), QStringLiteral("Map"));
    comboMap = Named(new QComboBox(GroupMap), QStringLiteral("comboMap"),
                     QStringLiteral("Type in a map or select one from the drop-down list."));
    comboMap->setEditable(true);
    comboMap->setInsertPolicy(QComboBox::NoInsert);
    comboMap->addItems(StandardMaps());
    comboMap->setEditText(kNone);
    comboMap->setMaxVisibleItems(16);
    InstallMapBoxFilter(*comboMap);
    buBrowseMap = MakeBrowseButton(GroupMap, QStringLiteral("buBrowseMap"),
                                   QStringLiteral("Browse for user-created maps."));
    return StackOverStandIn(
        this, LayOutComboRow(GroupMap, comboMap, buBrowseMap), labNoMap, QStringLiteral("labNoMap"),
        QStringLiteral(
            "The current Plug-In doesn't allow map-changing or has an own routine for it."));
}

QWidget* GeneralPage::BuildSkillGroup() {
    groupSkill = MakeTitledGroup(this, QStringLiteral("groupSkill"), QStringLiteral("Skill level"));
    groupSkill->setToolTip(QStringLiteral("Select desired skill."));
    rbSkill0 = MakeRadio(groupSkill, QStringLiteral("rbSkill0"), QStringLiteral("&Easy"), 0);
    rbSkill1 = MakeRadio(groupSkill, QStringLiteral("rbSkill1"), QStringLiteral("N&ormal"), 1);
    rbSkill2 = MakeRadio(groupSkill, QStringLiteral("rbSkill2"), QStringLiteral("&Hard"), 2);
    rbSkill3 = MakeRadio(groupSkill, QStringLiteral("rbSkill3"), QStringLiteral("N&ightmare!"), 3);
    auto* grid = new QGridLayout(groupSkill);
    grid->addWidget(rbSkill0, 0, 0);
    grid->addWidget(rbSkill1, 0, 1);
    grid->addWidget(rbSkill2, 1, 0);
    grid->addWidget(rbSkill3, 1, 1);
    UseNormalFontInside(groupSkill);
    rbSkill3->setFont(BoldItalic(rbSkill3->font()));
    rbSkill1->setChecked(true);
    return StackOverStandIn(
        this, groupSkill, labNoSkill, QStringLiteral("labNoSkill"),
        QStringLiteral(
            "The current Plug-In doesn't allow skill-changing or has an own routine for it."));
}

QWidget* GeneralPage::BuildDemoGroup() {
    groupDemos = MakeTitledGroup(this, QStringLiteral("groupDemos"), QStringLiteral("Demos"));
    cbRecord = MakeCheck(groupDemos, QStringLiteral("cbRecord"), QStringLiteral("Record"),
                         QStringLiteral("Record a new demo."));
    cbPlayback = MakeCheck(groupDemos, QStringLiteral("cbPlayback"), QStringLiteral("Pla&yback"),
                           QStringLiteral("Playback an existing demo."));
    comboDemo = MakeHistoryCombo(
        groupDemos, QStringLiteral("comboDemo"),
        QStringLiteral("Type a demo-name or select one from the drop-down list."), 20);
    buBrowseDemo = MakeBrowseButton(groupDemos, QStringLiteral("buBrowseDemo"));
    buBrowseDemo->setAccessibleName(QStringLiteral("Browse for a demo in id1"));
    buBrowseDemo->setToolTip(QStringLiteral("Browse for a demo in the id1-directory."));
    buBrowsePatchDemo = MakeBrowseButton(groupDemos, QStringLiteral("buBrowsePatchDemo"));
    buBrowsePatchDemo->setAccessibleName(QStringLiteral("Browse for a demo of the patch"));
    buBrowsePatchDemo->setToolTip(QStringLiteral("Browse for a demo in the patch-directory."));
    EnableAll({comboDemo, buBrowseDemo, buBrowsePatchDemo}, false);
    auto* grid = new QGridLayout(groupDemos);
    grid->addWidget(cbRecord, 0, 0);
    grid->addWidget(cbPlayback, 0, 1, 1, 3);
    grid->addWidget(comboDemo, 1, 0, 1, 2);
    grid->addWidget(buBrowseDemo, 1, 2);
    grid->addWidget(buBrowsePatchDemo, 1, 3);
    grid->setColumnStretch(1, 1);
    UseNormalFontInside(groupDemos);
    return StackOverStandIn(
        this, groupDemos, labNoDemos, QStringLiteral("labNoDemos"),
        QStringLiteral(
            "The current Plug-In doesn't allow demo-handling or has an own routine for it."));
}

void GeneralPage::BuildParamGroup() {
    GroupParams =
        MakeTitledGroup(this, QStringLiteral("GroupParams"), QStringLiteral("additional Params"));
    std::tie(labAddParams, edAddParams, lbAddParams, buAPAdd, buAPChange, buAPRemove, MvUp, MvDn) =
        BuildParamListEditor(
            GroupParams,
            {QStringLiteral("labAddParams"), QStringLiteral("edAddParams"),
             QStringLiteral("lbAddParams"),
             QStringLiteral("Your additional parameters are placed here."),
             QStringLiteral("buAPAdd"), QStringLiteral("buAPChange"), QStringLiteral("buAPRemove"),
             QStringLiteral("MvUp"), QStringLiteral("MvDn")})
            .Tuple();
    UseNormalFontInside(GroupParams);
}

}  // namespace fenmar::ui
