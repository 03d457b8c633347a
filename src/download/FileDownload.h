#pragma once
// One download over HTTP or HTTPS into a file, written as the bytes arrive (the whole file is
// never held in memory). A few redirects are followed, never to a less safe scheme; a
// download that sends nothing for a while, or runs far past the size it should have, is
// stopped. Whatever ends a download other than success removes the file.

#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

namespace fenmar::download {

struct DownloadLimits {
    qint64 expectedBytes = -1;  // the size it should have, for the progress (-1: unknown)
    qint64 maxBytes = -1;       // stop once more than this arrived (-1: no bound)
    int stallMs = 30000;        // stop after this long without a byte
    int maxRedirects = 5;
};

enum class DownloadOutcome { Running, Done, Cancelled, Failed };

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::Running;
    QString error;  // for the user, when failed
    qint64 bytes = 0;
};

// True for the addresses a download may use: http and https with a host.
bool IsDownloadAddress(const QUrl& url);

class FileDownload : public QObject {
    Q_OBJECT
public:
    explicit FileDownload(QNetworkAccessManager& network, QObject* parent = nullptr);
    ~FileDownload() override;

    // Starts fetching `url` into `target` (created or replaced). finished() follows, also for
    // an address that is refused at once.
    void Start(const QUrl& url, const QString& target, const DownloadLimits& limits);
    // Stops a running download; finished() follows with DownloadOutcome::Cancelled.
    void Cancel();
    bool Running() const { return result_.outcome == DownloadOutcome::Running && reply_; }
    const DownloadResult& Result() const { return result_; }

signals:
    // `total` is the server's length, else the expected size, else -1.
    void progress(qint64 received, qint64 total);
    void finished();

private:
    void ReadAvailable();
    void ReplyFinished();
    void Stop(DownloadOutcome outcome, const QString& error);
    void Finish(DownloadOutcome outcome, const QString& error);

    QNetworkAccessManager& network_;
    QPointer<QNetworkReply> reply_;
    QFile file_;
    QTimer stall_;
    DownloadLimits limits_;
    DownloadResult result_;
    QUrl url_;
    bool stopping_ = false;
};

// Runs one download to its end in a local event loop (the command line's way); `progress`
// hears of every chunk.
DownloadResult DownloadToFile(QNetworkAccessManager& network, const QUrl& url,
                              const QString& target, const DownloadLimits& limits,
                              const std::function<void(qint64, qint64)>& progress = {});

}  // namespace fenmar::download
