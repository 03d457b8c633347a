#include "ui/services/FolderDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/FileSystem.h"

namespace fenmar::ui {

namespace {

Qt::CaseSensitivity PathCase() {
    return platform::FileNamesIgnoreCase() ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

// `path` is `dir` or lies below it ('/' separators on both).
bool IsSameOrBelow(const QString& path, const QString& dir) {
    if (path.compare(dir, PathCase()) == 0) {
        return true;
    }
    const QString prefix = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    return path.startsWith(prefix, PathCase());
}

// Lets through the root, what lies below it, and the folders on the way to it.
class RootFilter : public QSortFilterProxyModel {
public:
    RootFilter(const QString& root, QObject* parent) : QSortFilterProxyModel(parent), root_(root) {}

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (root_.isEmpty()) {
            return true;
        }
        const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
        const QString path = model->filePath(model->index(row, 0, parent));
        return IsSameOrBelow(path, root_) || IsSameOrBelow(root_, path);
    }

private:
    QString root_;
};

QString CleanDir(const QString& path) {
    if (path.isEmpty()) {
        return QString();
    }
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

}  // namespace

FolderDialog::FolderDialog(const QString& root, const QString& initial, const QString& title,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FolderDialog"));
    setWindowTitle(QStringLiteral("Browse for Folder"));
    const QString cleanRoot = CleanDir(root);
    // A root that is no folder cannot hold the choice: offer everything instead.
    root_ =
        QFileInfo(cleanRoot).isDir() && QFileInfo(cleanRoot).isAbsolute() ? cleanRoot : QString();

    labTitle = new QLabel(title, this);
    labTitle->setObjectName(QStringLiteral("labTitle"));
    labTitle->setWordWrap(true);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setReadOnly(true);
    model_->setRootPath(root_);
    filter_ = new RootFilter(root_, this);
    filter_->setSourceModel(model_);

    tvFolders = new QTreeView(this);
    tvFolders->setObjectName(QStringLiteral("tvFolders"));
    tvFolders->setModel(filter_);
    tvFolders->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column) {
        tvFolders->hideColumn(column);
    }
    tvFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    if (!root_.isEmpty()) {
        // Show the root itself as the tree's one top folder.
        const QModelIndex top = filter_->mapFromSource(model_->index(root_));
        tvFolders->setRootIndex(top.parent());
        tvFolders->expand(top);
    }

    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tvFolders->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FolderDialog::SelectionChanged);

    auto* column = new QVBoxLayout(this);
    column->addWidget(labTitle);
    column->addWidget(tvFolders, 1);
    column->addWidget(buttons);
    resize(360, 420);

    // Without a folder to start from, the user's home is the likeliest place to begin.
    if (!SelectPath(initial) && root_.isEmpty()) {
        SelectPath(QDir::homePath());
    }
    SelectionChanged();
    // Folders appear as they are read; keep the selection in sight meanwhile.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] {
        if (tvFolders->currentIndex().isValid()) {
            tvFolders->scrollTo(tvFolders->currentIndex());
        }
    });
}

bool FolderDialog::SelectPath(const QString& path) {
    const QString clean = CleanDir(path);
    if (clean.isEmpty() || !QFileInfo(clean).isDir() ||
        (!root_.isEmpty() && !IsSameOrBelow(clean, root_))) {
        return false;
    }
    const QModelIndex index = filter_->mapFromSource(model_->index(clean));
    if (!index.isValid()) {
        return false;
    }
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
        tvFolders->expand(up);
    }
    tvFolders->setCurrentIndex(index);
    tvFolders->scrollTo(index);
    return true;
}

QString FolderDialog::SelectedPath() const {
    const QModelIndexList selected = tvFolders->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return QString();
    }
    return QDir::toNativeSeparators(model_->filePath(filter_->mapToSource(selected.first())));
}

void FolderDialog::SelectionChanged() {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!SelectedPath().isEmpty());
}

}  // namespace fenmar::ui
