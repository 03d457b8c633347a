#pragma once
// A small HTTP server on 127.0.0.1 for the download tests, running in its own thread (so a
// test may block on a process that talks to it). Each path answers as its route says: the
// bytes, an error status, a redirect, a slow trickle, a stall after the headers, or a body cut
// short of the length it announced. One request per connection.

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace fenmar::test {

class LoopbackHttpServer {
public:
    struct Route {
        enum class Mode { Whole, Slow, Stall, CutShort };
        QByteArray body{};
        int status = 200;
        QByteArray location{};  // for a redirect (status 3xx)
        Mode mode = Mode::Whole;
    };

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // `path` begins with "/". Unknown paths answer 404.
    void Serve(const QString& path, Route route);
    void Serve(const QString& path, const QByteArray& body) { Serve(path, Route{body}); }
    // "http://127.0.0.1:PORT" + path.
    QString Url(const QString& path = {}) const;
    // The paths asked for, in order.
    std::vector<QString> Requests() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace fenmar::test
