#include "ui/executables/ExecutableBox.h"

#include <QComboBox>
#include <QFont>
#include <QPalette>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

namespace fenmar::ui {

void MarkExecutableBox(QComboBox& box, const QHash<QString, ProgramMark>& marks) {
    const auto missing = [&marks](const QString& name) { return marks.value(name).missing; };
    QStringList names;
    for (int i = 0; i < box.count(); ++i) {
        names << box.itemText(i);
    }
    // Found before missing; within each, the order the box had (alphabetical).
    QStringList ordered = names;
    std::stable_partition(ordered.begin(), ordered.end(),
                          [&](const QString& name) { return !missing(name); });
    const QSignalBlocker quiet(&box);
    if (ordered != names) {
        const QString shown = box.currentIndex() >= 0 ? box.currentText() : QString();
        box.clear();
        box.addItems(ordered);
        box.setCurrentIndex(shown.isNull() ? -1 : static_cast<int>(ordered.indexOf(shown)));
    }
    const QColor greyed = box.palette().color(QPalette::Disabled, QPalette::Text);
    for (int i = 0; i < box.count(); ++i) {
        const ProgramMark mark = marks.value(box.itemText(i));
        QFont font = box.font();
        font.setItalic(mark.missing);
        box.setItemData(i, mark.missing ? QVariant(font) : QVariant(), Qt::FontRole);
        box.setItemData(i, mark.missing ? QVariant(greyed) : QVariant(), Qt::ForegroundRole);
        box.setItemData(i, mark.tip.isEmpty() ? QVariant() : QVariant(mark.tip), Qt::ToolTipRole);
    }
}

}  // namespace fenmar::ui
