#pragma once
// The map browser: the maps of the main game directory, of the game patch's "maps" directory
// and inside the patch's PAK archives, each with its title; the user picks one into edMap.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapScan.h"
#include "ui/AppContext.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace fenmar::ui {

class TMapBrowse : public QDialog {
    Q_OBJECT
public:
    explicit TMapBrowse(AppContext& context, QWidget* parent = nullptr);

    // Shows the browser modally: edMap's text when closed with OK, nothing on Cancel.
    std::optional<QString> Execute();
    // The same in the system's 8-bit encoding, for the plug-in info function.
    std::optional<std::string> ExecuteForPlugIn();

    // Refills the three lists; runs each time the dialog is shown.
    void FormShow();
    // Shared by the three lists.
    void lvMapsClick(QTreeWidget* list);
    void lvMapsChange(QTreeWidget* list);
    void lvMapsDblClick(QTreeWidget* list);

    // Appends one row per entry (name, description) and keeps the rows sorted by name.
    static void AddRows(QTreeWidget& list, const std::vector<maps::MapEntry>& entries);

    QTreeWidget* lvID1Maps() const { return id1_.list; }
    QTreeWidget* lvPatchMaps() const { return patch_.list; }
    QTreeWidget* lvBuiltInMaps() const { return builtIn_.list; }
    QLineEdit* edMap() const { return edMap_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Column {
        QLabel* heading = nullptr;
        QTreeWidget* list = nullptr;
        QLabel* notice = nullptr;  // seen while the list is hidden
    };
    Column MakeColumn(int x, const char* name, const QString& heading, const QString& notice);
    static void ShowList(const Column& column, bool shown);
    void TakeSelection(QTreeWidget* list);
    bool Report(const maps::MapScan& scan);  // true when the scan failed

    AppContext& context_;
    Column id1_;
    Column patch_;
    Column builtIn_;
    QLineEdit* edMap_ = nullptr;
    QPushButton* buOK_ = nullptr;
    QPushButton* buCancel_ = nullptr;
    bool centred_ = false;
};

}  // namespace fenmar::ui
