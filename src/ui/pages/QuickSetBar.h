#pragma once
// The Quick-Set bar above the pages: the chooser of saved Quick-Sets and its three buttons.

#include <QFrame>
#include <string>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

class QuickSetBar : public QFrame {
    Q_OBJECT
public:
    explicit QuickSetBar(QWidget* parent = nullptr);

    // Adds a stored Quick-Set name in its sorted place and returns its row. A name the
    // system's encoding cannot show keeps its bytes with the row.
    int AddStoredName(const std::string& name);
    // The selected Quick-Set's name as the store holds it ("" when none is selected).
    std::string CurrentName() const;

    QLabel* labQuickSet;
    SortedComboBox* comboQuickSet;
    QPushButton* buQuickSaveAs;
    QPushButton* buQuickRenameTo;
    QPushButton* buQuickDelete;
    // "create desktop shortcut...": the bar's context menu (ui/shortcuts does the work).
    QAction* miCreateShortcut;
    QAction* miRemoveShortcut;  // "remove desktop shortcut..."
};

}  // namespace fenmar::ui
