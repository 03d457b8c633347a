#include "ui/addons/AddOnList.h"

#include <QLocale>

namespace fenmar::ui {

namespace {
constexpr int kSortRole = Qt::UserRole + 1;

QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStandardItem* Cell(const QString& text, const QVariant& sortValue) {
    auto* item = new QStandardItem(text);
    item->setData(sortValue, kSortRole);
    item->setEditable(false);
    return item;
}

QString StateText(addons::AddOnState state) {
    return state == addons::AddOnState::NotInstalled ? QString()
                                                     : Utf8(std::string(addons::StateName(state)));
}
}  // namespace

AddOnList::AddOnList(QObject* parent) : QSortFilterProxyModel(parent) {
    source_.setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Author"),
                                       QStringLiteral("Date"), QStringLiteral("Size"),
                                       QStringLiteral("Rating"), QStringLiteral("Type"),
                                       QStringLiteral("Installed")});
    setSourceModel(&source_);
    setSortRole(kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void AddOnList::Fill(const std::vector<addons::AddOn>* addOns, const std::string& quakeDir) {
    source_.removeRows(0, source_.rowCount());
    addOns_ = addOns;
    filter_ = std::make_unique<addons::AddOnFilter>(*addOns);
    matches_.assign(addOns->size(), true);
    const QLocale locale;
    for (const addons::AddOn& a : *addOns) {
        const QString title = Utf8(a.title.empty() ? a.id : a.title);
        const QString author = Utf8(a.author);
        QList<QStandardItem*> row;
        row << Cell(title, title.toLower()) << Cell(author, author.toLower())
            << Cell(Utf8(a.date.Text()), a.date.SortKey())
            << Cell(a.sizeKiB < 0 ? QString() : locale.formattedDataSize(a.sizeKiB * 1024, 1),
                    static_cast<qlonglong>(a.sizeKiB))
            << Cell(a.rating ? QString::number(*a.rating, 'g', 3) : QString(),
                    a.rating.value_or(-1.0))
            << Cell(Utf8(std::string(addons::TypeName(a.type))), static_cast<int>(a.type))
            << Cell(QString(), 0);
        source_.appendRow(row);
    }
    UpdateStates(quakeDir);
}

void AddOnList::UpdateStates(const std::string& quakeDir) {
    if (addOns_ == nullptr) {
        return;
    }
    const addons::InstalledAddOns installed(quakeDir);
    states_.assign(addOns_->size(), addons::AddOnState::NotInstalled);
    for (std::size_t i = 0; i < addOns_->size(); ++i) {
        if (!quakeDir.empty()) {
            states_[i] = installed.StatusOf((*addOns_)[i]).state;
        }
        QStandardItem* cell = source_.item(static_cast<int>(i), ColInstalled);
        cell->setText(StateText(states_[i]));
        cell->setData(static_cast<int>(states_[i]), kSortRole);
    }
    invalidateFilter();
}

void AddOnList::SetFilterText(const QString& text) {
    if (filter_ == nullptr) {
        return;
    }
    matches_.assign(matches_.size(), false);
    for (const std::size_t i : filter_->Match(text.toUtf8().toStdString())) {
        matches_[i] = true;
    }
    invalidateFilter();
}

void AddOnList::SetInstalledOnly(bool on) {
    installedOnly_ = on;
    invalidateFilter();
}

void AddOnList::SetHideInstalled(bool on) {
    hideInstalled_ = on;
    invalidateFilter();
}

bool AddOnList::filterAcceptsRow(int row, const QModelIndex& /*parent*/) const {
    const auto i = static_cast<std::size_t>(row);
    if (i >= matches_.size() || !matches_[i]) {
        return false;
    }
    const bool installed = i < states_.size() && states_[i] != addons::AddOnState::NotInstalled;
    return !(installedOnly_ && !installed) && !(hideInstalled_ && installed);
}

const addons::AddOn* AddOnList::AddOnAt(int row) const {
    const QModelIndex source = mapToSource(index(row, 0));
    if (!source.isValid() || addOns_ == nullptr) {
        return nullptr;
    }
    return &(*addOns_)[static_cast<std::size_t>(source.row())];
}

addons::AddOnState AddOnList::StateAt(int row) const {
    const QModelIndex source = mapToSource(index(row, 0));
    return source.isValid() ? states_[static_cast<std::size_t>(source.row())]
                            : addons::AddOnState::NotInstalled;
}

}  // namespace fenmar::ui
