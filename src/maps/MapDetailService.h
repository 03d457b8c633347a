#pragma once
// The summaries and pictures of the maps of the browser's lists: taken from the cache where it
// knows the map unchanged, read from the map (and stored) otherwise. MapDetailWorker answers
// such questions on a thread of its own, the most recent selection first.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "maps/MapDetailCache.h"
#include "maps/MapDetails.h"

namespace fenmar::maps {

struct DetailCounters {
    std::size_t mapsRead = 0;   // maps opened and read
    std::size_t cacheHits = 0;  // answered from the cache alone
};

class MapDetailService {
public:
    MapDetailService(BrowserRequest request, MapDetailCache* cache)
        : index_(std::move(request)), cache_(cache) {}

    // The details of the map `name` of a list (or found as the game would, FindAnywhere);
    // nullopt when there is no such map or it cannot be read (`error` then says why).
    std::optional<MapDetails> Get(BrowserList list, std::string_view name, bool withPreview,
                                  std::string* error = nullptr);
    std::optional<MapDetails> GetAnywhere(std::string_view name, bool withPreview,
                                          std::string* error = nullptr);
    const DetailCounters& Counters() const { return counters_; }

private:
    std::optional<MapDetails> Get(const MapLocation* location, bool withPreview,
                                  std::string* error);
    MapIndex index_;
    MapDetailCache* cache_;
    DetailCounters counters_;
};

class MapDetailWorker {
public:
    struct Request {
        BrowserList list = BrowserList::ID1;
        std::string name;
        bool withPreview = false;
    };
    // Called on the worker's thread for every request, with nullopt for a map not found or
    // not readable.
    using Answer = std::function<void(const Request&, std::optional<MapDetails>)>;

    // The cache file is opened on the worker's thread; "" for none.
    MapDetailWorker(BrowserRequest request, std::string cacheFile, Answer answer);
    ~MapDetailWorker();  // drops what is queued, waits for the question being answered
    MapDetailWorker(const MapDetailWorker&) = delete;
    MapDetailWorker& operator=(const MapDetailWorker&) = delete;

    // Queues a question; an urgent one goes before all others.
    void Ask(Request request, bool urgent);
    // True while questions are queued or being answered.
    bool Busy() const;
    DetailCounters Counters() const;

private:
    void Run(BrowserRequest request, std::string cacheFile);

    Answer answer_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> queue_;
    bool stopping_ = false;
    bool working_ = false;
    DetailCounters counters_;
    std::thread thread_;
};

}  // namespace fenmar::maps
