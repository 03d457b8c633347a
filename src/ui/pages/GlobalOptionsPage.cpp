#include "ui/pages/GlobalOptionsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

#include "ui/widgets/Controls.h"
#include "ui/widgets/ParamListEditor.h"

namespace fenmar::ui {

namespace {
// The caption "lab<kind>Path" above the edit "ed<kind>Path" and its folder button
// "buBrowseFor<kind>Folder", in rows `row` and `row` + 1.
std::tuple<QLabel*, QLineEdit*, QToolButton*> AddFolderRow(QGridLayout& grid, int row,
                                                           const QString& kind,
                                                           const QString& caption,
                                                           const QString& tip,
                                                           const QString& accessibleName) {
    QWidget* group = grid.parentWidget();
    QLineEdit* edit = MakeEdit(group, QStringLiteral("ed%1Path").arg(kind), QString(), tip);
    QLabel* label = MakeLabel(group, QStringLiteral("lab%1Path").arg(kind), caption, edit);
    QToolButton* browse = MakeBrowseButton(group, QStringLiteral("buBrowseFor%1Folder").arg(kind));
    browse->setAccessibleName(accessibleName);
    grid.addWidget(label, row, 0, 1, 2);
    grid.addWidget(edit, row + 1, 0);
    grid.addWidget(browse, row + 1, 1);
    return {label, edit, browse};
}
}  // namespace

GlobalOptionsPage::GlobalOptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabGlobalOptions"));
    labGlobalNote =
        MakeLabel(this, QStringLiteral("labGlobalNote"),
                  QStringLiteral("These options are the same for every quick-set and plug-in."));
    BuildDirectories();
    BuildGlobalParams();
    BuildQSpy();
    BuildDeleteConfigs();

    auto* left = new QVBoxLayout;
    left->addWidget(groupDirs);
    left->addWidget(groupGlobalParams, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(groupQSpy);
    right->addWidget(groupDeleteConfigs, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* page = new QVBoxLayout(this);
    page->addWidget(labGlobalNote);
    page->addLayout(columns, 1);
}

void GlobalOptionsPage::BuildDirectories() {
    groupDirs = MakeGroup(this, QStringLiteral("groupDirs"), QStringLiteral("Directories"));
    auto* grid = new QGridLayout(groupDirs);
    std::tie(labQuakePath, edQuakePath, buBrowseForQuakeFolder) =
        AddFolderRow(*grid, 0, QStringLiteral("Quake"), QStringLiteral("&Quake-directory:"),
                     QStringLiteral("The directory containing the Quake-executable."),
                     QStringLiteral("Browse for the Quake-directory"));
    std::tie(labPatchPath, edPatchPath, buBrowseForPatchFolder) =
        AddFolderRow(*grid, 2, QStringLiteral("Patch"), QStringLiteral("&Patch-directory:"),
                     QStringLiteral("The directory containing your patch-subdirectories."),
                     QStringLiteral("Browse for the patch-directory"));
}

void GlobalOptionsPage::BuildGlobalParams() {
    groupGlobalParams =
        MakeGroup(this, QStringLiteral("groupGlobalParams"), QStringLiteral("Global params"));
    std::tie(labGlobalParams, edGlobalParams, lbGlobalParams, buGPAdd, buGPChange, buGPRemove,
             buGPMvUp, buGPMvDn) =
        BuildParamListEditor(
            groupGlobalParams,
            {QStringLiteral("labGlobalParams"), QStringLiteral("edGlobalParams"),
             QStringLiteral("lbGlobalParams"),
             QStringLiteral(
                 "Use global parameters for commands that are used with each Quick-Set."),
             QStringLiteral("buGPAdd"), QStringLiteral("buGPChange"), QStringLiteral("buGPRemove"),
             QStringLiteral("buGPMvUp"), QStringLiteral("buGPMvDn")})
            .Tuple();
}

void GlobalOptionsPage::BuildQSpy() {
    groupQSpy = MakeGroup(this, QStringLiteral("groupQSpy"), QStringLiteral("QSpy-executable"));
    edQSpy = MakeEdit(
        groupQSpy, QStringLiteral("edQSpy"), QStringLiteral("qw.exe"),
        QStringLiteral("This program is executed, when you press the \"launch QSpy\"-button."));
    buBrowseQSpy = MakeBrowseButton(groupQSpy, QStringLiteral("buBrowseQSpy"));
    buBrowseQSpy->setAccessibleName(QStringLiteral("Browse for the QSpy-executable"));
    auto* row = new QHBoxLayout(groupQSpy);
    row->addWidget(edQSpy, 1);
    row->addWidget(buBrowseQSpy);
}

void GlobalOptionsPage::BuildDeleteConfigs() {
    groupDeleteConfigs = MakeGroup(this, QStringLiteral("groupDeleteConfigs"),
                                   QStringLiteral("Delete CONFIG.CFGs ..."));
    QWidget* g = groupDeleteConfigs;
    labDeleteWarning = MakeLabel(g, QStringLiteral("labDeleteWarning"),
                                 QStringLiteral("WARNING: Just change the following options, if "
                                                "you are absolutely sure about what you do !"));
    labDeleteWarning->setWordWrap(true);
    labWhere = MakeLabel(g, QStringLiteral("labWhere"), QStringLiteral("where?"));
    labWhen = MakeLabel(g, QStringLiteral("labWhen"), QStringLiteral("when?"));
    for (QLabel* l : {labWhere, labWhen}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    cbDelInID1Dir =
        MakeCheck(g, QStringLiteral("cbDelInID1Dir"), QStringLiteral("... in the ID1-directory"),
                  QStringLiteral("Delete CONFIG.CFGs in the \"quake\\id1\"-directory."));
    cbDelInPatchDir = MakeCheck(
        g, QStringLiteral("cbDelInPatchDir"), QStringLiteral("... in the patch-directory"),
        QStringLiteral("Delete CONFIG.CFGs in the current patch-directory."));
    cbDelOnLaunch =
        MakeCheck(g, QStringLiteral("cbDelOnLaunch"), QStringLiteral("... on launching Quake"),
                  QStringLiteral("Delete CONFIG.CFGs when launching Quake."));
    cbDelOnExit =
        MakeCheck(g, QStringLiteral("cbDelOnExit"), QStringLiteral("... on exiting Fenmar"),
                  QStringLiteral("Delete CONFIG.CFGs when exiting Fenmar."));
    SetTag(cbDelInID1Dir, 1);
    SetTag(cbDelInPatchDir, 2);
    SetTag(cbDelOnLaunch, 4);
    SetTag(cbDelOnExit, 8);
    cbDelOnLaunch->setEnabled(false);
    cbDelOnExit->setEnabled(false);
    auto* column = new QVBoxLayout(g);
    column->addWidget(labDeleteWarning);
    column->addWidget(labWhere);
    column->addWidget(cbDelInID1Dir);
    column->addWidget(cbDelInPatchDir);
    column->addWidget(labWhen);
    column->addWidget(cbDelOnLaunch);
    column->addWidget(cbDelOnExit);
    column->addStretch();
}

}  // namespace fenmar::ui
