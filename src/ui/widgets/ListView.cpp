#include "ui/widgets/ListView.h"

#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "ui/widgets/ImageList.h"

namespace fenmar::ui {

namespace {
constexpr int kImageIndexRole = Qt::UserRole + 1;

// Under a large icon the caption is centred, whatever the column's alignment in the report.
class IconCaptionDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->decorationPosition == QStyleOptionViewItem::Top) {
            option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
        }
    }
};
}  // namespace

ListView::ListView(QWidget* parent)
    : QStackedWidget(parent),
      model_(new QStandardItemModel(this)),
      selection_(new QItemSelectionModel(model_, this)),
      iconView_(new QListView(this)),
      reportView_(new QTreeView(this)) {
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(iconView_),
                                    static_cast<QAbstractItemView*>(reportView_)}) {
        view->setModel(model_);
        view->setSelectionModel(selection_);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        // Only a double-click or Return chooses a row: `activated` also fires on a single
        // click where the desktop is set to open items that way.
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
            if (index.isValid()) {
                emit rowActivated(index.row());
            }
        });
        view->installEventFilter(this);
        addWidget(view);
    }
    iconView_->setMovement(QListView::Static);
    iconView_->setResizeMode(QListView::Adjust);
    iconView_->setUniformItemSizes(true);
    iconView_->setItemDelegate(new IconCaptionDelegate(iconView_));
    reportView_->setRootIsDecorated(false);
    reportView_->setUniformRowHeights(true);
    reportView_->setAllColumnsShowFocus(true);
    reportView_->header()->setSectionsClickable(false);
    reportView_->header()->setSectionsMovable(false);
    SetViewStyle(ViewStyle::LargeIcon);
}

bool ListView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto* view = qobject_cast<QAbstractItemView*>(watched);
        if (view != nullptr && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier && view->currentIndex().isValid()) {
            emit rowActivated(view->currentIndex().row());
            return true;
        }
    }
    return QStackedWidget::eventFilter(watched, event);
}

void ListView::SetColumns(const QList<ListColumn>& columns) {
    columns_ = columns;
    model_->setColumnCount(static_cast<int>(columns.size()));
    QHeaderView* header = reportView_->header();
    for (int c = 0; c < columns.size(); ++c) {
        const ListColumn& column = columns[c];
        model_->setHeaderData(c, Qt::Horizontal, column.caption);
        model_->setHeaderData(c, Qt::Horizontal, QVariant::fromValue(column.alignment),
                              Qt::TextAlignmentRole);
        if (column.width < 0) {
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        } else {
            header->resizeSection(c, column.width);
        }
    }
    header->setStretchLastSection(false);
}

void ListView::SetImageLists(ImageList* large, ImageList* small) {
    large_ = large;
    small_ = small;
    RefreshImages();
}

void ListView::SetViewStyle(ViewStyle style) {
    style_ = style;
    const bool large = style == ViewStyle::LargeIcon;
    if (style == ViewStyle::Report) {
        setCurrentWidget(reportView_);
    } else {
        iconView_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
        iconView_->setFlow(style == ViewStyle::List ? QListView::TopToBottom
                                                    : QListView::LeftToRight);
        iconView_->setWrapping(true);
        iconView_->setMovement(QListView::Static);
        setCurrentWidget(iconView_);
    }
    const int side = large ? 32 : 16;
    iconView_->setIconSize({side, side});
    reportView_->setIconSize({16, 16});
    RefreshImages();
}

int ListView::AddRow(const QStringList& texts, int imageIndex) {
    QList<QStandardItem*> items;
    for (int c = 0; c < model_->columnCount(); ++c) {
        auto* item = new QStandardItem(c < texts.size() ? texts[c] : QString());
        if (c < columns_.size()) {
            item->setTextAlignment(columns_[c].alignment | Qt::AlignVCenter);
        }
        items.append(item);
    }
    items.first()->setData(imageIndex, kImageIndexRole);
    model_->appendRow(items);
    RefreshImages();
    return model_->rowCount() - 1;
}

void ListView::Clear() {
    model_->removeRows(0, model_->rowCount());
}

int ListView::RowCount() const {
    return model_->rowCount();
}

QString ListView::Text(int row, int column) const {
    return model_->index(row, column).data().toString();
}

int ListView::ImageIndex(int row) const {
    const QVariant index = model_->index(row, 0).data(kImageIndexRole);
    return index.isValid() ? index.toInt() : -1;
}

int ListView::SelectedRow() const {
    const QModelIndexList rows = selection_->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::SelectRow(int row) {
    if (row < 0 || row >= RowCount()) {
        selection_->clearSelection();
        return;
    }
    selection_->setCurrentIndex(model_->index(row, 0),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::RefreshImages() {
    ImageList* images = style_ == ViewStyle::LargeIcon ? large_ : small_;
    for (int row = 0; row < model_->rowCount(); ++row) {
        QStandardItem* item = model_->item(row, 0);
        const int index = ImageIndex(row);
        item->setIcon(images != nullptr && index >= 0 ? QIcon(images->At(index)) : QIcon());
    }
}

}  // namespace fenmar::ui
