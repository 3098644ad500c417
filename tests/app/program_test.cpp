// Start-up and the launcher: the nine windows, the tools shown in turn, the chart timers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "app/program.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace {

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : program(dialogs, printer, folder.path()) {
        program.Form0->EndProgram = [this] { ++programEnds; };
        program.Form0->ShowForm();
    }
    ~ProgramTest() override {
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
    }

    std::vector<platform::Form*> Windows() {
        return {program.Form0.get(), program.Form1.get(), program.Form3.get(),
                program.Form4.get(), program.Form5.get(), program.Form6.get(),
                program.Form7.get(), program.Form8.get(), program.Form9.get()};
    }
    int VisibleCount() {
        int visible = 0;
        for (platform::Form* window : Windows()) visible += window->isVisible() ? 1 : 0;
        return visible;
    }

    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    app::Program program;
    int programEnds = 0;
};

}  // namespace

TEST_F(ProgramTest, OnlyTheLauncherIsVisibleAtStartUpCentredOnTheScreen) {
    EXPECT_EQ(VisibleCount(), 1);
    EXPECT_TRUE(program.Form0->isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre = program.Form0->frameGeometry().center();
    EXPECT_LE(std::abs(centre.x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(centre.y() - screen.center().y()), 1);
}

TEST_F(ProgramTest, WindowsHaveTheirCaptionsAndClientSizes) {
    struct Expected {
        platform::Form* window;
        const char* caption;
        QSize client;
    };
    const Expected expected[] = {
        {program.Form0.get(), "Które z narzędzi uruchomić?", {271, 105}},
        {program.Form1.get(), "Edytor Ankiet", {501, 429}},
        {program.Form3.get(), "Menedżer wyników", {485, 311}},
        {program.Form4.get(), "Wykres słupkowy...", {602, 291}},
        {program.Form5.get(), "Wykres kołowy...", {542, 314}},
        {program.Form6.get(), "Wykres paskowy...", {632, 276}},
        {program.Form7.get(), "Statystyki...", {792, 400}},
        {program.Form8.get(), "Treść ankiety...", {417, 405}},
        {program.Form9.get(), "Multi...", {736, 381}},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(e.window->Caption(), QString::fromUtf8(e.caption));
        EXPECT_EQ(e.window->ClientSize(), e.client) << e.caption;
    }
    EXPECT_EQ(program.Form3->pos(), QPoint(2, 93));
    EXPECT_EQ(program.Form4->pos(), QPoint(185, 1));
    EXPECT_EQ(program.Form8->pos(), QPoint(377, 56));
}

TEST_F(ProgramTest, LauncherButtonsAndTheirPlaces) {
    EXPECT_EQ(program.Form0->Button1->text(), QStringLiteral("Edytor Ankiet"));
    EXPECT_EQ(program.Form0->Button2->text(), QStringLiteral("Menedżer Wyników"));
    EXPECT_EQ(program.Form0->Button3->text(), QStringLiteral("Statystyki"));
    EXPECT_EQ(program.Form0->Button1->geometry(), QRect(16, 8, 241, 25));
    EXPECT_EQ(program.Form0->Button2->geometry(), QRect(16, 40, 241, 25));
    EXPECT_EQ(program.Form0->Button3->geometry(), QRect(16, 72, 241, 25));
    EXPECT_TRUE(program.Form0->Button1->font().bold());
    // Minimise, no maximise, no resizing.
    EXPECT_TRUE(program.Form0->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(program.Form0->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(program.Form0->minimumSize(), program.Form0->maximumSize());
}

TEST_F(ProgramTest, EachToolHidesTheLauncherAndClosingItBringsItBack) {
    const std::pair<QPushButton*, platform::Form*> tools[] = {
        {program.Form0->Button1, program.Form1.get()},
        {program.Form0->Button2, program.Form3.get()},
        {program.Form0->Button3, program.Form7.get()},
    };
    for (const auto& [button, tool] : tools) {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(tool->isVisible()) << tool->Caption().toStdString();
        EXPECT_FALSE(program.Form0->isVisible());
        EXPECT_EQ(VisibleCount(), 1);
        tool->close();
        EXPECT_FALSE(tool->isVisible());
        EXPECT_TRUE(program.Form0->isVisible());
    }
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(ProgramTest, TheLauncherComingBackStopsTheChartTimersButNotTheMultiCharts) {
    // Every chart-like window's timer runs from creation on.
    for (QTimer* timer : {&program.Form4->Timer1, &program.Form5->Timer1, &program.Form6->Timer1,
                          &program.Form7->Timer1, &program.Form9->Timer1}) {
        timer->start();
        EXPECT_EQ(timer->interval(), 100);
    }
    QTest::mouseClick(program.Form0->Button1, Qt::LeftButton);
    program.Form1->close();
    EXPECT_FALSE(program.Form4->Timer1.isActive());
    EXPECT_FALSE(program.Form5->Timer1.isActive());
    EXPECT_FALSE(program.Form6->Timer1.isActive());
    EXPECT_FALSE(program.Form7->Timer1.isActive());
    EXPECT_TRUE(program.Form9->Timer1.isActive());
}

TEST_F(ProgramTest, ClosingTheLauncherEndsTheProgram) {
    program.Form0->close();
    EXPECT_EQ(programEnds, 1);
}

TEST(ProgramStart, TimersRunFromCreationUntilTheLauncherIsFirstShown) {
    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    app::Program program(dialogs, printer, folder.path());
    for (QTimer* timer : {&program.Form4->Timer1, &program.Form5->Timer1, &program.Form6->Timer1,
                          &program.Form7->Timer1, &program.Form9->Timer1}) {
        EXPECT_TRUE(timer->isActive());
    }
    program.Form0->ShowForm();  // its FormShow relies on all nine windows existing
    EXPECT_FALSE(program.Form4->Timer1.isActive());
    EXPECT_TRUE(program.Form9->Timer1.isActive());
    program.Form0->EndProgram = nullptr;
    program.Form0->hide();
}
