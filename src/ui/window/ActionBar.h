#pragma once
// The rows below the pages: the two action buttons and the command-line row.

#include <QWidget>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class ActionButtons : public QWidget {
    Q_OBJECT
public:
    explicit ActionButtons(QWidget* parent = nullptr);

    QPushButton* buRunQuake;  // disabled until a Quake directory is known
    QPushButton* buExit;
    QPushButton* buAddOns;  // opens the Add-ons window
};

class CommandLineRow : public QWidget {
    Q_OBJECT
public:
    explicit CommandLineRow(QWidget* parent = nullptr);

    QLabel* labCommandLine;
    QLineEdit* edCommandLine;
    QPushButton* buEvalCmdLine;
    // In config-file mode: the config file's lines under the line; hidden otherwise.
    QLabel* labConfigLines;
};

}  // namespace fenmar::ui
