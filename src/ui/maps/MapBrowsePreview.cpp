// The map browser's preview pane, the monster and secret columns, and the deathmatch filter.
#include <QCheckBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

#include "ui/maps/MapBrowse.h"

namespace fenmar::ui {

namespace {

constexpr int kPaneLeft = 719;
constexpr int kPaneWidth = 260;
constexpr int kPaneHeight = 336;
constexpr int kFilterTop = 346;  // the row of the filter box

}  // namespace

void TMapBrowse::SetUpPreview() {
    pane_ = new MapPreviewPane(this);
    pane_->setGeometry(kPaneLeft, 3, kPaneWidth, kPaneHeight);
    connect(pane_, &MapPreviewPane::summaryKnown, this,
            [this](maps::BrowserList list, const QString& name) { SummaryKnown(list, name); });

    cbDeathmatchOnly_ = new QCheckBox("&Deathmatch maps only", this);
    cbDeathmatchOnly_->setObjectName("cbDeathmatchOnly");
    cbDeathmatchOnly_->setToolTip("Shows only the maps with deathmatch starts.");
    cbDeathmatchOnly_->setGeometry(kPaneLeft, kFilterTop, kPaneWidth, 21);
    connect(cbDeathmatchOnly_, &QCheckBox::toggled, this, [this](bool on) {
        for (const Column* column : {&id1_, &patch_, &builtIn_}) {
            if (on) {
                AskAllSummaries(*column);
            }
        }
        ApplyFilter();
    });

    for (const Column* column : {&id1_, &patch_, &builtIn_}) {
        const Column* c = column;
        connect(c->list->verticalScrollBar(), &QScrollBar::valueChanged, this,
                [this, c] { AskVisibleSummaries(*c); });
        connect(c->list->header(), &QHeaderView::sectionClicked, this,
                [this, c](int logical) { SortBy(*c, logical); });
    }
}

maps::BrowserList TMapBrowse::ListOf(const QTreeWidget* list) const {
    return list == id1_.list     ? maps::BrowserList::ID1
           : list == patch_.list ? maps::BrowserList::Patch
                                 : maps::BrowserList::BuiltIn;
}

void TMapBrowse::AskVisibleSummaries(const Column& column) {
    const QTreeWidget* list = column.list;
    const maps::BrowserList which = ListOf(list);
    const int bottom = list->viewport()->height();
    for (QTreeWidgetItem* row = list->itemAt(0, 0); row != nullptr; row = list->itemBelow(row)) {
        if (list->visualItemRect(row).top() > bottom) {
            break;
        }
        pane_->AskSummary(which, row->text(0));
    }
}

void TMapBrowse::AskAllSummaries(const Column& column) {
    const maps::BrowserList which = ListOf(column.list);
    for (int i = 0; i < column.list->topLevelItemCount(); ++i) {
        pane_->AskSummary(which, column.list->topLevelItem(i)->text(0));
    }
}

void TMapBrowse::SummaryKnown(maps::BrowserList list, const QString& name) {
    const Column& column = list == maps::BrowserList::ID1     ? id1_
                           : list == maps::BrowserList::Patch ? patch_
                                                              : builtIn_;
    const maps::EntitySummary* summary = pane_->KnownSummary(list, name);
    for (QTreeWidgetItem* row : column.list->findItems(name, Qt::MatchExactly, 0)) {
        if (summary != nullptr) {
            row->setData(kMonstersColumn, Qt::DisplayRole, summary->Monsters(pane_->SkillPlay()));
            row->setData(kSecretsColumn, Qt::DisplayRole, summary->Secrets(pane_->SkillPlay()));
        }
    }
    if (cbDeathmatchOnly_->isChecked()) {
        ApplyFilterTo(column);
    }
    const int index = static_cast<int>(list);
    if (sortColumn_[index] >= kMonstersColumn && !resortQueued_) {
        // Sorted by counts: sorted again once the answers arriving now are in.
        resortQueued_ = true;
        QTimer::singleShot(100, this, [this] {
            resortQueued_ = false;
            for (int i = 0; i < 3; ++i) {
                if (sortColumn_[i] >= kMonstersColumn) {
                    const Column& c = i == 0 ? id1_ : i == 1 ? patch_ : builtIn_;
                    c.list->sortItems(sortColumn_[i], sortOrder_[i]);
                    c.filter->Rebuild(*c.list);
                }
            }
        });
    }
}

void TMapBrowse::SortBy(const Column& column, int logicalColumn) {
    const int index = static_cast<int>(ListOf(column.list));
    // A second click on the same column turns the order round.
    sortOrder_[index] =
        sortColumn_[index] == logicalColumn && sortOrder_[index] == Qt::AscendingOrder
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
    sortColumn_[index] = logicalColumn;
    if (logicalColumn >= kMonstersColumn) {
        AskAllSummaries(column);
    }
    column.list->header()->setSortIndicatorShown(true);
    column.list->header()->setSortIndicator(logicalColumn, sortOrder_[index]);
    column.list->sortItems(logicalColumn, sortOrder_[index]);
    column.filter->Rebuild(*column.list);
}

void TMapBrowse::ApplyFilterTo(const Column& column) {
    if (!cbDeathmatchOnly_->isChecked()) {
        column.filter->Apply(*column.list, edFilter_->text());
        return;
    }
    const maps::BrowserList which = ListOf(column.list);
    column.filter->Apply(
        *column.list, edFilter_->text(), [this, which](const QTreeWidgetItem& row) {
            const maps::EntitySummary* summary = pane_->KnownSummary(which, row.text(0));
            return summary != nullptr && summary->deathmatch;
        });
}

}  // namespace fenmar::ui
