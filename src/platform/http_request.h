// What an HTTP/1.1 client brings in and is sent back, as plain values: the request and the
// response, the reading of a request's head, the reader that takes a connection's requests from
// its bytes as they arrive, and the check that a request names this computer in its Host.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>
#include <utility>

namespace platform {

struct HttpRequest {
    QByteArray method;  // "GET", "POST", ...
    QByteArray path;    // the URL's path as sent, without the query
    QByteArray query;   // the URL's query as sent, without "?"
    QByteArray contentType;
    QByteArray cookie;  // the Cookie headers as sent, joined by "; "
    QByteArray body;
    QString remoteAddress;  // the client's address; an IPv4 one in its dotted form
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // beyond the content type
};

// A request's head read: the request without its body, and what the connection needs to know.
struct HttpRequestHead {
    int refusal = 0;  // 0: a sound head; otherwise the status to answer with before closing
    HttpRequest request;
    bool hasHost = false;
    QByteArray host;  // the Host header's value
    qint64 contentLength = 0;  // the body's length as announced (0 when none)
    bool keepAlive = true;     // HTTP/1.1 without "Connection: close"
    bool expectsContinue = false;
};

// Reads the request line and the header lines of `head` (without the blank line that ends it;
// lines end with CR LF or LF). A body may only be announced by one Content-Length: a
// Transfer-Encoding is refused with 501, HTTP versions other than 1.0 and 1.1 with 505, an
// expectation other than 100-continue with 417, anything malformed with 400.
HttpRequestHead ParseRequestHead(QByteArrayView head);

// The requests of one connection taken from its bytes as they arrive: a head (at most
// `maxHeadBytes` long), then, once the caller has accepted it, a body of the announced length,
// then the next head. Blank lines before a head are skipped.
class HttpRequestReader {
public:
    enum class Event { None, Head, Body, HeadTooLarge };

    explicit HttpRequestReader(qint64 maxHeadBytes) : maxHeadBytes_(maxHeadBytes) {}

    void Append(QByteArrayView bytes);
    // What is ready: None until more bytes come. After Head the caller reads Head() and either
    // calls ReadBody or stops reading; after Body, TakeBody() gives the body and the next head
    // is read.
    Event Next();
    const HttpRequestHead& Head() const { return head_; }
    void ReadBody(qint64 length);
    QByteArray TakeBody() { return std::exchange(body_, {}); }
    // Some byte of a request has come and its body is not complete yet.
    bool Started() const { return stage_ != Stage::Head || !buffer_.isEmpty(); }
    qint64 Buffered() const { return buffer_.size(); }

private:
    enum class Stage { Head, HeadRead, Body };
    qint64 maxHeadBytes_;
    Stage stage_ = Stage::Head;
    QByteArray buffer_;
    qsizetype scanFrom_ = 0;  // where the search for the head's end goes on
    HttpRequestHead head_;
    qint64 bodyLength_ = 0;
    QByteArray body_;
};

// Whether `host`, a Host header, names this server at `port`: "localhost", a loopback address,
// `local` (the address the request came in on) or another of this computer's addresses, with
// the port (which may only be left out for port 80).
bool HostNamesThisServer(QByteArrayView host, quint16 port, const QHostAddress& local);

// An IPv4 address given as an IPv6 one (::ffff:a.b.c.d) as the IPv4 address; others unchanged.
QHostAddress PlainAddress(const QHostAddress& address);

// The clients counted as one: an IPv4 address on its own, an IPv6 one with its whole /64 network
// (one device can take any address of its network).
QString AddressGroup(const QString& address);

// "HTTP/1.1 <status> <reason>", the content type and length, the headers, "Connection: close"
// when `close`, the blank line, and the body unless `headOnly` (the answer to HEAD).
QByteArray ResponseBytes(const HttpResponse& response, bool close, bool headOnly = false);

}  // namespace platform
