#include "ui/quicksets/QuickSetDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "core/QuickSetLayout.h"
#include "ui/widgets/Controls.h"
#include "ui/widgets/DialogFlags.h"
#include "ui/widgets/StoredTextLimit.h"

namespace fenmar::ui {

QuickSetNameDialog::QuickSetNameDialog(AppContext& context, const QString& caption,
                                       const QString& prompt, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), context_(context) {
    setWindowTitle(caption);
    edQuickSet = MakeEdit(this, QStringLiteral("edQuickSet"), QString());
    LimitStoredText(edQuickSet);  // a key name holds at most 255 bytes
    labQuickSet = MakeLabel(this, QStringLiteral("labQuickSet"), prompt, edQuickSet);
    buOK = MakeButton(this, QStringLiteral("buOK"), QStringLiteral("&OK"));
    buOK->setDefault(true);
    buCancel = MakeButton(this, QStringLiteral("buCancel"), QStringLiteral("&Cancel"));
    connect(buOK, &QPushButton::clicked, this, [this] { buOKClick(); });
    connect(buCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buOK);
    buttons->addWidget(buCancel);
    auto* grid = new QGridLayout(this);
    grid->addWidget(labQuickSet, 0, 0);
    grid->addWidget(edQuickSet, 0, 1);
    grid->addLayout(buttons, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout()->activate();
    setFixedSize(sizeHint().expandedTo(QSize(390, 78)));
}

void QuickSetNameDialog::buOKClick() {
    if (NameUsable()) {
        accept();
    }
}

bool QuickSetNameDialog::NameUsable() {
    const std::string problem = QuickSetNameProblem(edQuickSet->text().toLocal8Bit().toStdString());
    if (problem.empty()) {
        return true;
    }
    context_.ui.ShowMessage(QString::fromStdString(problem), windowTitle(), MessageIcon::Warning);
    edQuickSet->setFocus();
    return false;
}

void QuickSetNameDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edQuickSet->setFocus();
    CentreOnScreen(*this);
}

TQuickSaveAs::TQuickSaveAs(AppContext& context, QWidget* parent)
    : QuickSetNameDialog(context, QStringLiteral("Fenmar - save Quick-Set"),
                         QStringLiteral("&save Quick-Set as:"), parent) {
    setObjectName(QStringLiteral("QuickSaveAs"));
}

TQuickRenameTo::TQuickRenameTo(AppContext& context, QWidget* parent)
    : QuickSetNameDialog(context, QStringLiteral("Fenmar - rename Quick-Set"),
                         QStringLiteral("&rename Quick-Set to:"), parent) {
    setObjectName(QStringLiteral("QuickRenameTo"));
}

void TQuickRenameTo::buOKClick() {
    if (!NameUsable()) {
        return;
    }
    const QString name = edQuickSet->text();
    if (!name.isEmpty() && nameTaken_ && nameTaken_(name)) {
        const MessageResult answer = Context().ui.ShowMessage(
            MessageRequest{QStringLiteral("Really overwrite \"") + name + QStringLiteral("\" ?"),
                           QStringLiteral("QuickSet already exists!"), MessageIcon::Question,
                           MessageButtons::OkCancel, MessageResult::Cancel});
        if (answer != MessageResult::Ok) {
            return;  // the user may edit the name or cancel
        }
    }
    accept();
}

}  // namespace fenmar::ui
