// "Wczytaj skany arkuszy…" on made-up readings of scan files: the certain sheets added at once,
// the doubtful ones reviewed, the pages not read listed, a sheet read before refused, a stopped
// reading that adds nothing, and the numbers forgotten with the results.
#include "scan/scan_intake.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTest>
#include <map>

#include "platform/progress.h"
#include "scan/sheet_code.h"
#include "scan/sheet_review_window.h"
#include "scan_fixture.h"

namespace {

using scan::BoxMark;

class ScanIntakeTest : public scan_testing::ScanResultsTest {
protected:
    ScanIntakeTest() : ScanResultsTest(2, 3) { QDir(folder.path()).mkdir(QStringLiteral("skany")); }
    ~ScanIntakeTest() override { review.hide(); }

    // A scan file in the folder "skany", whose made-up reading gives these pages.
    QString Scan(const char* name, std::vector<scan::PageReading> pages) {
        const QString path = folder.File(QStringLiteral("skany/") + QString::fromUtf8(name));
        testing_support::WriteBytes(path, "skan");
        readings[QFileInfo(path).fileName()] = std::move(pages);
        return path;
    }
    // The reading of a sheet's only page: crossed boxes given as "question answer" pairs, one
    // box uncertain when `doubtful` names it.
    scan::PageReading Page(int sheet, std::vector<std::pair<int, int>> crossed,
                           std::pair<int, int> doubtful = {}) const {
        scan::PageReading page;
        const results::ResultsStore& loaded = manager.Results();
        page.code = {scan::QuestionnaireFingerprint(loaded.Tally, loaded.SurveyText), sheet, 1, 1};
        for (int q = 1; q <= 2; ++q) {
            for (int a = 1; a <= 3; ++a) {
                BoxMark mark = BoxMark::Empty;
                if (std::find(crossed.begin(), crossed.end(), std::pair{q, a}) != crossed.end()) {
                    mark = BoxMark::Crossed;
                }
                if (doubtful == std::pair{q, a}) mark = BoxMark::Uncertain;
                page.boxes.push_back({q, a, mark});
            }
        }
        if (doubtful.first > 0) {
            QImage picture(400, 100, QImage::Format_Grayscale8);
            picture.fill(255);
            page.doubtful.push_back({doubtful.first, picture, QRectF(15, 40, 100, 25)});
        }
        return page;
    }
    static scan::PageReading Unreadable() {
        scan::PageReading page;
        page.problem = scan::PageProblem::NoMarkers;
        return page;
    }
    // Every page of every file handed on as ReadScanFiles does, the progress told after each.
    bool MadeUpReading(const QStringList& files, const scan::ScanTarget&,
                       platform::Progress& progress,
                       const std::function<void(scan::ScannedPage)>& onPage) {
        int done = 0;
        for (const QString& file : files) {
            const std::vector<scan::PageReading>& pages = readings.at(QFileInfo(file).fileName());
            for (std::size_t p = 0; p < pages.size(); ++p) {
                onPage({file, static_cast<int>(p) + 1, pages[p], {}});
                ++done;
                if (!progress.Advance(done, done)) return false;
            }
        }
        return true;
    }
    void Read(const QStringList& inputs) {
        manager.Handle([&] { intake.ReadScans(inputs); });
    }
    scan::SheetReviewWindow review{dialogs, manager, numbers};
    std::map<QString, std::vector<scan::PageReading>> readings;
    scan::ScanIntake intake{
        manager, numbers, review,
        [this](const QStringList& files, const scan::ScanTarget& target,
               platform::Progress& progress, const std::function<void(scan::ScannedPage)>& onPage) {
            return MadeUpReading(files, target, progress, onPage);
        }};
};

TEST_F(ScanIntakeTest, CertainSheetsGoInAtOnceDoubtfulOnesAfterReviewAndOneSummaryTellsAll) {
    Scan("a.png", {Page(1, {{1, 1}, {2, 2}}), Page(2, {{1, 3}}, {2, 1}), Unreadable()});
    Scan("b.png", {Page(1, {{1, 1}, {2, 2}})});  // sheet 1 scanned twice
    dialogs.fileLists.push_back({folder.File("skany")});
    manager.Handle([this] { intake.ReadChosenScans(); });
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::OpenFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.filter,
              QStringLiteral("Skany arkuszy (*.png *.jpg *.jpeg *.tif *.tiff *.pdf)|"
                             "*.png *.jpg *.jpeg *.tif *.tiff *.pdf"));
    EXPECT_EQ(dialogs.Texts(testing_support::ScriptedDialogs::Kind::Progress),
              QStringList{QStringLiteral("Wczytywanie skanów arkuszy...")});

    // Sheet 1 is in; sheet 2 waits in the review window, and the summary waits for it.
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Tally().AnswerTally[2][2], 1);
    ASSERT_TRUE(review.isVisible());
    EXPECT_EQ(review.CurrentSheet().number, 2);
    // The readings of the doubtful question's boxes come with it, for the picture.
    EXPECT_EQ(review.CurrentSheet().doubtfulBoxes.size(), 3u);
    EXPECT_EQ(review.CurrentSheet().doubtfulBoxes[0].mark, BoxMark::Uncertain);
    EXPECT_TRUE(dialogs.notices().isEmpty());
    // While the review is open, the item brings it to the front instead of reading again.
    const std::size_t shownBefore = dialogs.shown.size();
    manager.Handle([this] { intake.ReadChosenScans(); });
    EXPECT_EQ(dialogs.shown.size(), shownBefore);
    EXPECT_EQ(review.CurrentSheet().number, 2);
    QTest::keyClick(&review, 'a');
    QTest::keyClick(&review, Qt::Key_Return);
    EXPECT_FALSE(review.isVisible());
    EXPECT_EQ(Tally().RespondentCount, 2);
    EXPECT_EQ(Tally().AnswerTally[1][3], 1);
    EXPECT_EQ(Tally().AnswerTally[2][1], 1);
    ASSERT_EQ(dialogs.notices().size(), 1);
    const QStringList summary = dialogs.notices().front().split(u'\n');
    ASSERT_EQ(summary.size(), 6);
    EXPECT_EQ(summary.mid(0, 4),
              (QStringList{QStringLiteral("Wczytane pliki: 2, strony: 4."),
                           QStringLiteral("Dodane arkusze: 2, w tym sprawdzone: 1."),
                           QStringLiteral("Sprawdzone arkusze: 1 (dodane: 1, pominięte: 0)."),
                           QStringLiteral("Nieodczytane strony: 2.")}));
    EXPECT_EQ(summary[4], QStringLiteral("a.png, strona 3: nie znaleziono znaczników"));
    EXPECT_TRUE(summary[5].startsWith(QStringLiteral("b.png, strona 1: ")))
        << summary[5].toStdString();

    // Read again into the same results: both sheets are refused by number, nothing added.
    Read({folder.File("skany/a.png")});
    EXPECT_EQ(Tally().RespondentCount, 2);
    const QString again = dialogs.notices().back();
    EXPECT_TRUE(again.contains(QStringLiteral("Dodane arkusze: 0, w tym sprawdzone: 0.")));
    EXPECT_TRUE(again.contains(QStringLiteral("Nieodczytane strony: 3.")));
    // The reason names the sheet.
    const QStringList refused = again.split(u'\n').filter(QStringLiteral("a.png, strona 2: "));
    ASSERT_EQ(refused.size(), 1);
    EXPECT_TRUE(refused.front().mid(17).contains(u'2')) << refused.front().toStdString();

    // New results: the numbers read before are forgotten, the sheets go in again.
    dialogs.answers.push_back(true);
    manager.Wyzeruj1->trigger();
    EXPECT_TRUE(numbers.Numbers().isEmpty());
    LoadNewResults();
    Read({folder.File("skany/b.png")});
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(numbers.Numbers(), QSet<int>{1});
}

TEST_F(ScanIntakeTest, AStoppedReadingAddsNothingAndNoScansAreTold) {
    Scan("a.png", {Page(1, {{1, 1}}), Page(2, {{1, 2}}), Page(3, {{1, 3}})});
    dialogs.stopAfterSteps = 2;
    Read({folder.File("skany")});
    EXPECT_EQ(Tally().RespondentCount, 0);
    EXPECT_TRUE(numbers.Numbers().isEmpty());
    EXPECT_FALSE(review.isVisible());
    EXPECT_EQ(dialogs.notices(),
              QStringList{QStringLiteral("Wczytywanie skanów przerwano; do wyników nie dodano "
                                         "żadnego arkusza.")});

    testing_support::WriteBytes(folder.File("skany/notatki.txt"), "nie skan");
    readings.clear();
    QFile::remove(folder.File("skany/a.png"));
    Read({folder.File("skany")});
    EXPECT_EQ(dialogs.notices().back(),
              QStringLiteral("Nie wybrano żadnego pliku skanów (PNG, JPEG, TIFF albo PDF)..."));
    dialogs.fileLists.push_back({});  // the dialog cancelled
    manager.Handle([this] { intake.ReadChosenScans(); });
    EXPECT_EQ(dialogs.notices().size(), 2);
}

}  // namespace
