// The bar chart inside the whole program: opened from the results manager's menu, redrawn after
// a merge, closed with the results manager, its timer stopped by the launcher.
#include <gtest/gtest.h>

#include <QTest>

#include "app/program.h"
#include "platform/controls.h"
#include "results/results_test_files.h"
#include "support/program_on_folder.h"

TEST(ChartsInProgram, AMergeRedrawsEveryChartAndClosingTheManagerClosesThem) {
    testing_support::ProgramOnFolder run;
    testing_support::TempFolder& folder = run.folder;
    testing_support::ScriptedDialogs& dialogs = run.dialogs;
    app::Program& program = run.program;
    QTest::mouseClick(program.Form0->Button2, Qt::LeftButton);  // "Menedżer Wyników"
    const QString file = folder.File("wyniki.wyn");
    testing_support::WriteBytes(file, results_testing::ExampleFile());  // 12 respondents
    dialogs.fileNames = {file, file};
    program.Form3->Otwrz1->trigger();

    const std::vector<charts::ChartWindow*> charts{program.Form4.get(), program.Form5.get(),
                                                   program.Form6.get(), program.Form9.get()};
    const std::vector<QAction*> items{program.Form3->Supkowy1, program.Form3->Koowy1,
                                      program.Form3->Paskowy1, program.Form3->Multi1};
    for (QAction* item : items) item->trigger();
    for (QAction* item : items) EXPECT_FALSE(item->isEnabled());
    charts::TForm4& bar = *program.Form4;
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.isVisible() && !bar.RedrawRequest; }, 5000));
    EXPECT_DOUBLE_EQ(bar.Shares.Percent[1], 5 * 100.0 / 12);

    for (charts::ChartWindow* chart : charts) chart->RedrawRequest = false;
    program.Form3->Dodaj1->trigger();  // the same file again: 10 of 24
    for (charts::ChartWindow* chart : charts) EXPECT_TRUE(chart->RedrawRequest);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bar.RedrawRequest; }, 5000));
    EXPECT_DOUBLE_EQ(bar.Shares.Percent[1], 10 * 100.0 / 24);

    program.Form3->close();
    for (charts::ChartWindow* chart : charts) EXPECT_FALSE(chart->isVisible());
    for (QAction* item : items) EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(program.Form0->isVisible());
    EXPECT_FALSE(bar.Timer1.isActive());
    // The launcher coming back stops the bar chart's timer whatever started it.
    bar.Timer1.start();
    QTest::mouseClick(program.Form0->Button1, Qt::LeftButton);
    program.Form1->close();
    EXPECT_FALSE(bar.Timer1.isActive());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}
