#pragma once
// The "General" page: executable, game patch, map, skill, demos, additional parameters and
// the buttons of the option dialogs. Its controls are public, named as their objectName, so
// that the window's behaviour can be written apart from this layout.

#include <QStringList>
#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);

    // The maps of the game, as the map box offers them ("<none>" first).
    static QStringList StandardMaps();

    QLabel* labExecutable;
    SortedComboBox* comboExecutables;

    QGroupBox* GroupPatch;
    QComboBox* comboPatch;
    QPushButton* buSelectPatch;
    QLabel* labNoPatch;

    QGroupBox* GroupMap;
    QComboBox* comboMap;
    QToolButton* buBrowseMap;
    QLabel* labNoMap;

    QGroupBox* groupSkill;
    QRadioButton* rbSkill0;
    QRadioButton* rbSkill1;
    QRadioButton* rbSkill2;
    QRadioButton* rbSkill3;
    QLabel* labNoSkill;

    QGroupBox* groupDemos;
    QCheckBox* cbRecord;
    QCheckBox* cbPlayback;
    QComboBox* comboDemo;
    QToolButton* buBrowseDemo;
    QToolButton* buBrowsePatchDemo;
    QLabel* labNoDemos;

    QGroupBox* GroupParams;
    QLabel* labAddParams;
    QLineEdit* edAddParams;
    QListWidget* lbAddParams;
    QPushButton* buAPAdd;
    QPushButton* buAPChange;
    QPushButton* buAPRemove;
    QToolButton* MvUp;
    QToolButton* MvDn;

    QCheckBox* cbNoAutoAim;
    QPushButton* buSoundSettings;
    QPushButton* buNetSettings;
    QPushButton* buWinSettings;
    QPushButton* buTrouble;

private:
    QWidget* BuildPatchGroup();
    QWidget* BuildMapGroup();
    QWidget* BuildSkillGroup();
    QWidget* BuildDemoGroup();
    void BuildParamGroup();
};

}  // namespace fenmar::ui
