// The results manager window with its survey text window: states, every menu action, the
// question boxes, the chart items and the opening and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include "platform/encoding.h"
#include "results/results_manager_window.h"
#include "results/survey_text_window.h"
#include "results_test_files.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace results;
using results_testing::ExampleFile;
using results_testing::Lines;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

// A chart window as the manager sees it: every call is written to a shared log.
class FakeChart : public ChartLink {
public:
    FakeChart(QStringList& log, const char* name) : log_(log), name_(QString::fromLatin1(name)) {}
    void OpenChart() override { log_ << name_ + QStringLiteral(" open"); }
    void CloseChart() override {
        log_ << name_ + QStringLiteral(" close");
        if (OnChartClosed) OnChartClosed();
    }
    void RequestRedraw() override { log_ << name_ + QStringLiteral(" redraw"); }

private:
    QStringList& log_;
    QString name_;
};

class FakeLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override { log << QStringLiteral("show"); }
    void HideLauncher() override { log << QStringLiteral("hide"); }
    QStringList log;
};

class ResultsManagerTest : public ::testing::Test {
protected:
    ResultsManagerTest()
        : previousDir(QDir::currentPath()),
          window(dialogs, printer, store, launcher),
          text(dialogs, printer, store) {
        QDir::setCurrent(folder.path());
        window.SetChartLinks({&bar, &pie, &stripe, &multi});
        window.SetSurveyTextWindow(&text);
        window.ShowForm();
    }
    ~ResultsManagerTest() override {
        window.hide();
        text.hide();
        QDir::setCurrent(previousDir);
    }

    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = folder.File(name);
        WriteBytes(path, bytes);
        return path;
    }
    void Choose(QAction* item, const QString& path) {
        dialogs.fileNames.push_back(path);
        item->trigger();
    }
    void Open(const QByteArray& bytes) { Choose(window.Otwrz1, Write("open.wyn", bytes)); }

    // The enabled controls, and "grid" while the grid is shown.
    QStringList Enabled() const {
        QStringList names;
        const std::pair<const char*, bool> controls[] = {
            {"Otwrz1", window.Otwrz1->isEnabled()},
            {"Dodaj1", window.Dodaj1->isEnabled()},
            {"Zapisz1", window.Zapisz1->isEnabled()},
            {"Wyzeruj1", window.Wyzeruj1->isEnabled()},
            {"Plik", window.Plik->menuAction()->isEnabled()},
            {"Okna1", window.Okna1->menuAction()->isEnabled()},
            {"Wykresy1", window.Wykresy1->menuAction()->isEnabled()},
            {"Inne1", window.Inne1->menuAction()->isEnabled()},
            {"Button1", window.Button1->isEnabled()},
            {"Button2", window.Button2->isEnabled()},
            {"Button3", window.Button3->isEnabled()},
            {"grid", !window.StringGrid1->isHidden()},
        };
        for (const auto& [name, on] : controls) {
            if (on) names << QString::fromLatin1(name);
        }
        return names;
    }
    QStringList Row(int row) const {
        QStringList cells;
        for (int c = 0; c < 10; ++c) cells << window.StringGrid1->Cell(c, row);
        return cells;
    }
    // Answers the next question, noting what was enabled while it was open.
    void Answer(bool yes) {
        dialogs.answers.push_back(yes);
        dialogs.whileQuestionOpen = [this](const QString&) { enabledWhileAsking = Enabled(); };
    }

    const QStringList noResults{QStringLiteral("Otwrz1"), QStringLiteral("Plik"), QStringLiteral("Okna1"),
                                QStringLiteral("Inne1"), QStringLiteral("Button1")};
    const QStringList resultsLoaded{QStringLiteral("Dodaj1"), QStringLiteral("Zapisz1"),
                                    QStringLiteral("Wyzeruj1"), QStringLiteral("Plik"),
                                    QStringLiteral("Okna1"), QStringLiteral("Wykresy1"),
                                    QStringLiteral("Inne1"), QStringLiteral("Button1"),
                                    QStringLiteral("Button2"), QStringLiteral("Button3"),
                                    QStringLiteral("grid")};
    // With results loaded: only the items inside the disabled menus and the grid stay as they were.
    const QStringList whileAsking{QStringLiteral("Dodaj1"), QStringLiteral("Zapisz1"),
                                  QStringLiteral("Wyzeruj1"), QStringLiteral("grid")};
    const QString base = QStringLiteral("Menedżer wyników");

    testing_support::TempFolder folder;
    QString previousDir;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    ResultsStore store;
    FakeLauncher launcher;
    QStringList charts;
    FakeChart bar{charts, "bar"}, pie{charts, "pie"}, stripe{charts, "stripe"}, multi{charts, "multi"};
    TForm3 window;
    TForm8 text;
    QStringList enabledWhileAsking;
};

TEST_F(ResultsManagerTest, OpensEmptyInTheFolderOfTheProgram) {
    EXPECT_EQ(window.Caption(), base);
    EXPECT_EQ(Enabled(), noResults);
    EXPECT_FALSE(window.ResultsLoaded());
    EXPECT_EQ(QDir(store.StartDir), QDir(folder.path()));
    EXPECT_EQ(launcher.log, QStringList{QStringLiteral("hide")});
    EXPECT_FALSE(window.Treankiety1->isChecked());
}

TEST_F(ResultsManagerTest, OtwrzFillsTheGridCaptionAndSurveyText) {
    Open(ExampleFile("Ankieta", " 12"));
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::OpenFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik z wynikami..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki Wyników (*.wyn)|*.wyn"));
    EXPECT_EQ(dialog->options.initialFolder, store.StartDir);

    EXPECT_EQ(window.Caption(), base + QStringLiteral(" :   Ankieta, Ankietowanych:  12"));
    EXPECT_EQ(Enabled(), resultsLoaded);
    EXPECT_EQ(window.StringGrid1->RowCount(), 3);
    EXPECT_EQ(Row(0), (QStringList{{}, QStringLiteral("    A"), QStringLiteral("    B"), QStringLiteral("    C"),
                                    QStringLiteral("    D"), QStringLiteral("    E"), QStringLiteral("    F"),
                                    QStringLiteral("    G"), QStringLiteral("    H"), QStringLiteral("    I")}));
    EXPECT_EQ(Row(1), (QStringList{QStringLiteral("Pyt. 1"), QStringLiteral("5"), QStringLiteral("4"),
                                    QStringLiteral("3"), {}, {}, {}, {}, {}, {}}));
    EXPECT_EQ(Row(2), (QStringList{QStringLiteral("Pyt. 2"), QStringLiteral("7"), QStringLiteral("5"),
                                    {}, {}, {}, {}, {}, {}, {}}));
    EXPECT_TRUE(window.Treankiety1->isChecked());
    EXPECT_TRUE(text.isVisible());
    EXPECT_EQ(text.Memo1->toPlainText(), QStringLiteral("Pytanie o świątecznych zakupach\nTak / Nie"));
    EXPECT_TRUE(text.Memo1->isReadOnly());
}

TEST_F(ResultsManagerTest, TheGridFitsUpToTenQuestionsAndScrollsBeyond) {
    const auto questions = [](int count) {
        QList<QByteArray> lines{"RESULTS", "A", "1", QByteArray::number(count)};
        for (int q = 0; q < count; ++q) lines << "1" << "1";
        return Lines(lines);
    };
    const struct {
        int count;
        QSize size;
    } cases[] = {{10, {414, 257}}, {11, {431, 257}}, {0, {414, 27}}};
    for (const auto& c : cases) {
        Open(questions(c.count));
        EXPECT_EQ(window.StringGrid1->size(), c.size) << c.count;
        EXPECT_EQ(window.StringGrid1->RowCount(), c.count + 1);
        Answer(true);
        window.Wyzeruj1->trigger();
    }
}

TEST_F(ResultsManagerTest, FewerAnswersLeaveTheLaterCellsEmpty) {
    Open(Lines({"RESULTS", "A", "1", "1", "9", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    Answer(true);
    window.Wyzeruj1->trigger();
    Open(Lines({"RESULTS", "B", "1", "1", "4", "4", "3", "2", "1"}));
    EXPECT_EQ(Row(1), (QStringList{QStringLiteral("Pyt. 1"), QStringLiteral("4"), QStringLiteral("3"),
                                    QStringLiteral("2"), QStringLiteral("1"), {}, {}, {}, {}, {}}));
}

TEST_F(ResultsManagerTest, OtwrzRefusalsKeepTheWindowEmpty) {
    Open(Lines({"WYNIKI", "A", "1", "0"}));
    Open(Lines({"RESULTS", "A", "1", "300"}));
    EXPECT_EQ(dialogs.notices(), (QStringList{QStringLiteral("To nie jest plik wyników..."),
                                              QStringLiteral("Plik zawiera liczby spoza dopuszczalnego zakresu...")}));
    Choose(window.Otwrz1, QString());
    Choose(window.Otwrz1, folder.File("none.wyn"));
    EXPECT_EQ(dialogs.notices().size(), 2);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(window.Caption(), base);
    EXPECT_EQ(Enabled(), noResults);
    EXPECT_FALSE(text.isVisible());
}

TEST_F(ResultsManagerTest, DodajSumsTheCountsAndAsksEveryChartToRedraw) {
    Open(ExampleFile("Ankieta", " 12"));
    const QString other = Write("other.wyn", ExampleFile());
    Choose(window.Dodaj1, other);
    Choose(window.Dodaj1, other);
    EXPECT_EQ(Row(1).mid(1, 4), (QStringList{QStringLiteral("15"), QStringLiteral("12"),
                                              QStringLiteral("9"), {}}));
    EXPECT_EQ(window.Caption(), base + QStringLiteral(" :   Ankieta, Ankietowanych: 36"));
    EXPECT_EQ(charts.count(QStringLiteral("bar redraw")), 2);
    EXPECT_EQ(charts.count(QStringLiteral("pie redraw")), 2);
    EXPECT_EQ(charts.count(QStringLiteral("stripe redraw")), 2);
    EXPECT_EQ(charts.count(QStringLiteral("multi redraw")), 2);
    EXPECT_EQ(Enabled(), resultsLoaded);
}

TEST_F(ResultsManagerTest, DodajRefusalsChangeNothing) {
    Open(ExampleFile());
    const QString caption = window.Caption();
    Choose(window.Dodaj1, Write("x.wyn", Lines({"NIE", "Ankieta"})));
    Choose(window.Dodaj1, Write("y.wyn", ExampleFile("ANKIETA")));
    Choose(window.Dodaj1, Write("z.wyn", ExampleFile("Ankieta", "65530")));
    EXPECT_EQ(dialogs.notices(), (QStringList{QStringLiteral("To nie jest plik wyników..."),
                                              QStringLiteral("Plik pochodzi z innej ankiety..."),
                                              QStringLiteral("Suma wyników przekroczyłaby 65535, pliku nie dodano...")}));
    EXPECT_EQ(window.Caption(), caption);
    EXPECT_EQ(Row(1)[1], QStringLiteral("5"));
    EXPECT_EQ(store.Tally.RespondentCount, 12);
    EXPECT_TRUE(charts.isEmpty());
}

TEST_F(ResultsManagerTest, ZapiszWritesTheSumsUnderTheResultsExtension) {
    Open(ExampleFile("Ankieta", " 12"));
    Choose(window.Dodaj1, Write("other.wyn", ExampleFile()));
    Write("sumy.wyn", "stary plik");
    dialogs.fileNames.push_back(folder.File("sumy.txt"));
    window.Zapisz1->trigger();
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::SaveFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik, w którym chcesz zapisać wyniki..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki wyników (*.wyn)|*.wyn"));
    EXPECT_EQ(dialog->options.initialFolder, store.StartDir);
    EXPECT_FALSE(QFile::exists(folder.File("sumy.txt")));
    EXPECT_EQ(ReadBytes(folder.File("sumy.wyn")),
              Lines({"RESULTS", "Ankieta", "24", "2", "3", "10", "8", "6", "2", "14", "10",
                     "Pytanie o \x9Cwi\xB9tecznych zakupach", "Tak / Nie"}));

    // Reopened, the saved file gives the same counts and text.
    Answer(true);
    window.Wyzeruj1->trigger();
    Choose(window.Otwrz1, folder.File("sumy.wyn"));
    EXPECT_EQ(window.Caption(), base + QStringLiteral(" :   Ankieta, Ankietowanych: 24"));
    EXPECT_EQ(Row(2)[1], QStringLiteral("14"));
    EXPECT_EQ(text.Memo1->toPlainText(), QStringLiteral("Pytanie o świątecznych zakupach\nTak / Nie"));
}

TEST_F(ResultsManagerTest, AFailedSaveIsReportedAndKeepsTheResults) {
    Open(ExampleFile());
    QDir(folder.path()).mkdir(QStringLiteral("zajety.wyn"));
    dialogs.fileNames.push_back(folder.File("zajety"));
    window.Zapisz1->trigger();
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_EQ(Enabled(), resultsLoaded);
    dialogs.fileNames.push_back(QString());
    window.Zapisz1->trigger();
    EXPECT_EQ(dialogs.errors().size(), 1);
}

TEST_F(ResultsManagerTest, WyzerujAsksWithTheControlsDisabled) {
    Open(ExampleFile());
    const QString caption = window.Caption();
    Answer(false);
    window.Wyzeruj1->trigger();
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy wyzerować wczytane wyniki?")});
    EXPECT_EQ(enabledWhileAsking, whileAsking);
    EXPECT_EQ(Enabled(), resultsLoaded);
    EXPECT_EQ(window.Caption(), caption);
    EXPECT_TRUE(text.isVisible());

    Answer(true);
    window.Wyzeruj1->trigger();
    EXPECT_EQ(window.Caption(), base);
    EXPECT_EQ(charts, (QStringList{QStringLiteral("bar close"), QStringLiteral("pie close"),
                                   QStringLiteral("stripe close"), QStringLiteral("multi close")}));
    EXPECT_TRUE(store.SurveyText.isEmpty());
    EXPECT_FALSE(text.isVisible());
    EXPECT_FALSE(window.Treankiety1->isChecked());
    EXPECT_EQ(Row(1).mid(1), QStringList(9, QString()));
    EXPECT_EQ(Enabled(), noResults);
}

TEST_F(ResultsManagerTest, TheSurveyTextItemShowsAndHidesTheTextWindow) {
    Open(ExampleFile());
    window.Treankiety1->trigger();
    EXPECT_FALSE(window.Treankiety1->isChecked());
    EXPECT_FALSE(text.isVisible());
    window.Treankiety1->trigger();
    EXPECT_TRUE(text.isVisible());
    // Closed by its own title bar, the window unchecks the item; chosen again it has its text.
    text.close();
    EXPECT_FALSE(window.Treankiety1->isChecked());
    window.Treankiety1->trigger();
    EXPECT_TRUE(text.isVisible());
    EXPECT_EQ(text.Memo1->toPlainText(), QStringLiteral("Pytanie o świątecznych zakupach\nTak / Nie"));
}

TEST_F(ResultsManagerTest, AChartItemStaysDisabledWhileItsWindowIsOpen) {
    Open(ExampleFile());
    window.Supkowy1->trigger();
    window.Paskowy1->trigger();
    window.Koowy1->trigger();
    window.Multi1->trigger();
    EXPECT_EQ(charts, (QStringList{QStringLiteral("bar redraw"), QStringLiteral("bar open"),
                                   QStringLiteral("stripe redraw"), QStringLiteral("stripe open"),
                                   QStringLiteral("pie redraw"), QStringLiteral("pie open"),
                                   QStringLiteral("multi redraw"), QStringLiteral("multi open")}));
    for (QAction* item : {window.Supkowy1, window.Paskowy1, window.Koowy1, window.Multi1}) {
        EXPECT_FALSE(item->isEnabled());
    }
    pie.CloseChart();
    EXPECT_TRUE(window.Koowy1->isEnabled());
    EXPECT_FALSE(window.Supkowy1->isEnabled());
}

TEST_F(ResultsManagerTest, ClosingHandsBackToTheLauncherAndReopensEmpty) {
    Open(ExampleFile());
    window.Supkowy1->trigger();
    charts.clear();
    window.Button1->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(charts, (QStringList{QStringLiteral("multi close"), QStringLiteral("stripe close"),
                                   QStringLiteral("pie close"), QStringLiteral("bar close")}));
    EXPECT_TRUE(window.Supkowy1->isEnabled());
    EXPECT_TRUE(store.SurveyText.isEmpty());
    EXPECT_FALSE(text.isVisible());
    EXPECT_EQ(launcher.log, (QStringList{QStringLiteral("hide"), QStringLiteral("show")}));

    window.ShowForm();
    EXPECT_EQ(window.Caption(), base);
    EXPECT_EQ(Enabled(), noResults);
    EXPECT_FALSE(window.Treankiety1->isChecked());
}

TEST_F(ResultsManagerTest, SkasujPlikWynikowDeletesOnlyAResultsFileOnYes) {
    Open(ExampleFile());
    const QString source = folder.File("open.wyn");
    Choose(window.Skasujplikwynikw1, Write("notes.wyn", "notatki\r\n"));
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("To nie jest plik z wynikami...")});
    EXPECT_TRUE(dialogs.questions().isEmpty());

    Answer(false);
    Choose(window.Skasujplikwynikw1, source);
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy na pewno skasować ten plik?")});
    EXPECT_EQ(enabledWhileAsking, whileAsking);
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_EQ(Enabled(), resultsLoaded);

    // Deleting the file the results came from leaves them loaded.
    Answer(true);
    Choose(window.Skasujplikwynikw1, source);
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(Enabled(), resultsLoaded);
    EXPECT_EQ(store.Tally.RespondentCount, 12);
}

TEST_F(ResultsManagerTest, SkasujPlikWynikowOfAMissingFileIsAnErrorBeforeAsking) {
    Choose(window.Skasujplikwynikw1, folder.File("none.wyn"));
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
    EXPECT_TRUE(dialogs.questions().isEmpty());
    EXPECT_EQ(Enabled(), noResults);
}

TEST_F(ResultsManagerTest, SkasujWszystkieDeletesTheResultsFilesOfTheStartFolder) {
    Write("a.wyn", ExampleFile());
    Write("B.WYN", ExampleFile());
    Write("notes.wyn", "notatki\r\n");
    QDir(folder.path()).mkdir(QStringLiteral("sub"));
    Write("sub/c.wyn", ExampleFile());

    Answer(false);
    window.Skasujwszystkie1->trigger();
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy na pewno skasować wszystkie pliki z wynikami?")});
    EXPECT_EQ(enabledWhileAsking, (QStringList{QStringLiteral("Otwrz1")}));
    EXPECT_TRUE(QFile::exists(folder.File("a.wyn")));
    EXPECT_EQ(Enabled(), noResults);

    Answer(true);
    window.Skasujwszystkie1->trigger();
    EXPECT_FALSE(QFile::exists(folder.File("a.wyn")));
    EXPECT_FALSE(QFile::exists(folder.File("B.WYN")));
    EXPECT_TRUE(QFile::exists(folder.File("notes.wyn")));
    EXPECT_TRUE(QFile::exists(folder.File("sub/c.wyn")));
    EXPECT_EQ(Enabled(), noResults);
}

TEST_F(ResultsManagerTest, AFolderMatchingThePatternEndsSkasujWszystkieWithTheControlsBack) {
    Open(ExampleFile());
    QDir(folder.path()).mkdir(QStringLiteral("p.wyn"));
    Write("z.wyn", ExampleFile());
    Answer(true);
    window.Skasujwszystkie1->trigger();
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_FALSE(QFile::exists(folder.File("open.wyn")));  // before the folder in name order
    EXPECT_TRUE(QFile::exists(folder.File("z.wyn")));
    EXPECT_EQ(Enabled(), resultsLoaded);
}

TEST(ResultsManagerAlone, WorksWithoutChartAndTextWindows) {
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    ResultsStore store;
    FakeLauncher launcher;
    TForm3 window(dialogs, printer, store, launcher);
    window.ShowForm();
    window.Supkowy1->trigger();
    window.Treankiety1->trigger();
    window.Button1->click();
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(launcher.log, (QStringList{QStringLiteral("hide"), QStringLiteral("show")}));
}

}  // namespace
