#include "LoopbackHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <map>
#include <mutex>

namespace fenmar::test {

struct LoopbackHttpServer::Impl {
    QThread thread;
    QObject anchor;                // lives in `thread`: what runs there is queued to it
    QTcpServer* server = nullptr;  // lives in `thread`
    quint16 port = 0;
    mutable std::mutex mutex;
    std::map<QString, Route> routes;
    std::vector<QString> requests;

    void Accept();
    void Answer(QTcpSocket* socket, const QString& path);
};

namespace {
QByteArray Head(int status, qint64 length, const QByteArray& location) {
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + (status < 300 ? " OK" : " Other") +
                      "\r\nContent-Length: " + QByteArray::number(length) +
                      "\r\nConnection: close\r\n";
    if (!location.isEmpty()) {
        head += "Location: " + location + "\r\n";
    }
    return head + "\r\n";
}
}  // namespace

void LoopbackHttpServer::Impl::Accept() {
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (socket->property("answered").toBool()) {
                socket->readAll();
                return;
            }
            QByteArray seen = socket->property("seen").toByteArray() + socket->readAll();
            socket->setProperty("seen", seen);
            if (!seen.contains("\r\n\r\n")) {
                return;
            }
            socket->setProperty("answered", true);
            const QList<QByteArray> first = seen.left(seen.indexOf("\r\n")).split(' ');
            Answer(socket, first.size() > 1 ? QString::fromLatin1(first[1]) : QString());
        });
    }
}

void LoopbackHttpServer::Impl::Answer(QTcpSocket* socket, const QString& path) {
    Route route;
    {
        std::lock_guard<std::mutex> lock(mutex);
        requests.push_back(path);
        auto found = routes.find(path);
        if (found == routes.end()) {
            route.status = 404;
            route.body = "not here";
        } else {
            route = found->second;
        }
    }
    socket->write(Head(route.status, route.body.size(), route.location));
    switch (route.mode) {
        case Route::Mode::Whole:
            socket->write(route.body);
            socket->disconnectFromHost();
            break;
        case Route::Mode::CutShort:
            socket->write(route.body.left(route.body.size() / 2));
            socket->disconnectFromHost();
            break;
        case Route::Mode::Stall:
            socket->write(route.body.left(1));  // then nothing, the connection kept open
            break;
        case Route::Mode::Slow: {
            // A kibibyte every 50 ms.
            auto* timer = new QTimer(socket);
            auto offset = std::make_shared<qsizetype>(0);
            QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, offset, route] {
                socket->write(route.body.mid(*offset, 1024));
                *offset += 1024;
                if (*offset >= route.body.size()) {
                    timer->stop();
                    socket->disconnectFromHost();
                }
            });
            timer->start(50);
            break;
        }
    }
}

LoopbackHttpServer::LoopbackHttpServer() : impl_(std::make_unique<Impl>()) {
    impl_->anchor.moveToThread(&impl_->thread);
    impl_->thread.start();
    QMetaObject::invokeMethod(
        &impl_->anchor,
        [impl = impl_.get()] {
            impl->server = new QTcpServer();
            QObject::connect(impl->server, &QTcpServer::newConnection, impl->server,
                             [impl] { impl->Accept(); });
            impl->server->listen(QHostAddress::LocalHost, 0);
            impl->port = impl->server->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

LoopbackHttpServer::~LoopbackHttpServer() {
    QMetaObject::invokeMethod(
        &impl_->anchor,
        [impl = impl_.get(), back = QThread::currentThread()] {
            for (QTcpSocket* socket : impl->server->findChildren<QTcpSocket*>()) {
                socket->abort();
            }
            delete impl->server;
            impl->anchor.moveToThread(back);
        },
        Qt::BlockingQueuedConnection);
    impl_->thread.quit();
    impl_->thread.wait();
}

void LoopbackHttpServer::Serve(const QString& path, Route route) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->routes[path] = std::move(route);
}

QString LoopbackHttpServer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(impl_->port).arg(path);
}

std::vector<QString> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->requests;
}

}  // namespace fenmar::test
