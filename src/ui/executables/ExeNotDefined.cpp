#include "ui/executables/ExeNotDefined.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/widgets/Controls.h"
#include "ui/widgets/DialogFlags.h"

namespace fenmar::ui {

TExeNotDefined::TExeNotDefined(AppContext& context, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), context_(context) {
    setObjectName(QStringLiteral("ExeNotDefined"));
    setWindowTitle(QStringLiteral("Executable not defined..."));
    labExplanation = MakeLabel(
        this, QStringLiteral("labExplanation"),
        QStringLiteral("One of your plug-ins or Quick-Sets requires an unknown executable. Please "
                       "enter a description for it or press cancel to select the "
                       "default-executable QUAKE.EXE for it."));
    labExplanation->setWordWrap(true);
    labExplanation->setAlignment(Qt::AlignCenter);
    edExe = MakeEdit(this, QStringLiteral("edExe"), QString());
    edExe->setReadOnly(true);
    edExe->setBackgroundRole(QPalette::Button);
    QPalette face = edExe->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    edExe->setPalette(face);
    labExe = MakeLabel(this, QStringLiteral("labExe"), QStringLiteral("&Executable:"), edExe);
    edDescr = MakeEdit(this, QStringLiteral("edDescr"), QString());
    labDescr =
        MakeLabel(this, QStringLiteral("labDescr"), QStringLiteral("&Description:"), edDescr);
    buOK = MakeButton(this, QStringLiteral("buOK"), QStringLiteral("&OK"));
    buOK->setDefault(true);
    buCancel = MakeButton(this, QStringLiteral("buCancel"), QStringLiteral("&Cancel"));
    connect(buOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(labExplanation, 0, 0, 1, 4);
    grid->addWidget(labExe, 1, 0);
    grid->addWidget(edExe, 1, 1);
    grid->addWidget(labDescr, 2, 0);
    grid->addWidget(edDescr, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(buOK);
    buttons->addWidget(buCancel);
    grid->addLayout(buttons, 1, 2, 2, 1);
    grid->setColumnStretch(1, 1);
    layout()->activate();
    setFixedSize(sizeHint().expandedTo(QSize(357, 96)));
}

void TExeNotDefined::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edDescr->setFocus();
    CentreOnScreen(*this);
}

}  // namespace fenmar::ui
