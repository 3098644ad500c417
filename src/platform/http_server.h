// The web server behind answer collection and phone scanning: a small HTTP/1.1 server on this
// computer's addresses (IPv4 and, where the computer has it, IPv6), handing every request as plain
// values to one handler and sending back its answer, at once or, for work that takes a while,
// later. The handler knows nothing of sockets; the server knows nothing of questionnaires. It stands up to a hostile client: connections are capped in
// all and per address, every connection has its time-outs, a body is only read when its
// announced length is within the limit its request is given, and only requests that name this
// computer in their Host are served.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "platform/http_request.h"

namespace platform {

// Sends the answer to one request: from the handler at once, or later from the server's thread
// (the program's event loop) once the work is done. Only the first answer is sent; an answer to
// a connection that has gone meanwhile is dropped.
class HttpResponder {
public:
    explicit HttpResponder(std::function<void(HttpResponse)> send);
    void Send(HttpResponse response) const;
    bool Sent() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// A handler that answers at once.
using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;
// A handler that may answer later, through its responder: the connection waits for that answer
// (and reads nothing more meanwhile) while the server goes on serving the others.
using HttpDeferredHandler = std::function<void(HttpRequest request, HttpResponder responder)>;

// What the head of a request is let in with, decided from its method, path, headers and address
// (the head's body is empty) before any of its body is read: the largest body it may bring, a
// longer one announced being answered `refusal` unread; or, when `refused`, `refusal` at once
// whatever it brings. A refused request's connection is closed after the answer.
struct HttpAdmission {
    HttpAdmission(qint64 limit = 0) : bodyLimit(limit) {}  // NOLINT: a bare limit converts
    static HttpAdmission Refused(HttpResponse answer) {
        HttpAdmission admission;
        admission.refused = true;
        admission.refusal = std::move(answer);
        return admission;
    }
    qint64 bodyLimit = 0;
    bool refused = false;
    HttpResponse refusal{413, {}, {}, {}};
};
using HttpBodyLimit = std::function<HttpAdmission(const HttpRequest& head)>;

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
    // A request whose answer has not come this long after its body is answered 503 and its
    // connection closed. While it waits for its answer a connection is neither idle nor timed
    // by the limits above.
    int answerMs = 60000;
};

class HttpServer {
public:
    // Listens on every address of this computer at `port` (0: any free port), IPv6 beside IPv4
    // where the system has it; nothing when the port cannot be had. The server stops when it is
    // destroyed: its listening socket and every connection are closed at once.
    static std::unique_ptr<HttpServer> Listen(quint16 port, HttpDeferredHandler handler, HttpBodyLimit bodyLimit,
                                              HttpServerLimits limits = {});
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
