// The bar chart inside the whole program: opened from the results manager's menu, redrawn after
// a merge, closed with the results manager, its timer stopped by the launcher.
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

TEST(ChartsInProgram, AMergeRedrawsEveryChartAndClosingTheManagerClosesThem) {
    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(folder.path());
    app::Program program(dialogs, printer, folder.path());
    program.Form0->EndProgram = [] {};
    program.Form0->ShowForm();
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

    program.Form0->EndProgram = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    QDir::setCurrent(previousDir);
}
