#include "ui/pages/MoreGlobalOptionsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/widgets/Controls.h"
#include "ui/widgets/UpDown.h"

namespace fenmar::ui {

MoreGlobalOptionsPage::MoreGlobalOptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabMoreGlobalOptions"));
    BuildExecutables();
    BuildUserMaps();
    auto* page = new QVBoxLayout(this);
    page->addWidget(GroupBox1, 1);
    page->addWidget(GroupBox2);
}

void MoreGlobalOptionsPage::BuildExecutables() {
    GroupBox1 =
        MakeGroup(this, QStringLiteral("GroupBox1"), QStringLiteral("configure executables"));
    QWidget* g = GroupBox1;
    edName = MakeEdit(g, QStringLiteral("edName"), QString(),
                      QStringLiteral("How do want to call your executable ?"));
    labName = MakeLabel(g, QStringLiteral("labName"), QStringLiteral("Name:"), edName);
    edFile = MakeEdit(g, QStringLiteral("edFile"), QString(),
                      QStringLiteral("The actual file that is executed."));
    labFile = MakeLabel(g, QStringLiteral("labFile"), QStringLiteral("File:"), edFile);
    buBrowseExecutable = MakeBrowseButton(g, QStringLiteral("buBrowseExecutable"),
                                          QStringLiteral("Browse for an executable."));
    buAdd = MakeButton(g, QStringLiteral("buAdd"), QStringLiteral("&add"),
                       QStringLiteral("Adds another executable to the list."));
    buChangeTo = MakeButton(g, QStringLiteral("buChangeTo"), QStringLiteral("&change to"),
                            QStringLiteral("Changes the selected executable to the one above."));
    buDelete = MakeButton(g, QStringLiteral("buDelete"), QStringLiteral("&delete"),
                          QStringLiteral("Removes the selected executable from the list."));
    EnableAll({buAdd, buChangeTo, buDelete}, false);
    buFindEngines =
        MakeButton(g, QStringLiteral("buFindEngines"), QStringLiteral("&find engines"),
                   QStringLiteral("Looks for Quake engines installed on this computer."));

    lvExecutables = Named(new QTreeWidget(g), QStringLiteral("lvExecutables"));
    lvExecutables->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("File")});
    lvExecutables->setRootIsDecorated(false);
    lvExecutables->setUniformRowHeights(true);
    lvExecutables->setAllColumnsShowFocus(true);
    lvExecutables->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvExecutables->setSelectionMode(QAbstractItemView::SingleSelection);
    lvExecutables->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvExecutables->header()->resizeSection(0, 153);
    lvExecutables->header()->resizeSection(1, 100);
    lvExecutables->header()->setStretchLastSection(true);
    lvExecutables->header()->setSectionsMovable(false);
    lvExecutables->setSortingEnabled(true);
    lvExecutables->sortByColumn(0, Qt::AscendingOrder);
    // Sorted by name at all times; a click on a heading changes nothing.
    lvExecutables->header()->setSectionsClickable(false);
    lvExecutables->header()->setSortIndicatorShown(false);

    auto* fields = new QGridLayout;
    fields->addWidget(labName, 0, 0);
    fields->addWidget(edName, 0, 1, 1, 2);
    fields->addWidget(labFile, 1, 0);
    fields->addWidget(edFile, 1, 1);
    fields->addWidget(buBrowseExecutable, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(buAdd);
    buttons->addWidget(buChangeTo);
    buttons->addWidget(buDelete);
    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(buttons);
    left->addWidget(buFindEngines, 0, Qt::AlignLeft);
    left->addStretch();
    auto* row = new QHBoxLayout(g);
    row->addLayout(left);
    row->addWidget(lvExecutables, 1);
}

void MoreGlobalOptionsPage::BuildUserMaps() {
    GroupBox2 = MakeGroup(this, QStringLiteral("GroupBox2"), QStringLiteral("user-maps"));
    QWidget* g = GroupBox2;
    edMinBSPSize = MakeEdit(g, QStringLiteral("edMinBSPSize"), QStringLiteral("20"));
    edMinBSPSize->setMaximumWidth(
        edMinBSPSize->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    udMinBSPSize = Named(new UpDown(g, 0, 100, 1, 20), QStringLiteral("udMinBSPSize"));
    udMinBSPSize->SetAssociate(edMinBSPSize);
    labFilesBelow =
        MakeLabel(g, QStringLiteral("labFilesBelow"), QStringLiteral("Files below"), edMinBSPSize);
    labKB = MakeLabel(g, QStringLiteral("labKB"), QStringLiteral("KB"));
    labNoValidMaps = MakeLabel(g, QStringLiteral("labNoValidMaps"),
                               QStringLiteral("...are no valid BSP map-files."));
    const QString tip = QStringLiteral("Just files below this size will be selectable as maps.");
    for (QWidget* w : {static_cast<QWidget*>(labFilesBelow), static_cast<QWidget*>(edMinBSPSize),
                       static_cast<QWidget*>(udMinBSPSize), static_cast<QWidget*>(labKB),
                       static_cast<QWidget*>(labNoValidMaps)}) {
        w->setToolTip(tip);
    }
    cbDontScanBSPMsgs = MakeCheck(
        g, QStringLiteral("cbDontScanBSPMsgs"), QStringLiteral("Don't scan map-descriptions"),
        QStringLiteral("Don't read \"message\"-descriptions from the BSP-files. This will "
                       "accellerate map-selecting."));
    auto* size = new QHBoxLayout;
    size->setSpacing(4);
    size->addWidget(labFilesBelow);
    size->addWidget(edMinBSPSize);
    size->addWidget(udMinBSPSize);
    size->addWidget(labKB);
    size->addWidget(labNoValidMaps);
    size->addStretch();
    auto* column = new QVBoxLayout(g);
    column->addLayout(size);
    column->addWidget(cbDontScanBSPMsgs);
}

}  // namespace fenmar::ui
