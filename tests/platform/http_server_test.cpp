// The web server on 127.0.0.1 against clients the test opens and holds itself, with small caps
// and time-outs: requests answered in turn, refusals made from the head alone, time-outs, the
// caps on connections and large bodies, accepting paused while the process is out of files,
// answers given later; and the server shared by services of their own paths.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <memory>
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/http_server.h"
#include "platform/shared_http_server.h"

using namespace platform;

namespace {

class HttpServerTest : public ::testing::Test {
protected:
    void Start(HttpServerLimits limits) {
        const auto handle = [this](const HttpRequest& request) {
            ++handled;
            return HttpResponse{200, "text/plain", request.method + ' ' + request.path + " [" + request.body + "] " +
                                                       request.remoteAddress.toLatin1(), {}};
        };
        const auto bodyLimit = [](const HttpRequest& head) -> HttpAdmission {
            if (head.path == "/refused") return HttpAdmission::Refused({403, "text/plain", "refused", {}});
            return head.path == "/small" ? 10 : head.path == "/large" ? 1000 : 0;
        };
        server = HttpServer::Listen(0, handle, bodyLimit, limits);
        ASSERT_TRUE(server);
        UsePort(server->Port());
    }
    void UsePort(quint16 serverPort) {
        port = serverPort;
        host = "Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n";
    }
    // A connection begun, the server not given a moment to take it.
    QTcpSocket* Open(const QString& address = QStringLiteral("127.0.0.1")) {
        clients.push_back(std::make_unique<QTcpSocket>());
        clients.back()->connectToHost(address, port);
        return clients.back().get();
    }
    QTcpSocket* Connect(const QString& address = QStringLiteral("127.0.0.1")) {
        QTcpSocket* client = Open(address);
        static_cast<void>(QTest::qWaitFor([&] { return client->state() == QAbstractSocket::ConnectedState; }, 1000));
        return client;
    }
    // The next whole response on the connection (its status line, headers and body), or what has
    // come by then.
    QByteArray Response(QTcpSocket* client, int ms = 1000) {
        QByteArray& got = received[client];
        const auto whole = [&]() -> qsizetype {
            got += client->readAll();
            const qsizetype end = got.indexOf("\r\n\r\n");
            if (end < 0) return -1;
            const qsizetype length = got.indexOf("Content-Length: ");
            const qsizetype size = end + 4 + got.mid(length + 16, got.indexOf('\r', length) - length - 16).toLongLong();
            return got.size() >= size ? size : -1;
        };
        static_cast<void>(QTest::qWaitFor([&] { return whole() >= 0; }, ms));
        const qsizetype size = whole();
        const QByteArray response = size < 0 ? std::exchange(got, {}) : got.left(size);
        if (size >= 0) got.remove(0, size);
        return response;
    }
    // The processor time this process takes while its event loop runs for `ms`.
    static double CpuSecondsOfEventLoop(int ms) {
        const std::clock_t start = std::clock();
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
        return double(std::clock() - start) / CLOCKS_PER_SEC;
    }
    static int Status(const QByteArray& response) { return response.mid(9, 3).toInt(); }
    static bool Closed(QTcpSocket* client) { return client->state() == QAbstractSocket::UnconnectedState; }
    static bool ClosedWithin(QTcpSocket* client, int ms) { return QTest::qWaitFor([&] { return Closed(client); }, ms); }

    std::unique_ptr<HttpServer> server;
    quint16 port = 0;
    QByteArray host;
    int handled = 0;
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    std::map<QTcpSocket*, QByteArray> received;
};

TEST_F(HttpServerTest, AnswersRequestsInTurnOnOneConnectionAndClosesWhenAsked) {
    Start({});
    QTcpSocket* client = Connect();
    client->write("GET /a?x HTTP/1.1\r\n" + host + "\r\nPOST /small HTTP/1.1\r\n" + host +
                  "Content-Length: 3\r\n\r\nabcHEAD /b HTTP/1.1\r\n" + host + "Connection: close\r\n\r\n");
    EXPECT_TRUE(Response(client).endsWith("\r\n\r\nGET /a [] 127.0.0.1"));
    EXPECT_TRUE(Response(client).endsWith("\r\n\r\nPOST /small [abc] 127.0.0.1"));
    const QByteArray head = Response(client, 300);
    EXPECT_TRUE(head.startsWith("HTTP/1.1 200 OK\r\n"));
    EXPECT_TRUE(head.contains("Connection: close\r\n"));
    EXPECT_TRUE(head.endsWith("\r\n\r\n")) << "no body to HEAD";
    EXPECT_TRUE(ClosedWithin(client, 1000));
    EXPECT_EQ(handled, 3);
}

TEST_F(HttpServerTest, RefusesFromTheHeadAloneAtOnceAndCloses) {
    HttpServerLimits limits;
    limits.maxHeadBytes = 200;
    Start(limits);
    const QByteArray port = QByteArray::number(server->Port());
    const struct {
        QByteArray head;
        int status;
    } refused[] = {
        {"GET / HTTP/1.1\r\nHost: evil.example:" + port + "\r\n\r\n", 421},
        {"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 421},
        {"GET / HTTP/1.1\r\n\r\n", 400},
        {"POST /small HTTP/1.1\r\n" + host + "Content-Length: 11\r\n\r\n", 413},
        {"POST /large HTTP/1.1\r\n" + host + "Content-Length: 104857600\r\n\r\n", 413},
        {"POST /elsewhere HTTP/1.1\r\n" + host + "Content-Length: 1\r\n\r\n", 413},
        {"POST /large HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n", 501},
        {"GET /refused HTTP/1.1\r\n" + host + "\r\n", 403},
        {"GET / HTTP/1.1\r\n" + host + "X: " + QByteArray(300, 'x'), 431},
    };
    for (const auto& request : refused) {
        QTcpSocket* client = Connect();
        QElapsedTimer clock;
        clock.start();
        client->write(request.head);
        EXPECT_EQ(Status(Response(client)), request.status) << request.head.toStdString();
        EXPECT_LT(clock.elapsed(), 500) << request.head.toStdString();
        EXPECT_TRUE(ClosedWithin(client, 1000)) << request.head.toStdString();
    }
    EXPECT_EQ(handled, 0);
}

TEST_F(HttpServerTest, ClosesIdleAndSlowConnectionsAfterTheirTimeOuts) {
    HttpServerLimits limits;
    limits.idleMs = 150;
    limits.requestMs = 150;
    Start(limits);
    QTcpSocket* idle = Connect();
    QTcpSocket* answered = Connect();
    answered->write("GET / HTTP/1.1\r\n" + host + "\r\n");
    QTcpSocket* halfHead = Connect();
    halfHead->write("GET / HTTP/1.1\r\n" + host);
    QTcpSocket* halfBody = Connect();
    halfBody->write("POST /large HTTP/1.1\r\n" + host + "Content-Length: 20\r\n\r\nkod=1");
    EXPECT_EQ(Status(Response(answered)), 200);
    QTest::qWait(50);
    for (QTcpSocket* client : {idle, answered, halfHead, halfBody}) EXPECT_NE(client->state(), QAbstractSocket::UnconnectedState);
    EXPECT_EQ(Status(Response(halfHead)), 408);
    EXPECT_EQ(Status(Response(halfBody)), 408);
    for (QTcpSocket* client : {idle, answered, halfHead, halfBody}) EXPECT_TRUE(ClosedWithin(client, 1000));
    EXPECT_EQ(received[idle], QByteArray());
}

TEST_F(HttpServerTest, AnAddressAtItsCapGivesUpItsLongestWaitingConnection) {
    HttpServerLimits limits;
    limits.connectionsPerAddress = 4;
    Start(limits);
    std::vector<QTcpSocket*> held;
    for (int i = 0; i < 10; ++i) held.push_back(Connect());
    EXPECT_TRUE(ClosedWithin(held[5], 1000));
    EXPECT_EQ(server->Connections(), 4);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(Closed(held[i])) << i;
    // Not one mid-request is given up: with all four of them sending, a fifth is refused.
    for (int i = 6; i < 10; ++i) held[i]->write("GET");
    QTest::qWait(50);
    EXPECT_TRUE(ClosedWithin(Connect(), 1000));
    for (int i = 6; i < 10; ++i) EXPECT_FALSE(Closed(held[i])) << i;
    // One finishes its request and waits again: the next newcomer takes its place and is served.
    held[9]->write(" / HTTP/1.1\r\n" + host + "\r\n");
    EXPECT_EQ(Status(Response(held[9])), 200);
    QElapsedTimer clock;
    clock.start();
    QTcpSocket* real = Connect();
    real->write("GET / HTTP/1.1\r\n" + host + "\r\n");
    EXPECT_EQ(Status(Response(real)), 200);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(ClosedWithin(held[9], 1000));
}

TEST_F(HttpServerTest, WithAllConnectionsTakenANewClientWaitsWithoutTheServerSpinning) {
    HttpServerLimits limits;
    limits.connections = 3;
    limits.requestMs = 300;
    Start(limits);
    for (int i = 0; i < 3; ++i) Connect()->write("GET / HTTP/1.1\r\n");
    QTcpSocket* waiting = Connect();  // taken by the system's queue, not by the server yet
    waiting->write("GET / HTTP/1.1\r\n" + host + "\r\n");
    EXPECT_LT(CpuSecondsOfEventLoop(200), 0.02);
    EXPECT_EQ(server->Connections(), 3);
    EXPECT_EQ(Response(waiting, 0), QByteArray());
    // Once the three time out, it is taken and answered.
    EXPECT_EQ(Status(Response(waiting, 1000)), 200);
}

TEST_F(HttpServerTest, AcceptingWaitsWhileTheProcessIsOutOfFiles) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizers' own checks need files of their own";
#endif
    Start({});
    // Two clients connected through the system's queue, the server not given a moment to take them.
    std::vector<QTcpSocket*> waiting;
    for (int i = 0; i < 2; ++i) {
        const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(server->Port());
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        clients.push_back(std::make_unique<QTcpSocket>());
        waiting.push_back(clients.back().get());
        waiting.back()->setSocketDescriptor(descriptor);
    }
    // No file number free below the limit: the server cannot take either.
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    const rlimit before = files;
    const int lowestFree = ::open("/dev/null", O_RDONLY);
    ::close(lowestFree);
    files.rlim_cur = lowestFree;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    const double busy = CpuSecondsOfEventLoop(300);
    const int taken = server->Connections();
    setrlimit(RLIMIT_NOFILE, &before);
    EXPECT_EQ(taken, 0);
    EXPECT_LT(busy, 0.03);  // spinning on the failing accept takes from a third to all of it
    for (QTcpSocket* client : waiting) {
        client->write("GET / HTTP/1.1\r\n" + host + "\r\n");
        EXPECT_EQ(Status(Response(client)), 200);
    }
}

TEST_F(HttpServerTest, ReadsOnlySoManyLargeBodiesAtOnce) {
    HttpServerLimits limits;
    limits.largeBodyBytes = 100;
    limits.largeBodiesAtOnce = 1;
    Start(limits);
    const QByteArray head = "POST /large HTTP/1.1\r\n" + host + "Content-Length: 500\r\n\r\n";
    QTcpSocket* first = Connect();
    first->write(head + QByteArray(200, 'a'));
    QTest::qWait(50);
    QTcpSocket* second = Connect();
    second->write(head);
    const QByteArray refused = Response(second);
    EXPECT_EQ(Status(refused), 503);
    EXPECT_TRUE(refused.contains("Retry-After: 1\r\n"));
    first->write(QByteArray(300, 'a'));
    EXPECT_EQ(Status(Response(first)), 200);
    QTcpSocket* third = Connect();
    third->write(head + QByteArray(500, 'a'));
    EXPECT_EQ(Status(Response(third)), 200);
}

TEST_F(HttpServerTest, ServesOnIPv6TooWhereTheComputerHasIt) {
    Start({});
    QTcpSocket* client = Connect(QStringLiteral("::1"));
    if (client->state() != QAbstractSocket::ConnectedState) GTEST_SKIP() << "no IPv6 loopback here";
    client->write("GET / HTTP/1.1\r\nHost: [::1]:" + QByteArray::number(server->Port()) + "\r\n\r\n");
    EXPECT_TRUE(Response(client).endsWith("GET / [] ::1"));
}

}  // namespace

TEST_F(HttpServerTest, AnAnswerGivenLaterHoldsItsConnectionPastTheTimeOutsThenServesTheNext) {
    HttpServerLimits limits;
    limits.idleMs = 100;
    limits.requestMs = 100;
    limits.answerMs = 500;
    std::vector<HttpResponder> waiting;
    const auto handle = [&](const HttpRequest& request, const HttpResponder& responder) {
        if (request.path == "/later") return waiting.push_back(responder);
        responder.Send({200, "text/plain", "now", {}});
    };
    server = HttpServer::Listen(0, HttpDeferredHandler(handle), [](const HttpRequest&) { return 0; }, limits);
    ASSERT_TRUE(server);
    UsePort(server->Port());
    QTcpSocket* client = Connect();
    client->write("GET /later HTTP/1.1\r\n" + host + "\r\nGET /now HTTP/1.1\r\n" + host + "\r\n");
    QTest::qWait(250);
    EXPECT_FALSE(Closed(client));
    EXPECT_EQ(Response(client, 0), QByteArray()) << "the second waits for the first";
    ASSERT_EQ(waiting.size(), 1u);
    waiting[0].Send({200, "text/plain", "later", {}});
    waiting[0].Send({500, "text/plain", "again", {}});
    EXPECT_TRUE(Response(client).endsWith("\r\n\r\nlater"));
    EXPECT_TRUE(Response(client).endsWith("\r\n\r\nnow"));

    // Never answered: 503 once its time is up, and the connection closed.
    QTcpSocket* forgotten = Connect();
    forgotten->write("GET /later HTTP/1.1\r\n" + host + "\r\n");
    EXPECT_EQ(Status(Response(forgotten, 1000)), 503);
    EXPECT_TRUE(ClosedWithin(forgotten, 1000));
    waiting.back().Send({200, "text/plain", "too late", {}});
    // An answer to a connection the client has closed goes nowhere.
    QTcpSocket* gone = Connect();
    gone->write("GET /later HTTP/1.1\r\n" + host + "\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.size() == 3; }, 1000));
    gone->abort();
    QTest::qWait(50);
    waiting.back().Send({200, "text/plain", "nobody", {}});
    server.reset();
    waiting.back().Send({200, "text/plain", "no server", {}});
}

TEST_F(HttpServerTest, AnAnswerSentJustBeforeTheServerStopsStillReachesItsClient) {
    std::vector<HttpResponder> waiting;
    const auto later = [&](const HttpRequest&, const HttpResponder& responder) { waiting.push_back(responder); };
    server = HttpServer::Listen(0, HttpDeferredHandler(later), [](const HttpRequest&) { return 0; });
    ASSERT_TRUE(server);
    UsePort(server->Port());
    QTcpSocket* client = Connect();
    client->write("GET /later HTTP/1.1\r\n" + host + "\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.size() == 1; }, 1000));
    waiting.back().Send({503, "text/plain", "last words", {}});
    server.reset();
    const QByteArray response = Response(client);
    EXPECT_EQ(Status(response), 503);
    EXPECT_TRUE(response.endsWith("\r\n\r\nlast words")) << response.toStdString();
}

TEST_F(HttpServerTest, ASharedServerRoutesByPathWithEachServicesLimitsAndStopsWithTheLast) {
    SharedHttpServer shared;
    shared.PreferredPort = 0;
    std::vector<HttpResponder> waiting;
    const auto answer = [](const QByteArray& who) {
        return [who](const HttpRequest& request) {
            return HttpResponse{200, "text/plain", who + ' ' + request.path + " [" + request.body + ']', {}};
        };
    };
    auto root = shared.Join("/", HttpHandler(answer("root")), [](const HttpRequest&) { return 10; });
    ASSERT_TRUE(root);
    UsePort(shared.Port());
    const auto phoneHandler = [&](const HttpRequest& request, const HttpResponder& responder) {
        if (request.path == "/telefon/later") return waiting.push_back(responder);
        responder.Send({200, "text/plain", "phone " + request.path + " [" + request.body + ']', {}});
    };
    auto phone = shared.Join("/telefon", HttpDeferredHandler(phoneHandler), [](const HttpRequest&) { return 100; });
    ASSERT_TRUE(phone);
    EXPECT_EQ(shared.Port(), port) << "one server for both";
    EXPECT_FALSE(shared.Join("/telefon", HttpHandler(answer("again")), [](const HttpRequest&) { return 0; }));

    const QByteArray body50(50, 'x');
    const struct {
        QByteArray request;
        QByteArray answer;  // the body, or the status
    } cases[] = {
        {"GET / HTTP/1.1\r\n" + host + "\r\n", "root / []"},
        {"GET /telefon HTTP/1.1\r\n" + host + "\r\n", "phone /telefon []"},
        {"GET /telefon/styl.css HTTP/1.1\r\n" + host + "\r\n", "phone /telefon/styl.css []"},
        {"GET /telefonx HTTP/1.1\r\n" + host + "\r\n", "root /telefonx []"},
        {"POST /telefon HTTP/1.1\r\n" + host + "Content-Length: 50\r\n\r\n" + body50,
         "phone /telefon [" + body50 + "]"},
        {"POST / HTTP/1.1\r\n" + host + "Content-Length: 50\r\n\r\n" + body50, "413"},
    };
    for (const auto& one : cases) {
        QTcpSocket* client = Connect();
        client->write(one.request);
        const QByteArray response = Response(client);
        if (one.answer.size() == 3) {
            EXPECT_EQ(Status(response), one.answer.toInt()) << one.request.toStdString();
        } else {
            EXPECT_TRUE(response.endsWith("\r\n\r\n" + one.answer)) << response.toStdString();
        }
    }

    // The phone's service leaves with a request waiting: that one gets 503, the root still answers.
    QTcpSocket* photo = Connect();
    photo->write("GET /telefon/later HTTP/1.1\r\n" + host + "\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.size() == 1; }, 1000));
    phone.reset();
    EXPECT_EQ(Status(Response(photo)), 503);
    QTcpSocket* client = Connect();
    client->write("GET /telefon HTTP/1.1\r\n" + host + "\r\n");
    EXPECT_TRUE(Response(client).endsWith("root /telefon []"));
    EXPECT_TRUE(shared.Running());
    root.reset();
    EXPECT_FALSE(shared.Running());
    EXPECT_TRUE(ClosedWithin(client, 1000));
    EXPECT_FALSE(Open()->waitForConnected(200));
}
