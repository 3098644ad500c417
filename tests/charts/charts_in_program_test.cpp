// The chart windows inside the whole program: opened from the results manager's menu, redrawn
// after a merge, closed with the results manager, their timers stopped by the launcher.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "app/program.h"
#include "platform/controls.h"
#include "results/results_test_files.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace {

class ChartsInProgramTest : public ::testing::Test {
protected:
    ChartsInProgramTest() : previousDir(QDir::currentPath()), program(dialogs, printer, folder.path()) {
        QDir::setCurrent(folder.path());
        program.Form0->EndProgram = [] {};
        program.Form0->ShowForm();
        QTest::mouseClick(program.Form0->Button2, Qt::LeftButton);  // "Menedżer Wyników"
        const QString file = folder.File("wyniki.wyn");
        testing_support::WriteBytes(file, results_testing::ExampleFile());
        dialogs.fileNames.push_back(file);
        program.Form3->Otwrz1->trigger();
    }
    ~ChartsInProgramTest() override {
        program.Form0->EndProgram = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
        QDir::setCurrent(previousDir);
    }

    std::vector<charts::ChartWindow*> Charts() {
        return {program.Form4.get(), program.Form5.get(), program.Form6.get(), program.Form9.get()};
    }
    std::vector<QAction*> ChartItems() {
        return {program.Form3->Supkowy1, program.Form3->Koowy1, program.Form3->Paskowy1,
                program.Form3->Multi1};
    }

    testing_support::TempFolder folder;
    QString previousDir;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    app::Program program;
};

}  // namespace

TEST_F(ChartsInProgramTest, TheBarChartOpensFromTheMenuAndAMergeRedrawsEveryChart) {
    ASSERT_TRUE(program.Form3->ResultsLoaded());
    program.Form3->Supkowy1->trigger();
    charts::TForm4& bar = *program.Form4;
    EXPECT_TRUE(bar.isVisible());
    EXPECT_FALSE(program.Form3->Supkowy1->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&bar] { return !bar.RedrawRequest; }, 5000));
    EXPECT_EQ(bar.ComboBox1->Count(), 2);
    EXPECT_DOUBLE_EQ(bar.Shares.Percent[1], 5 * 100.0 / 12);

    for (charts::ChartWindow* chart : Charts()) chart->RedrawRequest = false;
    const QString second = folder.File("druga.wyn");
    testing_support::WriteBytes(second, results_testing::ExampleFile());
    dialogs.fileNames.push_back(second);
    program.Form3->Dodaj1->trigger();
    for (charts::ChartWindow* chart : Charts()) EXPECT_TRUE(chart->RedrawRequest);
    ASSERT_TRUE(QTest::qWaitFor([&bar] { return !bar.RedrawRequest; }, 5000));
    EXPECT_EQ(program.results.Tally.RespondentCount, 24);
    EXPECT_DOUBLE_EQ(bar.Shares.Percent[1], 10 * 100.0 / 24);
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(ChartsInProgramTest, ClosingTheResultsManagerClosesTheChartsAndTheLauncherStopsTheirTimers) {
    for (QAction* item : ChartItems()) item->trigger();
    for (charts::ChartWindow* chart : Charts()) EXPECT_TRUE(chart->isVisible()) << chart->Caption().toStdString();
    for (QAction* item : ChartItems()) EXPECT_FALSE(item->isEnabled());

    program.Form3->close();
    for (charts::ChartWindow* chart : Charts()) EXPECT_FALSE(chart->isVisible());
    for (QAction* item : ChartItems()) EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(program.Form0->isVisible());
    EXPECT_FALSE(program.Form4->Timer1.isActive());
    EXPECT_EQ(program.Form4->ComboBox1->Count(), 0);
    EXPECT_TRUE(dialogs.errors().isEmpty());

    // The launcher coming back stops the bar chart's timer even when it was started by hand.
    program.Form4->Timer1.start();
    QTest::mouseClick(program.Form0->Button1, Qt::LeftButton);
    program.Form1->close();
    EXPECT_FALSE(program.Form4->Timer1.isActive());
}
