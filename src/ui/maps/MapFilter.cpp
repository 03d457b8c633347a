#include "ui/maps/MapFilter.h"

#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QTreeWidget>

namespace fenmar::ui {

int ApplyMapFilter(QTreeWidget& list, const QString& text) {
    const QString needle = text.trimmed();
    int shown = 0;
    const int count = list.topLevelItemCount();
    list.setUpdatesEnabled(false);
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem* row = list.topLevelItem(i);
        const bool match = needle.isEmpty() || row->text(0).contains(needle, Qt::CaseInsensitive) ||
                           row->text(1).contains(needle, Qt::CaseInsensitive);
        // Only rows that change are touched: hiding is the costly part.
        if (row->isHidden() == match) {
            row->setHidden(!match);
        }
        shown += match ? 1 : 0;
    }
    list.setUpdatesEnabled(true);
    return shown;
}

void InstallMapBoxFilter(QComboBox& combo) {
    auto* completer = new QCompleter(combo.model(), &combo);
    completer->setObjectName(combo.objectName() + "Filter");
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setMaxVisibleItems(combo.maxVisibleItems());
    combo.setCompleter(completer);
}

void FilterEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        !text().isEmpty()) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace fenmar::ui
