// Downloads into files against the loopback server: what ends them, and that a file is left
// only by one that succeeded.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>
#include <filesystem>

#include "LoopbackHttpServer.h"
#include "TempDir.h"
#include "download/FileDownload.h"

namespace fenmar::download {
namespace {

namespace fs = std::filesystem;
using Route = test::LoopbackHttpServer::Route;

QByteArray Bytes(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    return bytes;
}

TEST(FileDownload, EndsAsTheServerAnswersAndKeepsAFileOnlyOnSuccess) {
    test::LoopbackHttpServer server;
    const QByteArray body = Bytes(200 * 1024);
    server.Serve("/ok.zip", body);
    server.Serve("/moved", Route{{}, 302, "/ok.zip"});
    server.Serve("/loop1", Route{{}, 302, "/loop2"});
    server.Serve("/loop2", Route{{}, 302, "/loop1"});
    server.Serve("/elsewhere", Route{{}, 302, "ftp://127.0.0.1/x.zip"});
    server.Serve("/short", Route{body, 200, {}, Route::Mode::CutShort});
    server.Serve("/stall", Route{body, 200, {}, Route::Mode::Stall});
    server.Serve("/teapot", Route{"no", 500});

    struct Case {
        QString url;
        DownloadLimits limits;
        DownloadOutcome outcome;
        const char* error;  // part of the message
    };
    DownloadLimits quick;
    quick.stallMs = 400;
    DownloadLimits bounded;
    bounded.expectedBytes = 1000;
    bounded.maxBytes = 2000;
    const Case cases[] = {
        {server.Url("/ok.zip"), {}, DownloadOutcome::Done, ""},
        {server.Url("/moved"), {}, DownloadOutcome::Done, ""},
        {server.Url("/missing.zip"), {}, DownloadOutcome::Failed, "404"},
        {server.Url("/teapot"), {}, DownloadOutcome::Failed, "500"},
        {server.Url("/loop1"), {}, DownloadOutcome::Failed, "redirect"},
        {server.Url("/elsewhere"), {}, DownloadOutcome::Failed, ""},
        {server.Url("/short"), {}, DownloadOutcome::Failed, ""},
        {server.Url("/stall"), quick, DownloadOutcome::Failed, "sent nothing"},
        {server.Url("/ok.zip"), bounded, DownloadOutcome::Failed, "runs past"},
        {"file:///etc/passwd", {}, DownloadOutcome::Failed, "only http"},
        {"http:///nohost", {}, DownloadOutcome::Failed, "only http"},
    };
    test::TempDir dir;
    QNetworkAccessManager network;
    for (const Case& c : cases) {
        const QString target = QString::fromStdString((dir.Path() / "download.part").string());
        const DownloadResult result = DownloadToFile(network, QUrl(c.url), target, c.limits);
        EXPECT_EQ(result.outcome, c.outcome)
            << c.url.toStdString() << ": " << result.error.toStdString();
        EXPECT_TRUE(result.error.contains(QLatin1String(c.error)))
            << c.url.toStdString() << ": " << result.error.toStdString();
        if (c.outcome == DownloadOutcome::Done) {
            EXPECT_EQ(test::ReadFile(target.toStdString()), body.toStdString());
            EXPECT_EQ(result.bytes, body.size());
            fs::remove(target.toStdString());
        } else {
            EXPECT_FALSE(fs::exists(target.toStdString())) << c.url.toStdString();
        }
    }
}

TEST(FileDownload, ReportsProgressAndStopsWhenCancelled) {
    test::LoopbackHttpServer server;
    server.Serve("/slow.zip", Route{Bytes(400 * 1024), 200, {}, Route::Mode::Slow});
    test::TempDir dir;
    const QString target = QString::fromStdString((dir.Path() / "slow.part").string());
    QNetworkAccessManager network;
    FileDownload download(network);
    qint64 seen = 0;
    qint64 total = 0;
    QObject::connect(&download, &FileDownload::progress, [&](qint64 received, qint64 length) {
        seen = received;
        total = length;
        if (received >= 4096) {
            download.Cancel();
        }
    });
    bool finished = false;
    QObject::connect(&download, &FileDownload::finished, [&] { finished = true; });
    download.Start(QUrl(server.Url("/slow.zip")), target, {});
    QEventLoop loop;
    QObject::connect(&download, &FileDownload::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(finished);
    EXPECT_EQ(download.Result().outcome, DownloadOutcome::Cancelled);
    EXPECT_GE(seen, 4096);
    EXPECT_LT(seen, 400 * 1024);
    EXPECT_EQ(total, 400 * 1024);
    EXPECT_FALSE(fs::exists(target.toStdString()));
}

}  // namespace
}  // namespace fenmar::download
