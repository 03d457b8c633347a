#include "ui/PlugInsPage.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/Artwork.h"
#include "ui/Controls.h"
#include "ui/ListView.h"

namespace fenmar::ui {

PlugInsPage::PlugInsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabPlugIns"));
    lvPlugIns = Named(new ListView(this), QStringLiteral("lvPlugIns"),
                      QStringLiteral("Double-click on a plug-in for usage."));
    lvPlugIns->SetColumns({{QStringLiteral("Name"), -1, Qt::AlignLeft},
                           {QStringLiteral("DLL"), 100, Qt::AlignRight},
                           {QStringLiteral("Version"), 60, Qt::AlignRight}});

    Panel2 = Named(new QFrame(this), QStringLiteral("Panel2"));
    labPlugInDir =
        MakeLabel(Panel2, QStringLiteral("labPlugInDir"), QStringLiteral("<Plug-In directory>"));
    labPlugInDir->setToolTip(QStringLiteral("This is the directory, where your plug-ins reside."));
    labPlugInDir->setMinimumWidth(40);
    labPlugInDir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    viewStyleButtons = new QButtonGroup(this);
    viewStyleButtons->setObjectName(QStringLiteral("viewStyleButtons"));
    viewStyleButtons->setExclusive(true);
    const struct {
        QToolButton** button;
        const char* name;
        const char* tip;
    } views[] = {{&buIcons, "buIcons", "Large Icons"},
                 {&buSmlIcons, "buSmlIcons", "Small Icons"},
                 {&buList, "buList", "List"},
                 {&buDetails, "buDetails", "Details"}};
    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(labPlugInDir, 1);
    int tag = 0;
    for (const auto& v : views) {
        auto* button =
            Named(new QToolButton(Panel2), QString::fromLatin1(v.name), QString::fromLatin1(v.tip));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(ViewStyleIcon(tag));
        button->setAccessibleName(button->toolTip());
        SetTag(button, tag);
        viewStyleButtons->addButton(button, tag);
        row->addWidget(button);
        *v.button = button;
        ++tag;
    }
    buIcons->setChecked(true);
    buRefreshPlugIns =
        MakeButton(Panel2, QStringLiteral("buRefreshPlugIns"), QStringLiteral("refresh (F5)"),
                   QStringLiteral("Checks for new or modified plug-ins."));
    row->addWidget(buRefreshPlugIns);

    auto* page = new QVBoxLayout(this);
    page->addWidget(lvPlugIns, 1);
    page->addWidget(Panel2);
}

}  // namespace fenmar::ui
