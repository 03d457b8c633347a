#include "maps/MapDetailService.h"

namespace fenmar::maps {

std::optional<MapDetails> MapDetailService::Get(BrowserList list, std::string_view name,
                                                bool withPreview, std::string* error) {
    return Get(index_.Find(list, name), withPreview, error);
}

std::optional<MapDetails> MapDetailService::GetAnywhere(std::string_view name, bool withPreview,
                                                        std::string* error) {
    return Get(index_.FindAnywhere(name), withPreview, error);
}

std::optional<MapDetails> MapDetailService::Get(const MapLocation* location, bool withPreview,
                                                std::string* error) {
    if (location == nullptr) {
        if (error != nullptr) {
            *error = "No such map";
        }
        return std::nullopt;
    }
    // Only files whose time is known are cached (as with the titles).
    const bool cached = cache_ != nullptr && location->key.file.Known();
    if (cached) {
        std::optional<MapDetails> stored = cache_->Load(location->key);
        if (stored && (!withPreview || stored->preview)) {
            ++counters_.cacheHits;
            return stored;
        }
    }
    try {
        ++counters_.mapsRead;
        MapDetails details = ReadMapDetails(*location, withPreview);
        if (cached) {
            cache_->Store(location->key, details);
        }
        return details;
    } catch (const ReadError& e) {
        if (error != nullptr) {
            *error = e.what();
        }
        return std::nullopt;
    }
}

MapDetailWorker::MapDetailWorker(BrowserRequest request, std::string cacheFile, Answer answer)
    : answer_(std::move(answer)) {
    thread_ = std::thread(
        [this, request = std::move(request), cacheFile = std::move(cacheFile)]() mutable {
            Run(std::move(request), std::move(cacheFile));
        });
}

MapDetailWorker::~MapDetailWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void MapDetailWorker::Ask(Request request, bool urgent) {
    {
        std::lock_guard lock(mutex_);
        if (urgent) {
            queue_.push_front(std::move(request));
        } else {
            queue_.push_back(std::move(request));
        }
    }
    wake_.notify_one();
}

bool MapDetailWorker::Busy() const {
    std::lock_guard lock(mutex_);
    return working_ || !queue_.empty();
}

DetailCounters MapDetailWorker::Counters() const {
    std::lock_guard lock(mutex_);
    return counters_;
}

void MapDetailWorker::Run(BrowserRequest request, std::string cacheFile) {
    const std::unique_ptr<MapDetailCache> cache = MapDetailCache::Open(cacheFile);
    MapDetailService service(std::move(request), cache.get());
    for (;;) {
        Request next;
        {
            std::unique_lock lock(mutex_);
            working_ = false;
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            next = std::move(queue_.front());
            queue_.pop_front();
            working_ = true;
        }
        std::optional<MapDetails> details = service.Get(next.list, next.name, next.withPreview);
        {
            std::lock_guard lock(mutex_);
            counters_ = service.Counters();
        }
        answer_(next, std::move(details));
    }
}

}  // namespace fenmar::maps
