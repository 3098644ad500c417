// The chart windows' shared frame, shown on the bar chart: opening and closing, stepping through
// the questions, the redraw cycle, saving the picture and the printout; and the opening state of
// the pie, stripe and multi windows.
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

const QColor kSilver(charts::kSilver);

class BarWindowTest : public ::testing::Test {
protected:
    ~BarWindowTest() override { form.hide(); }

    void Open(const results::ResultsTally& loaded) {
        tally = loaded;
        form.RedrawRequest = true;  // as the results manager does before showing a chart
        form.OpenChart();
    }
    // Waits for the timer to pick up the pending redraw.
    void WaitForDrawing() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form.RedrawRequest; }, 5000));
    }
    void Pick(int index) {
        form.ComboBox1->setCurrentIndex(index);
        emit form.ComboBox1->activated(index);
    }
    void Type(const QString& text) {
        form.ComboBox1->lineEdit()->selectAll();
        QTest::keyClicks(form.ComboBox1->lineEdit(), text);
    }
    QColor At(int x, int y) const { return QColor(form.Image1->Picture.pixel(x, y)); }

    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    testing_support::TempFolder folder;
    results::ResultsTally tally;
    charts::TForm4 form{dialogs, printer, tally};
};

}  // namespace

TEST_F(BarWindowTest, OpeningShowsQuestionOneOfTheSelectorOnTheRespondentBase) {
    Open(TallyOf(10, {{1, 2}, {3}, {4}, {5}, {6}}));
    ASSERT_EQ(form.ComboBox1->Count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(form.ComboBox1->itemText(i), QString::number(i + 1));
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_EQ(form.ShownQuestion, 1);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Button2->isEnabled());
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_TRUE(form.CheckBox1->isChecked());  // as the program starts
    EXPECT_TRUE(form.Timer1.isActive());
    WaitForDrawing();
    EXPECT_EQ(form.Shares.Question, 1);
    EXPECT_EQ(form.Shares.Percent[2], 20.0);
    EXPECT_TRUE(dialogs.errors().isEmpty());

    // The base is reset at every opening, "Skala 100%" keeps its state.
    form.RadioButton2->setChecked(true);
    form.CheckBox1->setChecked(false);
    form.close();
    Open(tally);
    EXPECT_TRUE(form.RadioButton1->isChecked());
    EXPECT_FALSE(form.CheckBox1->isChecked());
    EXPECT_FALSE(form.ScaleToFull);
}

TEST_F(BarWindowTest, ClosingReenablesTheMenuItemStopsTheTimerAndEmptiesTheSelector) {
    int closed = 0;
    form.OnChartClosed = [&closed] { ++closed; };
    Open(TallyOf(3, {{1}, {2}}));
    form.CloseChart();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form.Timer1.isActive());
    EXPECT_EQ(form.ComboBox1->Count(), 0);
    // Closing a window that is not open does the same, harmlessly.
    form.CloseChart();
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(form.Timer1.isActive());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(BarWindowTest, OneQuestionResultsDisableBothButtons) {
    Open(TallyOf(3, {{1, 2}}));
    ASSERT_EQ(form.ComboBox1->Count(), 1);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    Pick(0);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    Type(QStringLiteral("4"));
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
}

TEST_F(BarWindowTest, ResultsWithoutQuestionsOfferNothingToStepTo) {
    Open(TallyOf(3, {}));
    EXPECT_EQ(form.ComboBox1->Count(), 0);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_FALSE(form.Button2->isEnabled());
    Type(QStringLiteral("2"));
    EXPECT_EQ(form.ShownQuestion, 1);
    WaitForDrawing();
    EXPECT_EQ(form.Shares.AnswerCount, 0);
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(BarWindowTest, NextAndPreviousStepThroughTheQuestionsAndDisableThemselvesAtTheEnds) {
    Open(TallyOf(3, {{1}, {2}, {3}}));
    WaitForDrawing();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.ShownQuestion, 2);
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("2"));
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Button2->isEnabled());
    EXPECT_TRUE(form.RedrawRequest);
    // From the second-to-last question to the last one.
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(form.ShownQuestion, 3);
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("3"));
    EXPECT_FALSE(form.Button2->isEnabled());
    WaitForDrawing();
    EXPECT_EQ(form.Shares.Question, 3);

    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.ShownQuestion, 2);
    EXPECT_TRUE(form.Button2->isEnabled());
    EXPECT_TRUE(form.Button1->isEnabled());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(form.ShownQuestion, 1);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("1"));
}

TEST_F(BarWindowTest, TheSelectorMovesToThePickedOrTypedQuestionAndRestoresAnUnmatchedOne) {
    Open(TallyOf(3, {{1}, {2}, {3}, {4}, {5}}));
    Pick(3);
    EXPECT_EQ(form.ShownQuestion, 4);
    EXPECT_TRUE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Button2->isEnabled());
    WaitForDrawing();
    const QImage before = form.Image1->Picture.copy();

    Type(QStringLiteral("7"));  // five questions: no such entry
    EXPECT_EQ(form.ComboBox1->Text(), QStringLiteral("4"));
    EXPECT_EQ(form.ComboBox1->ItemIndex(), 3);
    EXPECT_EQ(form.ShownQuestion, 4);
    WaitForDrawing();
    EXPECT_EQ(form.Image1->Picture, before);  // the chart is unchanged

    Type(QStringLiteral("5"));
    EXPECT_EQ(form.ShownQuestion, 5);
    EXPECT_FALSE(form.Button2->isEnabled());
    Pick(0);
    EXPECT_EQ(form.ShownQuestion, 1);
    EXPECT_FALSE(form.Button1->isEnabled());
    EXPECT_TRUE(form.Button2->isEnabled());
}

TEST_F(BarWindowTest, TheTimerDrawsOnlyWhenARedrawIsRequestedAndAMergeShowsWithinATick) {
    Open(TallyOf(10, {{2, 8}}));
    WaitForDrawing();
    // The bar of answer a: 20 % on the 100 % scale, its top at 190.
    EXPECT_EQ(At(40, 190), QColor(Qt::black));
    EXPECT_EQ(At(40, 189), kSilver);

    // Drawing only on request: a picture scribbled over stays as it is.
    form.Image1->Picture.setPixel(400, 10, qRgb(1, 2, 3));
    QTest::qWait(250);
    EXPECT_EQ(At(400, 10), QColor(1, 2, 3));

    // A merge doubles the count of answer a; the results manager asks for a redraw.
    tally.AnswerTally[1][1] = 4;
    form.RequestRedraw();
    WaitForDrawing();
    EXPECT_EQ(At(40, 150), QColor(Qt::black));
    EXPECT_EQ(At(400, 10), kSilver);
}

TEST_F(BarWindowTest, BaseAndScaleSwitchesRedrawAndThePrintoutShowsTheSameHeights) {
    Open(TallyOf(10, {{2, 3}}));  // 20 % and 30 % of the respondents, 40 % and 60 % of answers
    WaitForDrawing();
    form.RadioButton2->click();
    EXPECT_TRUE(form.RedrawRequest);
    WaitForDrawing();
    EXPECT_EQ(form.Shares.Percent[1], 40.0);
    EXPECT_EQ(At(40, 150), QColor(Qt::black));
    form.CheckBox1->click();  // off: the tallest bar reaches the 100 line
    EXPECT_FALSE(form.ScaleToFull);
    EXPECT_TRUE(form.RedrawRequest);
    WaitForDrawing();
    EXPECT_EQ(At(260, 30), QColor(Qt::black));
    EXPECT_EQ(At(260, 29), kSilver);

    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    // On a 3200 x 2300 page: H 2185, the 100 line at 218 and the axis at 2054. The second bar
    // (left 690) reaches the top line, the first (2/3 of it) stops at 2054 - 2/3 * 1835.4.
    const QImage& page = printer.pages()[0];
    EXPECT_EQ(QColor(page.pixel(800, 218)), QColor(Qt::black));
    EXPECT_EQ(QColor(page.pixel(800, 217)), QColor(Qt::white));
    EXPECT_EQ(QColor(page.pixel(300, 830)), QColor(Qt::black));
    EXPECT_EQ(QColor(page.pixel(300, 829)), QColor(Qt::white));
}

TEST_F(BarWindowTest, PrintingRightAfterAStepShowsTheNewQuestion) {
    Open(TallyOf(10, {{2, 3}, {5}}));
    WaitForDrawing();
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QTest::mouseClick(form.Button3, Qt::LeftButton);  // before the timer redrew
    ASSERT_EQ(printer.pages().size(), 1u);
    bool labelled = false;
    for (const auto& text : printer.texts()) labelled = labelled || text.text == "50%";
    EXPECT_TRUE(labelled);
    EXPECT_EQ(printer.texts().front().text, QByteArray("Ankieta: Ankieta próbna, Pytanie nr 2"));
}

TEST_F(BarWindowTest, ThePrintoutIsOneLandscapePageWithGridAxesBarsAndLabelsInPageMeasures) {
    Open(TallyOf(10, {{1, 2, 3, 4}}, "Sonda"));
    WaitForDrawing();
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    EXPECT_EQ(printer.jobsStarted(), 1);
    EXPECT_EQ(printer.jobsEnded(), 1);
    EXPECT_EQ(printer.pageOrientations()[0], platform::Orientation::Landscape);
    const QImage& page = printer.pages()[0];
    ASSERT_EQ(page.size(), QSize(3200, 2300));
    const auto at = [&page](int x, int y) { return QColor(page.pixel(x, y)); };
    const QColor black(Qt::black), white(Qt::white);

    // H = 2185, W = 2656: grid lines at 218, 677, 1136, 1595 to x = 2523, dotted.
    for (int y : {218, 1136}) {
        EXPECT_EQ(at(16, y), black);
        EXPECT_EQ(at(17, y), white);
        EXPECT_EQ(at(2522, y), black);
        EXPECT_EQ(at(2523, y), white);
    }
    for (int y : {677, 1595}) {
        EXPECT_EQ(at(10, y), black);
        EXPECT_EQ(at(11, y), white);
        EXPECT_EQ(at(2522, y), black);
    }
    // Axes: the vertical at x = 10 from 218 to the horizontal at 2054, with its tick at 1136.
    EXPECT_EQ(at(10, 217), white);
    EXPECT_EQ(at(10, 1000), black);
    EXPECT_EQ(at(13, 1136), black);
    EXPECT_EQ(at(2522, 2054), black);
    EXPECT_EQ(at(2523, 2054), white);

    // Bars 544 wide from 93, 690, 1287, 1884; tops for 10..40 % at 0.0084 H per percent.
    const int lefts[] = {93, 690, 1287, 1884};
    const int tops[] = {1870, 1687, 1503, 1320};
    platform::Canvas probe(300);
    probe.SetFont({QStringLiteral("times new roman"), 12, false, false, Qt::black});
    const int labelHeight = probe.TextHeight("13");
    for (int a = 1; a <= 4; ++a) {
        SCOPED_TRACE(a);
        const int left = lefts[a - 1], top = tops[a - 1];
        const QColor fill(charts::PrintAnswerColours[a]);
        EXPECT_EQ(at(left - 1, 2000), white);
        EXPECT_EQ(at(left, 2000), black);
        EXPECT_EQ(at(left + 1, 2000), fill);
        EXPECT_EQ(at(left + 543, 2000), black);
        EXPECT_EQ(at(left + 544, 2000), white);
        EXPECT_EQ(at(left + 5, top), black);
        EXPECT_EQ(at(left + 5, top - 1), white);
        EXPECT_EQ(at(left + 5, top + 1), fill);
        EXPECT_EQ(at(left + 5, 2053), black);
    }
    EXPECT_EQ(QColor(charts::PrintAnswerColours[1]), QColor(0xFF, 0x30, 0x00));

    const auto& texts = printer.texts();
    ASSERT_EQ(texts.size(), 1u + 2 * 4);
    EXPECT_EQ(texts[0].text, QByteArray("Ankieta: Sonda, Pytanie nr 1"));
    EXPECT_EQ(texts[0].x, 10);
    EXPECT_EQ(texts[0].y, 30);
    EXPECT_EQ(texts[0].font.face.toLower(), QStringLiteral("times new roman"));
    EXPECT_EQ(texts[0].font.points, 14);
    EXPECT_TRUE(texts[0].font.bold);
    EXPECT_TRUE(texts[0].font.underline);
    const double centres[] = {364.96, 962.08, 1559.2, 2156.32};
    for (int a = 1; a <= 4; ++a) {
        SCOPED_TRACE(a);
        const auto& value = texts[2 * a - 1];
        const auto& letter = texts[2 * a];
        EXPECT_EQ(value.text, QByteArray::number(10 * a) + '%');
        EXPECT_EQ(value.font.points, 12);
        EXPECT_FALSE(value.font.bold);
        EXPECT_EQ(value.y, tops[a - 1] - labelHeight - 2);
        EXPECT_EQ(value.background, white);
        EXPECT_EQ(value.x, platform::Round(centres[a - 1] - probe.TextWidth(value.text) * 0.5));
        EXPECT_EQ(letter.text, QByteArray(1, static_cast<char>('a' + a - 1)));
        EXPECT_EQ(letter.y, 2056);
        EXPECT_EQ(letter.font.points, 14);
        EXPECT_TRUE(letter.font.bold);
    }
}

TEST_F(BarWindowTest, AQuestionWithoutAnswersPrintsHeaderGridAndAxesOnly) {
    Open(TallyOf(10, {{}}));
    WaitForDrawing();
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    EXPECT_EQ(printer.texts().size(), 1u);
    EXPECT_EQ(QColor(printer.pages()[0].pixel(300, 2053)), QColor(Qt::white));
    EXPECT_EQ(QColor(printer.pages()[0].pixel(300, 2054)), QColor(Qt::black));
}

TEST_F(BarWindowTest, WithoutAPrinterTheErrorIsShownAndTheNextPrintWorks) {
    Open(TallyOf(10, {{1}}));
    WaitForDrawing();
    printer.SetUnavailable(true);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("Nie znaleziono drukarki.")});
    EXPECT_TRUE(printer.pages().empty());
    printer.SetUnavailable(false);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    EXPECT_EQ(printer.pages().size(), 1u);
}

TEST_F(BarWindowTest, SavingWritesThePictureAsABitmapUnderTheBmpExtension) {
    Open(TallyOf(10, {{1, 2, 3}}));
    WaitForDrawing();
    const QString typed = folder.File("wykres.txt");
    const QString saved = folder.File("wykres.bmp");
    testing_support::WriteBytes(saved, "an older file of that name");
    dialogs.fileNames = {typed};
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    const auto* dialog = dialogs.Last(ScriptedDialogs::Kind::SaveFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik, w którym chcesz zapisać wykres..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki graficzne (*.bmp)|*.bmp"));
    EXPECT_TRUE(dialog->options.initialFolder.isEmpty());

    EXPECT_FALSE(QFile::exists(typed));
    EXPECT_EQ(testing_support::ReadBytes(saved).left(2), QByteArray("BM"));
    QImage read(saved, "BMP");
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.size(), QSize(500, 250));
    EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), form.Image1->Picture);
}

TEST_F(BarWindowTest, ACancelledSaveWritesNothingAndAnUnwritableNameIsReported) {
    Open(TallyOf(10, {{1}}));
    WaitForDrawing();
    dialogs.fileNames = {QString(), folder.File("brak/wykres")};
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
    EXPECT_FALSE(QFile::exists(folder.File("brak/wykres.bmp")));
}

TEST(ChartWindows, PieAndStripeOpenOnQuestionOneWithTheirOwnSelector) {
    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1, 3}, {2, 2}});
    charts::TForm5 pie(dialogs, printer, tally);
    charts::TForm6 stripe(dialogs, printer, tally);
    for (charts::QuestionChartWindow* form : {static_cast<charts::QuestionChartWindow*>(&pie),
                                              static_cast<charts::QuestionChartWindow*>(&stripe)}) {
        form->OpenChart();
        EXPECT_EQ(form->ComboBox1->Count(), 2);
        EXPECT_EQ(form->ShownQuestion, 1);
        EXPECT_FALSE(form->Button1->isEnabled());
        EXPECT_TRUE(form->Button2->isEnabled());
        EXPECT_TRUE(form->Timer1.isActive());
        QTest::mouseClick(form->Button2, Qt::LeftButton);
        EXPECT_FALSE(form->Button2->isEnabled());
        form->Button3Click();
        form->CloseChart();
        EXPECT_EQ(form->ComboBox1->Count(), 0);
        EXPECT_FALSE(form->Timer1.isActive());
    }
    EXPECT_EQ(printer.texts().back().text, QByteArray("Ankieta: Ankieta próbna, Pytanie nr 2"));
    EXPECT_EQ(pie.Image1->geometry(), QRect(8, 6, 441, 275));
    EXPECT_EQ(stripe.Image1->geometry(), QRect(8, 8, 530, 230));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST(ChartWindows, MultiOpensEverySeriesOnQuestionOneAndRestoresAnUnmatchedSelector) {
    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1}, {2}, {3}});
    charts::TForm9 multi(dialogs, printer, tally);
    multi.OpenChart();
    for (platform::ComboBox* selector : {multi.ComboBox1, multi.ComboBox2, multi.ComboBox3}) {
        ASSERT_EQ(selector->Count(), 3);
        EXPECT_EQ(selector->itemText(2), QStringLiteral("Pytanie nr 3"));
        EXPECT_EQ(selector->Text(), QStringLiteral("Pytanie nr 1"));
    }
    EXPECT_EQ(multi.SeriesQuestion[1], 1);
    EXPECT_EQ(multi.SeriesQuestion[3], 1);
    EXPECT_TRUE(multi.RadioButton1->isChecked());
    EXPECT_TRUE(multi.CheckBox1->isChecked());
    EXPECT_EQ(multi.Shape2->Colour(), QColor(128, 255, 0));

    multi.ComboBox2->setCurrentIndex(2);
    emit multi.ComboBox2->activated(2);
    EXPECT_EQ(multi.SeriesQuestion[2], 3);
    multi.ComboBox2->lineEdit()->selectAll();
    QTest::keyClicks(multi.ComboBox2->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(multi.ComboBox2->Text(), QStringLiteral("Pytanie nr 3"));
    EXPECT_EQ(multi.SeriesQuestion[2], 3);

    // Closing and reopening brings back question 1, the respondent base and "Skala 100%".
    multi.RadioButton2->setChecked(true);
    multi.CheckBox1->setChecked(false);
    multi.CloseChart();
    EXPECT_EQ(multi.ComboBox3->Count(), 0);
    multi.OpenChart();
    EXPECT_EQ(multi.SeriesQuestion[2], 1);
    EXPECT_TRUE(multi.RadioButton1->isChecked());
    EXPECT_TRUE(multi.CheckBox1->isChecked());
    QTest::mouseClick(multi.Button2, Qt::LeftButton);
    ASSERT_EQ(printer.texts().size(), 1u);
    EXPECT_EQ(printer.texts()[0].text, QByteArray("Ankieta: Ankieta próbna, wykres Multi"));
    multi.hide();
}
