#include "ui/pages/OptionsPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/widgets/Controls.h"

namespace fenmar::ui {

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tabOptions"));
    groupStartingOptions = MakeGroup(this, QStringLiteral("groupStartingOptions"),
                                     QStringLiteral("Quake-starting-options"));
    QWidget* g = groupStartingOptions;
    labWriteParams =
        MakeLabel(g, QStringLiteral("labWriteParams"), QStringLiteral("write parameters to:"));
    rbCmdLine = MakeRadio(g, QStringLiteral("rbCmdLine"), QStringLiteral("c&ommand-line"), 0,
                          QStringLiteral("All parameters will be added to the command-line."));
    rbConfigFile = MakeRadio(
        g, QStringLiteral("rbConfigFile"), QStringLiteral("co&nfig-file:"), 1,
        QStringLiteral("All parameters that start with \"+\" will be written into a text-file."));
    rbConfigFile->setChecked(true);
    edConfigFile = MakeEdit(g, QStringLiteral("edConfigFile"), QStringLiteral("fenmar.cfg"),
                            QStringLiteral("Enter some name for the config-file."));
    buBrowseConfigFile = MakeBrowseButton(g, QStringLiteral("buBrowseConfigFile"));
    buBrowseConfigFile->setAccessibleName(QStringLiteral("Browse for a config-file"));
    auto* grid = new QGridLayout(groupStartingOptions);
    grid->addWidget(labWriteParams, 0, 0, 1, 3);
    grid->addWidget(rbCmdLine, 1, 0, 1, 3);
    grid->addWidget(rbConfigFile, 2, 0);
    grid->addWidget(edConfigFile, 2, 1);
    grid->addWidget(buBrowseConfigFile, 2, 2);
    grid->setColumnStretch(1, 1);

    labConfigFileNote = MakeLabel(
        this, QStringLiteral("labConfigFileNote"),
        QStringLiteral(
            "(use this, if you have many params or if you use a batch-file like Q95.BAT)"));
    labConfigFileNote->setWordWrap(true);

    groupFenmarBehave =
        MakeGroup(this, QStringLiteral("groupFenmarBehave"), QStringLiteral("Fenmar behaviour"));
    cbCloseOnExec = MakeCheck(groupFenmarBehave, QStringLiteral("cbCloseOnExec"),
                              QStringLiteral("Close Fenmar on executing Quake"),
                              QStringLiteral("Check this if Quake crashes and you think the reason "
                                             "is Fenmar."));
    cbIgnoreGlobalParams =
        MakeCheck(groupFenmarBehave, QStringLiteral("cbIgnoreGlobalParams"),
                  QStringLiteral("Ignore \"Global params\""),
                  QStringLiteral("Ignore \"global params\" in the \"global options\"-tab for this "
                                 "Quick-Set."));
    auto* column = new QVBoxLayout(groupFenmarBehave);
    column->addWidget(cbCloseOnExec);
    column->addWidget(cbIgnoreGlobalParams);

    auto* page = new QVBoxLayout(this);
    page->addWidget(groupStartingOptions);
    page->addWidget(labConfigFileNote);
    page->addSpacing(8);
    page->addWidget(groupFenmarBehave);
    page->addStretch();
}

}  // namespace fenmar::ui
