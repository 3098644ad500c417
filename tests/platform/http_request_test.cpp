// Request heads read, requests taken from bytes however they arrive, the Host check, the
// addresses shown for the server, and the open-file limit raised.
#include <gtest/gtest.h>

#include <QNetworkInterface>
#include <sys/resource.h>

#include "platform/http_server.h"
#include "platform/process_limits.h"

using namespace platform;

namespace {

TEST(HttpRequestHead, ReadsWhatTheServerNeeds) {
    const struct {
        const char* text;
        QByteArray method, path, query, host, cookie;
        qint64 length;
        bool keepAlive, expectsContinue;
    } heads[] = {
        {"GET /?a=1&b HTTP/1.1\r\nHost: x:1\r\nCookie: a=1\r\ncookie:b=2", "GET", "/", "a=1&b", "x:1", "a=1; b=2", 0,
         true, false},
        {"POST /f HTTP/1.0\nHOST: h\nContent-Length: 12", "POST", "/f", {}, "h", {}, 12, false, false},
        {"POST / HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\ncontent-length: 5\r\nConnection: keep-alive, Close\r\n"
         "Expect: 100-Continue",
         "POST", "/", {}, "h", {}, 5, false, true},
        {"POST / HTTP/1.1\r\nHost:  h \t\r\nContent-Length: 99999999999999999999999", "POST", "/", {}, "h", {},
         std::numeric_limits<qint64>::max(), true, false},
    };
    for (const auto& expected : heads) {
        const HttpRequestHead head = ParseRequestHead(expected.text);
        EXPECT_EQ(head.refusal, 0) << expected.text;
        EXPECT_EQ(head.request.method, expected.method) << expected.text;
        EXPECT_EQ(head.request.path, expected.path) << expected.text;
        EXPECT_EQ(head.request.query, expected.query) << expected.text;
        EXPECT_TRUE(head.hasHost) << expected.text;
        EXPECT_EQ(head.host, expected.host) << expected.text;
        EXPECT_EQ(head.request.cookie, expected.cookie) << expected.text;
        EXPECT_EQ(head.contentLength, expected.length) << expected.text;
        EXPECT_EQ(head.keepAlive, expected.keepAlive) << expected.text;
        EXPECT_EQ(head.expectsContinue, expected.expectsContinue) << expected.text;
    }
}

TEST(HttpRequestHead, RefusesWhatItCannotReadSafely) {
    const struct {
        const char* text;
        int status;
    } refused[] = {
        {"GET / HTTP/1.1\r\nHost: a\r\nHost: b", 400},
        {"GET  / HTTP/1.1", 400},
        {"GET http://x/ HTTP/1.1", 400},
        {"G(T / HTTP/1.1", 400},
        {"GET / HTTP/1", 400},
        {"GET / HTTP/2.0", 505},
        {"GET / HTTP/1.1\r\nHost: a\r\n folded", 400},
        {"GET / HTTP/1.1\r\nHost : a", 400},
        {"GET / HTTP/1.1\r\nHost: a\rb", 400},
        {"GET / HTTP/1.1\r\nHost: a\x01", 400},
        {"POST / HTTP/1.1\r\nContent-Length: -1", 400},
        {"POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2", 400},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked", 501},
        {"POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\nContent-Length: 3", 400},
        {"POST / HTTP/1.1\r\nExpect: something", 417},
    };
    for (const auto& head : refused) EXPECT_EQ(ParseRequestHead(head.text).refusal, head.status) << head.text;
}

TEST(HttpRequestReader, TakesTheSameRequestsHoweverTheBytesArrive) {
    const QByteArray stream = "\r\nPOST /a HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc\r\n"
                              "GET /b HTTP/1.1\n\nPOST /c HTTP/1.1\r\nContent-Length: 0\r\n\r\n";
    const auto read = [&](int piece) {
        HttpRequestReader reader(1024);
        QStringList seen;
        for (qsizetype at = 0; at < stream.size(); at += piece) {
            reader.Append(QByteArrayView(stream).sliced(at, std::min<qsizetype>(piece, stream.size() - at)));
            for (auto event = reader.Next(); event != HttpRequestReader::Event::None; event = reader.Next()) {
                if (event == HttpRequestReader::Event::Head) {
                    seen << QString::fromLatin1(reader.Head().request.path);
                    reader.ReadBody(reader.Head().contentLength);
                } else {
                    seen << QString::fromLatin1("[" + reader.TakeBody() + "]");
                }
            }
        }
        EXPECT_FALSE(reader.Started());
        return seen.join(u' ');
    };
    EXPECT_EQ(read(int(stream.size())), QStringLiteral("/a [abc] /b [] /c []"));
    EXPECT_EQ(read(1), read(int(stream.size())));

    HttpRequestReader endless(16);
    endless.Append("GET / HTTP/1.1\r\n");
    EXPECT_EQ(endless.Next(), HttpRequestReader::Event::None);
    endless.Append("X");
    EXPECT_EQ(endless.Next(), HttpRequestReader::Event::HeadTooLarge);
}

TEST(HostNamesThisServer, OnlyThisComputersNamesWithThePort) {
    const QHostAddress local(QHostAddress::LocalHost);
    for (const char* host : {"127.0.0.1:8080", "localhost:8080", "LocalHost:8080", "[::1]:8080", "127.0.0.2:8080"}) {
        EXPECT_TRUE(HostNamesThisServer(host, 8080, local)) << host;
    }
    for (const char* host : {"127.0.0.1", "127.0.0.1:80", "127.0.0.1:8081", "evil.example:8080", "evil.example",
                             "[::1]", "::1:8080", "[127.0.0.1]:8080", "[localhost]:8080", "localhost:", "", ":8080",
                             "192.0.2.1:8080", "0.0.0.0:8080", "[::]:8080", "\xA0" "127.0.0.1:8080",
                             "127.0.0.1\t:8080"}) {
        EXPECT_FALSE(HostNamesThisServer(host, 8080, local)) << host;
    }
    EXPECT_TRUE(HostNamesThisServer("localhost", 80, local));
    // The address a request came in on, and any other of this computer's.
    EXPECT_TRUE(HostNamesThisServer("192.0.2.1:8080", 8080, QHostAddress(QStringLiteral("::ffff:192.0.2.1"))));
    for (const QHostAddress& own : QNetworkInterface::allAddresses()) {
        if (own.protocol() != QAbstractSocket::IPv4Protocol) continue;
        EXPECT_TRUE(HostNamesThisServer(own.toString().toLatin1() + ":8080", 8080, local)) << own.toString().toStdString();
    }
}

TEST(ShownAddresses, TheIPv4OnesPrivateFirstAndIPv6OnlyWithoutThem) {
    const auto shown = [](std::initializer_list<const char*> addresses) {
        QList<QHostAddress> ips;
        for (const char* ip : addresses) ips << QHostAddress(QString::fromLatin1(ip));
        return ShownAddresses(ips).join(u' ');
    };
    EXPECT_EQ(shown({"203.0.113.5", "::1", "2001:db8::5", "192.168.1.20", "127.0.0.1", "fe80::1"}),
              QStringLiteral("192.168.1.20 203.0.113.5"));
    EXPECT_EQ(shown({"fe80::1", "2001:db8::5", "::1", "fd00::2"}), QStringLiteral("[2001:db8::5] [fd00::2]"));
    EXPECT_EQ(AddressGroup(QStringLiteral("2001:db8:1:2:3:4:5:6")), QStringLiteral("2001:db8:1:2::/64"));
    EXPECT_EQ(AddressGroup(QStringLiteral("10.0.0.7")), QStringLiteral("10.0.0.7"));
}

TEST(ProcessLimits, TheSoftOpenFileLimitIsRaisedToTheHardOne) {
    rlimit files{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    const rlimit before = files;
    files.rlim_cur = std::min<rlim_t>(files.rlim_max, 256);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(OpenFileLimit(), static_cast<int>(files.rlim_cur));
    RaiseOpenFileLimit();
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &files), 0);
    EXPECT_EQ(files.rlim_cur, files.rlim_max);
    setrlimit(RLIMIT_NOFILE, &before);
}

}  // namespace
