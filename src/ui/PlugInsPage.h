#pragma once
// The "Plug-Ins" page: the list of plug-ins found, the plug-in directory, the view-style
// buttons and the refresh button. Controls public, named as their objectName.

#include <QWidget>

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace fenmar::ui {

class ListView;

class PlugInsPage : public QWidget {
    Q_OBJECT
public:
    explicit PlugInsPage(QWidget* parent = nullptr);

    ListView* lvPlugIns;
    QFrame* Panel2;
    QLabel* labPlugInDir;
    QToolButton* buIcons;
    QToolButton* buSmlIcons;
    QToolButton* buList;
    QToolButton* buDetails;
    QButtonGroup* viewStyleButtons;  // the four view buttons; ids are their tags
    QPushButton* buRefreshPlugIns;
};

}  // namespace fenmar::ui
