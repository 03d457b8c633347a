#include "ui/services/ChoiceDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenmar::ui {

std::optional<std::vector<int>> ShowChoiceDialog(const ChoiceRequest& request, QWidget* owner) {
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("choiceDialog"));
    dialog.setWindowTitle(request.title);
    auto* text = new QLabel(request.text, &dialog);
    text->setWordWrap(true);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lbChoices"));
    for (int i = 0; i < request.items.size(); ++i) {
        auto* item = new QListWidgetItem(request.items[i], list);
        item->setToolTip(request.items[i]);
        const bool ticked =
            std::find(request.ticked.begin(), request.ticked.end(), i) != request.ticked.end();
        if (request.multiple) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        } else if (ticked) {
            list->setCurrentItem(item);
        }
    }
    if (!request.multiple && list->currentItem() == nullptr && list->count() > 0) {
        list->setCurrentRow(0);
    }
    list->setMinimumWidth(qMin(list->sizeHintForColumn(0) + 40, 900));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!request.multiple) {
        QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    }
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::vector<int> chosen;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        if (request.multiple ? item->checkState() == Qt::Checked : item->isSelected()) {
            chosen.push_back(i);
        }
    }
    return chosen;
}

}  // namespace fenmar::ui
