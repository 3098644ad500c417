// The web server behind answer collection: Qt's HTTP server listening on this computer's IPv4
// addresses, handing every request as plain values to one handler and sending back what it
// returns. The handler knows nothing of sockets; the server knows nothing of questionnaires.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

struct HttpRequest {
    QByteArray method;  // "GET", "POST", ...
    QByteArray path;    // the URL's path, without the query
    QByteArray query;   // the URL's query, without "?"
    QByteArray contentType;
    QByteArray cookie;  // the Cookie header as sent
    QByteArray body;
    QString remoteAddress;
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // beyond the content type
};

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;

class HttpServer {
public:
    // A connection that sends more than this in all is cut off before Qt's server keeps it in
    // memory: no request the handler accepts comes near it.
    static constexpr qint64 kMaxConnectionBytes = 512 * 1024;

    // Listens on every IPv4 address of this computer at `port` (0: any free port); nothing when
    // the port cannot be had. The server stops when it is destroyed: its listening socket and
    // every connection are closed at once.
    static std::unique_ptr<HttpServer> Listen(quint16 port, HttpHandler handler);
    ~HttpServer();

    quint16 Port() const;

private:
    class Impl;
    explicit HttpServer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The IPv4 addresses of this computer on its networks (loopback left out), those of private
// networks first: the addresses other devices in the room can reach it by.
QStringList LocalNetworkAddresses();

}  // namespace platform
