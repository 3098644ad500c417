// The phone scanning: its admission of requests, its pages, the sendings of photos read on
// worker threads, and every photo taken in as a scanned page.
#include "scan/phone_scanning.h"

#include <QFutureWatcher>
#include <QRandomGenerator>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>

#include "collect/collection_page.h"
#include "collect/collection_server.h"
#include "platform/http_multipart.h"
#include "platform/memory.h"
#include "results/results_manager_window.h"
#include "scan/photo_upload.h"
#include "scan/read_sheet_numbers.h"
#include "scan/scan_files.h"

namespace scan {
namespace {

using platform::HttpAdmission;
using platform::HttpRequest;
using platform::HttpResponder;
using platform::HttpResponse;

const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");
const QByteArray kPhotoField = QByteArrayLiteral("zdjecie");
constexpr int kCodeLength = 12;
const QString kNotRead = QStringLiteral("Nie odczytano zdjęcia — zrób je jeszcze raz, z całą kartką w kadrze");
const QString kRefused = QStringLiteral("Zdjęć nie przyjęto");

// The value of `name` in a URL's query, as sent.
QByteArray QueryValue(const QByteArray& query, const QByteArray& name) {
    for (const QByteArray& pair : query.split('&')) {
        if (pair.startsWith(name + '=')) return pair.mid(name.size() + 1);
    }
    return {};
}

// The status a photo's refusal is answered with.
int StatusOf(PhotoRefusal refusal) {
    switch (refusal) {
        case PhotoRefusal::NotAnImage:
            return 415;
        case PhotoRefusal::TooLarge:
        case PhotoRefusal::TooManyPixels:
            return 413;
        case PhotoRefusal::None:
        case PhotoRefusal::Broken:
            break;
    }
    return 422;
}

// "2", "2 i 3", "2, 3 i 4".
QString NumbersText(const std::vector<int>& numbers) {
    QStringList texts;
    for (const int number : numbers) texts << QString::number(number);
    if (texts.size() < 2) return texts.join(QString());
    const QString last = texts.takeLast();
    return texts.join(QStringLiteral(", ")) + QStringLiteral(" i ") + last;
}

}  // namespace

// A sending's photos as they are read: its body, in which the photos lie, kept until all are.
struct PhoneScanning::Sending {
    HttpResponder responder;
    QByteArray body;
    std::vector<ScannedPage> pages;
    std::size_t left = 0;
};

QByteArray NewPhoneCode() {
    static constexpr char kLetters[] = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
    QByteArray code;
    for (int i = 0; i < kCodeLength; ++i) {
        code += kLetters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof kLetters - 1))];
    }
    return code;
}

ScannedPage ReadPhoto(const QByteArray& file, const ScanTarget& target) {
    ScannedPage page;
    const QImage image = DecodeScanImage(file, page.error);
    if (page.error.isEmpty()) page.reading = ReadPage(image, target);
    if (!page.error.isEmpty()) page.reading.problem = PageProblem::NoMarkers;
    return page;
}

PhoneScanning::PhoneScanning(results::TForm3& manager, ReadSheetNumbers& numbers, QByteArray code,
                             PhotoReader reader, collect::WrongCodeWaits::Clock clock)
    : manager_(manager),
      numbers_(numbers),
      code_(std::move(code)),
      reader_(std::move(reader)),
      target_(std::make_shared<const ScanTarget>(
          ScanTargetOf(manager.Results().Tally, manager.Results().SurveyText))),
      title_(collect::SurveyTitle(manager.Results().Tally.SurveyName)),
      wrongCodes_(std::move(clock)),
      assembly_(*target_, numbers.Numbers()),
      context_(std::make_unique<QObject>()) {}

PhoneScanning::~PhoneScanning() {
    // The readings still under way answer nobody; their phones are told the scanning has ended.
    context_.reset();
    for (const auto& sending : sendings_) {
        sending->responder.Send(Refusal(503, QStringLiteral("Skanowanie zakończone"),
                                        QStringLiteral("Skanowanie arkuszy telefonem zakończono na komputerze; "
                                                       "tych zdjęć nie dodano.")));
    }
}

HttpResponse PhoneScanning::Refusal(int status, const QString& title, const QString& text) const {
    return collect::PageResponse(status, kHtml, PhoneMessagePage(title, text));
}

HttpAdmission PhoneScanning::Admit(const HttpRequest& head) {
    if (head.path != kPhonePath) return 0;  // the stylesheet and any other path bring no body
    if (const std::int64_t wait = wrongCodes_.WaitOf(head.remoteAddress); wait > 0) {
        HttpResponse shut = Refusal(429, kRefused,
                                    QStringLiteral("Za dużo prób z błędnym kodem. Poczekaj chwilę i zeskanuj "
                                                   "kod QR z okna na komputerze jeszcze raz."));
        shut.headers << qMakePair(QByteArrayLiteral("Retry-After"), QByteArray::number((wait + 999) / 1000));
        return HttpAdmission::Refused(shut);
    }
    const QByteArray sent = QueryValue(head.query, "kod");
    if (sent != code_) {
        if (!sent.isEmpty()) wrongCodes_.Note(head.remoteAddress);
        return HttpAdmission::Refused(
            Refusal(403, QStringLiteral("Nieważny kod"),
                    QStringLiteral("Tę stronę otwiera tylko kod QR z okna „Skanuj arkusze telefonem” "
                                   "na komputerze. Zeskanuj go jeszcze raz.")));
    }
    if (head.method != "POST") return 0;
    HttpAdmission admission(kMostSendingBytes);
    admission.refusal = Refusal(413, kRefused,
                                QStringLiteral("To za dużo naraz: wyślij najwyżej %1 zdjęć, każde do 20 MB.")
                                    .arg(kMostPhotosAtOnce));
    return admission;
}

void PhoneScanning::Handle(HttpRequest request, const HttpResponder& responder) {
    const bool read = request.method == "GET" || request.method == "HEAD";
    if (request.path == kPhoneStyleSheetPath && read) {
        return responder.Send(collect::PageResponse(200, QByteArrayLiteral("text/css; charset=utf-8"),
                                                    PhoneStyleSheet()));
    }
    if (request.path != kPhonePath) {
        return responder.Send(Refusal(404, QStringLiteral("Nie ma takiej strony"), {}));
    }
    // Admit lets in only the right code; a request handed on without it is refused all the same.
    if (QueryValue(request.query, "kod") != code_) {
        return responder.Send(Refusal(403, QStringLiteral("Nieważny kod"), {}));
    }
    if (read) return responder.Send(collect::PageResponse(200, kHtml, PhonePage(title_, code_, {}, counts_)));
    if (request.method == "POST") return TakePhotos(std::move(request), responder);
    HttpResponse refused = Refusal(405, kRefused, {});
    refused.headers << qMakePair(QByteArrayLiteral("Allow"), QByteArrayLiteral("GET, POST"));
    responder.Send(refused);
}

void PhoneScanning::TakePhotos(HttpRequest request, const HttpResponder& responder) {
    const auto refuse = [&](int status, const QString& text) {
        responder.Send(collect::PageResponse(status, kHtml, PhoneMessagePage(kRefused, text, code_)));
    };
    const QByteArray boundary = platform::MultipartBoundary(request.contentType);
    if (boundary.isEmpty()) return refuse(415, QStringLiteral("Nieznany rodzaj formularza."));
    const auto parts = platform::ReadMultipartForm(request.body, boundary, 2 * kMostPhotosAtOnce);
    if (!parts) return refuse(400, QStringLiteral("Formularz jest niepoprawny."));
    std::vector<QByteArrayView> photos;
    for (const platform::FormPart& part : *parts) {
        if (part.name == kPhotoField && part.isFile && !part.data.isEmpty()) photos.push_back(part.data);
    }
    if (photos.empty()) {
        return refuse(400, QStringLiteral("Nie wybrano zdjęcia: naciśnij przycisk aparatu i zrób zdjęcie arkusza."));
    }
    if (photos.size() > kMostPhotosAtOnce) {
        return refuse(413, QStringLiteral("Wyślij najwyżej %1 zdjęć naraz.").arg(kMostPhotosAtOnce));
    }
    // One photo that will not do, and the whole sending is refused: nothing of it counts.
    for (std::size_t i = 0; i < photos.size(); ++i) {
        if (const PhotoRefusal refusal = CheckPhoto(photos[i]); refusal != PhotoRefusal::None) {
            const QString which = photos.size() == 1 ? QStringLiteral("Zdjęcie") : QStringLiteral("Zdjęcie %1").arg(i + 1);
            return refuse(StatusOf(refusal), which + QStringLiteral(": ") + PhotoRefusalText(refusal) +
                                                 QStringLiteral(". Nic nie dodano."));
        }
    }

    auto sending = std::make_unique<Sending>(Sending{responder, std::move(request.body), {}, photos.size()});
    sending->pages.resize(photos.size());
    Sending* const taken = sending.get();
    sendings_.push_back(std::move(sending));
    for (std::size_t i = 0; i < photos.size(); ++i) {
        // The photo is read where it lies in the body, which the reading keeps alive.
        const qsizetype offset = photos[i].data() - taken->body.constData();
        const qsizetype length = photos[i].size();
        auto reading = [reader = reader_, target = target_, body = taken->body, offset, length] {
            try {
                return reader(QByteArray::fromRawData(body.constData() + offset, length), *target);
            } catch (const std::exception&) {
                ScannedPage failed;
                failed.error = QStringLiteral("nie można odczytać obrazu");
                failed.reading.problem = PageProblem::NoMarkers;
                return failed;
            }
        };
        auto* watcher = new QFutureWatcher<ScannedPage>(context_.get());
        QObject::connect(watcher, &QFutureWatcherBase::finished, context_.get(), [this, taken, i, watcher] {
            watcher->deleteLater();
            PhotoRead(taken, i, watcher->result());
        });
        watcher->setFuture(QtConcurrent::run(std::move(reading)));
    }
}

void PhoneScanning::PhotoRead(Sending* sending, std::size_t photo, ScannedPage page) {
    sending->pages[photo] = std::move(page);
    if (--sending->left > 0) return;
    // All read: taken in in the order they were sent, and the phone answered.
    std::vector<PhotoAnswer> answers;
    for (ScannedPage& one : sending->pages) answers.push_back(Take(std::move(one)));
    const HttpResponder responder = sending->responder;
    sendings_.erase(std::find_if(sendings_.begin(), sendings_.end(),
                                 [sending](const auto& one) { return one.get() == sending; }));
    if (sendings_.empty()) platform::ReturnFreedMemory();
    if (OnCounted) OnCounted();
    responder.Send(collect::PageResponse(200, kHtml, PhonePage(title_, code_, answers, counts_)));
}

PhotoAnswer PhoneScanning::Take(ScannedPage page) {
    ++counts_.photos;
    const PageReading& reading = page.reading;
    if (reading.problem == PageProblem::OtherSurvey) {
        ++counts_.notRead;
        return {PhotoAnswer::Kind::Refused,
                QStringLiteral("To arkusz innej ankiety niż wczytane wyniki — nie dodano go")};
    }
    if (!page.error.isEmpty() || reading.problem != PageProblem::None) {
        ++counts_.notRead;
        return {PhotoAnswer::Kind::Refused, kNotRead};
    }
    const int number = reading.code.sheet;
    const QString sheet = QStringLiteral("Arkusz %1: ").arg(number);
    if (settled_.contains(number) || numbers_.Numbers().contains(number)) {
        return {PhotoAnswer::Kind::Refused, sheet + QStringLiteral("już wczytany")};
    }
    const std::size_t refusedBefore = assembly_.Refused().size();
    page.file = QStringLiteral("zdjęcie z telefonu");
    page.page = counts_.photos;
    assembly_.Add(page);
    if (assembly_.Refused().size() > refusedBefore) {
        return {PhotoAnswer::Kind::Refused, sheet + QStringLiteral("ta strona już wczytana")};
    }
    ScannedSheet taken;
    for (ScannedSheet& one : assembly_.Sheets()) {
        if (one.number == number) taken = std::move(one);
    }
    if (taken.Certain()) {
        waiting_.erase(number);
        counts_.waiting = static_cast<int>(waiting_.size());
        settled_.insert(number);
        if (manager_.AddSheet(taken.marks) != results::ResultsOutcome::Merged) {
            return {PhotoAnswer::Kind::Refused,
                    sheet + QStringLiteral("nie dodano — liczba odpowiedzi przekroczyłaby 65535")};
        }
        numbers_.Add(number);
        ++counts_.added;
        return {PhotoAnswer::Kind::Added, sheet + QStringLiteral("dodany")};
    }
    waiting_.insert(number);
    counts_.waiting = static_cast<int>(waiting_.size());
    if (!taken.missingPages.empty()) {
        // A sheet of several pages, not all of them here yet: what is still to be photographed.
        const QString still = taken.missingPages.size() == 1 ? QStringLiteral("zrób zdjęcie strony")
                                                             : QStringLiteral("zrób zdjęcia stron");
        return {PhotoAnswer::Kind::Waiting, sheet + QStringLiteral("strona %1 z %2 przyjęta — %3 %4")
                                                        .arg(reading.code.page)
                                                        .arg(reading.code.pages)
                                                        .arg(still, NumbersText(taken.missingPages))};
    }
    return {PhotoAnswer::Kind::Waiting, sheet + QStringLiteral("do sprawdzenia przy komputerze")};
}

std::vector<ScannedSheet> PhoneScanning::TakeWaiting() {
    std::vector<ScannedSheet> waiting;
    for (ScannedSheet& sheet : assembly_.Sheets()) {
        if (waiting_.count(sheet.number) == 0) continue;
        settled_.insert(sheet.number);
        waiting.push_back(std::move(sheet));
    }
    waiting_.clear();
    counts_.waiting = 0;
    return waiting;
}

}  // namespace scan
