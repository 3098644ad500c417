// Fuzz target: what a client of answer collection brings in. The input is what it sends on one
// connection after a first byte that chooses the pieces the bytes arrive in and the client's
// address. The bytes are read as the web server reads them: the requests taken must be the same
// however the bytes are cut; every head read without refusal is sound (a method, a path from
// "/", no line end in any field); and every whole request goes to a collection as the server
// hands it over, whatever its form body, cookie and headers: the answer is one of the
// collection's, and an answer is taken exactly when a form with the right code and a token of a
// page of its browser is sent. "@token@" in a body stands for such a token.
#include "collect/collection_server.h"
#include "fuzz_support.h"
#include "platform/http_request.h"

namespace {

using platform::HttpRequestHead;
using platform::HttpRequestReader;

constexpr qint64 kMaxHead = 2048;
constexpr qint64 kMaxBody = 64 * 1024;
const QByteArray kCode = "314159";
const QByteArray kPlace = "@token@";

struct Taken {
    QList<QByteArray> requests;  // each request's fields and body, one after another
    QList<HttpRequestHead> heads;
    QList<QByteArray> bodies;
};

bool HasLineEnd(const QByteArray& field) { return field.contains('\r') || field.contains('\n'); }

void CheckHead(const HttpRequestHead& head) {
    if (head.refusal != 0) return;
    const platform::HttpRequest& request = head.request;
    FUZZ_CHECK(!request.method.isEmpty() && !request.method.contains(' '));
    FUZZ_CHECK(request.path.startsWith('/') && !request.path.contains('?') && !request.path.contains(' '));
    for (const QByteArray* field : {&request.method, &request.path, &request.query, &request.contentType,
                                    &request.cookie, &head.host}) {
        FUZZ_CHECK(!HasLineEnd(*field));
    }
    FUZZ_CHECK(head.contentLength >= 0);
    FUZZ_CHECK(head.hasHost || head.host.isEmpty());
    // Only a name of this computer passes, localhost or an address in brackets or in digits,
    // and with the port, which is not 80.
    if (platform::HostNamesThisServer(head.host, 8080, QHostAddress(QHostAddress::LocalHost))) {
        FUZZ_CHECK(head.host.toLower().startsWith("localhost:") || head.host.startsWith('[') ||
                   (head.host[0] >= '0' && head.host[0] <= '9'));
        FUZZ_CHECK(head.host.contains(':') && !head.host.endsWith(':'));
    }
}

// The requests of `bytes` arriving `piece` bytes at a time, up to the first one refused.
Taken Read(const QByteArray& bytes, qsizetype piece) {
    HttpRequestReader reader(kMaxHead);
    Taken taken;
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        reader.Append(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
        for (auto event = reader.Next(); event != HttpRequestReader::Event::None; event = reader.Next()) {
            if (event == HttpRequestReader::Event::HeadTooLarge) {
                taken.requests << "431";
                return taken;
            }
            if (event == HttpRequestReader::Event::Head) {
                const HttpRequestHead& head = reader.Head();
                CheckHead(head);
                if (head.refusal != 0 || head.contentLength > kMaxBody) {
                    taken.requests << QByteArray::number(head.refusal ? head.refusal : 413);
                    return taken;
                }
                reader.ReadBody(head.contentLength);
                taken.heads << head;
                continue;
            }
            const QByteArray body = reader.TakeBody();
            const HttpRequestHead& head = taken.heads.back();
            FUZZ_CHECK(body.size() == head.contentLength);
            const platform::HttpRequest& request = head.request;
            taken.requests << request.method + ' ' + request.path + '?' + request.query + '|' + head.host + '|' +
                                  request.cookie + '|' + request.contentType + '|' +
                                  QByteArray::number(head.keepAlive) + QByteArray::number(head.expectsContinue) +
                                  '|' + body;
            taken.bodies << body;
        }
    }
    return taken;
}

QByteArray TokenOfPage(const QByteArray& page) {
    const QByteArray before = "name=\"token\" value=\"";
    const qsizetype start = page.indexOf(before);
    if (start < 0) return {};
    const qsizetype from = start + before.size();
    return page.mid(from, page.indexOf('"', from) - from);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto choice = static_cast<std::uint8_t>(data[0]);
    const QByteArray bytes = fuzz::Bytes(data + 1, size - 1);
    const Taken whole = Read(bytes, std::max<qsizetype>(1, bytes.size()));
    const Taken cut = Read(bytes, 1 + (choice & 15));
    FUZZ_CHECK(whole.requests == cut.requests);

    results::ResultsTally tally;
    tally.QuestionCount = 2;
    tally.AnswerCount[1] = 3;
    tally.AnswerCount[2] = 2;
    collect::Collection collection(collect::MakeCollectionForm(tally, std::nullopt),
                                   [&](const results::AnswerSheet& sheet) { return results::AddSheet(tally, sheet); },
                                   kCode, [] { return std::int64_t{0}; });
    const collect::CollectionForm form = collect::MakeCollectionForm(tally, std::nullopt);
    const QString address = choice & 16 ? QStringLiteral("2001:db8::7") : QStringLiteral("10.0.0.7");
    for (qsizetype i = 0; i < whole.bodies.size(); ++i) {
        platform::HttpRequest request = whole.heads[i].request;
        request.body = whole.bodies[i];
        request.remoteAddress = address;
        if (request.body.contains(kPlace)) {
            const platform::HttpResponse page = collection.Handle({"GET", "/", {}, {}, request.cookie, {}, address});
            for (const auto& [name, value] : page.headers) {
                if (name == "Set-Cookie") request.cookie += "; " + value.left(value.indexOf(';'));
            }
            request.body.replace(kPlace, TokenOfPage(page.body));
        }
        const int acceptedBefore = collection.Accepted();
        const int respondentsBefore = tally.RespondentCount;
        if (request.body.size() > collection.BodyLimit(request)) continue;  // the server answers 413
        const platform::HttpResponse response = collection.Handle(request);

        FUZZ_CHECK(QList<int>({200, 400, 403, 404, 405, 409, 413, 415, 429}).contains(response.status));
        FUZZ_CHECK(response.contentType.startsWith("text/") && !response.body.isEmpty());
        const bool taken = collection.Accepted() == acceptedBefore + 1;
        FUZZ_CHECK(taken || collection.Accepted() == acceptedBefore);
        FUZZ_CHECK(taken == (request.method == "POST" && request.path == "/" && response.status == 200));
        FUZZ_CHECK(taken == (tally.RespondentCount == respondentsBefore + 1));
        if (taken) {
            const std::optional<collect::Submission> sent = collect::ParseSubmission(request.body, form);
            FUZZ_CHECK(sent && sent->code == kCode);
        }
    }
    return 0;
}
