#pragma once
// A list of rows with an image and several columns, shown in one of four view styles: large
// icons, small icons, a list, or a report with column headings. One model, one selection, so
// switching the style keeps rows and selection.

#include <QList>
#include <QStackedWidget>
#include <QStringList>

class QItemSelectionModel;
class QListView;
class QStandardItemModel;
class QTreeView;

namespace fenmar::ui {

class ImageList;

enum class ViewStyle { LargeIcon = 0, SmallIcon = 1, List = 2, Report = 3 };

struct ListColumn {
    QString caption;
    int width = -1;  // -1: sized to its contents
    Qt::Alignment alignment = Qt::AlignLeft;
};

class ListView : public QStackedWidget {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    void SetColumns(const QList<ListColumn>& columns);
    void SetImageLists(ImageList* large, ImageList* small);
    void SetViewStyle(ViewStyle style);
    ViewStyle Style() const { return style_; }

    // Appends a row (caption first, then the sub-items) showing image `imageIndex`.
    int AddRow(const QStringList& texts, int imageIndex);
    void Clear();
    int RowCount() const;
    QString Text(int row, int column) const;
    int ImageIndex(int row) const;
    int SelectedRow() const;  // -1 when no row is selected
    void SelectRow(int row);

    QStandardItemModel* Model() const { return model_; }
    QListView* IconView() const { return iconView_; }
    QTreeView* ReportView() const { return reportView_; }

signals:
    void rowActivated(int row);  // double-click, Return or Enter on a row

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RefreshImages();

    QStandardItemModel* model_;
    QItemSelectionModel* selection_;
    QListView* iconView_;
    QTreeView* reportView_;
    ImageList* large_ = nullptr;
    ImageList* small_ = nullptr;
    ViewStyle style_ = ViewStyle::LargeIcon;
    QList<ListColumn> columns_;
};

}  // namespace fenmar::ui
