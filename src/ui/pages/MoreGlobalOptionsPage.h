#pragma once
// The "...more global options" page: the editor of the named executables and the options of
// the map scan. Controls public, named as their objectName.

#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class MoreGlobalOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit MoreGlobalOptionsPage(QWidget* parent = nullptr);

    QGroupBox* GroupBox1;
    QLabel* labName;
    QLineEdit* edName;
    QLabel* labFile;
    QLineEdit* edFile;
    QToolButton* buBrowseExecutable;
    QPushButton* buAdd;
    QPushButton* buChangeTo;
    QPushButton* buDelete;
    QTreeWidget* lvExecutables;  // columns "Name" and "File", sorted by name
    QPushButton* buFindEngines;  // searches this computer for known engines

    QGroupBox* GroupBox2;
    QLabel* labFilesBelow;
    QLineEdit* edMinBSPSize;
    UpDown* udMinBSPSize;
    QLabel* labKB;
    QLabel* labNoValidMaps;
    QCheckBox* cbDontScanBSPMsgs;

private:
    void BuildExecutables();
    void BuildUserMaps();
};

}  // namespace fenmar::ui
