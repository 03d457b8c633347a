// The map browser's hints: the maps the size threshold hides (counted, shown greyed on
// request) and the maps of PK3 archives that the chosen engine may not read.
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QStyle>
#include <QTreeWidget>

#include "ui/maps/MapBrowse.h"
#include "ui/widgets/LocalText.h"

namespace fenmar::ui {

namespace {

constexpr int kSmallRole = Qt::UserRole + 1;  // on column 0: a map under the threshold
constexpr int kPk3Role = Qt::UserRole + 2;    // on column 0: a map inside a PK3 archive

QString Pk3Note(Pk3Reading reading, const QString& engine) {
    return reading == Pk3Reading::DoesNot
               ? QString("In a PK3 archive: %1 does not read PK3 archives.").arg(engine)
               : QString("In a PK3 archive: %1 may not read PK3 archives.").arg(engine);
}

}  // namespace

QTreeWidgetItem* TMapBrowse::MakeRow(const maps::MapEntry& entry) const {
    auto* row = new QTreeWidgetItem(
        QStringList{FromLocal(entry.name), entry.small ? QString("<under %1 KB>").arg(smallLimit_)
                                                       : FromLocal(entry.description)});
    if (entry.small) {
        row->setData(0, kSmallRole, true);
        const QBrush grey = palette().brush(QPalette::Disabled, QPalette::Text);
        for (int column = 0; column < 2; ++column) {
            row->setForeground(column, grey);
            row->setToolTip(column, QString("Under %1 KB: perhaps no map but a model or a test "
                                            "file (Options: \"minimum size of maps\").")
                                        .arg(smallLimit_));
        }
    }
    if (entry.inPk3) {
        row->setData(0, kPk3Role, true);
        if (pk3Reading_ != Pk3Reading::Reads) {
            row->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            for (int column = 0; column < 2; ++column) {
                row->setToolTip(column, Pk3Note(pk3Reading_, engineName_));
            }
        }
    }
    return row;
}

void TMapBrowse::SetSmallRows(int index) {
    QTreeWidget* list = ColumnAt(index).list;
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        if (list->topLevelItem(i)->data(0, kSmallRole).toBool()) {
            delete list->takeTopLevelItem(i);
        }
    }
    if (showSmall_ && !small_[index].empty()) {
        QList<QTreeWidgetItem*> rows;
        for (const maps::MapEntry& entry : small_[index]) {
            rows.append(MakeRow(entry));
        }
        list->addTopLevelItems(rows);
        list->sortItems(sortColumn_[index], sortOrder_[index]);
    }
}

void TMapBrowse::ShowSmallMaps(bool shown) {
    showSmall_ = shown;
    for (int index = 0; index < 3; ++index) {
        if (fills_[index].active) {
            continue;  // the list takes them when it is complete
        }
        const Column& column = ColumnAt(index);
        SetSmallRows(index);
        column.filter->Rebuild(*column.list);
        ApplyFilterTo(column);
    }
    if (!scanning_) {
        ShowHiddenLine();
    }
}

void TMapBrowse::ShowHiddenLine() {
    const std::size_t count = small_[0].size() + small_[1].size() + small_[2].size();
    if (count == 0) {
        labHiddenMaps_->clear();
        return;
    }
    const QString maps = count == 1 ? QString("1 map") : QString("%1 maps").arg(count);
    labHiddenMaps_->setText(
        showSmall_ ? QString("%1 under %2 KB shown greyed. <a href=\"hide\">Hide them</a>")
                         .arg(maps)
                         .arg(smallLimit_)
                   : QString("%1 under %2 KB not shown. <a href=\"show\">Show them</a>")
                         .arg(maps)
                         .arg(smallLimit_));
}

Pk3Reading TMapBrowse::EnginePk3Reading() const {
    const std::optional<ExecutableEntry> row =
        context_.executables.Find(context_.globals.Executable);
    return row ? Pk3ReadingOf(row->file) : Pk3Reading::MayNot;
}

void TMapBrowse::WarnAboutPk3() {
    if (pk3Reading_ == Pk3Reading::Reads) {
        return;
    }
    // The selected row, when edMap still names it.
    for (const Column* column : {&id1_, &patch_, &builtIn_}) {
        const QList<QTreeWidgetItem*> selected = column->list->selectedItems();
        if (selected.isEmpty() || !selected.first()->data(0, kPk3Role).toBool() ||
            !edMap_->text().startsWith(selected.first()->text(0) + " - ")) {
            continue;
        }
        const bool doesNot = pk3Reading_ == Pk3Reading::DoesNot;
        context_.ui.ShowMessage(
            QString("The map \"%1\" is inside a PK3 archive. %2 %3\n\nThe map is chosen all the "
                    "same; to play it, pick an engine that reads PK3 archives (DarkPlaces, "
                    "FTEQW, QuakeSpasm-Spiked).")
                .arg(selected.first()->text(0), engineName_,
                     doesNot ? "does not read PK3 archives and will not find it."
                             : "may not read PK3 archives and then will not find it."),
            "A map inside a PK3 archive", MessageIcon::Warning);
        return;
    }
}

}  // namespace fenmar::ui
