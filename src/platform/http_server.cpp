// Qt's HTTP server under the plain request handler, and the computer's network addresses.
#include "platform/http_server.h"

#include <QAbstractHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace platform {
namespace {

constexpr qint64 kMaxDroppedBytes = 64 * 1024 * 1024;

// Accepts connections and cuts off one that sends too much, before Qt's server has buffered it.
class CappedTcpServer : public QTcpServer {
protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor)) {
            delete socket;
            return;
        }
        // A page goes out as soon as it is written, not held back to be joined with more.
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Connected before the HTTP server's own reader, so it sees each arrival unread. Beyond
        // the limit the client is told so, and what it still sends is dropped unread until it
        // stops (a second of quiet) or sends far too much; then the connection is closed.
        auto received = std::make_shared<qint64>(0);
        auto* quiet = new QTimer(socket);
        quiet->setSingleShot(true);
        quiet->setInterval(1000);
        connect(quiet, &QTimer::timeout, socket, &QTcpSocket::disconnectFromHost);
        connect(socket, &QTcpSocket::readyRead, socket, [socket, received, quiet] {
            const bool wasOver = *received > HttpServer::kMaxConnectionBytes;
            *received += socket->bytesAvailable();
            if (*received <= HttpServer::kMaxConnectionBytes) return;
            socket->readAll();
            if (*received > kMaxDroppedBytes) return socket->abort();
            quiet->start();
            if (wasOver) return;
            socket->write(QByteArrayLiteral("HTTP/1.1 413 Payload Too Large\r\nContent-Length: 0\r\n"
                                            "Connection: close\r\n\r\n"));
        });
        addPendingConnection(socket);
    }
};

QByteArray MethodName(QHttpServerRequest::Method method) {
    switch (method) {
        case QHttpServerRequest::Method::Get: return QByteArrayLiteral("GET");
        case QHttpServerRequest::Method::Post: return QByteArrayLiteral("POST");
        case QHttpServerRequest::Method::Head: return QByteArrayLiteral("HEAD");
        case QHttpServerRequest::Method::Put: return QByteArrayLiteral("PUT");
        case QHttpServerRequest::Method::Delete: return QByteArrayLiteral("DELETE");
        case QHttpServerRequest::Method::Options: return QByteArrayLiteral("OPTIONS");
        case QHttpServerRequest::Method::Patch: return QByteArrayLiteral("PATCH");
        default: return QByteArrayLiteral("OTHER");
    }
}

// 10/8, 172.16/12 and 192.168/16: the addresses a school's own network hands out.
bool IsPrivateNetwork(const QHostAddress& address) {
    const quint32 ip = address.toIPv4Address();
    return (ip >> 24) == 10 || (ip >> 20) == (172u << 4 | 1u) || (ip >> 16) == (192u << 8 | 168u);
}

}  // namespace

class HttpServer::Impl : public QAbstractHttpServer {
public:
    explicit Impl(HttpHandler handler) : handler_(std::move(handler)) {}

    quint16 port = 0;

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        HttpRequest plain;
        plain.method = MethodName(request.method());
        plain.path = request.url().path(QUrl::FullyEncoded).toUtf8();
        plain.query = request.url().query(QUrl::FullyEncoded).toUtf8();
        plain.contentType = request.value(QByteArrayLiteral("content-type"));
        plain.cookie = request.value(QByteArrayLiteral("cookie"));
        plain.body = request.body();
        plain.remoteAddress = request.remoteAddress().toString();
        const HttpResponse answer = handler_(plain);
        QHttpServerResponse response(answer.contentType, answer.body,
                                     static_cast<QHttpServerResponse::StatusCode>(answer.status));
        for (const auto& [name, value] : answer.headers) response.addHeader(name, value);
        response.write(makeResponder(request, socket));
        return true;
    }
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override {}

private:
    HttpHandler handler_;
};

std::unique_ptr<HttpServer> HttpServer::Listen(quint16 port, HttpHandler handler) {
    auto impl = std::make_unique<Impl>(std::move(handler));
    auto* tcp = new CappedTcpServer;
    if (!tcp->listen(QHostAddress::AnyIPv4, port)) {
        delete tcp;
        return nullptr;
    }
    impl->port = tcp->serverPort();
    impl->bind(tcp);  // the HTTP server takes the listening socket as its child
    return std::unique_ptr<HttpServer>(new HttpServer(std::move(impl)));
}

HttpServer::HttpServer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

HttpServer::~HttpServer() {
    // The listening socket and the connections are children of the server: all go now.
    for (QTcpServer* tcp : impl_->servers()) tcp->close();
}

quint16 HttpServer::Port() const { return impl_->port; }

QStringList LocalNetworkAddresses() {
    QList<QHostAddress> found;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback()) found << ip;
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const QHostAddress& a, const QHostAddress& b) {
        return IsPrivateNetwork(a) && !IsPrivateNetwork(b);
    });
    QStringList addresses;
    for (const QHostAddress& ip : found) addresses << ip.toString();
    return addresses;
}

}  // namespace platform
