#include "ui/OptionDialog.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Numbers.h"

namespace fenmar::ui {

// ---------------------------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(QLineEdit* buddy, int minimum, int maximum, int step, QWidget* parent)
    : QWidget(parent),
      buddy_(buddy),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)),
      minimum_(minimum),
      maximum_(maximum),
      step_(step),
      position_(minimum) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setArrowType(arrow == up_ ? Qt::UpArrow : Qt::DownArrow);
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setFixedSize(16, 11);
        column->addWidget(arrow);
    }
    connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
    buddy_->installEventFilter(this);
    setToolTip(buddy_->toolTip());
}

int TUpDown::Position() const {
    if (const auto value = StrToInt(buddy_->text().toStdString())) {
        position_ = static_cast<int>(ClampToRange(*value, minimum_, maximum_));
    }
    return position_;
}

void TUpDown::StepBy(int steps) {
    const auto next =
        ClampToRange(std::int64_t{Position()} + std::int64_t{steps} * step_, minimum_, maximum_);
    position_ = static_cast<int>(next);
    buddy_->setText(QString::number(position_));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepBy(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

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
