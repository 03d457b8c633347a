#include "ui/window/ActionBar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets/Controls.h"

namespace fenmar::ui {

ActionButtons::ActionButtons(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ActionButtons"));
    buRunQuake = MakeButton(this, QStringLiteral("buRunQuake"), QStringLiteral("run &Quake !"));
    buRunQuake->setFont(BoldItalic(font(), 1.7));
    buRunQuake->setMinimumHeight(std::max(buRunQuake->sizeHint().height(), 56));
    buRunQuake->setEnabled(false);
    buRunQuake->setDefault(true);
    buExit = MakeButton(this, QStringLiteral("buExit"), QStringLiteral("E&xit Fenmar"));
    buExit->setMinimumHeight(std::max(buExit->sizeHint().height(), 36));
    buAddOns = MakeButton(this, QStringLiteral("buAddOns"), QStringLiteral("Add-ons..."),
                          QStringLiteral("Browse, install and play maps and mods of the "
                                         "community catalogue"));
    auto* side = new QVBoxLayout;
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(buExit);
    side->addWidget(buAddOns);
    side->addStretch(1);
    auto* row = new QGridLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(buRunQuake, 0, 0);
    row->addLayout(side, 0, 1);
    row->setColumnStretch(0, 240);
    row->setColumnStretch(1, 225);
}

CommandLineRow::CommandLineRow(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CommandLineRow"));
    const QString tip =
        QStringLiteral("This represents the commandline, how quake will be executed.");
    labCommandLine =
        MakeLabel(this, QStringLiteral("labCommandLine"), QStringLiteral("Commandline:"));
    labCommandLine->setFont(BoldItalic(font()));
    labCommandLine->setToolTip(tip);
    edCommandLine = MakeEdit(this, QStringLiteral("edCommandLine"), QString(), tip);
    edCommandLine->setReadOnly(true);
    buEvalCmdLine = MakeButton(
        this, QStringLiteral("buEvalCmdLine"), QStringLiteral("evaluate"),
        QStringLiteral(
            "Press this button to preview the commandline, how quake will be executed."));
    labConfigLines = Named(new QLabel(this), QStringLiteral("labConfigLines"));
    labConfigLines->setTextFormat(Qt::PlainText);
    labConfigLines->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    labConfigLines->hide();
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(labCommandLine, 0, 0);
    grid->addWidget(edCommandLine, 0, 1);
    grid->addWidget(buEvalCmdLine, 0, 2);
    grid->addWidget(labConfigLines, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
}

}  // namespace fenmar::ui
