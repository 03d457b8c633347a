#pragma once
// The add-on catalogue's copy in the cache folder (beside the map cache), one file per
// catalogue address, used offline; fetching it again replaces the copy only once the new one
// has arrived whole.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <optional>

#include "download/FileDownload.h"

namespace fenmar::download {

// "<cache>/fenmar/addons/catalogue-<hash of the address>.xml"; empty without a cache folder.
QString CatalogueCacheFile(const QUrl& catalogue);
// When the copy was fetched; nothing when there is none.
std::optional<QDateTime> CatalogueFetchedAt(const QString& cacheFile);

// Fetches the catalogue into its cache file in the background.
class CatalogueFetch : public QObject {
    Q_OBJECT
public:
    explicit CatalogueFetch(QNetworkAccessManager& network, QObject* parent = nullptr);

    void Start(const QUrl& catalogue, const QString& cacheFile);
    void Cancel() { download_.Cancel(); }
    bool Running() const { return download_.Running(); }
    const DownloadResult& Result() const { return result_; }

signals:
    void progress(qint64 received, qint64 total);
    void finished();

private:
    void Downloaded();

    FileDownload download_;
    QString cacheFile_;
    DownloadResult result_;
};

// Fetches the catalogue in a local event loop (the command line's way).
DownloadResult FetchCatalogue(QNetworkAccessManager& network, const QUrl& catalogue,
                              const QString& cacheFile);

}  // namespace fenmar::download
