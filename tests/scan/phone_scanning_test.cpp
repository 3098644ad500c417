// The phone scanning: photos taken in as scanned pages on made-up readings (added, waiting for
// review, refused, a sheet of two pages), and on 127.0.0.1 through its window and the shared
// server: bad input refused with nothing counted and no memory kept, a real photo of a sheet
// added, the collection answering beside it, and thirty photos one after another.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QImageReader>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <random>
#include <thread>

#include "collect/collection_window.h"
#include "platform/memory.h"
#include "scan/phone_scan_window.h"
#include "scan/sheet_code.h"
#include "scan/sheet_review_window.h"
#include "scan_fixture.h"
#include "scan_photos.h"
#include "shown_probe.h"
#include "test_scans.h"

namespace {

using platform::HttpRequest;
using platform::HttpResponder;
using platform::HttpResponse;
using scan::BoxMark;

const QByteArray kBoundary = "----narzedziaTestBoundary";
const QByteArray kMultipart = "multipart/form-data; boundary=" + kBoundary;
const QString kNotRead = QStringLiteral("Nie odczytano zdjęcia — zrób je jeszcze raz, z całą kartką w kadrze");

QByteArray Sending(const std::vector<QByteArray>& photos) {
    QByteArray body;
    for (const QByteArray& photo : photos) {
        body += "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"zdjecie\"; filename=\"IMG.jpg\"\r\n" +
                "Content-Type: image/jpeg\r\n\r\n" + photo + "\r\n";
    }
    return body + "--" + kBoundary + "--\r\n";
}

// The answers a page lists, one per photo.
QStringList Answers(const QByteArray& page) {
    QStringList answers;
    const QRegularExpression item(QStringLiteral("<li class=\"[a-z]+\">([^<]*)</li>"));
    for (const auto& match : item.globalMatch(QString::fromUtf8(page))) answers << match.captured(1);
    return answers;
}

enum class Look { Certain, Doubtful, Unreadable, OtherSurvey };

// A made-up photo: a small PNG whose size says which page of which sheet it shows and how it
// reads, for the made-up reader below.
QByteArray Photo(int sheet, int page = 1, Look look = Look::Certain) {
    return scan_testing::PictureFile(QSize(sheet, 10 * static_cast<int>(look) + page), "PNG");
}

// Reads a made-up photo: every question of its page with its first answer crossed (its second
// uncertain when the photo is doubtful).
scan::ScannedPage MadeUpReading(const QByteArray& file, const scan::ScanTarget& target) {
    QByteArray bytes = file;
    QBuffer device(&bytes);
    const QSize size = QImageReader(&device, "png").size();
    scan::ScannedPage scanned;
    scan::PageReading& reading = scanned.reading;
    const auto look = static_cast<Look>(size.height() / 10);
    const int page = size.height() % 10;
    if (look == Look::Unreadable) {
        reading.problem = scan::PageProblem::NoMarkers;
        return scanned;
    }
    reading.code = {target.fingerprints.front(), size.width(), page, static_cast<int>(target.layout.size())};
    if (look == Look::OtherSurvey) {
        reading.problem = scan::PageProblem::OtherSurvey;
        return scanned;
    }
    for (const scan::QuestionPlace& question : target.layout[static_cast<std::size_t>(page - 1)].questions) {
        for (const scan::AnswerPlace& answer : question.answers) {
            BoxMark mark = answer.answer == 1 ? BoxMark::Crossed : BoxMark::Empty;
            if (look == Look::Doubtful && answer.answer == 2) mark = BoxMark::Uncertain;
            reading.boxes.push_back({question.question, answer.answer, mark});
        }
    }
    return scanned;
}

class PhoneScanningTest : public scan_testing::ScanResultsTest {
protected:
    // Enough questions for a sheet of two pages.
    PhoneScanningTest() : ScanResultsTest(10, 4) {}

    HttpResponse Send(const std::vector<QByteArray>& photos) {
        std::optional<HttpResponse> answer;
        scanning.Handle({"POST", "/telefon", "kod=" + scanning.Code(), kMultipart, {}, Sending(photos), QStringLiteral("10.0.0.9")},
                        HttpResponder([&](HttpResponse response) { answer = std::move(response); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 5000));
        return answer.value_or(HttpResponse{});
    }
    QString Counts() const {
        const scan::PhoneCounts& counts = scanning.Counts();
        return QStringLiteral("%1 %2 %3 %4").arg(counts.photos).arg(counts.added).arg(counts.waiting).arg(counts.notRead);
    }

    scan::PhoneScanning scanning{manager, numbers, "K7P2M9XQ4R8T", &MadeUpReading};
};

TEST_F(PhoneScanningTest, TakesEachPhotoAsAScannedPage) {
    ASSERT_EQ(scan::ScanTargetOf(Tally(), manager.Results().SurveyText).layout.size(), 2u);
    numbers.Add(20);  // read from scans before
    const struct {
        std::vector<QByteArray> photos;
        QStringList answers;
        const char* counts;  // photos, added, waiting, not read
    } sendings[] = {
        {{Photo(17, 1)}, {QStringLiteral("Arkusz 17: strona 1 z 2 przyjęta — zrób zdjęcie strony 2")}, "1 0 1 0"},
        {{Photo(17, 1)}, {QStringLiteral("Arkusz 17: ta strona już wczytana")}, "2 0 1 0"},
        {{Photo(17, 2)}, {QStringLiteral("Arkusz 17: dodany")}, "3 1 0 0"},
        {{Photo(17, 2)}, {QStringLiteral("Arkusz 17: już wczytany")}, "4 1 0 0"},
        {{Photo(18, 1, Look::Doubtful), Photo(18, 2)},
         {QStringLiteral("Arkusz 18: strona 1 z 2 przyjęta — zrób zdjęcie strony 2"), QStringLiteral("Arkusz 18: do sprawdzenia przy komputerze")},
         "6 1 1 0"},
        {{Photo(1, 1, Look::Unreadable), Photo(19, 1, Look::OtherSurvey), Photo(20, 1), Photo(21, 2)},
         {kNotRead, QStringLiteral("To arkusz innej ankiety niż wczytane wyniki — nie dodano go"), QStringLiteral("Arkusz 20: już wczytany"),
          QStringLiteral("Arkusz 21: strona 2 z 2 przyjęta — zrób zdjęcie strony 1")},
         "10 1 2 2"},
    };
    for (const auto& sending : sendings) {
        const HttpResponse answer = Send(sending.photos);
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(Answers(answer.body), sending.answers);
        EXPECT_EQ(Counts(), QString::fromLatin1(sending.counts)) << sending.answers.join(u'|').toStdString();
    }
    // Sheet 17 went in once, with the first answer of every question.
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Tally().AnswerTally[10][1], 1);
    EXPECT_EQ(Tally().AnswerTally[10][2], 0);
    EXPECT_TRUE(numbers.Numbers().contains(17));

    // The waiting sheets go to the review window; their pages are refused from then on.
    const std::vector<scan::ScannedSheet> waiting = scanning.TakeWaiting();
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].number, 18);
    EXPECT_FALSE(waiting[0].doubtfulQuestions.empty());
    EXPECT_EQ(waiting[1].number, 21);
    EXPECT_EQ(waiting[1].missingPages, std::vector<int>{1});
    EXPECT_EQ(Counts(), QStringLiteral("10 1 0 2"));
    EXPECT_EQ(Answers(Send({Photo(21, 1)}).body), QStringList{QStringLiteral("Arkusz 21: już wczytany")});
}

// A made-up reading that waits until it is let go, as a slow one does.
std::atomic<bool> readingBegun{false};
std::atomic<bool> readingLetGo{false};
scan::ScannedPage HeldReading(const QByteArray& file, const scan::ScanTarget& target) {
    readingBegun = true;
    while (!readingLetGo) std::this_thread::yield();
    return MadeUpReading(file, target);
}

// The window on the program's shared server, reached on 127.0.0.1, with the results of a
// questionnaire whose sheets are rendered for real.
class PhoneWindowTest : public scan_testing::ScanResultsTest {
protected:
    PhoneWindowTest() : ScanResultsTest(1, 2) {
        server.PreferredPort = 0;
        manager.TakeResults(Survey().tally, Survey().surveyText);
    }
    ~PhoneWindowTest() override {
        window.CloseForm();
        collection.CloseForm();
        review.hide();
    }
    static const test_scans::SampleSurvey& Survey() {
        static const test_scans::SampleSurvey survey = test_scans::MakeSurvey({3, 2, 4});
        return survey;
    }
    void Start() {
        window.StartScanning();
        ASSERT_TRUE(window.Scanning());
        port = window.Port();
        code = window.CurrentScanning()->Code();
    }

    struct Reply {
        int status = 0;
        QByteArray body;
        qint64 ms = 0;  // from the request's end to its answer
    };
    Reply Send(const QByteArray& method, const QString& target, const QByteArray& body = {},
               const QByteArray& type = kMultipart) {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(target)));
        if (!body.isEmpty()) request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        QNetworkReply* reply = network.sendCustomRequest(request, method, body);
        QElapsedTimer sent;
        QObject::connect(reply, &QNetworkReply::uploadProgress, reply, [&](qint64 done, qint64 total) {
            if (done == total) sent.start();
        });
        QEventLoop wait;
        QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
        QTimer::singleShot(10000, &wait, &QEventLoop::quit);
        wait.exec();
        Reply got{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                  sent.isValid() ? sent.elapsed() : 0};
        reply->deleteLater();
        return got;
    }
    Reply SendPhotos(const std::vector<QByteArray>& photos) {
        return Send("POST", QStringLiteral("/telefon?kod=") + QString::fromLatin1(code), Sending(photos));
    }
    QString Counts() const {
        return QStringList{window.Label4->text(), window.Label5->text(), window.Label6->text(), window.Label7->text()}
            .join(QStringLiteral(", "));
    }
    static qint64 ResidentBytes() { return qint64(bench::ResidentKilobytes()) * 1024; }

    platform::SharedHttpServer server;
    scan::SheetReviewWindow review{dialogs, manager, numbers};
    scan::PhoneScanWindow window{dialogs, manager, numbers, review, server};
    collect::TForm11 collection{dialogs, manager, store, server};
    QNetworkAccessManager network;
    quint16 port = 0;
    QByteArray code;
};

TEST_F(PhoneWindowTest, RefusesBadInputWith4xxCountingNothingAndKeepingNoMemory) {
    Start();
    EXPECT_EQ(code.size(), 12);
    EXPECT_EQ(window.Label3->text(), QStringLiteral("Kod telefonu: ") + QString::fromLatin1(code));
    EXPECT_EQ(Send("GET", QStringLiteral("/telefon?kod=") + QString::fromLatin1(code)).status, 200);
    const QByteArray jpeg = scan_testing::PictureFile(QSize(640, 480), "JPG");
    const QString page = QStringLiteral("/telefon?kod=") + QString::fromLatin1(code);
    const struct {
        const char* what;
        QByteArray method;
        QString target;
        QByteArray body;
        int status;
    } refused[] = {
        {"no code", "GET", QStringLiteral("/telefon"), {}, 403},
        {"a photo without the code", "POST", QStringLiteral("/telefon"), Sending({jpeg}), 403},
        {"a photo larger than 20 MB", "POST", page, Sending({jpeg + QByteArray(20'000'000, '\0')}), 413},
        {"a decompression bomb", "POST", page, Sending({scan_testing::PngClaiming(100000, 100000)}), 413},
        {"not a picture", "POST", page, Sending({"%PDF-1.4 to nie jest zdjęcie"}), 415},
        {"a truncated JPEG", "POST", page, Sending({jpeg.left(jpeg.size() / 2)}), 422},
        {"a good photo beside a bad one", "POST", page, Sending({Photo(3), jpeg.left(100)}), 422},
        {"no photo", "POST", page, Sending({}), 400},
        {"not a form of files", "POST", page, "zdjecie=1", 415},
    };
    const auto sendAll = [&] {
        for (const auto& one : refused) {
            const QByteArray type = one.body.startsWith("--") ? kMultipart : QByteArray("application/x-www-form-urlencoded");
            EXPECT_EQ(Send(one.method, one.target, one.body, type).status, one.status) << one.what;
        }
    };
    sendAll();
#ifndef __SANITIZE_ADDRESS__  // the sanitizer holds freed memory back from reuse: no measure there
    platform::ReturnFreedMemory();
    const qint64 before = ResidentBytes();
    for (int round = 0; round < 2; ++round) sendAll();
    platform::ReturnFreedMemory();
    EXPECT_LT(ResidentBytes() - before, 4 * 1024 * 1024);
#endif
    EXPECT_EQ(Counts(), QStringLiteral("Odebrane zdjęcia: 0, Dodane arkusze: 0, Arkusze do sprawdzenia: 0, "
                                       "Nieodczytane zdjęcia: 0"));
    EXPECT_EQ(Tally().RespondentCount, 0);

    // Wrong codes wait as the collection's do: the sixth try is shut out, the right code too.
    const QString wrong = QStringLiteral("/telefon?kod=AAAAAAAAAAAA");
    for (int i = 0; i < collect::WrongCodeWaits::kFreeWrongCodes; ++i) EXPECT_EQ(Send("GET", wrong).status, 403);
    EXPECT_EQ(Send("GET", page).status, 429);
}

TEST_F(PhoneWindowTest, ARealPhotoOfASheetIsAddedAndAPictureOfNoSheetIsNot) {
    Start();
    constexpr int kDpi = 150;
    QImage sheet = test_scans::RenderSheets(Survey(), 7, 1, kDpi).front();
    std::mt19937 random(5);
    const scan::QuestionPlace& second = Survey().target.layout.front().questions[1];
    test_scans::DrawMark(sheet, kDpi, test_scans::Mark::Cross, second.answers[1].box, random);
    QByteArray photo;
    QBuffer device(&photo);
    device.open(QIODevice::WriteOnly);
    sheet.save(&device, "JPG", 85);
    const Reply added = SendPhotos({photo});
    EXPECT_EQ(added.status, 200);
    EXPECT_EQ(Answers(added.body), QStringList{QStringLiteral("Arkusz 7: dodany")});
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Tally().AnswerTally[2][2], 1);
    EXPECT_EQ(Tally().AnswerTally[2][1], 0);
    const Reply notRead = SendPhotos({scan_testing::PictureFile(QSize(800, 600), "JPG")});
    EXPECT_EQ(Answers(notRead.body), QStringList{kNotRead});
    EXPECT_EQ(Counts(), QStringLiteral("Odebrane zdjęcia: 2, Dodane arkusze: 1, Arkusze do sprawdzenia: 0, "
                                       "Nieodczytane zdjęcia: 1"));
}

TEST_F(PhoneWindowTest, TheCollectionKeepsAnsweringBesideItOnTheSameServer) {
    // Photos read slowly: the collection's pages come meanwhile.
    window.Reader = [](const QByteArray& file, const scan::ScanTarget& target) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return MadeUpReading(file, target);
    };
    collection.StartCollecting();
    Start();
    EXPECT_EQ(collection.Port(), port);
    QNetworkReply* photos = network.post(
        [&] {
            QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/telefon?kod=%2").arg(port).arg(QString::fromLatin1(code))));
            request.setHeader(QNetworkRequest::ContentTypeHeader, kMultipart);
            return request;
        }(),
        Sending({Photo(4)}));
    QTest::qWait(100);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Send("GET", QStringLiteral("/")).status, 200);
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_FALSE(photos->isFinished());
    EXPECT_TRUE(QTest::qWaitFor([&] { return photos->isFinished(); }, 5000));
    EXPECT_EQ(Answers(photos->readAll()), QStringList{QStringLiteral("Arkusz 4: dodany")});
    photos->deleteLater();
    // Each window stops only its own part; the server stops with the last.
    window.Button1->click();
    EXPECT_EQ(Send("GET", QStringLiteral("/telefon?kod=") + QString::fromLatin1(code)).status, 404);
    EXPECT_EQ(Send("GET", QStringLiteral("/")).status, 200);
    collection.CloseForm();
    EXPECT_FALSE(server.Running());
    EXPECT_EQ(Send("GET", QStringLiteral("/")).status, 0);
}

TEST_F(PhoneWindowTest, ThirtyPhotosOneAfterAnotherAreAllCountedOnceWhileTheWindowGoesOn) {
    window.Reader = &MadeUpReading;
    Start();
    // The window's event loop ticks throughout: the longest pause between two ticks.
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 longestPause = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, sinceTick.restart());
    });
    ticks.start(10);
    for (int sheet = 1; sheet <= 30; ++sheet) {
        EXPECT_EQ(Answers(SendPhotos({Photo(sheet)}).body), QStringList{QStringLiteral("Arkusz %1: dodany").arg(sheet)});
    }
    ticks.stop();
    EXPECT_EQ(Tally().RespondentCount, 30);
    EXPECT_EQ(Tally().AnswerTally[1][1], 30);
    EXPECT_EQ(Counts(), QStringLiteral("Odebrane zdjęcia: 30, Dodane arkusze: 30, Arkusze do sprawdzenia: 0, "
                                       "Nieodczytane zdjęcia: 0"));
    EXPECT_LT(longestPause, 250);
}

TEST_F(PhoneWindowTest, TheSheetsStillWaitingGoToTheReviewWindowWhenItCloses) {
    window.Reader = &MadeUpReading;
    Start();
    SendPhotos({Photo(5, 1, Look::Doubtful), Photo(6)});
    EXPECT_EQ(window.Label6->text(), QStringLiteral("Arkusze do sprawdzenia: 1"));
    window.Button1->click();
    EXPECT_FALSE(window.Scanning());
    ASSERT_TRUE(review.Reviewing());
    EXPECT_EQ(review.CurrentSheet().number, 5);
}

TEST_F(PhoneWindowTest, ASendingStillBeingReadWhenTheWindowClosesIsToldSoAndCountsNothing) {
    // The collection is not open: the server stops with the scanning, its last answer still goes out.
    window.Reader = &HeldReading;
    readingBegun = false;
    readingLetGo = false;
    Start();
    QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/telefon?kod=%2").arg(port).arg(QString::fromLatin1(code))));
    request.setHeader(QNetworkRequest::ContentTypeHeader, kMultipart);
    QNetworkReply* reply = network.post(request, Sending({Photo(7)}));
    ASSERT_TRUE(QTest::qWaitFor([] { return readingBegun.load(); }, 5000));
    window.Button1->click();
    readingLetGo = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return reply->isFinished(); }, 5000));
    EXPECT_EQ(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 503);
    EXPECT_TRUE(QString::fromUtf8(reply->readAll()).contains(QStringLiteral("Skanowanie zakończone")));
    reply->deleteLater();
    EXPECT_FALSE(server.Running());
    EXPECT_EQ(Tally().RespondentCount, 0);
    EXPECT_FALSE(review.Reviewing());
}

}  // namespace
