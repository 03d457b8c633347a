#pragma once
// The Quick-Set bar above the pages: the chooser of saved Quick-Sets and its three buttons.

#include <QFrame>

class QLabel;
class QPushButton;

namespace fenmar::ui {

class SortedComboBox;

class QuickSetBar : public QFrame {
    Q_OBJECT
public:
    explicit QuickSetBar(QWidget* parent = nullptr);

    QLabel* labQuickSet;
    SortedComboBox* comboQuickSet;
    QPushButton* buQuickSaveAs;
    QPushButton* buQuickRenameTo;
    QPushButton* buQuickDelete;
};

}  // namespace fenmar::ui
