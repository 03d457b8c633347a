#pragma once
// The editor of a parameter list, built alike for the additional and the global parameters:
// a label and an edit above a list box, the add/change/remove buttons and two arrows.

#include <QObject>
#include <QString>
#include <string>
#include <tuple>
#include <vector>

#include "ui/widgets/ControlsFwd.h"

namespace fenmar::ui {

struct ParamListNames {
    QString label, edit, list, listTip, add, change, remove, up, down;
};

struct ParamListControls {
    QLabel* label = nullptr;
    QLineEdit* edit = nullptr;
    QListWidget* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* change = nullptr;
    QPushButton* remove = nullptr;
    QToolButton* up = nullptr;
    QToolButton* down = nullptr;

    // The controls in the order above, to hand them to named members with std::tie.
    auto Tuple() const { return std::tuple(label, edit, list, add, change, remove, up, down); }
};

// Fills `group` with the editor's controls and gives it their layout.
ParamListControls BuildParamListEditor(QGroupBox* group, const ParamListNames& names);

// The editing rules of one parameter list. Duplicates are allowed and the order is kept; the
// add, change and remove buttons start disabled, the arrows are always enabled.
class ParamListController : public QObject {
    Q_OBJECT
public:
    ParamListController(const ParamListControls& controls, QObject* parent);

    const ParamListControls& Controls() const { return c_; }
    std::vector<std::string> Entries() const;
    // Replaces every entry (a loaded list); nothing is selected afterwards.
    void SetEntries(const std::vector<std::string>& entries);
    void AppendEntries(const std::vector<std::string>& entries);

    // Handlers.
    void EditChange();
    void EntrySelected(int row);
    void AddClick();
    void ChangeClick();
    void RemoveClick();  // also the Delete key in the list
    void MoveUpClick();
    void MoveDownClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Puts the entry at `row` to `to`, keeping it selected, without the selection handler.
    void MoveEntry(int row, int to);

    ParamListControls c_;
};

}  // namespace fenmar::ui
