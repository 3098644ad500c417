// The web server's connections: accepting them within the caps, reading their requests within
// their time-outs, answering them at once or later, and letting them go; and the computer's
// addresses.
#include "platform/http_server.h"

#include <QHash>
#include <QNetworkInterface>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <chrono>
#include <climits>
#include <vector>

#include "platform/memory.h"
#include "platform/process_limits.h"

namespace platform {
namespace {

constexpr int kMostConnections = 512;
// Answers a client has not taken yet; past this its further requests wait.
constexpr qint64 kMostUnsentBytes = 1024 * 1024;
// What a refused client may still send, read and dropped, before it is cut off.
constexpr qint64 kMostDiscardedBytes = 64 * 1024 * 1024;
constexpr int kResumeAfterAcceptErrorMs = 250;
// What Qt keeps of one connection's arrivals before it is read: a client sending more waits.
constexpr qint64 kSocketBufferBytes = 64 * 1024;
constexpr int kGiveBackMemoryAfterMs = 1000;

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class Connection;

// The listening socket and the connections.
class Server : public QObject {
public:
    Server(HttpDeferredHandler handler, HttpBodyLimit bodyLimit, HttpServerLimits limits);
    ~Server() override;

    bool Listen(quint16 requestedPort);
    int MostConnections() const { return mostConnections_; }
    void Closed(Connection* connection);

    const HttpDeferredHandler handler;
    const HttpBodyLimit bodyLimit;
    const HttpServerLimits limits;
    quint16 port = 0;
    int largeBodies = 0;
    std::vector<Connection*> connections;

private:
    void Accept();
    void Adopt(QTcpSocket* socket);
    bool DropLongestIdle(const QString& group);

    QTcpServer listener_;  // the listening socket, bound; this server accepts from it itself
    QSocketNotifier* accepting_ = nullptr;
    int mostConnections_ = 0;
    QHash<QString, int> perAddress_;
    bool inAccept_ = false;
    bool waitingForFiles_ = false;
    QTimer resume_;
    QTimer giveBackMemory_;
};

// One client's connection: its requests read one after another, each answered in turn.
class Connection : public QObject {
public:
    Connection(Server& server, QTcpSocket* socket, QString address, QString group)
        : QObject(&server),
          server_(server),
          limits_(server.limits),
          socket_(socket),
          address_(std::move(address)),
          group_(std::move(group)),
          reader_(server.limits.maxHeadBytes) {
        socket_->setParent(this);
        // An answer goes out as soon as it is written, not held back to be joined with more.
        socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        deadline_.setSingleShot(true);
        connect(&deadline_, &QTimer::timeout, this, &Connection::TimedOut);
        connect(socket_, &QTcpSocket::readyRead, this, &Connection::Read);
        connect(socket_, &QTcpSocket::bytesWritten, this, &Connection::Written);
        connect(socket_, &QTcpSocket::disconnected, this, &Connection::Finish);
    }

    void Start() {
        WaitForRequest();
        if (socket_->bytesAvailable() > 0) Read();
    }
    const QString& Group() const { return group_; }
    // Closing, or waiting for a request of which nothing has come yet with every answer sent:
    // nothing is lost when it is closed at once.
    bool Idle() const {
        return closing_ || (!answering_ && !reader_.Started() && socket_->bytesToWrite() == 0);
    }
    // The closing first, then the one that has waited longest.
    bool IdleLongerThan(const Connection& other) const {
        return closing_ != other.closing_ ? closing_ : waitingSince_ < other.waitingSince_;
    }

    // Closed at once.
    void Drop() {
        socket_->abort();
        Finish();
    }
    // The server is going: closed at once, without a word more. An answer already written still
    // goes out (what the system takes of it without waiting), such as a service's last one.
    void Detach() {
        finished_ = true;
        socket_->disconnect(this);
        socket_->flush();
        socket_->abort();
    }

private:
    void Read() {
        // A client that does not take its answers, or whose request waits for its answer, is not
        // read either (its further requests wait in the system's buffers) until then.
        if (!closing_ && (answering_ || socket_->bytesToWrite() > kMostUnsentBytes)) return;
        const QByteArray bytes = socket_->readAll();
        if (closing_) {
            discarded_ += bytes.size();
            if (discarded_ > kMostDiscardedBytes) Drop();
            return;
        }
        reader_.Append(bytes);
        Serve();
    }

    void Written() {
        if (closing_) {
            if (socket_->bytesToWrite() == 0) StopSending();
        } else if (socket_->bytesToWrite() <= kMostUnsentBytes) {
            Read();
        }
    }

    void Serve() {
        serving_ = true;
        const QPointer<Connection> alive(this);
        ServeRequests();
        if (alive) serving_ = false;
    }

    void ServeRequests() {
        while (!closing_ && !answering_ && socket_->bytesToWrite() <= kMostUnsentBytes) {
            if (reader_.Started() && !requestTimed_) {
                requestTimed_ = true;
                requestStart_ = NowMs();
                deadline_.start(limits_.requestMs);
            }
            switch (reader_.Next()) {
                case HttpRequestReader::Event::None:
                    return;
                case HttpRequestReader::Event::HeadTooLarge:
                    return Refuse(Bare(431));
                case HttpRequestReader::Event::Head:
                    if (std::optional<HttpResponse> refusal = StartBody()) return Refuse(*refusal);
                    break;
                case HttpRequestReader::Event::Body: {
                    if (!Hand()) return;  // the handler took the server down with it
                    break;
                }
            }
        }
    }

    // The request whose body has come handed to the handler, which answers now or later; false
    // when this connection is gone by the time the handler returns.
    bool Hand() {
        ReleaseLargeBody();
        head_.request.body = reader_.TakeBody();
        answering_ = true;
        headOnly_ = head_.request.method == "HEAD";
        deadline_.start(limits_.answerMs);
        const quint64 request = ++requests_;
        const QPointer<Connection> alive(this);
        server_.handler(std::exchange(head_.request, {}), HttpResponder([alive, request](HttpResponse response) {
                            if (alive) alive->Answer(request, std::move(response));
                        }));
        return !alive.isNull();
    }

    // The answer to request number `request`, when it is still awaited; then the next request.
    void Answer(quint64 request, const HttpResponse& response) {
        if (finished_ || closing_ || !answering_ || request != requests_) return;
        answering_ = false;
        const bool close = !head_.keepAlive;
        socket_->write(ResponseBytes(response, close, headOnly_));
        head_ = {};
        if (close) return Close();
        WaitForRequest();
        // What came meanwhile is read now; an answer given from within the handler lets the
        // loop of Serve go on by itself.
        if (!serving_) Read();
    }

    static HttpResponse Bare(int status) {
        HttpResponse refusal{status, {}, {}, {}};
        if (status == 503) refusal.headers << qMakePair(QByteArrayLiteral("Retry-After"), QByteArrayLiteral("1"));
        return refusal;
    }

    // The body of the head just read is to be read when the head is sound, names this server
    // and is let in with a body within its limit; otherwise the answer to refuse it with.
    std::optional<HttpResponse> StartBody() {
        head_ = reader_.Head();
        if (head_.refusal != 0) return Bare(head_.refusal);
        if (!head_.hasHost) return Bare(400);
        if (!HostNamesThisServer(head_.host, server_.port, socket_->localAddress())) return Bare(421);
        head_.request.remoteAddress = address_;
        const qint64 length = head_.contentLength;
        HttpAdmission admission = server_.bodyLimit(head_.request);
        if (admission.refused || length > admission.bodyLimit) return std::move(admission.refusal);
        if (length > limits_.largeBodyBytes) {
            if (server_.largeBodies >= limits_.largeBodiesAtOnce) return Bare(503);
            ++server_.largeBodies;
            largeBody_ = true;
            const qint64 allowed = requestStart_ + limits_.requestMs +
                                   length * 1000 / std::max<qint64>(1, limits_.bodyBytesPerSecond);
            deadline_.start(static_cast<int>(std::clamp<qint64>(allowed - NowMs(), 0, INT_MAX)));
        }
        reader_.ReadBody(length);
        if (head_.expectsContinue && length > reader_.Buffered()) socket_->write("HTTP/1.1 100 Continue\r\n\r\n");
        return std::nullopt;
    }

    void WaitForRequest() {
        requestTimed_ = false;
        waitingSince_ = NowMs();
        deadline_.start(limits_.idleMs);
    }

    void TimedOut() {
        if (closing_) return Drop();
        if (answering_) {
            answering_ = false;
            return Refuse(Bare(503));
        }
        if (reader_.Started()) return Refuse(Bare(408));
        Close();
    }

    // The answer, then the connection closed.
    void Refuse(const HttpResponse& refusal) {
        socket_->write(ResponseBytes(refusal, true));
        Close();
    }

    // What is written is sent and the sending side shut, so that the client reads its answer
    // to the end; what it still sends is dropped unread until it closes or time runs out. (A
    // socket closed with unread bytes is reset, and a reset can destroy the answer before the
    // client has read it.)
    void Close() {
        closing_ = true;
        ReleaseLargeBody();
        deadline_.start(limits_.requestMs);
        if (socket_->bytesToWrite() == 0) StopSending();
    }

    void StopSending() {
        if (stoppedSending_) return;
        stoppedSending_ = true;
        ::shutdown(static_cast<int>(socket_->socketDescriptor()), SHUT_WR);
    }

    void ReleaseLargeBody() {
        if (!largeBody_) return;
        largeBody_ = false;
        --server_.largeBodies;
    }

    void Finish() {
        if (finished_) return;
        finished_ = true;
        deadline_.stop();
        ReleaseLargeBody();
        socket_->disconnect(this);
        socket_->abort();
        server_.Closed(this);
        deleteLater();
    }

    Server& server_;
    const HttpServerLimits& limits_;
    QTcpSocket* socket_;
    const QString address_;
    const QString group_;
    HttpRequestReader reader_;
    HttpRequestHead head_;  // the request whose body is being read, or whose answer is awaited
    QTimer deadline_;
    std::int64_t waitingSince_ = 0;
    std::int64_t requestStart_ = 0;
    bool requestTimed_ = false;
    bool largeBody_ = false;
    bool answering_ = false;  // a request is with the handler
    bool headOnly_ = false;   // and it is a HEAD
    bool serving_ = false;    // within Serve
    quint64 requests_ = 0;    // handed to the handler so far
    bool closing_ = false;
    bool stoppedSending_ = false;
    bool finished_ = false;
    qint64 discarded_ = 0;
};

Server::Server(HttpDeferredHandler handlerToUse, HttpBodyLimit bodyLimitToUse, HttpServerLimits limitsToUse)
    : handler(std::move(handlerToUse)), bodyLimit(std::move(bodyLimitToUse)), limits(limitsToUse) {
    // Out of files: accepting waits a moment, since the listening socket stays ready and would be
    // tried again without end.
    resume_.setSingleShot(true);
    connect(&resume_, &QTimer::timeout, this, [this] {
        waitingForFiles_ = false;
        Accept();
    });
    // The memory of closed connections goes back to the system once they have stopped coming:
    // the allocator keeps freed memory between blocks still in use otherwise.
    giveBackMemory_.setSingleShot(true);
    connect(&giveBackMemory_, &QTimer::timeout, this, [] { ReturnFreedMemory(); });
}

Server::~Server() {
    delete accepting_;
    listener_.close();
    for (Connection* connection : connections) connection->Detach();
    connections.clear();
}

bool Server::Listen(quint16 requestedPort) {
    // Both IPv6 and IPv4 on one socket; IPv4 alone where the system has no IPv6.
    if (!listener_.listen(QHostAddress::Any, requestedPort) &&
        !listener_.listen(QHostAddress::AnyIPv4, requestedPort)) {
        return false;
    }
    port = listener_.serverPort();
    // Well below the open-file limit: the rest of the program keeps its files.
    mostConnections_ = limits.connections > 0 ? limits.connections
                                              : std::clamp(OpenFileLimit() / 2, 1, kMostConnections);
    // Qt's own accepting would try again at once, without end, when the process is out of files.
    listener_.pauseAccepting();
    accepting_ = new QSocketNotifier(listener_.socketDescriptor(), QSocketNotifier::Read, this);
    connect(accepting_, &QSocketNotifier::activated, this, &Server::Accept);
    return true;
}

// Takes the waiting clients while there is room. With all connections taken, or no file left
// for one, the listening socket is not watched: further clients wait in the system's queue.
void Server::Accept() {
    if (inAccept_ || !accepting_) return;
    inAccept_ = true;
    while (!waitingForFiles_ && static_cast<int>(connections.size()) < MostConnections()) {
        const int descriptor = ::accept4(static_cast<int>(listener_.socketDescriptor()), nullptr, nullptr,
                                         SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                waitingForFiles_ = true;
                resume_.start(kResumeAfterAcceptErrorMs);
            }
            break;  // EAGAIN: nobody waits
        }
        auto* socket = new QTcpSocket;
        socket->setReadBufferSize(kSocketBufferBytes);
        if (!socket->setSocketDescriptor(descriptor)) {
            ::close(descriptor);
            delete socket;
            continue;
        }
        Adopt(socket);
    }
    inAccept_ = false;
    accepting_->setEnabled(!waitingForFiles_ && static_cast<int>(connections.size()) < MostConnections());
}

void Server::Adopt(QTcpSocket* socket) {
    if (socket->state() != QAbstractSocket::ConnectedState) {
        delete socket;
        return;
    }
    const QString address = PlainAddress(socket->peerAddress()).toString();
    const QString group = AddressGroup(address);
    if (perAddress_.value(group) >= limits.connectionsPerAddress && !DropLongestIdle(group)) {
        socket->abort();
        delete socket;
        return;
    }
    auto* connection = new Connection(*this, socket, address, group);
    connections.push_back(connection);
    ++perAddress_[group];
    connection->Start();
}

bool Server::DropLongestIdle(const QString& group) {
    Connection* longest = nullptr;
    for (Connection* connection : connections) {
        if (connection->Group() == group && connection->Idle() && (!longest || connection->IdleLongerThan(*longest))) {
            longest = connection;
        }
    }
    if (longest) longest->Drop();
    return longest != nullptr;
}

void Server::Closed(Connection* connection) {
    connections.erase(std::find(connections.begin(), connections.end(), connection));
    const auto count = perAddress_.find(connection->Group());
    if (--count.value() == 0) perAddress_.erase(count);
    if (!giveBackMemory_.isActive()) giveBackMemory_.start(kGiveBackMemoryAfterMs);
    Accept();
}

}  // namespace

class HttpServer::Impl : public Server {
    using Server::Server;
};

struct HttpResponder::State {
    std::function<void(HttpResponse)> send;
    bool sent = false;
};

HttpResponder::HttpResponder(std::function<void(HttpResponse)> send)
    : state_(std::make_shared<State>(State{std::move(send), false})) {}

void HttpResponder::Send(HttpResponse response) const {
    if (state_->sent) return;
    state_->sent = true;
    // Let go with the answer: what the sending holds is not kept by copies of the responder.
    std::exchange(state_->send, {})(std::move(response));
}

bool HttpResponder::Sent() const { return state_->sent; }

std::unique_ptr<HttpServer> HttpServer::Listen(quint16 port, HttpDeferredHandler handler, HttpBodyLimit bodyLimit,
                                               HttpServerLimits limits) {
    auto impl = std::make_unique<Impl>(std::move(handler), std::move(bodyLimit), limits);
    if (!impl->Listen(port)) return nullptr;
    return std::unique_ptr<HttpServer>(new HttpServer(std::move(impl)));
}

std::unique_ptr<HttpServer> HttpServer::Listen(quint16 port, HttpHandler handler, HttpBodyLimit bodyLimit,
                                               HttpServerLimits limits) {
    auto answerAtOnce = [handler = std::move(handler)](const HttpRequest& request, const HttpResponder& responder) {
        responder.Send(handler(request));
    };
    return Listen(port, HttpDeferredHandler(std::move(answerAtOnce)), std::move(bodyLimit), limits);
}

HttpServer::HttpServer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

HttpServer::~HttpServer() = default;

quint16 HttpServer::Port() const { return impl_->port; }

int HttpServer::Connections() const { return static_cast<int>(impl_->connections.size()); }

QStringList ShownAddresses(const QList<QHostAddress>& addresses) {
    // 10/8, 172.16/12 and 192.168/16: the addresses a school's own network hands out.
    const auto isPrivate = [](const QHostAddress& ip) {
        const quint32 v4 = ip.toIPv4Address();
        return (v4 >> 24) == 10 || (v4 >> 20) == (172u << 4 | 1u) || (v4 >> 16) == (192u << 8 | 168u);
    };
    QList<QHostAddress> ipv4;
    QStringList ipv6;
    for (const QHostAddress& any : addresses) {
        const QHostAddress ip = PlainAddress(any);
        if (ip.isLoopback() || ip.isNull()) continue;
        if (ip.protocol() == QAbstractSocket::IPv4Protocol) {
            ipv4 << ip;
        } else if (ip.protocol() == QAbstractSocket::IPv6Protocol && !ip.isLinkLocal()) {
            QHostAddress unscoped = ip;
            unscoped.setScopeId({});
            ipv6 << QLatin1Char('[') + unscoped.toString() + QLatin1Char(']');
        }
    }
    if (ipv4.isEmpty()) return ipv6;
    std::stable_sort(ipv4.begin(), ipv4.end(),
                     [&](const QHostAddress& a, const QHostAddress& b) { return isPrivate(a) && !isPrivate(b); });
    QStringList shown;
    for (const QHostAddress& ip : ipv4) shown << ip.toString();
    return shown;
}

QStringList LocalNetworkAddresses() {
    QList<QHostAddress> found;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        const auto flags = interface.flags();
        if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
            (flags & QNetworkInterface::IsLoopBack)) {
            continue;
        }
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) found << entry.ip();
    }
    return ShownAddresses(found);
}

}  // namespace platform
