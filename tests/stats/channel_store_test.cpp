// Loading results files into the channels: the first load fixing the questionnaire, a load that
// replaces a channel, and the files refused with the store left as it was.
#include "stats/channel_store.h"

#include <gtest/gtest.h>

#include "results/results_test_files.h"
#include "support/temp_folder.h"

using results_testing::ExampleFile;
using results_testing::Lines;
using stats::LoadOutcome;

namespace {

class ChannelStoreTest : public ::testing::Test {
  protected:
    LoadOutcome Load(int channel, const QByteArray& bytes) {
        const QString path = folder.File(QStringLiteral("plik%1.wyn").arg(++files_));
        testing_support::WriteBytes(path, bytes);
        return stats::LoadChannelFile(store, channel, path);
    }

    testing_support::TempFolder folder;
    stats::ChannelStore store;

  private:
    int files_ = 0;
};

}  // namespace

TEST_F(ChannelStoreTest, AFirstLoadIntoChannel2FixesTheQuestionnaireAndAMatchingLoadReplaces) {
    ASSERT_EQ(Load(2, ExampleFile()), LoadOutcome::FirstLoad);
    EXPECT_EQ(store.SurveyName, QByteArray("Ankieta"));
    EXPECT_EQ(store.QuestionCount, 2);
    EXPECT_EQ(store.AnswerCount[2], 2);
    EXPECT_EQ(store.Channels[2].RespondentCount, 12);
    EXPECT_EQ(store.Channels[2].AnswerTally[1], (charts::AnswerTallies{0, 5, 4, 3}));
    EXPECT_FALSE(store.Channels[1].IsLoaded || store.Channels[3].IsLoaded);

    const QByteArray other =
        Lines({"RESULTS", "Ankieta", "3", "2", "3", "1", "0", "2", "2", "3", "0"});
    ASSERT_EQ(Load(2, other), LoadOutcome::FurtherLoad);
    EXPECT_EQ(store.Channels[2].RespondentCount, 3);
    EXPECT_EQ(store.Channels[2].AnswerTally[1], (charts::AnswerTallies{0, 1, 0, 2}));
    EXPECT_TRUE(store.Channels[2].IsLoaded);
}

TEST_F(ChannelStoreTest, FilesOfAnotherQuestionnaireOrBeyondTheLimitsChangeNothing) {
    Load(1, ExampleFile());
    const stats::ChannelStore before = store;
    const QString other = QStringLiteral("Plik pochodzi z innej ankiety...");
    const QString range = QStringLiteral("Plik zawiera liczby spoza dopuszczalnego zakresu...");
    const struct {
        const char* what;
        QByteArray file;
        LoadOutcome outcome;
        QString notice;
    } cases[] = {
        {"name in other letter case", ExampleFile("ankieta"), LoadOutcome::OtherSurvey, other},
        {"name with a trailing blank", ExampleFile("Ankieta "), LoadOutcome::OtherSurvey, other},
        {"another question count", Lines({"RESULTS", "Ankieta", "12", "1", "3", "5", "4", "3"}),
         LoadOutcome::OtherSurvey, other},
        {"another answer count in question 1",
         Lines({"RESULTS", "Ankieta", "12", "2", "2", "5", "4", "2", "7", "5"}),
         LoadOutcome::OtherSurvey, other},
        // The mismatch in question 1 does not stop the reading: the count after it is judged.
        {"a mismatch read on to a count too large",
         Lines({"RESULTS", "Ankieta", "12", "2", "2", "5", "4", "2", "7", "65536"}),
         LoadOutcome::OutOfRange, range},
        {"not a results file", Lines({"RESULTS ", "Ankieta", "12", "0"}),
         LoadOutcome::NotResultsFile, QStringLiteral("To nie jest plik wyników...")},
        {"251 questions", Lines({"RESULTS", "Ankieta", "1", "251"}), LoadOutcome::OutOfRange,
         range},
        {"10 answers", Lines({"RESULTS", "Ankieta", "1", "2", "10"}), LoadOutcome::OutOfRange,
         range},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.what);
        const LoadOutcome outcome = Load(2, refused.file);
        EXPECT_EQ(outcome, refused.outcome);
        EXPECT_EQ(stats::LoadNotice(outcome), refused.notice);
        EXPECT_TRUE(store == before);
    }
}

TEST_F(ChannelStoreTest, AFirstFileWithoutQuestionsOrWithACountTooLargeLeavesTheStoreEmpty) {
    const LoadOutcome outcome = Load(1, Lines({"RESULTS", "Pusta", "5", "0", "tekst"}));
    EXPECT_EQ(outcome, LoadOutcome::NoQuestions);
    EXPECT_EQ(stats::LoadNotice(outcome), QStringLiteral("Plik nie zawiera żadnego pytania..."));
    EXPECT_EQ(Load(1, Lines({"RESULTS", "Ankieta", "1", "2", "1", "1", "1", "70000"})),
              LoadOutcome::OutOfRange);
    EXPECT_TRUE(store == stats::ChannelStore{});
    EXPECT_TRUE(store.IsEmpty());
}

TEST(ChannelLabel, IsTheFileNameWithItsExtensionReplacedByAFullStop) {
    EXPECT_EQ(stats::ChannelLabel(QStringLiteral("/dane/klasa1.wyn")), QStringLiteral("klasa1."));
    EXPECT_EQ(stats::ChannelLabel(QStringLiteral("/dane/dane.2001.wyn")),
              QStringLiteral("dane.2001."));
    EXPECT_EQ(stats::ChannelLabel(QStringLiteral("/dane.stare/wyniki")), QStringLiteral("wyniki."));
}
