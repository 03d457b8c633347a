#pragma once
// The editor of a parameter list, built alike for the additional and the global parameters:
// a label and an edit above a list box, the add/change/remove buttons and two arrows.

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace fenmar::ui {

struct ParamListNames {
    QString label, edit, list, listTip, add, change, remove, up, down;
};

struct ParamListControls {
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
    QListWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* change = nullptr;
    QPushButton* remove = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;
};

// Fills `group` with the editor's controls and gives it their layout.
ParamListControls BuildParamListEditor(QGroupBox* group, const ParamListNames& names);

}  // namespace fenmar::ui
