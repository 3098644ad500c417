// Answers sent to the collection window's server with Qt's network classes on 127.0.0.1: what is
// refused counts nothing, a good answer reaches the results manager, and the server runs exactly
// while the window is open.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimer>

#include "collect/collection_window.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace collect;

namespace {

struct Reply {
    int status = 0;  // 0: no answer (nothing listening)
    QByteArray body;
    QByteArray cookie;
};

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

QByteArray Lines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

class CollectionWindowTest : public ::testing::Test {
protected:
    CollectionWindowTest() {
        server.PreferredPort = 0;
        // Three questions of 3, 2 and 4 answers, 10 respondents.
        const QString results = folder.File("wyniki.wyn");
        testing_support::WriteBytes(results, Lines({"RESULTS", "Lekcja", "10", "3", "3", "1", "2", "3", "2",
                                                    "4", "5", "4", "0", "0", "0", "0", "Tekst"}));
        manager.ShowForm();
        dialogs.fileNames.push_back(results);
        manager.Otwrz1->trigger();
    }
    ~CollectionWindowTest() override {
        window.CloseForm();
        manager.hide();
    }

    Reply Send(const QByteArray& method, const QByteArray& body = {}, const QByteArray& cookie = {},
               const QByteArray& type = "application/x-www-form-urlencoded") {
        QNetworkRequest request(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)));
        request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
        request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
        if (!cookie.isEmpty()) request.setRawHeader("Cookie", cookie);
        if (!body.isEmpty()) request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        QNetworkReply* reply = network.sendCustomRequest(request, method, body);
        QEventLoop wait;
        QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
        QTimer::singleShot(5000, &wait, &QEventLoop::quit);
        wait.exec();
        Reply got;
        got.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        got.body = reply->readAll();
        const QByteArray setCookie = reply->rawHeader("Set-Cookie");
        got.cookie = setCookie.left(setCookie.indexOf(';'));
        reply->deleteLater();
        return got;
    }
    // A form opened in a new browser: its cookie and its token.
    std::pair<QByteArray, QByteArray> Open() {
        const Reply page = Send("GET");
        EXPECT_EQ(page.status, 200);
        const auto token = QRegularExpression(QStringLiteral("name=\"token\" value=\"([0-9a-f]+)\""))
                               .match(QString::fromUtf8(page.body))
                               .captured(1)
                               .toLatin1();
        return {page.cookie, token};
    }
    QByteArray Code() const { return window.CurrentCollection()->Code(); }
    QString Counts() const {
        QStringList counts{QString::number(store.Tally.RespondentCount)};
        for (int q = 1; q <= store.Tally.QuestionCount; ++q) {
            for (int a = 1; a <= store.Tally.AnswerCount[q]; ++a) counts << QString::number(store.Tally.AnswerTally[q][a]);
        }
        return counts.join(u' ');
    }
    void Start() {
        window.StartCollecting();
        port = window.Port();
        ASSERT_NE(port, 0);
    }

    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    NoLauncher launcher;
    results::ResultsStore store;
    results::TForm3 manager{dialogs, printer, store, launcher};
    platform::SharedHttpServer server;
    TForm11 window{dialogs, manager, store, server};
    QNetworkAccessManager network;
    quint16 port = 0;
};

TEST_F(CollectionWindowTest, RefusesBadInputWith4xxAndCountsOneGoodAnswer) {
    EXPECT_TRUE(manager.Zbierajodpowiedziwsieci1->isEnabled());
    Start();
    const QString before = Counts();
    const auto [cookie, token] = Open();
    const QByteArray good = "kod=" + Code() + "&token=" + token;
    const struct {
        const char* what;
        QByteArray body;
        QByteArray type;
    } bad[] = {
        {"malformed", "kod=" + Code() + "&token=" + token + "&q1=%zz", {}},
        {"oversized", good + "&q1=a&" + QByteArray(200000, 'a'), {}},
        {"unknown answer", good + "&q2=c", {}},
        {"question out of range", good + "&q4=a", {}},
        {"missing code", "token=" + token + "&q1=a", {}},
        {"not a form", good, "application/json"},
        {"over the connection's limit", good + "&q1=a&" + QByteArray(2000000, 'a'), {}},
        {"wrong code", "kod=000000&token=" + token + "&q1=a", {}},
        {"the wrong code's used-up token", good + "&q1=a", {}},
    };
    if (Code() == "000000") GTEST_SKIP() << "the random code happens to be the wrong one";
    for (const auto& sent : bad) {
        const Reply reply = Send("POST", sent.body, cookie,
                                 sent.type.isEmpty() ? QByteArray("application/x-www-form-urlencoded") : sent.type);
        EXPECT_GE(reply.status, 400) << sent.what;
        EXPECT_LT(reply.status, 500) << sent.what;
    }
    EXPECT_EQ(Counts(), before);
    EXPECT_EQ(Send("GET", {}, {}, {}).status, 200);
    EXPECT_EQ(window.Label5->text(), QStringLiteral("Odebrane odpowiedzi: 0"));

    const auto [newCookie, newToken] = Open();
    const Reply thanks = Send("POST", "kod=" + Code() + "&token=" + newToken + "&q1=a&q1=c&q3=d", newCookie);
    EXPECT_EQ(thanks.status, 200);
    EXPECT_TRUE(QString::fromUtf8(thanks.body).contains(QStringLiteral("Dziękujemy")));
    EXPECT_EQ(Counts(), QStringLiteral("11 2 2 4 4 5 0 0 0 1"));
    EXPECT_TRUE(manager.Caption().endsWith(QStringLiteral("Ankietowanych: 11")));
    EXPECT_EQ(manager.StringGrid1->Cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(window.Label5->text(), QStringLiteral("Odebrane odpowiedzi: 1"));

    // The same form sent again (with the teacher allowing repeats, so only the token stops it).
    window.CheckBox1->setChecked(true);
    EXPECT_EQ(Send("POST", "kod=" + Code() + "&token=" + newToken + "&q1=a", newCookie).status, 403);
    EXPECT_EQ(Counts(), QStringLiteral("11 2 2 4 4 5 0 0 0 1"));
}

TEST_F(CollectionWindowTest, ServesExactlyWhileTheWindowIsOpen) {
    // Each way of ending: "Zakończ", closing the window, resetting the results, closing them.
    const std::function<void()> ends[] = {
        [&] { window.Button1->click(); },
        [&] { window.close(); },
        [&] {
            dialogs.answers.push_back(true);
            manager.Wyzeruj1->trigger();
        },
        [&] { manager.Button1->click(); },
    };
    for (const auto& end : ends) {
        if (!manager.ResultsLoaded()) {
            manager.ShowForm();
            dialogs.fileNames.push_back(folder.File("wyniki.wyn"));
            manager.Otwrz1->trigger();
        }
        Start();
        EXPECT_TRUE(window.isVisible());
        const QByteArray code = Code();
        EXPECT_EQ(code.size(), 6);
        EXPECT_EQ(window.Label4->text(), QString::fromLatin1(code));
        EXPECT_EQ(Send("GET").status, 200);
        end();
        EXPECT_FALSE(window.Collecting());
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(Send("GET").status, 0);
    }
}

TEST(QrCodePicture, IsASquareOfBlackModulesOnWhite) {
    const QImage picture = QrCodePicture(QStringLiteral("http://192.168.1.20:8080/"), 210);
    EXPECT_EQ(picture.size(), QSize(210, 210));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    // The finder pattern's corner lies inside the quiet border of four modules.
    int first = 0;
    while (first < 210 && picture.pixel(first, first) != qRgb(0, 0, 0)) ++first;
    EXPECT_GT(first, 10);
    EXPECT_LT(first, 40);
}

}  // namespace
