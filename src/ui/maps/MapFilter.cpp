#include "ui/maps/MapFilter.h"

#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QTreeWidget>

namespace fenmar::ui {

void MapFilterIndex::Rebuild(const QTreeWidget& list) {
    const int count = list.topLevelItemCount();
    haystacks_.clear();
    haystacks_.reserve(static_cast<std::size_t>(count));
    shown_.assign(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* row = list.topLevelItem(i);
        haystacks_.push_back((row->text(0) + QChar('\n') + row->text(1)).toLower().toStdString());
        shown_[static_cast<std::size_t>(i)] = row->isHidden() ? 0 : 1;
    }
}

bool MapFilterIndex::Stale(const QTreeWidget& list) const {
    return haystacks_.size() != static_cast<std::size_t>(list.topLevelItemCount());
}

int MapFilterIndex::Apply(QTreeWidget& list, const QString& text,
                          const std::function<bool(const QTreeWidgetItem&)>& keep) {
    if (Stale(list)) {
        Rebuild(list);
    }
    // The needle never holds the separator, so no match spans name and description.
    const std::string needle = text.trimmed().toLower().remove(QChar('\n')).toStdString();
    int shown = 0;
    list.setUpdatesEnabled(false);
    for (std::size_t i = 0; i < haystacks_.size(); ++i) {
        const bool match = (needle.empty() || haystacks_[i].find(needle) != std::string::npos) &&
                           (!keep || keep(*list.topLevelItem(static_cast<int>(i))));
        if ((shown_[i] != 0) != match) {
            list.topLevelItem(static_cast<int>(i))->setHidden(!match);
            shown_[i] = match ? 1 : 0;
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
