#include "download/FileDownload.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace fenmar::download {

namespace {
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kReadBuffer = 256 * 1024;  // what the reply may hold before we read it
}  // namespace

bool IsDownloadAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

FileDownload::FileDownload(QNetworkAccessManager& network, QObject* parent)
    : QObject(parent), network_(network) {
    stall_.setSingleShot(true);
    connect(&stall_, &QTimer::timeout, this, [this] {
        Stop(DownloadOutcome::Failed,
             QStringLiteral("the server sent nothing for %1 s").arg(limits_.stallMs / 1000.0));
    });
}

FileDownload::~FileDownload() {
    if (reply_) {
        stopping_ = true;
        reply_->disconnect(this);
        reply_->abort();
        reply_->deleteLater();
    }
    if (result_.outcome != DownloadOutcome::Done && file_.isOpen()) {
        file_.close();
        file_.remove();
    }
}

void FileDownload::Start(const QUrl& url, const QString& target, const DownloadLimits& limits) {
    limits_ = limits;
    url_ = url;
    result_ = {};
    stopping_ = false;
    const auto refuse = [this](const QString& error) {
        result_ = {DownloadOutcome::Failed, error, 0};
        QMetaObject::invokeMethod(this, &FileDownload::finished, Qt::QueuedConnection);
    };
    if (!IsDownloadAddress(url)) {
        refuse(QStringLiteral("only http and https addresses are fetched, not \"%1\"")
                   .arg(url.toString()));
        return;
    }
    file_.setFileName(target);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        refuse(QStringLiteral("%1 cannot be written: %2").arg(target, file_.errorString()));
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(limits.maxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Fenmar"));
    reply_ = network_.get(request);
    reply_->setReadBufferSize(kReadBuffer);
    connect(reply_, &QNetworkReply::readyRead, this, &FileDownload::ReadAvailable);
    connect(reply_, &QNetworkReply::finished, this, &FileDownload::ReplyFinished);
    connect(reply_, &QNetworkReply::redirected, this, [this](const QUrl& next) {
        if (!IsDownloadAddress(next)) {
            Stop(DownloadOutcome::Failed,
                 QStringLiteral("redirected to \"%1\", which is not fetched").arg(next.toString()));
        }
    });
    stall_.start(limits.stallMs);
}

void FileDownload::Cancel() {
    if (Running()) {
        Stop(DownloadOutcome::Cancelled, QStringLiteral("cancelled"));
    }
}

void FileDownload::ReadAvailable() {
    if (!reply_ || stopping_) {
        return;
    }
    stall_.start(limits_.stallMs);
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool keep = status < 300;  // an error page or a redirect's body is no part of it
    while (reply_ && reply_->bytesAvailable() > 0) {
        const QByteArray chunk = reply_->read(kChunk);
        if (!keep) {
            continue;
        }
        if (file_.write(chunk) != chunk.size()) {
            Stop(DownloadOutcome::Failed, QStringLiteral("%1 cannot be written: %2")
                                              .arg(file_.fileName(), file_.errorString()));
            return;
        }
        result_.bytes += chunk.size();
        if (limits_.maxBytes >= 0 && result_.bytes > limits_.maxBytes) {
            Stop(DownloadOutcome::Failed,
                 QStringLiteral("the download runs past the %1 bytes it should have; stopped")
                     .arg(limits_.expectedBytes >= 0 ? limits_.expectedBytes : limits_.maxBytes));
            return;
        }
    }
    if (keep) {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        emit progress(result_.bytes,
                      length.isValid() ? length.toLongLong() : limits_.expectedBytes);
    }
}

void FileDownload::ReplyFinished() {
    if (!reply_ || stopping_) {
        return;
    }
    ReadAvailable();
    if (!reply_) {
        return;  // stopped while reading the rest
    }
    if (reply_->error() != QNetworkReply::NoError) {
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        QString error =
            reply_->error() == QNetworkReply::TooManyRedirectsError
                ? QStringLiteral("too many redirects (more than %1)").arg(limits_.maxRedirects)
                : reply_->errorString();
        if (status >= 400) {
            error =
                QStringLiteral("the server answered %1 %2")
                    .arg(status)
                    .arg(reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        }
        Finish(DownloadOutcome::Failed, error + QStringLiteral(" (%1)").arg(url_.toString()));
        return;
    }
    const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && result_.bytes < length.toLongLong()) {
        Finish(DownloadOutcome::Failed, QStringLiteral("the download was cut short after %1 of "
                                                       "%2 bytes")
                                            .arg(result_.bytes)
                                            .arg(length.toLongLong()));
        return;
    }
    if (!file_.flush()) {
        Finish(
            DownloadOutcome::Failed,
            QStringLiteral("%1 cannot be written: %2").arg(file_.fileName(), file_.errorString()));
        return;
    }
    file_.close();
    Finish(DownloadOutcome::Done, {});
}

void FileDownload::Stop(DownloadOutcome outcome, const QString& error) {
    stopping_ = true;
    if (reply_) {
        reply_->abort();
    }
    Finish(outcome, error);
}

void FileDownload::Finish(DownloadOutcome outcome, const QString& error) {
    stall_.stop();
    if (reply_) {
        reply_->disconnect(this);
        reply_->deleteLater();
        reply_ = nullptr;
    }
    if (outcome != DownloadOutcome::Done) {
        file_.close();
        file_.remove();
    }
    result_.outcome = outcome;
    result_.error = error;
    emit finished();
}

DownloadResult DownloadToFile(QNetworkAccessManager& network, const QUrl& url,
                              const QString& target, const DownloadLimits& limits,
                              const std::function<void(qint64, qint64)>& progress) {
    FileDownload download(network);
    QEventLoop loop;
    QObject::connect(&download, &FileDownload::finished, &loop, &QEventLoop::quit);
    if (progress) {
        QObject::connect(&download, &FileDownload::progress, &loop, progress);
    }
    download.Start(url, target, limits);
    if (download.Result().outcome == DownloadOutcome::Running) {
        loop.exec();
    }
    return download.Result();
}

}  // namespace fenmar::download
