// The web server behind answer collection: a small HTTP/1.1 server on this computer's addresses
// (IPv4 and, where the computer has it, IPv6), handing every request as plain values to one
// handler and sending back what it returns. The handler knows nothing of sockets; the server
// knows nothing of questionnaires. It stands up to a hostile client: connections are capped in
// all and per address, every connection has its time-outs, a body is only read when its
// announced length is within the limit its request is given, and only requests that name this
// computer in their Host are served.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/http_request.h"

namespace platform {

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;
// The largest body the request of this head may bring, decided from its method, path and
// headers (the head's body is empty); a longer one announced is answered 413 unread.
using HttpBodyLimit = std::function<qint64(const HttpRequest& head)>;

struct HttpServerLimits {
    // Connections open at once, in all (0: half the open-file limit, at most 512) and from one
    // address (an IPv6 /64). When all are taken, no new one is accepted until one closes; a
    // new one from an address that has all of its own closes that address's connection that
    // is being closed or has waited longest for a request, or is refused when every one of them
    // is in the middle of a request.
    int connections = 0;
    int connectionsPerAddress = 64;
    // A connection waiting this long for a request is closed.
    int idleMs = 5000;
    // A request's head, and a body up to largeBodyBytes, must have come this long after the
    // request's first byte; a larger body is given bodyBytesPerSecond on top. Otherwise 408.
    int requestMs = 5000;
    qint64 bodyBytesPerSecond = 64 * 1024;
    qint64 maxHeadBytes = 8 * 1024;
    // Bodies longer than largeBodyBytes are read only so many at once; another is answered 503.
    qint64 largeBodyBytes = 64 * 1024;
    int largeBodiesAtOnce = 2;
};

class HttpServer {
public:
    // Listens on every address of this computer at `port` (0: any free port), IPv6 beside IPv4
    // where the system has it; nothing when the port cannot be had. The server stops when it is
    // destroyed: its listening socket and every connection are closed at once.
    static std::unique_ptr<HttpServer> Listen(quint16 port, HttpHandler handler, HttpBodyLimit bodyLimit,
                                              HttpServerLimits limits = {});
    ~HttpServer();

    quint16 Port() const;
    // The connections open now (closed ones still being let go count until they are).
    int Connections() const;

private:
    class Impl;
    explicit HttpServer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// The addresses other devices in the room can reach this computer by, as written in a URL: its
// IPv4 addresses on its networks (loopback left out), those of private networks first; only when
// it has none, its IPv6 ones (loopback and link-local left out), in brackets.
QStringList LocalNetworkAddresses();
// The same choice among the given addresses.
QStringList ShownAddresses(const QList<QHostAddress>& addresses);

}  // namespace platform
