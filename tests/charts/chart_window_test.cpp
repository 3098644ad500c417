// The chart windows' shared frame, shown on the bar chart: opening and closing, stepping through
// the questions, the redraw cycle, saving the picture and the printout; and the opening state of
// the pie, stripe and multi windows with their printouts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "charts/chart_windows.h"
#include "platform/controls.h"
#include "platform/round.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "tally_builder.h"

using charts_testing::TallyOf;
using testing_support::ScriptedDialogs;

namespace {

const QColor kBlack(Qt::black), kWhite(Qt::white), kSilver(charts::kSilver);

void Pick(platform::ComboBox* selector, int index) {
    selector->setCurrentIndex(index);
    emit selector->activated(index);
}

void Type(platform::ComboBox* selector, const QString& text) {
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector->lineEdit(), text);
}

class BarWindowTest : public ::testing::Test {
  protected:
    ~BarWindowTest() override { form.hide(); }

    void Open(const results::ResultsTally& loaded) {
        tally = loaded;
        form.RedrawRequest = true;  // as the results manager does before showing a chart
        form.OpenChart();
    }
    void WaitForDrawing() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form.RedrawRequest; }, 5000));
    }
    // Buttons "Poprzednie" and "Następne" enabled.
    std::pair<bool, bool> Steps() const {
        return {form.Button1->isEnabled(), form.Button2->isEnabled()};
    }
    QColor At(int x, int y) const { return QColor(form.Image1->Picture().pixel(x, y)); }
    QColor PageAt(int x, int y) const { return QColor(printer.pages().at(0).pixel(x, y)); }

    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    testing_support::TempFolder folder;
    results::ResultsTally tally;
    charts::TForm4 form{dialogs, printer, tally};
};

const std::pair<bool, bool> kNone{false, false}, kBoth{true, true};
const std::pair<bool, bool> kOnlyNext{false, true}, kOnlyPrevious{true, false};

}  // namespace

TEST_F(BarWindowTest, OpeningShowsQuestionOneOnTheRespondentBaseAndClosingUndoesIt) {
    int closed = 0;
    form.OnChartClosed = [&closed] { ++closed; };
    Open(TallyOf(10, {{1, 2}, {3}, {4}, {5}, {6}}));
    ASSERT_EQ(form.ComboBox1->Count(), 5);
    EXPECT_EQ(form.ComboBox1->itemText(4), QStringLiteral("5"));
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_EQ(form.ShownQuestion, 1);
    EXPECT_EQ(Steps(), kOnlyNext);
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_TRUE(form.CheckBox1->isChecked());  // as the program starts
    EXPECT_TRUE(form.Timer1.isActive());
    WaitForDrawing();
    EXPECT_EQ(form.Shares.Percent[2], 20.0);

    // The base is reset at every opening, "Skala 100%" keeps its state.
    form.RadioButton2->setChecked(true);
    form.CheckBox1->setChecked(false);
    form.CloseChart();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form.Timer1.isActive());
    EXPECT_EQ(form.ComboBox1->Count(), 0);
    form.CloseChart();  // not open: the same, harmlessly
    EXPECT_EQ(closed, 2);
    Open(tally);
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.ScaleToFull);
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(BarWindowTest, OneQuestionOrNoneLeavesBothButtonsDisabled) {
    Open(TallyOf(3, {{1, 2}}));
    EXPECT_EQ(Steps(), kNone);
    Pick(form.ComboBox1, 0);
    EXPECT_EQ(Steps(), kNone);
    Type(form.ComboBox1, QStringLiteral("4"));
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_EQ(Steps(), kNone);
    form.close();
    Open(TallyOf(3, {}));
    EXPECT_EQ(Steps(), kNone);
    Type(form.ComboBox1, QStringLiteral("2"));
    EXPECT_EQ(form.ShownQuestion, 1);
    WaitForDrawing();
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(BarWindowTest, NextAndPreviousStepAndDisableThemselvesAtTheEnds) {
    Open(TallyOf(3, {{1}, {2}, {3}}));
    WaitForDrawing();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.ShownQuestion, 2);
    EXPECT_EQ(Steps(), kBoth);
    EXPECT_TRUE(form.RedrawRequest);
    QTest::mouseClick(form.Button2, Qt::LeftButton);  // from the second-to-last to the last
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("3"));
    EXPECT_EQ(Steps(), kOnlyPrevious);
    WaitForDrawing();
    EXPECT_EQ(form.Shares.Question, 3);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(Steps(), kBoth);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_EQ(Steps(), kOnlyNext);
}

TEST_F(BarWindowTest, TheSelectorMovesToThePickedOrTypedQuestionAndRestoresAnUnmatchedOne) {
    Open(TallyOf(3, {{1}, {2}, {3}, {4}, {5}}));
    Pick(form.ComboBox1, 3);
    EXPECT_EQ(form.ShownQuestion, 4);
    EXPECT_EQ(Steps(), kBoth);
    WaitForDrawing();
    const QImage before = form.Image1->Picture().copy();
    Type(form.ComboBox1, QStringLiteral("7"));  // five questions: no such entry
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("4"));
    EXPECT_EQ(form.ShownQuestion, 4);
    WaitForDrawing();
    EXPECT_EQ(form.Image1->Picture(), before);
    Type(form.ComboBox1, QStringLiteral("5"));
    EXPECT_EQ(form.ShownQuestion, 5);
    EXPECT_EQ(Steps(), kOnlyPrevious);
}

TEST_F(BarWindowTest, TheTimerDrawsOnlyOnRequestSoAMergeShowsWithinATick) {
    Open(TallyOf(10, {{2, 8}}));
    WaitForDrawing();
    EXPECT_EQ(At(40, 190), kBlack);  // answer a: 20 %
    form.Image1->Picture().setPixel(400, 10, qRgb(1, 2, 3));
    QTest::qWait(250);
    EXPECT_EQ(At(400, 10), QColor(1, 2, 3));
    // A merge doubles the count of answer a; the results manager asks for a redraw.
    tally.AnswerTally[1][1] = 4;
    form.RequestRedraw();
    WaitForDrawing();
    EXPECT_EQ(At(40, 150), kBlack);
    EXPECT_EQ(At(400, 10), kSilver);
}

TEST_F(BarWindowTest, BaseAndScaleSwitchesRedrawAndThePrintoutShowsTheSameHeights) {
    Open(TallyOf(10, {{2, 3}}));  // 20 % and 30 % of the respondents, 40 % and 60 % of answers
    WaitForDrawing();
    form.RadioButton2->click();
    EXPECT_TRUE(form.RedrawRequest);
    WaitForDrawing();
    EXPECT_EQ(At(40, 150), kBlack);
    form.CheckBox1->click();  // off: the tallest bar reaches the 100 line
    EXPECT_TRUE(form.RedrawRequest);
    WaitForDrawing();
    EXPECT_EQ(At(260, 29), kSilver);
    EXPECT_EQ(At(260, 30), kBlack);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    // H = 2185 on a 3200 x 2300 page: the second bar reaches the 100 line at 218, the first
    // stops at 2/3 of the 1835.4 pixels above the axis at 2054.
    EXPECT_EQ(PageAt(800, 217), kWhite);
    EXPECT_EQ(PageAt(800, 218), kBlack);
    EXPECT_EQ(PageAt(300, 829), kWhite);
    EXPECT_EQ(PageAt(300, 830), kBlack);
}

TEST_F(BarWindowTest, PrintingRightAfterAStepShowsTheNewQuestion) {
    Open(TallyOf(10, {{2, 3}, {5}}));
    WaitForDrawing();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QTest::mouseClick(form.Button3, Qt::LeftButton);  // before the timer redrew
    ASSERT_EQ(printer.texts().size(), 3u);
    EXPECT_EQ(printer.texts()[0].text, QByteArray("Ankieta: Ankieta próbna, Pytanie nr 2"));
    EXPECT_EQ(printer.texts()[1].text, QByteArray("50%"));
}

TEST_F(BarWindowTest, ThePrintoutIsOneLandscapePageWithGridAxesBarsAndLabelsInPageMeasures) {
    Open(TallyOf(10, {{1, 2, 3, 4}}, "Sonda"));
    WaitForDrawing();
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    EXPECT_EQ(printer.jobsEnded(), 1);
    EXPECT_EQ(printer.pageOrientations()[0], platform::Orientation::Landscape);
    // H = 2185, W = 2656: dotted grid at 218, 677, 1136, 1595 from x = 14 or 10 to 2522.
    for (int y : {218, 677, 1136, 1595}) {
        EXPECT_EQ(PageAt(16, y), kBlack);
        EXPECT_EQ(PageAt(17, y), kWhite);
        EXPECT_EQ(PageAt(2522, y), kBlack);
        EXPECT_EQ(PageAt(2523, y), kWhite);
    }
    EXPECT_EQ(PageAt(11, 677), kWhite);
    EXPECT_EQ(PageAt(13, 1136), kBlack);  // the tick
    // Axes at x = 10 from 218 and y = 2054 to 2522.
    EXPECT_EQ(PageAt(10, 217), kWhite);
    EXPECT_EQ(PageAt(10, 1000), kBlack);
    EXPECT_EQ(PageAt(2522, 2054), kBlack);
    EXPECT_EQ(PageAt(2523, 2054), kWhite);

    // Bars 544 wide from 93, 690, 1287, 1884, 0.0084 H per percent above the axis.
    const int lefts[] = {93, 690, 1287, 1884};
    const int tops[] = {1870, 1687, 1503, 1320};
    const double centres[] = {364.96, 962.08, 1559.2, 2156.32};
    platform::Canvas measure(300);
    const auto& texts = printer.texts();
    ASSERT_EQ(texts.size(), 1u + 2 * 4);
    for (int a = 1; a <= 4; ++a) {
        SCOPED_TRACE(a);
        const int left = lefts[a - 1], top = tops[a - 1];
        const QColor fill(charts::PrintAnswerColours[a]);
        EXPECT_EQ(PageAt(left - 1, 2000), kWhite);
        EXPECT_EQ(PageAt(left, 2000), kBlack);
        EXPECT_EQ(PageAt(left + 1, 2000), fill);
        EXPECT_EQ(PageAt(left + 543, 2000), kBlack);
        EXPECT_EQ(PageAt(left + 544, 2000), kWhite);
        EXPECT_EQ(PageAt(left + 5, top - 1), kWhite);
        EXPECT_EQ(PageAt(left + 5, top), kBlack);
        EXPECT_EQ(PageAt(left + 5, top + 1), fill);
        const auto& value = texts[2 * a - 1];
        const auto& letter = texts[2 * a];
        EXPECT_EQ(value.text, QByteArray::number(10 * a) + '%');
        measure.SetFont(value.font);
        EXPECT_EQ(value.x, platform::Round(centres[a - 1] - measure.TextWidth(value.text) * 0.5));
        EXPECT_EQ(value.y, top - measure.TextHeight("13") - 2);
        EXPECT_EQ(value.font.points, 12);
        EXPECT_EQ(letter.y, 2056);
        EXPECT_TRUE(letter.font.points == 14 && letter.font.bold);
    }
    EXPECT_EQ(QColor(charts::PrintAnswerColours[1]), QColor(0xFF, 0x30, 0x00));
    EXPECT_EQ(texts[0].text, QByteArray("Ankieta: Sonda, Pytanie nr 1"));
    EXPECT_EQ(QPoint(texts[0].x, texts[0].y), QPoint(10, 30));
    EXPECT_EQ(texts[0].font.face.toLower(), QStringLiteral("times new roman"));
    EXPECT_TRUE(texts[0].font.points == 14 && texts[0].font.bold && texts[0].font.underline);
}

TEST_F(BarWindowTest, WithoutAPrinterTheErrorIsShownAndTheNextPrintWorks) {
    Open(TallyOf(10, {{}}));
    WaitForDrawing();
    printer.SetUnavailable(true);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("Nie znaleziono drukarki.")});
    printer.SetUnavailable(false);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    // A question without answers prints the header, grid and axes only.
    EXPECT_EQ(printer.texts().size(), 1u);
    EXPECT_EQ(PageAt(300, 2053), kWhite);
    EXPECT_EQ(PageAt(300, 2054), kBlack);
}

TEST_F(BarWindowTest, SavingWritesThePictureAsABitmapUnderTheBmpExtension) {
    Open(TallyOf(10, {{1, 2, 3}}));
    WaitForDrawing();
    const QString saved = folder.File("wykres.bmp");
    testing_support::WriteBytes(saved, "an older file of that name");
    dialogs.fileNames = {folder.File("wykres.txt"), QString(), folder.File("brak/wykres")};
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    const auto* dialog = dialogs.Last(ScriptedDialogs::Kind::SaveFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title,
              QStringLiteral("Wybierz plik, w którym chcesz zapisać wykres..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki graficzne (*.bmp)|*.bmp"));
    EXPECT_TRUE(dialog->options.initialFolder.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.File("wykres.txt")));
    const QImage read(saved, "BMP");
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), form.Image1->Picture());
    EXPECT_EQ(read.size(), QSize(500, 250));
    EXPECT_TRUE(dialogs.errors().isEmpty());
    // A cancelled dialog writes nothing; a name in a missing folder is reported.
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
}

TEST(PictureBox, OnAScreenOfDoubleDensityEachPicturePixelBecomesASharpTwoByTwoBlock) {
    charts::PictureBox box(nullptr, QRect(0, 0, 4, 2));
    box.Picture().fill(Qt::white);
    box.Picture().setPixel(1, 0, qRgb(0, 0, 0));
    box.Picture().setPixel(2, 1, qRgb(0, 0, 255));
    QImage screen(8, 4, QImage::Format_RGB32);
    screen.setDevicePixelRatio(2);
    box.render(&screen);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(QColor(screen.pixel(x, y)), QColor(box.Picture().pixel(x / 2, y / 2))) << x << ',' << y;
        }
    }
}

TEST(PictureBox, IsSilverOnScreenAndWhenFirstTakenBeforeAnyDrawing) {
    charts::PictureBox box(nullptr, QRect(5, 5, 3, 2));
    QImage screen(3, 2, QImage::Format_RGB32);
    screen.fill(Qt::black);
    box.render(&screen);
    QImage silver(3, 2, QImage::Format_RGB32);
    silver.fill(QColor(charts::kSilver));
    EXPECT_EQ(screen, silver);
    EXPECT_EQ(box.Picture(), silver);
}

TEST(ChartWindows, PieStripeAndMultiOpenOnQuestionOneAndCloseEmptied) {
    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1, 3}, {2, 2}});
    charts::TForm5 pie(dialogs, printer, tally);
    charts::TForm6 stripe(dialogs, printer, tally);
    for (charts::QuestionChartWindow* form :
         std::initializer_list<charts::QuestionChartWindow*>{&pie, &stripe}) {
        form->OpenChart();
        EXPECT_EQ(form->ComboBox1->Count(), 2);
        EXPECT_FALSE(form->Button1->isEnabled());
        QTest::mouseClick(form->Button2, Qt::LeftButton);
        EXPECT_FALSE(form->Button2->isEnabled());
        // Printing twice gives the same page and leaves the picture as it was.
        ASSERT_TRUE(QTest::qWaitFor([form] { return !form->RedrawRequest; }, 5000));
        const QImage picture = form->Image1->Picture().copy();
        const std::size_t pages = printer.pages().size();
        QTest::mouseClick(form->Button3, Qt::LeftButton);
        QTest::mouseClick(form->Button3, Qt::LeftButton);
        ASSERT_EQ(printer.pages().size(), pages + 2);
        EXPECT_EQ(printer.pages()[pages], printer.pages()[pages + 1]);
        EXPECT_EQ(form->Image1->Picture(), picture);
        EXPECT_FALSE(form->RedrawRequest);
        form->CloseChart();
        EXPECT_EQ(form->ComboBox1->Count(), 0);
    }

    charts::TForm9 multi(dialogs, printer, tally);
    multi.OpenChart();
    for (platform::ComboBox* selector : {multi.ComboBox1, multi.ComboBox2, multi.ComboBox3}) {
        ASSERT_EQ(selector->Count(), 2);
        EXPECT_EQ(selector->Text(), QStringLiteral("Pytanie nr 1"));
    }
    EXPECT_EQ(multi.Shape2->Colour(), QColor(128, 255, 0));
    Pick(multi.ComboBox2, 1);
    EXPECT_EQ(multi.SeriesQuestion[2], 2);
    Type(multi.ComboBox2, QStringLiteral("x"));
    EXPECT_EQ(multi.ComboBox2->Text(), QStringLiteral("Pytanie nr 2"));
    EXPECT_EQ(multi.SeriesQuestion[2], 2);
    // Reopening brings back question 1, the respondent base and "Skala 100%".
    multi.RadioButton2->setChecked(true);
    multi.CheckBox1->setChecked(false);
    multi.CloseChart();
    EXPECT_EQ(multi.ComboBox3->Count(), 0);
    multi.OpenChart();
    EXPECT_EQ(multi.SeriesQuestion[2], 1);
    EXPECT_TRUE(multi.RadioButton1->isChecked() && multi.CheckBox1->isChecked());
    QTest::mouseClick(multi.Button2, Qt::LeftButton);
    const auto& header = *std::find_if(printer.texts().begin(), printer.texts().end(),
                                       [](const auto& text) { return text.page == 4; });
    EXPECT_EQ(header.text, QByteArray("Ankieta: Ankieta próbna, wykres Multi"));
    multi.hide();
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST(ChartPrintout, AFailureWhileDrawingTheBodyEndsTheJobSoTheNextPrintoutStarts) {
    testing_support::RecordingPrinter printer;
    const auto failingBody = [](platform::Canvas&, std::uint16_t, std::uint16_t) {
        throw std::runtime_error("drawing failed");
    };
    EXPECT_THROW(charts::PrintChartPage(printer, "Ankieta", failingBody), std::runtime_error);
    EXPECT_FALSE(printer.Printing());
    charts::PrintChartPage(printer, "Ankieta", [](platform::Canvas&, std::uint16_t, std::uint16_t) {});
    EXPECT_EQ(printer.jobsEnded(), 2);
}
