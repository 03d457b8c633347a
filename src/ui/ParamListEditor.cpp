#include "ui/ParamListEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Controls.h"

namespace fenmar::ui {

ParamListControls BuildParamListEditor(QGroupBox* group, const ParamListNames& n) {
    ParamListControls c;
    c.edit = MakeEdit(group, n.edit, QString());
    c.label = MakeLabel(group, n.label, QStringLiteral("enter p&aram:"), c.edit);
    c.list = Named(new QListWidget(group), n.list, n.listTip);
    c.list->setMinimumHeight(48);
    c.add = MakeButton(group, n.add, QStringLiteral("a&dd"), QStringLiteral("Add param to list."));
    c.change =
        MakeButton(group, n.change, QStringLiteral("&change"),
                   QStringLiteral("Exchange param in listbox with the one in the edit-box."));
    c.remove = MakeButton(group, n.remove, QStringLiteral("&remove"),
                          QStringLiteral("Remove param from list."));
    for (QPushButton* b : {c.add, c.change, c.remove}) {
        b->setEnabled(false);
    }
    c.up = Named(new QToolButton(group), n.up, QStringLiteral("Move param up."));
    c.up->setArrowType(Qt::UpArrow);
    c.up->setAccessibleName(QStringLiteral("Move up"));
    c.down = Named(new QToolButton(group), n.down, QStringLiteral("Move param down."));
    c.down->setArrowType(Qt::DownArrow);
    c.down->setAccessibleName(QStringLiteral("Move down"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(c.label, 0, 0);
    grid->addWidget(c.edit, 0, 1, 1, 2);
    grid->addWidget(c.list, 1, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(c.add);
    buttons->addWidget(c.change);
    buttons->addWidget(c.remove);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(c.up);
    arrows->addWidget(c.down);
    arrows->addStretch();
    buttons->addLayout(arrows);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
    return c;
}

}  // namespace fenmar::ui
