#pragma once
// The catalogue as the Add-ons window lists it: one row per add-on with the columns title,
// author, date, size, rating, type and installed, each sorted by its value (not its text),
// filtered by the filter box's words and the "installed only" / "hide installed" boxes.

#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <memory>
#include <vector>

#include "addons/AddOn.h"
#include "addons/AddOnFilter.h"
#include "addons/Installed.h"

namespace fenmar::ui {

class AddOnList : public QSortFilterProxyModel {
public:
    enum Column {
        ColTitle,
        ColAuthor,
        ColDate,
        ColSize,
        ColRating,
        ColType,
        ColInstalled,
        ColumnCount
    };

    explicit AddOnList(QObject* parent = nullptr);

    // Lists `addOns` (kept until the next Fill) with their states in `quakeDir`.
    void Fill(const std::vector<addons::AddOn>* addOns, const std::string& quakeDir);
    // The states again, after an install or a removal.
    void UpdateStates(const std::string& quakeDir);
    void SetFilterText(const QString& text);
    void SetInstalledOnly(bool on);
    void SetHideInstalled(bool on);

    // The add-on a row of this (sorted, filtered) model shows; nullptr for none.
    const addons::AddOn* AddOnAt(int row) const;
    addons::AddOnState StateAt(int row) const;
    QStandardItemModel& Source() { return source_; }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    QStandardItemModel source_;
    const std::vector<addons::AddOn>* addOns_ = nullptr;
    std::unique_ptr<addons::AddOnFilter> filter_;
    std::vector<bool> matches_;
    std::vector<addons::AddOnState> states_;
    bool installedOnly_ = false;
    bool hideInstalled_ = false;
};

}  // namespace fenmar::ui
