#pragma once
// A folder chooser that can keep the choice to one folder and what lies below it: a tree of
// the file system's folders, the title above it, OK and Cancel.

#include <QDialog>
#include <QString>

class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QSortFilterProxyModel;
class QTreeView;

namespace fenmar::ui {

class FolderDialog : public QDialog {
    Q_OBJECT
public:
    // An empty or missing `root` offers every folder. `initial`, when it can be chosen, is
    // selected.
    FolderDialog(const QString& root, const QString& initial, const QString& title,
                 QWidget* parent = nullptr);

    // The selected folder's path in the system's notation; "" while none is selected.
    QString SelectedPath() const;
    // Selects `path` if it can be chosen; false otherwise.
    bool SelectPath(const QString& path);
    // The root the choice is kept to ("" when there is none), with '/' separators.
    QString Root() const { return root_; }

    QLabel* labTitle;
    QTreeView* tvFolders;
    QDialogButtonBox* buttons;

private:
    void SelectionChanged();

    QString root_;
    QFileSystemModel* model_;
    QSortFilterProxyModel* filter_;
};

}  // namespace fenmar::ui
