// A collection's pages and the checks of a sent form, request by request without a network.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "collect/collection_server.h"

using namespace collect;
using platform::HttpRequest;
using platform::HttpResponse;

namespace {

const QByteArray kCode = "314159";
const QByteArray kForm = "application/x-www-form-urlencoded";

results::ResultsTally TwoQuestions() {
    results::ResultsTally tally;
    tally.QuestionCount = 2;
    tally.AnswerCount[1] = 3;
    tally.AnswerCount[2] = 2;
    return tally;
}

class CollectionTest : public ::testing::Test {
protected:

    HttpResponse Send(const QByteArray& method, const QByteArray& path, const QByteArray& body = {},
                      const QByteArray& cookie = {}, const QString& address = QStringLiteral("10.0.0.7")) {
        return collection.Handle({method, path, {}, kForm, cookie, body, address});
    }
    // A form opened by a browser: its cookie (a new one unless given) and its token.
    struct Opened {
        QByteArray cookie, token;
    };
    Opened Open(const QByteArray& cookie = {}) {
        const HttpResponse page = Send("GET", "/", {}, cookie);
        EXPECT_EQ(page.status, 200);
        Opened opened{cookie, {}};
        for (const auto& [name, value] : page.headers) {
            if (name == "Set-Cookie") opened.cookie = value.left(value.indexOf(';'));
        }
        const auto match = QRegularExpression(QStringLiteral("name=\"token\" value=\"([0-9a-f]+)\""))
                               .match(QString::fromUtf8(page.body));
        opened.token = match.captured(1).toLatin1();
        return opened;
    }
    HttpResponse Answer(const Opened& form, const QByteArray& marks = "&q1=b&q2=a",
                        const QByteArray& code = kCode, const QString& address = QStringLiteral("10.0.0.7")) {
        return Send("POST", "/", "kod=" + code + "&token=" + form.token + marks, form.cookie, address);
    }

    results::ResultsTally tally = TwoQuestions();
    std::int64_t now = 0;
    Collection collection{MakeCollectionForm(tally, std::nullopt),
                          [this](const results::AnswerSheet& sheet) { return results::AddSheet(tally, sheet); },
                          kCode, [this] { return now; }};
};

TEST_F(CollectionTest, ServesOnlyTheFormAndItsStylesheet) {
    EXPECT_EQ(Send("GET", "/styl.css").status, 200);
    EXPECT_EQ(Send("GET", "/styl.css").contentType, "text/css; charset=utf-8");
    const HttpResponse form = Send("GET", "/");
    EXPECT_EQ(form.contentType, "text/html; charset=utf-8");
    EXPECT_TRUE(form.body.contains("Pytanie 2"));
    for (const char* path : {"/favicon.ico", "/../etc/passwd", "/index.html", "/styl.css/"}) {
        EXPECT_EQ(Send("GET", path).status, 404) << path;
    }
    EXPECT_EQ(Send("PUT", "/").status, 405);
    EXPECT_EQ(Send("POST", "/styl.css").status, 404);
}

TEST_F(CollectionTest, AcceptsAnAnswerOnceFromABrowserUnlessRepeatsAreAllowed) {
    int shown = 0;
    collection.OnAccepted = [&] { ++shown; };
    const Opened first = Open();
    ASSERT_FALSE(first.cookie.isEmpty());
    ASSERT_FALSE(first.token.isEmpty());
    EXPECT_EQ(Answer(first).status, 200);
    EXPECT_EQ(collection.Accepted(), 1);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(tally.RespondentCount, 1);
    EXPECT_EQ(tally.AnswerTally[1][2], 1);
    EXPECT_EQ(tally.AnswerTally[2][1], 1);

    // The same page again, and a new page in the same browser: refused.
    EXPECT_EQ(Answer(first).status, 403);
    EXPECT_TRUE(Send("GET", "/", {}, first.cookie).body.contains("już wysłana"));
    const Opened again = Open(first.cookie);
    EXPECT_TRUE(again.token.isEmpty());
    collection.SetRepeatAllowed(true);
    EXPECT_EQ(Answer(Open(first.cookie)).status, 200);
    EXPECT_EQ(collection.Accepted(), 2);
    EXPECT_EQ(tally.RespondentCount, 2);
}

TEST_F(CollectionTest, RefusesForgedAndReplayedForms) {
    const Opened form = Open();
    const Opened other = Open();
    const struct {
        const char* what;
        HttpResponse response;
        int status;
    } cases[] = {
        {"another browser's token", Answer({other.cookie, form.token}), 403},
        {"no cookie", Answer({{}, form.token}), 403},
        {"an invented token", Answer({form.cookie, "00112233445566778899aabbccddeeff"}), 403},
        {"another content type",
         collection.Handle({"POST", "/", {}, "text/plain", form.cookie, "kod=" + kCode + "&token=" + form.token, {}}),
         415},
        {"a body over the limit", Answer(form, "&q1=a" + QByteArray(5000, 'x')), 413},
        {"an unknown answer", Answer(form, "&q1=z"), 400},
    };
    for (const auto& refused : cases) {
        EXPECT_EQ(refused.response.status, refused.status) << refused.what;
    }
    EXPECT_EQ(collection.Accepted(), 0);
    EXPECT_EQ(tally.RespondentCount, 0);
    // None of them used the form up.
    EXPECT_EQ(Answer(form).status, 200);
}

TEST_F(CollectionTest, AWrongCodeGivesTheFormBackAndRepeatedOnesShutTheAddressOut) {
    const Opened form = Open();
    const HttpResponse wrong = Answer(form, "&q1=c", "000000");
    EXPECT_EQ(wrong.status, 403);
    EXPECT_TRUE(wrong.body.contains("Błędny kod"));
    EXPECT_TRUE(wrong.body.contains("value=\"c\" checked"));
    EXPECT_EQ(Answer(form).status, 403);  // that form is used up

    for (int i = 2; i <= Collection::kFreeWrongCodes; ++i) EXPECT_EQ(Answer(Open(), {}, "1").status, 403);
    EXPECT_EQ(Answer(Open()).status, 429);  // after the fifth, one second out, even with the right code
    EXPECT_EQ(Answer(Open(), {}, kCode, QStringLiteral("10.0.0.8")).status, 200);  // others go on
    now += 1000;
    EXPECT_EQ(Answer(Open(), {}, "2").status, 403);  // the sixth: two seconds out
    now += 1999;
    EXPECT_EQ(Answer(Open()).status, 429);
    now += 1;
    EXPECT_EQ(Answer(Open()).status, 200);
    // The right code forgives nothing: the seventh wrong one shuts the address out for four.
    EXPECT_EQ(Answer(Open(), {}, "3").status, 403);
    now += 3999;
    EXPECT_EQ(Answer(Open()).status, 429);
    now += 1;
    EXPECT_EQ(Answer(Open()).status, 200);
    EXPECT_EQ(collection.Accepted(), 3);
}

TEST_F(CollectionTest, WrongCodesFromOneIPv6NetworkCountAsOneAddress) {
    for (int i = 1; i <= Collection::kFreeWrongCodes; ++i) {
        EXPECT_EQ(Answer(Open(), {}, "1", QStringLiteral("2001:db8:1:2::%1").arg(i)).status, 403);
    }
    EXPECT_EQ(Answer(Open(), {}, kCode, QStringLiteral("2001:db8:1:2:ffff::9")).status, 429);
    EXPECT_EQ(Answer(Open(), {}, kCode, QStringLiteral("2001:db8:1:3::1")).status, 200);
}

TEST_F(CollectionTest, LoadingPagesNeverVoidsAnotherBrowsersOpenForm) {
    const Opened form = Open();
    const Opened sameAddress = Open();
    // Another client loads the form again and again, without a cookie and with its own.
    for (int i = 0; i < 10500; ++i) Send("GET", "/");
    for (int i = 0; i < 100; ++i) Send("GET", "/", {}, sameAddress.cookie);
    EXPECT_EQ(Answer(form).status, 200);
    EXPECT_EQ(Answer(sameAddress).status, 200);
}

TEST_F(CollectionTest, OnlyAFormSentToTheFormPageMayHaveABody) {
    const qint64 largest = MaxSubmissionSize(MakeCollectionForm(tally, std::nullopt));
    EXPECT_EQ(collection.BodyLimit({"POST", "/", {}, kForm, {}, {}, {}}), largest);
    EXPECT_EQ(collection.BodyLimit({"GET", "/", {}, {}, {}, {}, {}}), 0);
    EXPECT_EQ(collection.BodyLimit({"POST", "/styl.css", {}, kForm, {}, {}, {}}), 0);
}

TEST_F(CollectionTest, ASheetPastTheLargestCountIsRefusedAndThePageSaysSo) {
    tally.AnswerTally[1][2] = 65535;
    const HttpResponse refused = Answer(Open());
    EXPECT_EQ(refused.status, 409);
    EXPECT_TRUE(refused.body.contains("65535"));
    EXPECT_EQ(tally.RespondentCount, 0);
    EXPECT_EQ(collection.Accepted(), 0);
    EXPECT_EQ(Answer(Open(), "&q1=a").status, 200);
}

}  // namespace
