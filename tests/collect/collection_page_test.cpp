// The form of the loaded results, its page, and reading a sent form.
#include <gtest/gtest.h>

#include "collect/collection_page.h"

using namespace collect;

namespace {

// Two questions of three and two answers, as the example results have them.
results::ResultsTally TwoQuestions() {
    results::ResultsTally tally;
    tally.SurveyName = "C:\\ankiety\\Zakupy.ank";
    tally.QuestionCount = 2;
    tally.AnswerCount[1] = 3;
    tally.AnswerCount[2] = 2;
    return tally;
}

editor::QuestionRecord Record(const QByteArray& line1, const QByteArray& line2,
                              const QList<QByteArray>& answerLines) {
    editor::QuestionRecord record;
    record[0] = line1;
    record[1] = line2;
    for (int i = 0; i < answerLines.size(); ++i) record[static_cast<std::size_t>(2 + i)] = answerLines[i];
    return record;
}

TEST(CollectionForm, TakesTheSurveyTextsOrFallsBackToNumbersAndLetters) {
    const std::vector<editor::QuestionRecord> survey{
        Record("Czy lubisz <b>zakupy</b>?", "", {"Tak", "", "Nie", "", "Nie wiem", "bardzo"}),
        Record("", "", {"x", "", "y", ""})};
    const CollectionForm withTexts = MakeCollectionForm(TwoQuestions(), survey);
    EXPECT_EQ(withTexts.title, QStringLiteral("Zakupy"));
    results::ResultsTally named = TwoQuestions();
    for (const auto& [surveyName, title] : {std::pair{"Klasa 2.0", "Klasa 2.0"},
                                            std::pair{"/home/ala/Klasa 2.0.ANK", "Klasa 2.0"},
                                            std::pair{"C:\\ankiety\\", "Ankieta"}}) {
        named.SurveyName = surveyName;
        EXPECT_EQ(MakeCollectionForm(named, survey).title, QString::fromUtf8(title));
    }
    ASSERT_EQ(withTexts.questions.size(), 2u);
    EXPECT_EQ(withTexts.questions[0].lines, QStringList{QStringLiteral("Czy lubisz <b>zakupy</b>?")});
    EXPECT_EQ(withTexts.questions[0].answers,
              (QStringList{QStringLiteral("Tak"), QStringLiteral("Nie"), QStringLiteral("Nie wiem bardzo")}));
    EXPECT_EQ(withTexts.questions[1].lines, QStringList{QStringLiteral("Pytanie 2")});

    // A survey of another number of questions, or none at all, gives no texts.
    for (const auto& other : {std::optional<std::vector<editor::QuestionRecord>>{},
                              std::optional(std::vector<editor::QuestionRecord>{survey[0]})}) {
        const CollectionForm plain = MakeCollectionForm(TwoQuestions(), other);
        EXPECT_EQ(plain.questions[0].lines, QStringList{QStringLiteral("Pytanie 1")});
        EXPECT_EQ(plain.questions[0].answers, (QStringList{{}, {}, {}}));
        EXPECT_EQ(plain.questions[1].answers.size(), 2);
    }
}

TEST(CollectionForm, PageEscapesEveryQuestionnaireText) {
    CollectionForm form;
    form.title = QStringLiteral("<script>alert(1)</script>");
    form.questions = {{{QStringLiteral("Czy \"A\" & 'B' > <C>?"), QStringLiteral("żółć")},
                       {QStringLiteral("<img src=x onerror=alert(1)>"), QString()}}};
    results::AnswerSheet ticked;
    ticked.Toggle(1, 2);
    const QString page = QString::fromUtf8(FormPage(form, "0123abcd", QStringLiteral("<i>uwaga</i>"), ticked));
    EXPECT_FALSE(page.contains(QStringLiteral("<script")));
    EXPECT_FALSE(page.contains(QStringLiteral("<img")));
    EXPECT_FALSE(page.contains(QStringLiteral("<i>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Czy &quot;A&quot; &amp; &#39;B&#39; &gt; &lt;C&gt;?<br>żółć")));
    EXPECT_TRUE(page.contains(QStringLiteral("name=\"token\" value=\"0123abcd\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("name=\"q1\" value=\"a\"> <span>a) &lt;img")));
    EXPECT_TRUE(page.contains(QStringLiteral("name=\"q1\" value=\"b\" checked> <span>b)</span>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<button type=\"submit\">Wyślij</button>")));
    EXPECT_EQ(page.count(QStringLiteral("name=\"kod\"")), 1);
}

TEST(CollectionForm, ReadsWellFormedSubmissions) {
    const CollectionForm form = MakeCollectionForm(TwoQuestions(), std::nullopt);
    const auto sent = ParseSubmission("token=ab12&kod=+123456+&q1=a&q1=c&q2=b", form);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->code, "123456");
    EXPECT_EQ(sent->token, "ab12");
    results::AnswerSheet expected;
    expected.Toggle(1, 1);
    expected.Toggle(1, 3);
    expected.Toggle(2, 2);
    EXPECT_EQ(sent->sheet, expected);
    ASSERT_TRUE(ParseSubmission("kod=%31%32&token=", form));
    EXPECT_EQ(ParseSubmission("kod=%31%32&token=", form)->code, "12");
}

TEST(CollectionForm, RefusesEverythingElse) {
    const CollectionForm form = MakeCollectionForm(TwoQuestions(), std::nullopt);
    const char* bodies[] = {
        "",                                // nothing
        "token=t",                         // no code
        "kod=1",                           // no token
        "kod=1&token=t&kod=2",             // the code twice
        "kod=1&token=t&token=u",           // the token twice
        "kod=1&token=t&q3=a",              // a question the form lacks
        "kod=1&token=t&q0=a",              // question 0
        "kod=1&token=t&q01=a",             // a number with a leading zero
        "kod=1&token=t&q1=d",              // an answer question 1 lacks
        "kod=1&token=t&q2=c",              // an answer question 2 lacks
        "kod=1&token=t&q1=A",              // a capital letter
        "kod=1&token=t&q1=ab",             // two letters at once
        "kod=1&token=t&q1=",               // no letter
        "kod=1&token=t&q1=a&q1=a",         // the same answer twice
        "kod=1&token=t&x=1",               // an unknown field
        "kod=1&token=t&q1",                // no '='
        "kod=1&token=t&",                  // an empty field
        "kod=%3&token=t",                  // a broken escape
        "kod=1&token=t&q99999999999=a",    // a huge question number
    };
    for (const char* body : bodies) EXPECT_FALSE(ParseSubmission(body, form)) << body;
}

}  // namespace
