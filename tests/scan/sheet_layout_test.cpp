// The sheets to tick: their layout, the text of their codes and their printout.
#include <gtest/gtest.h>

#include <QRectF>
#include <algorithm>

#include "platform/encoding.h"
#include "platform/progress.h"
#include "scan/sheet_code.h"
#include "scan/sheet_layout.h"
#include "scan/sheet_printout.h"
#include "support/recording_printer.h"

namespace {

using scan::LayOutSheet;
using scan::SheetCode;

results::ResultsTally TallyOf(const std::vector<int>& answerCounts) {
    results::ResultsTally tally;
    tally.QuestionCount = static_cast<std::uint8_t>(answerCounts.size());
    for (std::size_t q = 0; q < answerCounts.size(); ++q) {
        tally.AnswerCount[q + 1] = static_cast<std::uint8_t>(answerCounts[q]);
    }
    return tally;
}

TEST(SheetLayout, EveryQuestionWholeOnOnePageInOrderWithBoxesApartAndClearOfTheMarkers) {
    for (const std::vector<int>& counts :
         {std::vector<int>{}, std::vector<int>(250, 9), std::vector<int>(250, 1),
          std::vector<int>{2, 9, 1, 0, 4, 9, 9, 9, 3, 5, 7, 9, 2, 2, 9}}) {
        const auto pages = LayOutSheet(TallyOf(counts));
        ASSERT_FALSE(pages.empty());
        int next = 1;
        for (const scan::SheetPage& page : pages) {
            EXPECT_EQ(page.number, &page - pages.data() + 1);
            if (!counts.empty()) {
                EXPECT_FALSE(page.questions.empty());
            }
            std::vector<QRectF> boxes;
            for (const scan::QuestionPlace& place : page.questions) {
                EXPECT_EQ(place.question, next++);
                ASSERT_EQ(place.answers.size(), static_cast<std::size_t>(counts[place.question - 1]));
                for (const scan::AnswerPlace& answer : place.answers) {
                    EXPECT_GE(answer.box.width(), 5.0);
                    EXPECT_EQ(answer.box.width(), answer.box.height());
                    EXPECT_LE(answer.box.bottom(), place.bottom);
                    boxes.push_back(answer.box);
                }
            }
            // Boxes at least 2 mm apart, and below the code and above the bottom markers.
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                EXPECT_GT(boxes[i].top(), scan::kInstructionTop);
                EXPECT_LT(boxes[i].bottom(), scan::MarkerRect(scan::BottomLeft).top() - 2.0);
                for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                    EXPECT_FALSE(boxes[i].adjusted(-2, -2, 2, 2).intersects(boxes[j])) << i << " " << j;
                }
            }
        }
        EXPECT_EQ(next, static_cast<int>(counts.size()) + 1);
    }
}

TEST(SheetCode, ReadsBackWhatItWritesAndRefusesAnythingElse) {
    const SheetCode code{QByteArrayLiteral("3F9A0C12B4E5D6F7"), 17, 2, 3};
    EXPECT_EQ(scan::SheetCodeText(code), QByteArrayLiteral("NZ1:3F9A0C12B4E5D6F7:17:2:3"));
    EXPECT_EQ(scan::ParseSheetCode(scan::SheetCodeText(code)), code);
    for (const char* text :
         {"", "NZ1:3F9A0C12B4E5D6F7:17:2", "NZ2:3F9A0C12B4E5D6F7:17:2:3",
          "NZ1:3f9a0c12b4e5d6f7:17:2:3", "NZ1:3F9A0C12B4E5D6F:17:2:3", "NZ1:3F9A0C12B4E5D6F7:0:1:1",
          "NZ1:3F9A0C12B4E5D6F7:100000:1:1", "NZ1:3F9A0C12B4E5D6F7:1:3:2",
          "NZ1:3F9A0C12B4E5D6F7:1:0:2", "NZ1:3F9A0C12B4E5D6F7:+1:1:1", "NZ1:3F9A0C12B4E5D6F7:1:1:1:"}) {
        EXPECT_FALSE(scan::ParseSheetCode(text)) << text;
    }
}

TEST(SheetCode, TheFingerprintTellsQuestionnairesApartByCountsAndTexts) {
    const auto tally = TallyOf({3, 2});
    const QList<QByteArray> text{"1. Pytanie", "a) tak"};
    const QByteArray print = scan::QuestionnaireFingerprint(tally, text);
    EXPECT_EQ(print.size(), 16);
    EXPECT_EQ(scan::QuestionnaireFingerprint(tally, text), print);
    EXPECT_NE(scan::QuestionnaireFingerprint(TallyOf({3, 3}), text), print);
    EXPECT_NE(scan::QuestionnaireFingerprint(TallyOf({3}), text), print);
    EXPECT_NE(scan::QuestionnaireFingerprint(tally, {"1. Pytanie", "a) nie"}), print);
    // The survey's name is not the questionnaire: a copy of the file elsewhere is the same one.
    auto renamed = tally;
    renamed.SurveyName = "inna nazwa";
    EXPECT_EQ(scan::QuestionnaireFingerprint(renamed, text), print);
}

editor::QuestionRecord Question(const char* text, int answers) {
    editor::QuestionRecord record;
    record[0] = text;
    for (int a = 1; a <= answers; ++a) record[static_cast<std::size_t>(2 * a)] = QByteArray(1, 'A' + a - 1);
    return record;
}

TEST(SheetPrintout, NumberedCopiesOfAllPagesWithTheirHeadingsAndTheInstructionsOnTheFirst) {
    std::vector<editor::QuestionRecord> questions;
    for (int q = 1; q <= 12; ++q) questions.push_back(Question("Pytanie", 9));
    const scan::SheetSurvey survey = scan::SheetSurveyOf("Klasa 3b", questions);
    const int pages = static_cast<int>(LayOutSheet(survey.tally).size());
    ASSERT_GT(pages, 1);

    testing_support::RecordingPrinter printer(QSize(3508, 2480), 300);
    platform::SilentProgress progress;
    ASSERT_TRUE(scan::PrintScanSheets(printer, survey, 17, 2, progress));
    EXPECT_EQ(printer.jobsStarted(), 1);
    ASSERT_EQ(static_cast<int>(printer.pages().size()), 2 * pages);
    auto textsOn = [&](int page, const QString& text) {
        const QByteArray bytes = platform::ToCodePage(text);
        return std::count_if(printer.texts().begin(), printer.texts().end(),
                             [&](const auto& drawn) { return drawn.page == page && drawn.text == bytes; });
    };
    for (int page = 0; page < 2 * pages; ++page) {
        EXPECT_EQ(printer.pageOrientations()[static_cast<std::size_t>(page)],
                  platform::Orientation::Portrait);
        EXPECT_EQ(textsOn(page, QStringLiteral("Arkusz %1, strona %2 z %3")
                                    .arg(17 + page / pages)
                                    .arg(page % pages + 1)
                                    .arg(pages)),
                  1);
        EXPECT_EQ(textsOn(page, QStringLiteral("Klasa 3b")), 1);
        EXPECT_EQ(textsOn(page, QStringLiteral("Zaznacz wybraną odpowiedź krzyżykiem (X) w kratce. "
                                               "Aby cofnąć krzyżyk, zamaluj całą kratkę.")),
                  page % pages == 0 ? 1 : 0);
    }
    EXPECT_EQ(textsOn(0, QStringLiteral("1. ")), 1);
    EXPECT_EQ(textsOn(pages - 1, QStringLiteral("12. ")), 1);
}

}  // namespace
