#pragma once
// The map browser's preview: the selected map seen from above with its summary under it
// ("Monsters 84 · Secrets 6 · SP coop DM" at the chosen skill). Pictures and summaries are read
// on a thread of their own (through the cache) and handed back here.

#include <QHash>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "maps/MapDetailService.h"

class QLabel;

namespace fenmar::ui {

class MapPreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit MapPreviewPane(QWidget* parent = nullptr);
    ~MapPreviewPane() override;

    // Forgets what was known and answers questions about the maps of `request` from now on.
    void Start(const maps::BrowserRequest& request, const std::string& cacheFile, int skill);
    // Shows the map `name` of a list; nothing for an empty name.
    void ShowMap(maps::BrowserList list, const QString& name);
    // Asks for the summary of a map (once); summaryKnown follows.
    void AskSummary(maps::BrowserList list, const QString& name);
    // The summary already known, if any.
    const maps::EntitySummary* KnownSummary(maps::BrowserList list, const QString& name) const;
    maps::Play SkillPlay() const { return play_; }

    // "Monsters 84 · Secrets 6 · SP coop DM" at `play`.
    static QString SummaryText(const maps::EntitySummary& summary, maps::Play play);

    // Waits, handling events, until every question asked has been answered (for tests).
    void WaitForAnswers();
    maps::DetailCounters Counters() const;

    QLabel* imgPreview() const { return picture_; }
    QLabel* labSummary() const { return summary_; }

signals:
    void summaryKnown(maps::BrowserList list, const QString& name);

private:
    struct Known {
        std::optional<maps::EntitySummary> summary;
        std::optional<maps::PreviewRaster> preview;
        bool asked = false;  // for the summary, or with the picture
        bool previewAsked = false;
        bool failed = false;  // not found, or not readable
    };
    static QString Key(maps::BrowserList list, const QString& name);
    void Answered(unsigned generation, const maps::MapDetailWorker::Request& request,
                  std::optional<maps::MapDetails> details);
    void ShowKnown();

    QLabel* picture_ = nullptr;
    QLabel* summary_ = nullptr;
    std::unique_ptr<maps::MapDetailWorker> worker_;
    unsigned generation_ = 0;
    int pending_ = 0;
    maps::Play play_ = maps::Play::Normal;
    QHash<QString, Known> known_;
    QString shown_;  // the key of the map shown
};

}  // namespace fenmar::ui
