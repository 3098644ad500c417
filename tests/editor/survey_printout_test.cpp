// The survey printout from the editor's "Drukuj": the header, numbered questions and lettered
// answers with their exact blanks and styles.
#include "survey_editor_fixture.h"

using editor::QuestionRecord;
using editor_testing::RecordWith;

namespace {

class SurveyPrintoutTest : public editor_testing::SurveyEditorTest {
protected:
    // Prints a survey of these questions; question 1 comes from the edit boxes, as on screen.
    void Print(const std::vector<QuestionRecord>& questions) {
        for (std::size_t i = 1; i < questions.size(); ++i) {
            state.workFiles.Write(static_cast<int>(i) + 1, questions[i]);
        }
        state.QuestionTotal = static_cast<std::uint8_t>(questions.size());
        for (int n = 1; n <= 20; ++n) window.Edit(n)->SetBytes(questions[0][n - 1]);
        window.Drukuj1->trigger();
    }
    // The printed texts after the header, each marked B (bold) or R (regular).
    QList<QByteArray> Body() const {
        QList<QByteArray> lines;
        for (std::size_t i = 2; i < printer.texts().size(); ++i) {
            const auto& text = printer.texts()[i];
            lines << (text.font.bold ? 'B' : 'R') + text.text;
        }
        return lines;
    }
};

}  // namespace

TEST_F(SurveyPrintoutTest, HeaderThenAnEmptyLineABoldQuestionAndARegularAnswer) {
    Print({RecordWith({{1, "Q"}, {3, "T"}})});
    const auto& texts = printer.texts();
    ASSERT_EQ(texts.size(), 4u);
    // Four regular blanks, then the underlined header after them on the same line.
    EXPECT_EQ(texts[0].text, QByteArray("    "));
    EXPECT_FALSE(texts[0].font.underline);
    EXPECT_EQ(texts[1].text, QByteArray("Tre\x9C\xE6 ankiety, Ilo\x9C\xE6 pyta\xF1: 1"));
    EXPECT_TRUE(texts[1].font.underline);
    EXPECT_EQ(QPoint(texts[1].x, texts[1].y), QPoint(printer.PageCanvas().TextWidth("    "), 0));
    EXPECT_EQ(Body(), QList<QByteArray>({"B   1.Q", "R        a) T"}));
    // A line of text advances by its height + 2, the empty line by the plain cell height.
    const int h = printer.PageCanvas().TextHeight("X");
    EXPECT_EQ(texts[2].y, (h + 2) + h);
    EXPECT_EQ(texts[3].y, texts[2].y + h + 2);
    EXPECT_EQ(printer.pageOrientations().front(), platform::Orientation::Portrait);
    EXPECT_EQ(printer.jobsEnded(), 1);
}

TEST_F(SurveyPrintoutTest, LinesFollowWhichOfTheTwoLinesHoldText) {
    std::vector<QuestionRecord> survey(10, RecordWith({{1, "P"}, {2, "drugi"}, {6, "b2"}}));
    survey[1] = RecordWith({{2, "Tylko drugi"}, {3, "A1"}, {4, "A2"}, {7, "C1"}});
    Print(survey);
    EXPECT_EQ(Body().mid(0, 9),
              QList<QByteArray>({"B   1.P", "B      drugi", "R        a) ", "R        b) b2",
                                 "B   2.Tylko drugi", "R        a) A1", "R           A2",
                                 "R        b) ", "R        c) C1"}));
    EXPECT_EQ(Body().last(4)[0], QByteArray("B   10.P"));
}

TEST_F(SurveyPrintoutTest, AMissingWorkFileEndsThePrintoutButNotThePrinter) {
    state.QuestionTotal = 2;
    window.Drukuj1->trigger();
    EXPECT_EQ(dialogs.errors().size(), 1);
    EXPECT_EQ(printer.jobsEnded(), 1);
    EXPECT_FALSE(printer.Printing());
}
