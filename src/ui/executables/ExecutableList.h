#pragma once
// The named executables as the window shows them: the list `lvExecutables` (the one store of
// the list while the program runs; the context's ExecutableTable mirrors it for the launch
// code), its editor on the "...more global options" page, the executable box of the "General"
// page kept in step with it, and the question for a name of an unknown file.

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>
#include <vector>

#include "core/ExecutableTable.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace fenmar::ui {

class TMainDialog;

class ExecutableList : public QObject {
    Q_OBJECT
public:
    // Takes over the rows the window was built with.
    explicit ExecutableList(TMainDialog& dialog);
    ~ExecutableList() override;

    // The rows in list order (sorted by name).
    std::vector<ExecutableEntry> Entries() const;
    // Replaces every row, e.g. with the stored list; rows without a name are skipped.
    void ReplaceAll(const std::vector<ExecutableEntry>& rows);

    // Adds (name, file) unless a row of that name exists, ignoring case; true when added.
    bool AddExecutable(const std::string& file, const std::string& name);
    // The name of the row whose file is `file` (ignoring case). Without one the user is asked
    // for a name ("Executable not defined..."), which is added; cancelled, the row of
    // quake.exe, else the first row; nothing when the list is empty.
    std::optional<std::string> ResolveExecutableName(const std::string& file);
    // Selects the box's entry equal to `name` ignoring case, or nothing.
    void ShowExecutable(const std::string& name);

    void CheckForButtons();
    void buAddClick();
    void buChangeToClick();
    void buDeleteClick();
    void lvExecutablesDblClick();
    void buBrowseExecutableClick();
    // The user picked an entry of the executable box.
    void comboExecutablesChange();

    // Searches this computer for known engines and offers those not in the list yet; the
    // chosen ones become rows. The count of rows added.
    int buFindEnginesClick();
    // On a first run whose list holds only built-in rows, none of which can be found: the
    // same offer.
    void OfferEnginesOnFirstRun();
    // Marks the rows whose program cannot be found (kept, shown greyed with a tooltip).
    void MarkMissingPrograms();
    // Whether the row named `name` is marked as missing.
    bool IsMarkedMissing(const QString& name) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* SelectedRow() const;
    bool NameExists(const QString& name) const;
    void AppendRow(const QString& name, const QString& file);
    void RemoveRow(QTreeWidgetItem* row);
    void RowsChanged();
    // Returns how many were added; `firstAdded` receives the first one's name.
    int OfferEngines(bool tellWhenNone, QString* firstAdded = nullptr);
    std::optional<std::string> Locate(const std::string& file) const;
    // The text a row stores for a program at `path`: relative inside the Quake directory,
    // absolute outside.
    QString StoredFileOf(const std::string& path) const;

    TMainDialog& dialog_;
    // The list whose keys we handle. The filter looks only at this pointer until it knows the
    // event is a key press: the list also sees events while the window is being destroyed,
    // when the window's own members are gone.
    QPointer<QTreeWidget> filtered_;
};

}  // namespace fenmar::ui
