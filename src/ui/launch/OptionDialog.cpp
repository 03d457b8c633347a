#include "ui/launch/OptionDialog.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/Numbers.h"

namespace fenmar::ui {

// ---------------------------------------------------------------------------------------------
// TOptionDialog

TOptionDialog::TOptionDialog(AppContext& context, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      context_(context),
      body_(new QVBoxLayout),
      buOK_(new QPushButton(QStringLiteral("&OK"), this)),
      buCancel_(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setWindowTitle(caption);
    setModal(true);

    buOK_->setObjectName(QStringLiteral("buOK"));
    buOK_->setDefault(true);
    buCancel_->setObjectName(QStringLiteral("buCancel"));
    connect(buOK_, &QPushButton::clicked, this, &TOptionDialog::buOKClick);
    connect(buCancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(buOK_);
    buttons->addWidget(buCancel_);

    auto* main = new QVBoxLayout(this);
    main->addLayout(body_);
    main->addLayout(buttons);
    // Single border: the layout fixes the window at its natural size.
    main->setSizeConstraint(QLayout::SetFixedSize);
}

void TOptionDialog::FinishLayout() {
    adjustSize();
}

void TOptionDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        adjustSize();
        if (const QScreen* where = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(where->availableGeometry().center());
            move(frame.topLeft());
        }
        FormActivate();
    }
    QDialog::showEvent(event);
}

void TOptionDialog::buOKClick() {
    if (FormClose()) {
        accept();
    }
}

std::optional<int> TOptionDialog::ReadInteger(const QLineEdit& edit) {
    return ReadInteger(edit.text());
}

std::optional<int> TOptionDialog::ReadInteger(const QString& text) {
    const std::string typed = text.toStdString();
    if (const auto value = StrToInt(typed)) {
        return *value;
    }
    context_.ui.ShowMessage(QString::fromStdString(InvalidIntegerMessage(typed)), QString(),
                            MessageIcon::Error);
    return std::nullopt;
}

}  // namespace fenmar::ui
