// The pages of a collection and the checks of a sent form.
#include "collect/collection_server.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <vector>

namespace collect {
namespace {

using platform::HttpRequest;
using platform::HttpResponse;

const QByteArray kBrowserCookie = QByteArrayLiteral("narzedzia_przegladarka");
const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");
const QByteArray kTokenPlace = QByteArrayLiteral("<token>");  // escaping keeps it out of texts
constexpr std::int64_t kFirstShutOutMs = 1000;
constexpr std::int64_t kLongestShutOutMs = 60000;
constexpr int kMaxAddressesRemembered = 4096;
constexpr int kTokenNonceBytes = 8;
constexpr int kTokenSignatureHex = 32;

QByteArray RandomHex(int bytes) {
    std::vector<quint32> words(static_cast<std::size_t>(bytes + 3) / 4);
    QRandomGenerator::system()->fillRange(words.data(), static_cast<qsizetype>(words.size()));
    return QByteArray(reinterpret_cast<const char*>(words.data()), bytes).toHex();
}

QByteArray TokenSignature(const QByteArray& key, const QByteArray& browser, const QByteArray& nonce) {
    return QMessageAuthenticationCode::hash(browser + ':' + nonce, key, QCryptographicHash::Sha256)
        .toHex()
        .left(kTokenSignatureHex);
}

bool IsBrowserId(const QByteArray& id) {
    return id.size() == 32 &&
           std::all_of(id.begin(), id.end(), [](char c) { return isxdigit(static_cast<unsigned char>(c)); });
}

QByteArray BrowserOf(const HttpRequest& request) {
    for (const QByteArray& part : request.cookie.split(';')) {
        const QByteArray cookie = part.trimmed();
        if (cookie.startsWith(kBrowserCookie + '=')) {
            const QByteArray id = cookie.mid(kBrowserCookie.size() + 1);
            if (IsBrowserId(id)) return id;
        }
    }
    return {};
}

// Every page: no script, no other site, nothing kept by the browser.
HttpResponse Page(int status, const QByteArray& type, const QByteArray& body) {
    HttpResponse response{status, type, body, {}};
    response.headers << qMakePair(QByteArrayLiteral("Content-Security-Policy"),
                                  QByteArrayLiteral("default-src 'none'; style-src 'self'; form-action 'self'"))
                     << qMakePair(QByteArrayLiteral("X-Content-Type-Options"), QByteArrayLiteral("nosniff"))
                     << qMakePair(QByteArrayLiteral("Referrer-Policy"), QByteArrayLiteral("no-referrer"))
                     << qMakePair(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store"));
    return response;
}

HttpResponse Message(int status, const QString& title, const QString& text, bool backToForm) {
    return Page(status, kHtml, MessagePage(title, text, backToForm));
}

const QString kRefused = QStringLiteral("Odpowiedzi nie przyjęto");
const QString kAlreadyAnswered =
    QStringLiteral("Z tej przeglądarki odpowiedź w tej ankiecie została już wysłana. Dziękujemy!");

std::int64_t SteadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

QByteArray NewCollectionCode() {
    return QByteArray::number(QRandomGenerator::system()->bounded(1000000)).rightJustified(6, '0');
}

Collection::Collection(CollectionForm form, AddSheet addSheet, QByteArray code, Clock clock)
    : form_(std::move(form)),
      addSheet_(std::move(addSheet)),
      code_(std::move(code)),
      clock_(clock ? std::move(clock) : Clock(SteadyMilliseconds)),
      maxBody_(MaxSubmissionSize(form_)),
      tokenKey_(RandomHex(32)) {
    // The unticked form is the same for everyone but its token: made once, not for each phone.
    const QByteArray blank = FormPage(form_, kTokenPlace);
    const qsizetype place = blank.indexOf(kTokenPlace);
    blankPageHead_ = blank.left(place);
    blankPageTail_ = blank.mid(place + kTokenPlace.size());
}

HttpResponse Collection::Handle(const HttpRequest& request) {
    if (request.path == "/styl.css" && request.method == "GET") {
        return Page(200, QByteArrayLiteral("text/css; charset=utf-8"), StyleSheet());
    }
    if (request.path != "/") return Message(404, QStringLiteral("Nie ma takiej strony"), {}, true);
    if (request.method == "GET") return ServeForm(request);
    if (request.method == "POST") return TakeAnswer(request);
    HttpResponse refused = Message(405, kRefused, {}, true);
    refused.headers << qMakePair(QByteArrayLiteral("Allow"), QByteArrayLiteral("GET, POST"));
    return refused;
}

qint64 Collection::BodyLimit(const HttpRequest& head) const {
    return head.method == "POST" && head.path == "/" ? maxBody_ : 0;
}

HttpResponse Collection::ServeForm(const HttpRequest& request) {
    const QByteArray browser = BrowserOf(request);
    if (!browser.isEmpty() && answered_.contains(browser) && !repeatAllowed_) {
        return Message(200, QStringLiteral("Dziękujemy"), kAlreadyAnswered, false);
    }
    return FormResponse(browser, 200, {}, {});
}

HttpResponse Collection::FormResponse(const QByteArray& knownBrowser, int status,
                                      const QString& notice, const results::AnswerSheet& ticked) {
    const QByteArray browser = knownBrowser.isEmpty() ? RandomHex(16) : knownBrowser;
    const QByteArray token = IssueToken(browser);
    HttpResponse response = Page(status, kHtml,
                                 notice.isEmpty() && ticked == results::AnswerSheet{}
                                     ? blankPageHead_ + token + blankPageTail_
                                     : FormPage(form_, token, notice, ticked));
    if (knownBrowser.isEmpty()) {
        response.headers << qMakePair(QByteArrayLiteral("Set-Cookie"),
                                      kBrowserCookie + '=' + browser +
                                          QByteArrayLiteral("; Path=/; HttpOnly; SameSite=Strict"));
    }
    return response;
}

QByteArray Collection::IssueToken(const QByteArray& browser) const {
    const QByteArray nonce = RandomHex(kTokenNonceBytes);
    return nonce + TokenSignature(tokenKey_, browser, nonce);
}

bool Collection::IsTokenOf(const QByteArray& token, const QByteArray& browser) const {
    if (token.size() != 2 * kTokenNonceBytes + kTokenSignatureHex) return false;
    const QByteArray nonce = token.left(2 * kTokenNonceBytes);
    return token.mid(nonce.size()) == TokenSignature(tokenKey_, browser, nonce);
}

void Collection::NoteWrongCode(const QString& address) {
    if (wrongCodes_.size() >= kMaxAddressesRemembered && !wrongCodes_.contains(address)) {
        // So that many addresses cannot fill memory: those that have not come near the wait are
        // forgotten first, then those not shut out now.
        const std::int64_t now = clock_();
        wrongCodes_.removeIf([now](const auto& entry) {
            return entry.value().count < kFreeWrongCodes && entry.value().shutUntil <= now;
        });
        if (wrongCodes_.size() >= kMaxAddressesRemembered) {
            wrongCodes_.removeIf([now](const auto& entry) { return entry.value().shutUntil <= now; });
        }
    }
    WrongCodes& wrong = wrongCodes_[address];
    ++wrong.count;
    if (wrong.count >= kFreeWrongCodes) {
        const int doublings = std::min(wrong.count - kFreeWrongCodes, 6);
        wrong.shutUntil = clock_() + std::min(kFirstShutOutMs << doublings, kLongestShutOutMs);
    }
}

HttpResponse Collection::TakeAnswer(const HttpRequest& request) {
    const QString address = platform::AddressGroup(request.remoteAddress);
    const auto wrong = wrongCodes_.constFind(address);
    if (wrong != wrongCodes_.constEnd() && wrong->shutUntil > clock_()) {
        HttpResponse shut = Message(429, kRefused,
                                    QStringLiteral("Za dużo prób z błędnym kodem. Poczekaj chwilę, "
                                                   "wróć do formularza i spróbuj ponownie."),
                                    false);
        shut.headers << qMakePair(QByteArrayLiteral("Retry-After"),
                                  QByteArray::number((wrong->shutUntil - clock_() + 999) / 1000));
        return shut;
    }
    if (request.body.size() > maxBody_) {
        return Message(413, kRefused, QStringLiteral("Formularz jest za duży."), true);
    }
    if (!request.contentType.trimmed().startsWith("application/x-www-form-urlencoded")) {
        return Message(415, kRefused, QStringLiteral("Nieznany rodzaj formularza."), true);
    }
    const std::optional<Submission> sent = ParseSubmission(request.body, form_);
    if (!sent) return Message(400, kRefused, QStringLiteral("Formularz jest niepoprawny."), true);

    // The form must be one handed to this browser and not sent before.
    const QByteArray browser = BrowserOf(request);
    if (browser.isEmpty() || !IsTokenOf(sent->token, browser) || usedTokens_.contains(sent->token)) {
        return Message(403, kRefused,
                       QStringLiteral("Ten formularz został już wysłany albo jest nieważny. "
                                      "Otwórz formularz jeszcze raz."),
                       true);
    }
    if (sent->code != code_) {
        usedTokens_.insert(sent->token);
        NoteWrongCode(address);
        return FormResponse(browser, 403, QStringLiteral("Błędny kod. Wpisz kod podany przez prowadzącego."),
                            sent->sheet);
    }
    if (answered_.contains(browser) && !repeatAllowed_) {
        return Message(403, QStringLiteral("Dziękujemy"), kAlreadyAnswered, false);
    }
    if (addSheet_(sent->sheet) != results::ResultsOutcome::Merged) {
        return Message(409, kRefused,
                       QStringLiteral("Liczba odpowiedzi przekroczyłaby 65535. Odpowiedzi nie dodano."),
                       false);
    }
    usedTokens_.insert(sent->token);
    answered_.insert(browser);
    ++accepted_;
    if (OnAccepted) OnAccepted();
    return Message(200, QStringLiteral("Dziękujemy"),
                   QStringLiteral("Odpowiedź została zapisana. Dziękujemy za wypełnienie ankiety."),
                   repeatAllowed_);
}

}  // namespace collect
