#pragma once
// The "Options" page: command-line or config-file mode and the program's behaviour on launch.
// Controls public, named as their objectName.

#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class OptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit OptionsPage(QWidget* parent = nullptr);

    QGroupBox* groupStartingOptions;
    QLabel* labWriteParams;
    QRadioButton* rbCmdLine;
    QRadioButton* rbConfigFile;
    QLineEdit* edConfigFile;
    QToolButton* buBrowseConfigFile;
    QLabel* labConfigFileNote;

    QGroupBox* groupFenmarBehave;
    QCheckBox* cbCloseOnExec;
    QCheckBox* cbIgnoreGlobalParams;
};

}  // namespace fenmar::ui
