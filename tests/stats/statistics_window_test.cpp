// The statistics window: loading and emptying channels with the state of its controls, stepping,
// switching channels off, the colour boxes, what it keeps between openings, saving and printing.
#include "stats/statistics_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

#include "charts/chart_window.h"
#include "results/results_test_files.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using results_testing::ExampleFile;
using results_testing::Lines;

namespace {

const QColor kSilver(charts::kSilver);

struct Launcher : platform::LauncherControl {
    void ShowLauncher() override { visible = true; }
    void HideLauncher() override { visible = false; }
    bool visible = true;
};

// A results file of `questions` questions of two answers each, chosen 1 and 3 times by 4 people.
QByteArray SurveyOf(int questions, const QByteArray& name = "Sonda") {
    QList<QByteArray> lines{"RESULTS", name, "4", QByteArray::number(questions)};
    for (int q = 1; q <= questions; ++q)
        lines << "2"
              << "1"
              << "3";
    return Lines(lines);
}

class StatisticsWindowTest : public ::testing::Test {
  protected:
    StatisticsWindowTest() { form.ShowForm(); }
    ~StatisticsWindowTest() override { form.hide(); }

    void Load(int channel, const QByteArray& bytes, const char* name = "wyniki.wyn") {
        const QString path = folder.File(name);
        testing_support::WriteBytes(path, bytes);
        dialogs.fileNames.push_back(path);
        form.LoadChannel(channel);
    }
    // "Poprzednie", "Następne", "Zapisz", "Drukuj", the scroll bar.
    std::vector<bool> Enabled() const {
        return {form.Button1->isEnabled(), form.Button2->isEnabled(), form.Button3->isEnabled(),
                form.Button4->isEnabled(), form.ScrollBar1->isEnabled()};
    }
    bool AllSilver() const {
        const QImage& picture = form.Image1->Picture();
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (QColor(picture.pixel(x, y)) != kSilver) return false;
            }
        }
        return true;
    }

    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    testing_support::TempFolder folder;
    Launcher launcher;
    stats::ChannelStore store;
    stats::TForm7 form{dialogs, printer, store, launcher};
};

const std::vector<bool> kEmpty{false, false, false, false, false};

}  // namespace

TEST_F(StatisticsWindowTest, AFirstLoadSetsTheScrollBarAnewWhereverAnEarlierOneLeftIt) {
    EXPECT_FALSE(launcher.visible);
    EXPECT_EQ(Enabled(), kEmpty);
    Load(1, SurveyOf(20));
    form.ScrollBar1->setValue(15);
    EXPECT_EQ(store.ShownQuestion, 15);
    dialogs.answers = {true};
    form.ResetAllChannels();
    EXPECT_EQ(Enabled(), kEmpty);

    Load(2, SurveyOf(10), "klasa1.wyn");
    EXPECT_EQ(form.ScrollBar1->minimum(), 1);
    EXPECT_EQ(form.ScrollBar1->maximum(), 10);
    EXPECT_EQ(form.ScrollBar1->value(), 1);
    EXPECT_EQ(store.ShownQuestion, 1);
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, true, true, true, true}));
    EXPECT_TRUE(form.CheckBox2->isEnabled() && form.CheckBox2->isChecked());
    EXPECT_FALSE(form.CheckBox1->isEnabled());
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("klasa1."));
    EXPECT_TRUE(form.RedrawRequest);
    EXPECT_TRUE(dialogs.notices().isEmpty());
}

TEST_F(StatisticsWindowTest, EmptyingTheOnlyChannelFreesTheQuestionnaireEmptyingOneOfTwoKeepsIt) {
    Load(1, SurveyOf(3));
    Load(2, SurveyOf(3));
    dialogs.answers = {true};
    form.ResetChannel(1);
    EXPECT_EQ(dialogs.questions().last(), QStringLiteral("Czy wyzerować wyniki w kanale 1?"));
    EXPECT_TRUE(form.Edit1->text().isEmpty());
    EXPECT_FALSE(form.CheckBox1->isEnabled() || form.CheckBox1->isChecked());
    Load(1, SurveyOf(3, "Inna"));
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("Plik pochodzi z innej ankiety...")});
    EXPECT_FALSE(store.Channels[1].IsLoaded);

    dialogs.answers = {true};
    form.ResetChannel(2);
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_EQ(Enabled(), kEmpty);
    EXPECT_TRUE(AllSilver());
    EXPECT_FALSE(form.RedrawRequest);
    Load(3, SurveyOf(5, "Inna"));
    EXPECT_EQ(dialogs.notices().size(), 1);
    EXPECT_EQ(store.QuestionCount, 5);
}

TEST_F(StatisticsWindowTest, NoToTheResetQuestionOnTheLastQuestionGivesBackTheControlsAsTheyWere) {
    Load(1, SurveyOf(3));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(store.ShownQuestion, 3);
    EXPECT_EQ(form.ScrollBar1->value(), 3);
    std::vector<bool> whileAsked;
    dialogs.whileQuestionOpen = [&](const QString&) {
        whileAsked = Enabled();
        whileAsked.push_back(form.Wyniki1->menuAction()->isEnabled());
        whileAsked.push_back(form.CheckBox1->isEnabled());
    };
    dialogs.answers = {false};
    form.ResetAllChannels();
    EXPECT_EQ(dialogs.questions().last(),
              QStringLiteral("Czy wyzerować wszystkie wczytane wyniki?"));
    EXPECT_EQ(whileAsked, std::vector<bool>(7, false));
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, true, true, true}));
    EXPECT_TRUE(form.Wyniki1->menuAction()->isEnabled());
    EXPECT_TRUE(form.CheckBox1->isEnabled() && form.CheckBox1->isChecked());
    EXPECT_TRUE(store.Channels[1].IsLoaded);
}

TEST_F(StatisticsWindowTest, SwitchingTheOnlyChannelOffPaintsTheChartSilverAndNextKeepsIt) {
    Load(1, SurveyOf(3));
    form.Timer1Timer();
    EXPECT_FALSE(AllSilver());
    EXPECT_EQ(form.Values.ActiveChannelCount, 1);
    form.CheckBox1->setChecked(false);
    EXPECT_TRUE(AllSilver());
    EXPECT_FALSE(form.RedrawRequest);
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_EQ(store.ShownQuestion, 2);
    form.Timer1Timer();
    EXPECT_TRUE(AllSilver());
    EXPECT_FALSE(form.RedrawRequest);
}

TEST_F(StatisticsWindowTest, ColourBoxesRefuseMaroonGoBackOnTheRightButtonAndOutliveTheWindow) {
    Load(1, SurveyOf(2));
    dialogs.colours = {QColor(128, 0, 0), QColor(10, 20, 30)};
    QTest::mousePress(form.Edit2, Qt::LeftButton);
    EXPECT_EQ(form.ChannelColour(2), QColor(0, 255, 0));
    EXPECT_EQ(form.focusWidget(), form.CheckBox4);
    QTest::mousePress(form.Edit3, Qt::LeftButton);
    EXPECT_EQ(form.ChannelColour(3), QColor(10, 20, 30));
    EXPECT_TRUE(form.RedrawRequest);
    form.Koniec1->trigger();
    EXPECT_TRUE(launcher.visible);
    form.ShowForm();
    EXPECT_EQ(form.ChannelColour(3), QColor(10, 20, 30));
    EXPECT_FALSE(form.CheckBox1->isEnabled() || form.CheckBox1->isChecked());
    QTest::mousePress(form.Edit3, Qt::RightButton);
    EXPECT_EQ(form.ChannelColour(3), QColor(0, 0, 255));
}

TEST_F(StatisticsWindowTest, SaveWritesThePictureAsItStandsAndPrintShowsTheLoadedChannels) {
    Load(1, ExampleFile("Ankieta"), "klasa1.wyn");
    Load(2, ExampleFile("Ankieta", "6"), "klasa2.wyn");
    // Printed before the first drawing: the page shows what the screen is about to show.
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    ASSERT_EQ(printer.pages().size(), 1u);
    QList<QByteArray> legend;
    for (const auto& text : printer.texts()) {
        if (text.text.startsWith("klasa")) legend << text.text;
    }
    EXPECT_EQ(legend, (QList<QByteArray>{"klasa1.", "klasa2."}));
    // A file name the code page cannot hold is drawn with '?' in its place.
    Load(3, ExampleFile("Ankieta"), "klasa中.wyn");
    QTest::mouseClick(form.Button4, Qt::LeftButton);
    EXPECT_TRUE(std::any_of(printer.texts().begin(), printer.texts().end(),
                            [](const auto& text) { return text.text == "klasa?."; }));
    EXPECT_EQ(printer.texts()[0].text, QByteArray("Ankieta: Ankieta, Pytanie nr 1"));

    form.Timer1Timer();
    dialogs.fileNames = {folder.File("wykres.txt")};
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    const QImage saved(folder.File("wykres.bmp"));
    ASSERT_EQ(saved.size(), QSize(777, 333));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), form.Image1->Picture());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}
