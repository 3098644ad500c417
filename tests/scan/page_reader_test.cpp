// The reader of one scanned page: marks as people make them at any turn of the page, through a
// scanner's and a phone's faults, and the pages it must refuse.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTransform>
#include <map>

#include "platform/encoding.h"
#include "scan/page_reader.h"
#include "support/temp_folder.h"
#include "test_scans.h"

namespace {

using scan::BoxMark;
using test_scans::Mark;

constexpr int kDpi = 150;

const test_scans::SampleSurvey& Survey() { return test_scans::SmallSurvey(); }

// Sheet 7, blank, as rendered from its printout.
const QImage& BlankPage() {
    static const QImage page = test_scans::RenderSheets(Survey(), 7, 1, kDpi).front();
    return page;
}

// Every kind of mark on the page, each on its own box (the mark across two also on the box
// below it), and what the reader must make of each box.
struct MarkedSheet {
    QImage page;
    std::map<std::pair<int, int>, BoxMark> expected;
};

const MarkedSheet& Marked() {
    static const MarkedSheet sheet = [] {
        const std::map<std::pair<int, int>, Mark> marks{
            {{1, 1}, Mark::Cross},       {{1, 3}, Mark::Tick},       {{1, 4}, Mark::FilledIn},
            {{2, 1}, Mark::AcrossTwo},   {{2, 3}, Mark::HeavyPencil}, {{2, 5}, Mark::LightPencil},
            {{2, 6}, Mark::Faint},       {{2, 8}, Mark::HalfErased}, {{2, 9}, Mark::StrayInto},
            {{3, 2}, Mark::Cross},       {{4, 2}, Mark::Tick}};
        MarkedSheet made{BlankPage().copy(), {}};
        std::mt19937 random(27);
        for (const scan::QuestionPlace& question : Survey().target.layout.front().questions) {
            for (const scan::AnswerPlace& answer : question.answers) {
                const auto found = marks.find({question.question, answer.answer});
                const Mark mark = found == marks.end() ? Mark::None : found->second;
                test_scans::DrawMark(made.page, kDpi, mark, answer.box, random);
                const test_scans::Expected expected = test_scans::ExpectedOf(mark);
                made.expected[{question.question, answer.answer}] =
                    expected == test_scans::Expected::Crossed    ? BoxMark::Crossed
                    : expected == test_scans::Expected::FilledIn ? BoxMark::FilledIn
                    : expected == test_scans::Expected::Doubtful ? BoxMark::Uncertain
                                                                 : BoxMark::Empty;
            }
        }
        made.expected[{2, 2}] = BoxMark::Uncertain;  // the lower half of the mark across two
        return made;
    }();
    return sheet;
}

void ExpectEveryBoxAsMarked(const scan::PageReading& reading, const std::string& how) {
    ASSERT_EQ(reading.problem, scan::PageProblem::None) << how;
    EXPECT_EQ(reading.code, (scan::SheetCode{Survey().sheets.fingerprint, 7, 1, 1})) << how;
    ASSERT_EQ(reading.boxes.size(), Marked().expected.size()) << how;
    for (const scan::BoxReading& box : reading.boxes) {
        EXPECT_EQ(box.mark, Marked().expected.at({box.question, box.answer}))
            << how << ": question " << box.question << " answer " << box.answer;
    }
    // Only question 2 has doubtful boxes; its picture shows the question at 100 dpi.
    ASSERT_EQ(reading.doubtful.size(), 1u) << how;
    const scan::QuestionPicture& picture = reading.doubtful.front();
    EXPECT_EQ(picture.question, 2);
    EXPECT_NEAR(picture.picture.width(), picture.area.width() / 25.4 * scan::kPictureDotsPerInch, 2);
    EXPECT_NEAR(picture.picture.height(), picture.area.height() / 25.4 * scan::kPictureDotsPerInch, 2);
    EXPECT_TRUE(picture.area.contains(Survey().target.layout.front().questions[1].answers[8].box));
}

TEST(PageReader, ReadsEveryKindOfMarkAtEveryTurnOfThePage) {
    for (const int degrees : {0, 90, 180, 270}) {
        const QImage turned = Marked().page.transformed(QTransform().rotate(degrees));
        ExpectEveryBoxAsMarked(scan::ReadPage(turned, Survey().target),
                               "turned " + std::to_string(degrees));
    }
}

TEST(PageReader, ReadsThroughAScannersAndAPhonesFaults) {
    std::mt19937 random(3);
    test_scans::ScannerLook skewed;
    skewed.rotationDegrees = -2.8;
    skewed.shiftMm[0] = 2.5;
    skewed.shiftMm[1] = -2.0;
    skewed.scale = 0.97;
    skewed.noise = 5;
    ExpectEveryBoxAsMarked(scan::ReadPage(test_scans::Scanned(Marked().page, kDpi, skewed, random), Survey().target),
                           "skewed, shifted, smaller, noisy");
    test_scans::ScannerLook jpeg = skewed;
    jpeg.rotationDegrees = 1.5;
    jpeg.upsideDown = true;
    jpeg.scale = 1.03;
    jpeg.file = test_scans::ScannerLook::File::Jpeg50;
    ExpectEveryBoxAsMarked(scan::ReadPage(test_scans::Scanned(Marked().page, kDpi, jpeg, random), Survey().target),
                           "upside down, larger, JPEG of quality 50");
    test_scans::PhoneLook phone;
    phone.tiltDegrees[0] = 18;
    phone.tiltDegrees[1] = -8;
    phone.turnDegrees = 100;
    phone.lightFalloff = 0.35;
    phone.blur = 1.0;
    phone.noise = 4;
    ExpectEveryBoxAsMarked(scan::ReadPage(test_scans::Photographed(Marked().page, phone, random), Survey().target),
                           "a phone photo at a slant, turned, unevenly lit");
}

TEST(PageReader, StrokesAwayFromTheBoxesChangeNothing) {
    std::mt19937 random(11);
    const test_scans::MarkedPage page = test_scans::MarkPage(
        BlankPage(), Survey().target.layout.front(), {}, kDpi, {{}, 6}, random);
    const scan::PageReading reading = scan::ReadPage(page.image, Survey().target);
    ASSERT_EQ(reading.problem, scan::PageProblem::None);
    for (const scan::BoxReading& box : reading.boxes) EXPECT_EQ(box.mark, BoxMark::Empty);
    EXPECT_TRUE(reading.doubtful.empty());
}

TEST(PageReader, AWeakCrossInPiecesIsRubbedOutThoughItsCrossingStaysDark) {
    // Two pale arms, each with a piece rubbed away; where they cross the grey lies twice.
    QImage page = BlankPage().copy();
    const QRectF box = Survey().target.layout.front().questions[0].answers[1].box;
    const QPointF c = box.center();
    const double scale = kDpi / 25.4;
    QPainter painter(&page);
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    painter.setPen(QPen(QColor(140, 140, 140), 0.5 * scale, Qt::SolidLine, Qt::RoundCap));
    const auto arm = [&](QPointF from, QPointF to) { painter.drawLine(from * scale, to * scale); };
    arm(c + QPointF(-1.8, -1.8), c + QPointF(0.6, 0.6));   // its lower right end rubbed away
    arm(c + QPointF(-1.8, 1.8), c + QPointF(0.4, -0.4));   // its middle kept, the rest gone
    arm(c + QPointF(1.2, -1.2), c + QPointF(1.8, -1.8));
    painter.end();
    const scan::PageReading reading = scan::ReadPage(page, Survey().target);
    ASSERT_EQ(reading.problem, scan::PageProblem::None);
    EXPECT_EQ(reading.boxes[1].mark, BoxMark::Uncertain);
}

void PaintWhite(QImage& page, const QRectF& millimetres) {
    QPainter painter(&page);
    const double scale = kDpi / 25.4;
    painter.fillRect(QRectF(millimetres.topLeft() * scale, millimetres.size() * scale), Qt::white);
}

TEST(PageReader, RefusesWhatIsNotAPageOfTheseSheets) {
    const scan::ScanTarget& target = Survey().target;
    EXPECT_EQ(scan::ReadPage(QImage(), target).problem, scan::PageProblem::NoMarkers);
    QImage blank(1240, 1754, QImage::Format_Grayscale8);
    blank.fill(Qt::white);
    EXPECT_EQ(scan::ReadPage(blank, target).problem, scan::PageProblem::NoMarkers);
    EXPECT_EQ(scan::ReadPage(BlankPage().scaled(60, 85), target).problem, scan::PageProblem::NoMarkers);

    // A corner marker covered leaves three, which place the page; two covered do not.
    QImage covered = BlankPage().copy();
    PaintWhite(covered, scan::MarkerRect(scan::BottomRight).adjusted(-1, -1, 1, 1));
    EXPECT_EQ(scan::ReadPage(covered, target).problem, scan::PageProblem::None);
    PaintWhite(covered, scan::MarkerRect(scan::TopRight).adjusted(-1, -1, 1, 1));
    EXPECT_EQ(scan::ReadPage(covered, target).problem, scan::PageProblem::NoMarkers);

    QImage noCode = BlankPage().copy();
    PaintWhite(noCode, scan::CodeRect().adjusted(0, 8, 0, 0));
    EXPECT_EQ(scan::ReadPage(noCode, target).problem, scan::PageProblem::CodeUnreadable);

    // The same answer counts, other texts: another questionnaire, whose sheet number still shows.
    test_scans::SampleSurvey other = Survey();
    other.questions[0][0] = "Pytanie o czym innym";
    const scan::SheetSurvey otherSheets = scan::SheetSurveyOf("Inna", other.questions);
    other.sheets = otherSheets;
    const scan::PageReading foreign =
        scan::ReadPage(test_scans::RenderSheets(other, 12, 1, kDpi).front(), target);
    EXPECT_EQ(foreign.problem, scan::PageProblem::OtherSurvey);
    EXPECT_EQ(foreign.code.sheet, 12);
    EXPECT_EQ(scan::PageProblemText(foreign.problem), QStringLiteral("arkusz innej ankiety"));
}

TEST(PageReader, KnowsTheSheetsOfTheSurveyFileTheResultsNameThoughTheirTextDiffers) {
    // Results typed in or merged keep the text of their first file; the survey file they are
    // named after still has the questionnaire the sheets were printed from.
    const testing_support::TempFolder folder;
    const QString file = folder.File("ankieta.ank");
    test_scans::WriteSurveyFile(Survey(), file);
    results::ResultsTally tally = Survey().tally;
    tally.SurveyName = platform::ToCodePage(file);
    const scan::ScanTarget target = scan::ScanTargetOf(tally, {"tekst z innego pliku"});
    EXPECT_EQ(target.fingerprints.size(), 2u);
    EXPECT_EQ(scan::ReadPage(BlankPage(), target).problem, scan::PageProblem::None);

    // A survey file that no longer has their answer counts is not theirs.
    tally.AnswerCount[1] = 5;
    const scan::ScanTarget changed = scan::ScanTargetOf(tally, {"tekst z innego pliku"});
    EXPECT_EQ(changed.fingerprints.size(), 1u);
    EXPECT_EQ(scan::ReadPage(BlankPage(), changed).problem, scan::PageProblem::OtherSurvey);
}

}  // namespace
