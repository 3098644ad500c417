// The reading of HTTP/1.1 request heads, the reader of a connection's requests, the Host check
// and the writing of a response.
#include "platform/http_request.h"

#include <QNetworkInterface>
#include <algorithm>
#include <limits>

namespace platform {
namespace {

// The characters of a method or a header's name.
bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool IsToken(QByteArrayView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

// A header's value may hold tabs, visible characters and bytes above 7F, nothing else.
bool IsFieldValue(QByteArrayView text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
    });
}

QByteArrayView TrimmedBlanks(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t')) text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t')) text.chop(1);
    return text;
}

bool IsDigits(QByteArrayView text) {
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits as a number; a number past what a length can be stays at the largest one.
qint64 DigitsValue(QByteArrayView digits) {
    constexpr qint64 kLargest = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (const char c : digits) {
        const int digit = c - '0';
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
    }
    return value;
}

HttpRequestHead Refused(int status) {
    HttpRequestHead head;
    head.refusal = status;
    head.keepAlive = false;
    return head;
}

// The lines of a head: split at LF, a CR before it dropped. A CR anywhere else makes it unreadable.
std::optional<QList<QByteArrayView>> HeadLines(QByteArrayView head) {
    QList<QByteArrayView> lines;
    while (true) {
        const qsizetype end = head.indexOf('\n');
        QByteArrayView line = end < 0 ? head : head.first(end);
        if (line.endsWith('\r')) line.chop(1);
        if (line.contains('\r')) return std::nullopt;
        lines << line;
        if (end < 0) return lines;
        head = head.sliced(end + 1);
    }
}

QByteArrayView ReasonPhrase(int status) {
    switch (status) {
        case 100: return "Continue";
        case 200: return "OK";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 408: return "Request Timeout";
        case 409: return "Conflict";
        case 413: return "Payload Too Large";
        case 415: return "Unsupported Media Type";
        case 417: return "Expectation Failed";
        case 421: return "Misdirected Request";
        case 429: return "Too Many Requests";
        case 431: return "Request Header Fields Too Large";
        case 500: return "Internal Server Error";
        case 501: return "Not Implemented";
        case 503: return "Service Unavailable";
        case 505: return "HTTP Version Not Supported";
        default: return "Status";
    }
}

}  // namespace

HttpRequestHead ParseRequestHead(QByteArrayView text) {
    const std::optional<QList<QByteArrayView>> lines = HeadLines(text);
    if (!lines) return Refused(400);

    // The request line: method, target and version, one blank between them.
    const QList<QByteArrayView> parts = [&] {
        QList<QByteArrayView> found;
        QByteArrayView rest = lines->front();
        for (qsizetype blank; (blank = rest.indexOf(' ')) >= 0; rest = rest.sliced(blank + 1)) {
            found << rest.first(blank);
        }
        return found << rest;
    }();
    if (parts.size() != 3 || !IsToken(parts[0])) return Refused(400);
    const QByteArrayView target = parts[1];
    const bool visible = std::all_of(target.begin(), target.end(), [](char c) { return c > 0x20 && c < 0x7F; });
    if (!target.startsWith('/') || !visible) return Refused(400);
    const QByteArrayView version = parts[2];
    const bool looksLikeVersion = version.size() == 8 && version.startsWith("HTTP/") && version[6] == '.' &&
                                  IsDigits(version.sliced(5, 1)) && IsDigits(version.sliced(7, 1));
    if (!looksLikeVersion) return Refused(400);
    if (version != "HTTP/1.1" && version != "HTTP/1.0") return Refused(505);

    HttpRequestHead head;
    head.request.method = parts[0].toByteArray();
    const qsizetype question = target.indexOf('?');
    head.request.path = (question < 0 ? target : target.first(question)).toByteArray();
    if (question >= 0) head.request.query = target.sliced(question + 1).toByteArray();
    head.keepAlive = version == "HTTP/1.1";

    bool hasLength = false;
    bool hasType = false;
    bool hasEncoding = false;
    for (qsizetype i = 1; i < lines->size(); ++i) {
        const QByteArrayView line = lines->at(i);
        const qsizetype colon = line.indexOf(':');
        // A line folded onto the one before, a name with blanks or none: not a header.
        if (colon <= 0 || !IsToken(line.first(colon))) return Refused(400);
        const QByteArray name = line.first(colon).toByteArray().toLower();
        const QByteArrayView value = TrimmedBlanks(line.sliced(colon + 1));
        if (!IsFieldValue(value)) return Refused(400);
        if (name == "host") {
            if (head.hasHost) return Refused(400);
            head.hasHost = true;
            head.host = value.toByteArray();
        } else if (name == "content-length") {
            if (!IsDigits(value)) return Refused(400);
            const qint64 length = DigitsValue(value);
            if (hasLength && length != head.contentLength) return Refused(400);
            hasLength = true;
            head.contentLength = length;
        } else if (name == "transfer-encoding") {
            hasEncoding = true;
        } else if (name == "content-type") {
            if (hasType) return Refused(400);
            hasType = true;
            head.request.contentType = value.toByteArray();
        } else if (name == "cookie") {
            if (!head.request.cookie.isEmpty()) head.request.cookie += "; ";
            head.request.cookie += value;
        } else if (name == "connection") {
            for (const QByteArray& option : value.toByteArray().split(',')) {
                if (option.trimmed().compare("close", Qt::CaseInsensitive) == 0) head.keepAlive = false;
            }
        } else if (name == "expect") {
            if (value.compare("100-continue", Qt::CaseInsensitive) != 0) return Refused(417);
            head.expectsContinue = true;
        }
    }
    // A body in chunks is not read: a request of this server's is small enough to announce.
    if (hasEncoding) return Refused(hasLength ? 400 : 501);
    return head;
}

void HttpRequestReader::Append(QByteArrayView bytes) { buffer_.append(bytes); }

HttpRequestReader::Event HttpRequestReader::Next() {
    switch (stage_) {
        case Stage::HeadRead:
            return Event::None;
        case Stage::Body: {
            if (buffer_.size() < bodyLength_) return Event::None;
            if (buffer_.size() == bodyLength_) {
                body_ = std::exchange(buffer_, {});
            } else {
                body_ = buffer_.first(bodyLength_);
                buffer_.remove(0, bodyLength_);
            }
            stage_ = Stage::Head;
            return Event::Body;
        }
        case Stage::Head:
            break;
    }
    qsizetype blanks = 0;
    while (blanks < buffer_.size() && (buffer_[blanks] == '\r' || buffer_[blanks] == '\n')) ++blanks;
    buffer_.remove(0, blanks);
    // The head ends at its first empty line: LF, then LF or CR LF.
    qsizetype end = -1;
    qsizetype consumed = 0;
    for (qsizetype lf = buffer_.indexOf('\n', scanFrom_); lf >= 0 && lf <= maxHeadBytes_; lf = buffer_.indexOf('\n', lf + 1)) {
        if (lf + 1 < buffer_.size() && buffer_[lf + 1] == '\n') {
            end = lf, consumed = lf + 2;
            break;
        }
        if (lf + 2 < buffer_.size() && buffer_[lf + 1] == '\r' && buffer_[lf + 2] == '\n') {
            end = lf, consumed = lf + 3;
            break;
        }
    }
    if (end < 0) {
        // A line end among the last two bytes may still begin the empty line: looked at again.
        scanFrom_ = std::max<qsizetype>(0, buffer_.size() - 2);
        return buffer_.size() > maxHeadBytes_ ? Event::HeadTooLarge : Event::None;
    }
    head_ = ParseRequestHead(QByteArrayView(buffer_).first(end));
    buffer_.remove(0, consumed);
    scanFrom_ = 0;
    stage_ = Stage::HeadRead;
    return Event::Head;
}

void HttpRequestReader::ReadBody(qint64 length) {
    stage_ = Stage::Body;
    bodyLength_ = length;
    // The body is kept in one piece of its own size, not grown by doubling as it comes.
    if (length > buffer_.size()) buffer_.reserve(length);
}

bool HostNamesThisServer(QByteArrayView host, quint16 port, const QHostAddress& local) {
    QByteArrayView name = host;
    QByteArrayView portText;
    bool bracketed = false;
    if (host.startsWith('[')) {
        const qsizetype close = host.indexOf(']');
        if (close < 0) return false;
        name = host.sliced(1, close - 1);
        const QByteArrayView rest = host.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(':')) return false;
        if (!rest.isEmpty()) portText = rest.sliced(1);
        if (rest == ":") return false;
        bracketed = true;
    } else if (const qsizetype colon = host.indexOf(':'); colon >= 0) {
        name = host.first(colon);
        portText = host.sliced(colon + 1);
        if (portText.isEmpty()) return false;
    }
    // Letters, digits, dots, colons and hyphens only: Qt's reading of an address forgives blanks.
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == ':' || c == '-';
    });
    if (name.isEmpty() || !plain) return false;
    if (portText.isEmpty() ? port != 80 : !IsDigits(portText) || DigitsValue(portText) != port) return false;
    if (!bracketed && name.compare("localhost", Qt::CaseInsensitive) == 0) return true;

    QHostAddress address;
    if (!address.setAddress(QString::fromLatin1(name))) return false;
    if ((address.protocol() == QAbstractSocket::IPv6Protocol) != bracketed) return false;
    const auto comparable = [](const QHostAddress& any) {
        QHostAddress plain = PlainAddress(any);
        plain.setScopeId({});
        return plain;
    };
    address = comparable(address);
    if (address.isLoopback() || address == comparable(local)) return true;
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    return std::any_of(own.begin(), own.end(), [&](const QHostAddress& ip) { return comparable(ip) == address; });
}

QHostAddress PlainAddress(const QHostAddress& address) {
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    return mapped && address.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress(ipv4) : address;
}

QString AddressGroup(const QString& address) {
    const QHostAddress ip(address);
    if (ip.protocol() != QAbstractSocket::IPv6Protocol) return address;
    Q_IPV6ADDR network = ip.toIPv6Address();
    std::fill(std::begin(network.c) + 8, std::end(network.c), 0);
    return QHostAddress(network).toString() + QStringLiteral("/64");
}

QByteArray ResponseBytes(const HttpResponse& response, bool close, bool headOnly) {
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' +
                       ReasonPhrase(response.status).toByteArray() + "\r\n";
    if (!response.contentType.isEmpty()) bytes += "Content-Type: " + response.contentType + "\r\n";
    bytes += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    for (const auto& [name, value] : response.headers) bytes += name + ": " + value + "\r\n";
    if (close) bytes += "Connection: close\r\n";
    bytes += "\r\n";
    if (!headOnly) bytes += response.body;
    return bytes;
}

}  // namespace platform
