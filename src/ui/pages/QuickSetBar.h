#pragma once
// The Quick-Set bar above the pages: the chooser of saved Quick-Sets and its three buttons.

#include <QFrame>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class QuickSetBar : public QFrame {
    Q_OBJECT
public:
    explicit QuickSetBar(QWidget* parent = nullptr);

    QLabel* labQuickSet;
    SortedComboBox* comboQuickSet;
    QPushButton* buQuickSaveAs;
    QPushButton* buQuickRenameTo;
    QPushButton* buQuickDelete;
    // "create desktop shortcut...": the bar's context menu (ui/shortcuts does the work).
    QAction* miCreateShortcut;
};

}  // namespace fenmar::ui
