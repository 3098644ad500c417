// "narzedzia skany" from end to end: scans of known marks into results written byte for byte as
// typed-in sheets would make them, the sheets' CSV, what is left out and why, and exit statuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QTransform>

#include "collect/new_results.h"
#include "platform/encoding.h"
#include "results/answer_sheet.h"
#include "results/results_file.h"
#include "scan/scan_commands.h"
#include "support/temp_folder.h"
#include "test_scans.h"

namespace {

using test_scans::Mark;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

constexpr int kDpi = 150;

const test_scans::SampleSurvey& Survey() { return test_scans::SmallSurvey(); }

// A sheet's page with the given marks, each on box (question, answer).
QImage MarkedSheet(int sheet, const std::vector<std::tuple<int, int, Mark>>& marks) {
    QImage page = test_scans::RenderSheets(Survey(), sheet, 1, kDpi).front();
    std::mt19937 random(static_cast<unsigned>(sheet));
    for (const auto& [question, answer, mark] : marks) {
        const scan::QuestionPlace& place = Survey().target.layout.front().questions[static_cast<std::size_t>(question - 1)];
        test_scans::DrawMark(page, kDpi, mark, place.answers[static_cast<std::size_t>(answer - 1)].box, random);
    }
    return page;
}

results::AnswerSheet Sheet(const std::vector<std::pair<int, int>>& marked) {
    results::AnswerSheet sheet;
    for (const auto& [question, answer] : marked) sheet.Toggle(question, answer);
    return sheet;
}

// The results "Nowe wyniki z ankiety…" of `survey` makes, with `sheets` added as typed in.
QByteArray ExpectedResults(const QString& survey, const std::vector<results::AnswerSheet>& sheets,
                           const QString& scratch) {
    const collect::NewResults made =
        collect::ResultsOfSurvey(platform::ToCodePage(QFileInfo(survey).absoluteFilePath()), Survey().questions);
    results::ResultsStore store{made.tally, made.surveyText, {}};
    for (const results::AnswerSheet& sheet : sheets) results::AddSheet(store.Tally, sheet);
    results::WriteResultsFile(scratch, store);
    return ReadBytes(scratch);
}

int RunScans(const QStringList& arguments, std::string* errors = nullptr) {
    testing::internal::CaptureStderr();
    const int status = scan::RunScansCommand(arguments);
    const std::string written = testing::internal::GetCapturedStderr();
    if (errors) *errors = written;
    return status;
}

TEST(ScansCommand, AddsTheSheetsOfDecidedBoxesAndNamesWhatItLeavesOut) {
    const TempFolder folder;
    const QString survey = folder.File("ankieta.ank");
    test_scans::WriteSurveyFile(Survey(), survey);
    QDir(folder.path()).mkdir(QStringLiteral("skany"));
    const auto scanFile = [&](const char* name) { return folder.File(QStringLiteral("skany/") + QString::fromUtf8(name)); };
    const QImage one = MarkedSheet(1, {{1, 1, Mark::Cross}, {2, 3, Mark::Cross}, {2, 5, Mark::Tick}, {4, 2, Mark::FilledIn}});
    const QImage two = MarkedSheet(2, {{3, 2, Mark::HeavyPencil}, {2, 9, Mark::Faint}});
    const QImage three = MarkedSheet(3, {{1, 4, Mark::Tick}});
    WriteBytes(scanFile("a1.png"), test_scans::PngFile(one));
    WriteBytes(scanFile("a2.jpg"), test_scans::JpegFile(two, 85));
    WriteBytes(scanFile("a3.png"), test_scans::PngFile(three.transformed(QTransform().rotate(180))));
    WriteBytes(scanFile("b3.jpg"), test_scans::JpegFile(three, 85));  // the same sheet scanned twice
    WriteBytes(scanFile("a4.png"), test_scans::PngFile(MarkedSheet(4, {})));
    WriteBytes(scanFile("a5.png"), test_scans::PngFile(MarkedSheet(5, {{1, 2, Mark::Faint}, {4, 1, Mark::Faint}})));
    WriteBytes(scanFile("zepsuty.png"), "\x89PNG\r\n\x1a\nnic");
    WriteBytes(scanFile("notatki.txt"), "nie skan");
    const QString output = folder.File("wyniki.wyn");
    const QString csv = folder.File("arkusze.csv");

    std::string errors;
    EXPECT_EQ(RunScans({survey, folder.File("skany"), QStringLiteral("-o"), output, QStringLiteral("--arkusze"), csv}, &errors), 1);
    EXPECT_EQ(ReadBytes(output),
              ExpectedResults(survey, {Sheet({{1, 1}, {2, 3}, {2, 5}}), Sheet({{1, 4}}), Sheet({})},
                              folder.File("oczekiwane.wyn")));
    EXPECT_EQ(ReadBytes(csv), QByteArray("arkusz;1;2;3;4\r\n1;a;ce;;\r\n3;d;;;\r\n4;;;;\r\n"));
    const QString shown = QDir::toNativeSeparators(folder.File("skany"));
    const QString lines = QString::fromLocal8Bit(errors.c_str());
    EXPECT_TRUE(lines.contains(shown + QStringLiteral("/b3.jpg, strona 1: arkusz 3 już wczytano\n"))) << errors;
    EXPECT_TRUE(lines.contains(shown + QStringLiteral("/zepsuty.png, strona 1: nie można odczytać obrazu\n"))) << errors;
    EXPECT_TRUE(lines.contains(QStringLiteral("arkusz 2: niepewne zaznaczenia w pytaniu 2\n"))) << errors;
    EXPECT_TRUE(lines.contains(QStringLiteral("arkusz 5: niepewne zaznaczenia w pytaniach 1, 4\n"))) << errors;
    EXPECT_EQ(lines.count(u'\n'), 4) << errors;

    // The results given instead of the survey are added to and replaced; every sheet going in
    // is exit status 0.
    const QString more = folder.File("kolejne.png");
    WriteBytes(more, test_scans::PngFile(MarkedSheet(5, {{3, 1, Mark::LightPencil}})));
    EXPECT_EQ(RunScans({output, more}, &errors), 0) << errors;
    EXPECT_EQ(ReadBytes(output),
              ExpectedResults(survey, {Sheet({{1, 1}, {2, 3}, {2, 5}}), Sheet({{1, 4}}), Sheet({}), Sheet({{3, 1}})},
                              folder.File("oczekiwane.wyn")));
}

TEST(ScansCommand, AWrongCallIsExitStatusTwoAndWritesNothing) {
    const TempFolder folder;
    const QString survey = folder.File("ankieta.ank");
    test_scans::WriteSurveyFile(Survey(), survey);
    const QString scanned = folder.File("skan.png");
    WriteBytes(scanned, test_scans::PngFile(MarkedSheet(1, {})));
    WriteBytes(folder.File("notatki.txt"), "nie ankieta");
    const QString output = QStringLiteral("-o");
    for (const QStringList& arguments :
         {QStringList{}, QStringList{survey}, QStringList{QStringLiteral("--nieznana"), survey, scanned},
          QStringList{survey, folder.File("brak")}, QStringList{folder.File("brak.wyn"), scanned},
          QStringList{folder.File("notatki.txt"), scanned}, QStringList{survey, scanned, output}}) {
        EXPECT_EQ(RunScans(arguments), 2) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);

    // From a survey the results go beside the current folder as NAME.wyn, never over a file.
    const QString current = QDir::currentPath();
    QDir::setCurrent(folder.path());
    EXPECT_EQ(RunScans({survey, scanned}), 0);
    EXPECT_TRUE(QFileInfo::exists(folder.File("ankieta.wyn")));
    EXPECT_EQ(RunScans({survey, scanned}), 2);
    QDir::setCurrent(current);
}

}  // namespace
