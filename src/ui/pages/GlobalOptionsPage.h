#pragma once
// The "Global options" page: Quake and patch directories, global parameters, the companion
// program and the deletion of CONFIG.CFG files. Controls public, named as their objectName.

#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class GlobalOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit GlobalOptionsPage(QWidget* parent = nullptr);

    QLabel* labGlobalNote;

    QGroupBox* groupDirs;
    QLabel* labQuakePath;
    QLineEdit* edQuakePath;
    QToolButton* buBrowseForQuakeFolder;
    QLabel* labPatchPath;
    QLineEdit* edPatchPath;
    QToolButton* buBrowseForPatchFolder;

    QGroupBox* groupGlobalParams;
    QLabel* labGlobalParams;
    QLineEdit* edGlobalParams;
    QListWidget* lbGlobalParams;
    QPushButton* buGPAdd;
    QPushButton* buGPChange;
    QPushButton* buGPRemove;
    QToolButton* buGPMvUp;
    QToolButton* buGPMvDn;

    QGroupBox* groupQSpy;
    QLineEdit* edQSpy;
    QToolButton* buBrowseQSpy;

    QGroupBox* groupDeleteConfigs;
    QLabel* labDeleteWarning;
    QLabel* labWhere;
    QLabel* labWhen;
    QCheckBox* cbDelInID1Dir;
    QCheckBox* cbDelInPatchDir;
    QCheckBox* cbDelOnLaunch;
    QCheckBox* cbDelOnExit;

private:
    void BuildDirectories();
    void BuildGlobalParams();
    void BuildQSpy();
    void BuildDeleteConfigs();
};

}  // namespace fenmar::ui
