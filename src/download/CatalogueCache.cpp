#include "download/CatalogueCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <filesystem>

#include "addons/Download.h"
#include "maps/MapCache.h"

namespace fenmar::download {

QString CatalogueCacheFile(const QUrl& catalogue) {
    const QString mapCache = QString::fromLocal8Bit(maps::DefaultCacheFile());
    if (mapCache.isEmpty()) {
        return {};
    }
    const QByteArray hash =
        QCryptographicHash::hash(catalogue.toString(QUrl::FullyEncoded).toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    return QFileInfo(mapCache).absolutePath() + QStringLiteral("/addons/catalogue-") +
           QString::fromLatin1(hash) + QStringLiteral(".xml");
}

std::optional<QDateTime> CatalogueFetchedAt(const QString& cacheFile) {
    const QFileInfo info(cacheFile);
    if (cacheFile.isEmpty() || !info.isFile()) {
        return std::nullopt;
    }
    return info.lastModified();
}

CatalogueFetch::CatalogueFetch(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent), download_(network) {
    connect(&download_, &FileDownload::progress, this, &CatalogueFetch::progress);
    connect(&download_, &FileDownload::finished, this, &CatalogueFetch::Downloaded);
}

void CatalogueFetch::Start(const QUrl& catalogue, const QString& cacheFile) {
    cacheFile_ = cacheFile;
    result_ = {};
    if (cacheFile.isEmpty()) {
        result_ = {DownloadOutcome::Failed, QStringLiteral("there is no cache folder"), 0};
        QMetaObject::invokeMethod(this, &CatalogueFetch::finished, Qt::QueuedConnection);
        return;
    }
    QDir().mkpath(QFileInfo(cacheFile).absolutePath());
    DownloadLimits limits;
    limits.maxBytes = addons::kMaxCatalogueBytes;
    download_.Start(catalogue, cacheFile + QStringLiteral(".part"), limits);
}

void CatalogueFetch::Downloaded() {
    result_ = download_.Result();
    if (result_.outcome == DownloadOutcome::Done) {
        // The old copy stays until the new one takes its place in one step.
        const std::filesystem::path part = (cacheFile_ + QStringLiteral(".part")).toStdWString();
        std::error_code error;
        std::filesystem::rename(part, cacheFile_.toStdWString(), error);
        if (error) {
            std::filesystem::remove(part, error);
            result_ = {DownloadOutcome::Failed,
                       QStringLiteral("%1 cannot be replaced").arg(cacheFile_), 0};
        }
    }
    emit finished();
}

DownloadResult FetchCatalogue(QNetworkAccessManager& network, const QUrl& catalogue,
                              const QString& cacheFile) {
    CatalogueFetch fetch(network);
    QEventLoop loop;
    QObject::connect(&fetch, &CatalogueFetch::finished, &loop, &QEventLoop::quit);
    fetch.Start(catalogue, cacheFile);
    if (fetch.Result().outcome == DownloadOutcome::Running) {
        loop.exec();
    }
    return fetch.Result();
}

}  // namespace fenmar::download
