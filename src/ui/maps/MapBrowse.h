#pragma once
// The map browser: the maps of the main game directory, of the game patch's "maps" directory
// and inside the patch's PAK and PK3 archives, each with its title; the user picks one into
// edMap. The maps are read on a thread of their own while the lists fill in, and a filter box
// narrows all three lists as the user types.

#include <QDialog>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Discovery.h"
#include "maps/BrowserScan.h"
#include "ui/maps/MapBrowseStretch.h"
#include "ui/maps/MapFilter.h"
#include "ui/maps/MapPreviewPane.h"
#include "ui/window/AppContext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace fenmar::ui {

class TMapBrowse : public QDialog {
    Q_OBJECT
public:
    explicit TMapBrowse(AppContext& context, QWidget* parent = nullptr);
    ~TMapBrowse() override;

    // Shows the browser modally: edMap's text when closed with OK, nothing on Cancel.
    std::optional<QString> Execute();
    // The same in the system's 8-bit encoding, for the plug-in info function.
    std::optional<std::string> ExecuteForPlugIn();

    // Starts refilling the three lists; runs each time the dialog is shown. Each list is
    // replaced when its scan is complete.
    void FormShow();
    // Waits, handling events, until the scan started by FormShow has ended (for tests and
    // callers that need the lists complete).
    void WaitForScan();
    bool Scanning() const { return scanning_; }
    // Where titles are cached; "" for no cache. Defaults to the user's cache directory.
    void SetCacheFile(std::string file) { cacheFile_ = std::move(file); }
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
    QLineEdit* edFilter() const { return edFilter_; }
    QLabel* labScanProgress() const { return labProgress_; }
    MapPreviewPane* previewPane() const { return pane_; }
    QCheckBox* cbDeathmatchOnly() const { return cbDeathmatchOnly_; }
    // "5 maps under 20 KB not shown" with a link that shows them greyed (and hides them again);
    // empty when the threshold hides none.
    QLabel* labHiddenMaps() const { return labHiddenMaps_; }
    void ShowSmallMaps(bool shown);
    // The logical columns of the lists: name, title, then monsters and secrets (shown second
    // and third).
    static constexpr int kMonstersColumn = 2;
    static constexpr int kSecretsColumn = 3;
    // Counters of the last finished scan.
    const maps::ScanCounters& LastCounters() const { return counters_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    struct Column {
        QLabel* heading = nullptr;
        QTreeWidget* list = nullptr;
        QLabel* notice = nullptr;  // seen while the list is hidden
        MapFilterIndex* filter = nullptr;
    };
    Column MakeColumn(int x, const char* name, const QString& heading, const QString& notice);
    static void ShowList(const Column& column, bool shown);
    void TakeSelection(QTreeWidget* list);
    bool Report(const maps::MapScan& scan);  // true when the scan failed
    void StopScan();
    void ListDone(unsigned generation, maps::BrowserList which, maps::MapScan scan);
    void FillSome(unsigned generation, int index);
    void ScanEnded(unsigned generation, const maps::ScanCounters& counters);
    void MaybeFinished();
    void ResetFills();
    Column& ColumnAt(int index);
    void Progress(unsigned generation, std::size_t done);
    void ApplyFilter();
    // The summaries and preview (MapBrowsePreview.cpp).
    void SetUpPreview();
    maps::BrowserList ListOf(const QTreeWidget* list) const;
    void AskVisibleSummaries(const Column& column);
    void AskAllSummaries(const Column& column);
    void SummaryKnown(maps::BrowserList list, const QString& name);
    void SortBy(const Column& column, int logicalColumn);
    void ApplyFilterTo(const Column& column);
    // The maps below the threshold and the PK3 marks (MapBrowseHints.cpp).
    QTreeWidgetItem* MakeRow(const maps::MapEntry& entry) const;
    void SetSmallRows(int index);
    void ShowHiddenLine();
    Pk3Reading EnginePk3Reading() const;
    // Before a PK3 map is picked for an engine that may not read it: says so (the map is
    // picked all the same).
    void WarnAboutPk3();

    AppContext& context_;
    Column id1_;
    Column patch_;
    Column builtIn_;
    QLineEdit* edMap_ = nullptr;
    QPushButton* buOK_ = nullptr;
    QPushButton* buCancel_ = nullptr;
    QLineEdit* edFilter_ = nullptr;
    QLabel* labProgress_ = nullptr;
    bool centred_ = false;
    bool sizeRestored_ = false;  // the kept size, given at the first showing
    MapPreviewPane* pane_ = nullptr;
    QCheckBox* cbDeathmatchOnly_ = nullptr;
    int sortColumn_[3] = {0, 0, 0};
    Qt::SortOrder sortOrder_[3] = {Qt::AscendingOrder, Qt::AscendingOrder, Qt::AscendingOrder};
    bool resortQueued_ = false;
    MapBrowseStretch stretch_;

    std::string cacheFile_;
    // The scans run on threads of their own that are never waited for: one told to stop ends
    // at its next check, its results dropped. They reach the window only through this link.
    struct ScanLink;
    std::shared_ptr<ScanLink> link_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    unsigned generation_ = 0;
    bool scanning_ = false;
    maps::ScanCounters counters_;
    MapFilterIndex filters_[3];
    // A list being filled in turns: the rows still to add, and the scan's error for after.
    struct Fill {
        std::vector<maps::MapEntry> entries;
        std::size_t next = 0;
        std::string error;
        bool active = false;
    };
    Fill fills_[3];
    int pendingFills_ = 0;
    bool scanEnded_ = false;
    // The loose maps under the threshold of each list, as the last scan found them.
    std::vector<maps::MapEntry> small_[3];
    bool showSmall_ = false;
    std::int32_t smallLimit_ = 0;  // KB, the threshold of the last scan
    QLabel* labHiddenMaps_ = nullptr;
    // Whether the chosen executable reads PK3 archives, taken on each showing.
    Pk3Reading pk3Reading_ = Pk3Reading::Reads;
    QString engineName_;
};

}  // namespace fenmar::ui
