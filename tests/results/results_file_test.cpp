// The results file: reading, writing back, merging, the limits, and finding and deleting
// results files by their first line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cstdio>

#include "platform/io_error.h"
#include "results/results_file.h"
#include "results_test_files.h"
#include "support/temp_folder.h"

using namespace results;
using results_testing::ExampleFile;
using results_testing::Lines;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

class ResultsFileTest : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = folder.File(name);
        WriteBytes(path, bytes);
        return path;
    }
    ReadResult Read(const QByteArray& bytes) { return ReadResultsFile(Write("in.wyn", bytes), store); }
    QByteArray WriteBack() {
        const QString path = folder.File("out.wyn");
        WriteResultsFile(path, store);
        return ReadBytes(path);
    }
    void LoadExample() { ASSERT_EQ(Read(ExampleFile()).outcome, ResultsOutcome::Loaded); }

    TempFolder folder;
    ResultsStore store;
};

TEST_F(ResultsFileTest, ReadsTheCountsAndTextAndWritesThemBackUnchanged) {
    const ReadResult read = Read(ExampleFile());
    EXPECT_EQ(read.outcome, ResultsOutcome::Loaded);
    EXPECT_EQ(read.respondentsLine, QByteArray("12"));
    const ResultsTally& t = store.Tally;
    EXPECT_EQ(t.SurveyName, QByteArray("Ankieta"));
    EXPECT_EQ(t.RespondentCount, 12);
    EXPECT_EQ(t.QuestionCount, 2);
    EXPECT_EQ(t.AnswerCount[1], 3);
    EXPECT_EQ(t.AnswerCount[2], 2);
    EXPECT_EQ(t.AnswerTally[1][1], 5);
    EXPECT_EQ(t.AnswerTally[1][3], 3);
    EXPECT_EQ(t.AnswerTally[2][1], 7);
    EXPECT_EQ(t.AnswerTally[2][2], 5);
    EXPECT_EQ(store.SurveyText, (QList<QByteArray>{"Pytanie o \x9Cwi\xB9tecznych zakupach", "Tak / Nie"}));
    EXPECT_EQ(WriteBack(), ExampleFile());
}

TEST_F(ResultsFileTest, FilesWithoutTextZeroAnswersOrNoQuestionsRoundTrip) {
    const QByteArray noText = Lines({"RESULTS", "A", "3", "2", "0", "1", "3"});
    ASSERT_EQ(Read(noText).outcome, ResultsOutcome::Loaded);
    EXPECT_TRUE(store.SurveyText.isEmpty());
    EXPECT_EQ(store.Tally.AnswerCount[1], 0);
    EXPECT_EQ(store.Tally.AnswerTally[2][1], 3);
    EXPECT_EQ(WriteBack(), noText);

    const QByteArray noQuestions = Lines({"RESULTS", "B", "0", "0", "tekst"});
    ASSERT_EQ(Read(noQuestions).outcome, ResultsOutcome::Loaded);
    EXPECT_EQ(store.Tally.QuestionCount, 0);
    EXPECT_EQ(store.SurveyText, QList<QByteArray>{"tekst"});
    EXPECT_EQ(WriteBack(), noQuestions);
}

TEST_F(ResultsFileTest, TheThirdLineIsKeptAsReadAndWrittenAsAPlainNumber) {
    const ReadResult read = Read(ExampleFile("Ankieta", " 12"));
    EXPECT_EQ(read.respondentsLine, QByteArray(" 12"));
    EXPECT_EQ(store.Tally.RespondentCount, 12);
    EXPECT_EQ(WriteBack(), ExampleFile());
}

TEST_F(ResultsFileTest, MissingOrMalformedNumbersReadAsZero) {
    // The file ends after the first answer count; "x5" has no leading digits.
    ASSERT_EQ(Read(Lines({"RESULTS", "A", "x5", "2", "3"})).outcome, ResultsOutcome::Loaded);
    EXPECT_EQ(store.Tally.RespondentCount, 0);
    EXPECT_EQ(store.Tally.AnswerCount[1], 3);
    EXPECT_EQ(store.Tally.AnswerTally[1][1], 0);
    EXPECT_EQ(store.Tally.AnswerCount[2], 0);
    EXPECT_TRUE(store.SurveyText.isEmpty());

    // A byte 1A ends the text.
    ASSERT_EQ(Read(Lines({"RESULTS", "A", "1", "0", "przed"}) + "\x1A" + Lines({"po"})).outcome,
              ResultsOutcome::Loaded);
    EXPECT_EQ(store.SurveyText, QList<QByteArray>{"przed"});
}

TEST_F(ResultsFileTest, AFileWithoutTheExactFirstLineIsRefusedAndChangesNothing) {
    LoadExample();
    const ResultsStore before = store;
    QByteArray lfOnly = ExampleFile("Inna");
    lfOnly.replace("\r\n", "\n");
    for (const QByteArray& bytes : {lfOnly, Lines({"results", "Inna", "1", "0"}),
                                    Lines({"RESULTS ", "Inna", "1", "0"}), QByteArray()}) {
        EXPECT_EQ(Read(bytes).outcome, ResultsOutcome::NotResultsFile) << bytes.toStdString();
        EXPECT_EQ(store.Tally, before.Tally);
        EXPECT_EQ(store.SurveyText, before.SurveyText);
    }
}

TEST_F(ResultsFileTest, NumbersOutsideTheirFieldsAreRefusedAndChangeNothing) {
    LoadExample();
    const ResultsStore before = store;
    const QList<QByteArray> unusable[] = {
        {"RESULTS", "Inna", "65536", "0"},
        {"RESULTS", "Inna", "-1", "0"},
        {"RESULTS", "Inna", "99999999999999999999999", "0"},
        {"RESULTS", "Inna", "1", "251"},
        {"RESULTS", "Inna", "1", "256"},  // would wrap to 0 in 8 bits
        {"RESULTS", "Inna", "1", "1", "10"},
        {"RESULTS", "Inna", "1", "1", "1", "65536"},
        {"RESULTS", "Inna", "1", "1", "1", "-3"},
    };
    for (const QList<QByteArray>& lines : unusable) {
        EXPECT_EQ(Read(Lines(lines)).outcome, ResultsOutcome::OutOfRange) << Lines(lines).toStdString();
        EXPECT_EQ(store.Tally, before.Tally);
        EXPECT_EQ(store.SurveyText, before.SurveyText);
    }
}

TEST_F(ResultsFileTest, AFullSizeFileWithPolishTextRoundTripsByteForByte) {
    QList<QByteArray> lines{"RESULTS", "C:\\ankiety\\\xA3\xF3" "d\x9F.ank", "65535", "250"};
    for (int q = 1; q <= 250; ++q) {
        lines << "9";
        for (int a = 1; a <= 9; ++a) lines << QByteArray::number(q == 250 ? 65535 : q * 9 + a);
    }
    lines << "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1" << "" << "\xAF\xF3\xB3w \xB9\x9C\x9F";
    const QByteArray bytes = Lines(lines);
    ASSERT_EQ(Read(bytes).outcome, ResultsOutcome::Loaded);
    EXPECT_EQ(store.Tally.AnswerTally[250][9], 65535);
    EXPECT_EQ(store.SurveyText.size(), 3);
    EXPECT_EQ(WriteBack(), bytes);
}

// However much text follows the counts, whole lines are kept up to the bounds and the rest is
// left out; the counts are read in full.
TEST_F(ResultsFileTest, TheTextIsKeptInWholeLinesUpToItsBoundsAndTheRestLeftOut) {
    const QByteArray longest(kLongestSurveyTextLine, 'x');
    // Lines of the longest length, and a last one that fills the bytes exactly.
    const qsizetype fullLines = kMaxSurveyTextBytes / kLongestSurveyTextLine;
    const QByteArray full = QByteArray(longest + "\r").repeated(fullLines);
    const qsizetype rest = kMaxSurveyTextBytes - fullLines * kLongestSurveyTextLine;
    struct Case {
        const char* what;
        QByteArray text;
        qsizetype kept;
        bool cut;
    } cases[] = {
        {"as many lines as kept", QByteArray(kMaxSurveyTextLines, '\r'), kMaxSurveyTextLines,
         false},
        {"one line more", QByteArray(kMaxSurveyTextLines + 1, '\r'), kMaxSurveyTextLines, true},
        {"millions of empty lines", QByteArray(4 << 20, '\r'), kMaxSurveyTextLines, true},
        {"the longest line", "a\r\n" + longest + "\r\nb\r\n", 3, false},
        {"a line too long", "a\r\n" + longest + "y\r\nb\r\n", 1, true},
        {"all bytes kept", full + QByteArray(rest, 'r'), fullLines + 1, false},
        {"a byte too many", full + QByteArray(rest + 1, 'r'), fullLines, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult read =
            Read(Lines({"RESULTS", "Ankieta", "3", "1", "2", "1", "2"}) + c.text);
        ASSERT_EQ(read.outcome, ResultsOutcome::Loaded);
        EXPECT_EQ(store.Tally.AnswerTally[1][2], 2);
        EXPECT_EQ(store.SurveyText.size(), c.kept);
        EXPECT_EQ(read.textCut, c.cut);
    }
}

TEST_F(ResultsFileTest, ASaveThatCannotCreateItsFileIsAnError) {
    LoadExample();
    QDir(folder.path()).mkdir(QStringLiteral("taken.wyn"));
    EXPECT_THROW(WriteResultsFile(folder.File("taken.wyn"), store), platform::IoError);
    EXPECT_THROW(WriteResultsFile(folder.File("missing/out.wyn"), store), platform::IoError);
}

TEST_F(ResultsFileTest, ASaveThatFailsLeavesTheOldFile) {
    LoadExample();
    QDir(folder.path()).mkdir(QStringLiteral("locked"));
    const QString old = folder.File("locked/old.wyn");
    WriteBytes(old, "stare");
    QFile::setPermissions(folder.File("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        const testing_support::PermissionsBinding binding;
        EXPECT_THROW(WriteResultsFile(old, store), platform::IoError);
    }
    QFile::setPermissions(folder.File("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
    EXPECT_EQ(ReadBytes(old), QByteArray("stare"));
}

TEST_F(ResultsFileTest, MergingTheSameFileTwiceDoublesTheCountsAndKeepsTheText) {
    LoadExample();
    const QString other = Write("other.wyn", Lines({"RESULTS", "Ankieta", "12", "2", "3", "5", "4",
                                                    "3", "2", "7", "5", "inny tekst"}));
    EXPECT_EQ(MergeResultsFile(other, store.Tally), ResultsOutcome::Merged);
    EXPECT_EQ(MergeResultsFile(other, store.Tally), ResultsOutcome::Merged);
    EXPECT_EQ(store.Tally.RespondentCount, 36);
    EXPECT_EQ(store.Tally.AnswerTally[1][1], 15);
    EXPECT_EQ(store.Tally.AnswerTally[2][2], 15);
    EXPECT_EQ(store.Tally.SurveyName, QByteArray("Ankieta"));
    EXPECT_EQ(store.SurveyText.size(), 2);
}

TEST_F(ResultsFileTest, MergeRefusalsLeaveTheTallyUnchanged) {
    LoadExample();
    const ResultsTally before = store.Tally;
    const struct {
        QList<QByteArray> lines;
        ResultsOutcome outcome;
    } refused[] = {
        {{"Results", "Ankieta", "1", "2", "3", "1", "1", "1", "2", "1", "1"}, ResultsOutcome::NotResultsFile},
        {{"RESULTS", "ankieta", "1", "2", "3", "1", "1", "1", "2", "1", "1"}, ResultsOutcome::OtherSurvey},
        {{"RESULTS", "Ankieta", "1", "2", "3", "1", "1", "1", "3", "1", "1", "1"}, ResultsOutcome::OtherSurvey},
        {{"RESULTS", "Ankieta", "1", "1", "3", "1", "1", "1"}, ResultsOutcome::OtherSurvey},
        {{"RESULTS", "Ankieta", "1", "2", "3", "1", "1", "1", "2", "1", "70000"}, ResultsOutcome::OutOfRange},
        {{"RESULTS", "Ankieta", "65524", "2", "3", "1", "1", "1", "2", "1", "1"}, ResultsOutcome::SumTooLarge},
        {{"RESULTS", "Ankieta", "1", "2", "3", "1", "1", "1", "2", "1", "65531"}, ResultsOutcome::SumTooLarge},
    };
    for (const auto& file : refused) {
        EXPECT_EQ(MergeResultsFile(Write("other.wyn", Lines(file.lines)), store.Tally), file.outcome)
            << Lines(file.lines).toStdString();
        EXPECT_EQ(store.Tally, before);
    }
    // Sums of exactly 65535 still fit.
    const QString full = Write("full.wyn", Lines({"RESULTS", "Ankieta", "65523", "2", "3", "0",
                                                  "0", "0", "2", "0", "65530"}));
    EXPECT_EQ(MergeResultsFile(full, store.Tally), ResultsOutcome::Merged);
    EXPECT_EQ(store.Tally.RespondentCount, 65535);
    EXPECT_EQ(store.Tally.AnswerTally[2][2], 65535);
}

TEST_F(ResultsFileTest, AFileThatCannotBeOpenedIsAnInputOutputError) {
    LoadExample();
    const ResultsStore before = store;
    EXPECT_THROW(ReadResultsFile(folder.File("none.wyn"), store), platform::IoError);
    EXPECT_THROW(MergeResultsFile(folder.File("none.wyn"), store.Tally), platform::IoError);
    EXPECT_THROW(IsResultsFile(folder.path()), platform::IoError);
    EXPECT_EQ(store.Tally, before.Tally);
}

TEST_F(ResultsFileTest, DeletingAllKeepsOtherFilesAndNeverEntersSubfolders) {
    const QByteArray results = ExampleFile();
    Write("a.wyn", results);
    Write("B.WYN", results);
    Write("c.Wyn", results);
    Write("notes.wyn", Lines({"Notatki"}));
    Write("results.txt", results);
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    Write("sub/d.wyn", results);

    EXPECT_TRUE(IsResultsFile(folder.File("a.wyn")));
    EXPECT_FALSE(IsResultsFile(folder.File("notes.wyn")));
    DeleteAllResultsFiles(folder.path());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{QStringLiteral("notes.wyn"), QStringLiteral("results.txt"), QStringLiteral("sub")}));
    EXPECT_TRUE(QFile::exists(folder.File("sub/d.wyn")));
}

TEST_F(ResultsFileTest, DeletingAllFindsNamesThatAreNotValidText) {
    // "ankieta ą.wyn" as another program writes it in Windows-1250.
    const QByteArray name = QFile::encodeName(folder.path()) + "/ankieta \xB9.wyn";
    const QByteArray results = ExampleFile();
    std::FILE* file = std::fopen(name.constData(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(results.constData(), 1, static_cast<std::size_t>(results.size()), file);
    std::fclose(file);
    DeleteAllResultsFiles(folder.path());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());
}

}  // namespace
