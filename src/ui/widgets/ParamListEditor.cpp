#include "ui/widgets/ParamListEditor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/widgets/Controls.h"
#include "ui/widgets/LocalText.h"

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

namespace fenmar::ui {

ParamListController::ParamListController(const ParamListControls& controls, QObject* parent)
    : QObject(parent), c_(controls) {
    connect(c_.edit, &QLineEdit::textChanged, this, &ParamListController::EditChange);
    connect(c_.list, &QListWidget::currentRowChanged, this, &ParamListController::EntrySelected);
    // A click on the entry that is already current selects it again: its text comes back.
    connect(c_.list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { EntrySelected(c_.list->row(item)); });
    connect(c_.add, &QPushButton::clicked, this, &ParamListController::AddClick);
    connect(c_.change, &QPushButton::clicked, this, &ParamListController::ChangeClick);
    connect(c_.remove, &QPushButton::clicked, this, &ParamListController::RemoveClick);
    connect(c_.up, &QToolButton::clicked, this, &ParamListController::MoveUpClick);
    connect(c_.down, &QToolButton::clicked, this, &ParamListController::MoveDownClick);
    c_.list->installEventFilter(this);
    c_.edit->installEventFilter(this);
}

std::vector<std::string> ParamListController::Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < c_.list->count(); ++i) {
        entries.push_back(c_.list->item(i)->text().toLocal8Bit().toStdString());
    }
    return entries;
}

void ParamListController::SetEntries(const std::vector<std::string>& entries) {
    {
        const QSignalBlocker quiet(c_.list);
        c_.list->clear();
    }
    AppendEntries(entries);
}

void ParamListController::AppendEntries(const std::vector<std::string>& entries) {
    const QSignalBlocker quiet(c_.list);
    for (const std::string& entry : entries) {
        c_.list->addItem(FromLocal(entry));
    }
    c_.list->setCurrentRow(-1);
}

void ParamListController::EditChange() {
    const bool text = !c_.edit->text().isEmpty();
    c_.add->setEnabled(text);
    if (c_.list->currentRow() >= 0) {
        c_.change->setEnabled(text);
    }
}

void ParamListController::EntrySelected(int row) {
    if (row < 0 || row >= c_.list->count()) {
        return;
    }
    c_.edit->setText(c_.list->item(row)->text());
    c_.remove->setEnabled(true);
}

void ParamListController::AddClick() {
    const QString text = c_.edit->text();
    if (text.isEmpty()) {
        return;
    }
    {
        const QSignalBlocker quiet(c_.list);
        c_.list->addItem(text);
    }
    c_.edit->clear();
}

void ParamListController::ChangeClick() {
    const int row = c_.list->currentRow();
    if (row < 0) {
        return;
    }
    c_.list->item(row)->setText(c_.edit->text());
    c_.edit->clear();
    c_.change->setEnabled(false);
}

void ParamListController::RemoveClick() {
    const int row = c_.list->currentRow();
    if (row >= 0) {
        // Nothing is selected afterwards: a further press removes nothing.
        const QSignalBlocker quiet(c_.list);
        delete c_.list->takeItem(row);
        c_.list->setCurrentRow(-1);
        c_.list->clearSelection();
    }
    if (c_.list->count() == 0) {
        c_.remove->setEnabled(false);
        c_.change->setEnabled(false);
    }
    c_.edit->clear();
}

void ParamListController::MoveEntry(int row, int to) {
    const QSignalBlocker quiet(c_.list);
    QListWidgetItem* item = c_.list->takeItem(row);
    c_.list->insertItem(to, item);
    c_.list->setCurrentRow(to);
}

void ParamListController::MoveUpClick() {
    const int row = c_.list->currentRow();
    if (row > 0) {
        MoveEntry(row, row - 1);
    }
}

void ParamListController::MoveDownClick() {
    const int row = c_.list->currentRow();
    if (row >= 0 && row < c_.list->count() - 1) {
        MoveEntry(row, row + 1);
    }
}

bool ParamListController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == c_.list && key == Qt::Key_Delete) {
        RemoveClick();
        return true;
    }
    // Return in the edit adds its text as the add button does, when that button would.
    if (watched == c_.edit && (key == Qt::Key_Return || key == Qt::Key_Enter) &&
        c_.add->isEnabled()) {
        AddClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace fenmar::ui
