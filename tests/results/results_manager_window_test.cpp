// The results manager window with its survey text window: states, every menu action, the
// question boxes, the chart items and the opening and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include "results/results_manager_window.h"
#include "results/survey_text_window.h"
#include "results_test_files.h"
#include "support/file_drop.h"
#include "support/menu_text.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace results;
using results_testing::ExampleFile;
using results_testing::Lines;
using testing_support::ScriptedDialogs;

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

const QString kNoResults = QStringLiteral("Otwrz1 Plik Okna1 Inne1 Button1");
const QString kResultsLoaded =
    QStringLiteral("Dodaj1 Zapisz1 Wyzeruj1 Plik Okna1 Wykresy1 Inne1 Button1 Button2 Button3 grid");
// While a question is open with results loaded: the items inside the disabled menus and the grid
// keep their states.
const QString kAskingLoaded = QStringLiteral("Dodaj1 Zapisz1 Wyzeruj1 grid");
const QString kBase = QStringLiteral("Menedżer wyników");
const QString kExampleText = QStringLiteral("Pytanie o świątecznych zakupach\nTak / Nie");

class ResultsManagerTest : public ::testing::Test {
protected:
    ResultsManagerTest() : previousDir(QDir::currentPath()) {
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
        testing_support::WriteBytes(folder.File(name), bytes);
        return folder.File(name);
    }
    void Choose(QAction* item, const QString& path) {
        dialogs.fileNames.push_back(path);
        item->trigger();
    }
    void Open(const QByteArray& bytes) { Choose(window.Otwrz1, Write("open.wyn", bytes)); }
    // Answers the next question, noting what was enabled while it was open.
    void Answer(bool yes) {
        dialogs.answers.push_back(yes);
        dialogs.whileQuestionOpen = [this](const QString&) { enabledWhileAsking = Enabled(); };
    }
    void Reset() {
        Answer(true);
        window.Wyzeruj1->trigger();
    }

    // The enabled controls, and "grid" while the grid is shown.
    QString Enabled() const {
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
        QStringList names;
        for (const auto& [name, on] : controls) {
            if (on) names << QString::fromLatin1(name);
        }
        return names.join(u' ');
    }
    QString Row(int row) const {
        QStringList cells;
        for (int c = 0; c < 10; ++c) cells << window.StringGrid1->Cell(c, row);
        return cells.join(u'|');
    }
    QString Charts() const { return charts.join(QStringLiteral(", ")); }

    testing_support::TempFolder folder;
    QString previousDir;
    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    ResultsStore store;
    FakeLauncher launcher;
    QStringList charts;
    FakeChart bar{charts, "bar"}, pie{charts, "pie"}, stripe{charts, "stripe"}, multi{charts, "multi"};
    TForm3 window{dialogs, printer, store, launcher};
    TForm8 text{dialogs, printer, store};
    QString enabledWhileAsking;
};

TEST_F(ResultsManagerTest, OtwrzFillsTheGridCaptionAndSurveyText) {
    EXPECT_EQ(Enabled(), kNoResults);
    EXPECT_EQ(QDir(store.StartDir), QDir(folder.path()));
    Open(ExampleFile("Ankieta", " 12"));
    const ScriptedDialogs::Shown* dialog = dialogs.Last(ScriptedDialogs::Kind::OpenFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik z wynikami..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki Wyników (*.wyn)|*.wyn"));
    EXPECT_EQ(dialog->options.initialFolder, store.StartDir);

    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych:  12"));
    EXPECT_EQ(Enabled(), kResultsLoaded);
    EXPECT_EQ(window.StringGrid1->RowCount(), 3);
    EXPECT_EQ(Row(0), QStringLiteral("|    A|    B|    C|    D|    E|    F|    G|    H|    I"));
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|5|4|3||||||"));
    EXPECT_EQ(Row(2), QStringLiteral("Pyt. 2|7|5|||||||"));
    EXPECT_TRUE(window.Treankiety1->isChecked());
    EXPECT_TRUE(text.isVisible());
    EXPECT_EQ(text.Memo1->toPlainText(), kExampleText);
}

TEST_F(ResultsManagerTest, TheGridFitsUpToTenQuestionsAndScrollsBeyond) {
    const auto questions = [](int count) {
        QList<QByteArray> lines{"RESULTS", "A", "1", QByteArray::number(count)};
        for (int q = 0; q < count; ++q) lines << "1" << "1";
        return Lines(lines);
    };
    const std::pair<int, QSize> cases[] = {{10, {414, 257}}, {11, {431, 257}}, {0, {414, 27}}};
    for (const auto& [count, size] : cases) {
        Open(questions(count));
        EXPECT_EQ(window.StringGrid1->size(), size) << count;
        EXPECT_EQ(window.StringGrid1->RowCount(), count + 1);
        Reset();
    }
    // Four answers after nine: the cells E to I are empty again.
    Open(Lines({"RESULTS", "A", "1", "1", "9", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    Reset();
    Open(Lines({"RESULTS", "B", "1", "1", "4", "4", "3", "2", "1"}));
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|4|3|2|1|||||"));
}

TEST_F(ResultsManagerTest, OtwrzRefusalsKeepTheWindowEmpty) {
    Open(Lines({"WYNIKI", "A", "1", "0"}));
    Open(Lines({"RESULTS", "A", "1", "300"}));
    Choose(window.Otwrz1, QString());
    Choose(window.Otwrz1, folder.File("none.wyn"));
    EXPECT_EQ(dialogs.notices(), (QStringList{QStringLiteral("To nie jest plik wyników..."),
                                              QStringLiteral("Plik zawiera liczby spoza dopuszczalnego zakresu...")}));
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_EQ(window.Caption(), kBase);
    EXPECT_EQ(Enabled(), kNoResults);
    EXPECT_FALSE(text.isVisible());
}

TEST_F(ResultsManagerTest, DodajSumsTheCountsAndAsksEveryChartToRedraw) {
    Open(ExampleFile("Ankieta", " 12"));
    const QString other = Write("other.wyn", ExampleFile());
    Choose(window.Dodaj1, other);
    Choose(window.Dodaj1, other);
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|15|12|9||||||"));
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych: 36"));
    EXPECT_EQ(Charts(), QStringLiteral("bar redraw, pie redraw, stripe redraw, multi redraw, "
                                       "bar redraw, pie redraw, stripe redraw, multi redraw"));
    EXPECT_EQ(Enabled(), kResultsLoaded);
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
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|5|4|3||||||"));
    EXPECT_TRUE(charts.isEmpty());
}

TEST_F(ResultsManagerTest, DodajOfSeveralFilesMergesInOrderAndNamesTheRefusedOnes) {
    Open(ExampleFile());
    dialogs.fileLists.push_back({Write("a.wyn", ExampleFile()), Write("b.wyn", ExampleFile("Inna")),
                                 folder.File("brak.wyn"), Write("c.wyn", ExampleFile())});
    window.Dodaj1->trigger();
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|15|12|9||||||"));
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych: 36"));
    // One redraw for the whole addition; the missing file is passed over as "Dodaj" does.
    EXPECT_EQ(Charts(), QStringLiteral("bar redraw, pie redraw, stripe redraw, multi redraw"));
    EXPECT_EQ(dialogs.notices(),
              QStringList{QStringLiteral("Nie dodano plików:\n") +
                          QDir::toNativeSeparators(folder.File("b.wyn")) +
                          QStringLiteral(": Plik pochodzi z innej ankiety...")});
}

TEST_F(ResultsManagerTest, RaportIsTheLastItemOfPlikBehindASeparatorWhileResultsAreLoaded) {
    // Items added to the menu later come after it.
    const QList<QAction*> items = window.Plik->actions();
    ASSERT_GE(items.size(), 6);
    EXPECT_EQ(items.mid(0, 4),
              (QList<QAction*>{window.Otwrz1, window.Dodaj1, window.Zapisz1, window.Wyzeruj1}));
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5], window.Raport1);
    EXPECT_EQ(testing_support::ItemText(window.Raport1), QStringLiteral("Raport…"));
    EXPECT_FALSE(window.Raport1->isEnabled());
    Open(ExampleFile());
    EXPECT_TRUE(window.Raport1->isEnabled());
    Reset();
    EXPECT_FALSE(window.Raport1->isEnabled());
}

TEST_F(ResultsManagerTest, ZapiszWritesTheSumsThatReopenTheSame) {
    Open(ExampleFile("Ankieta", " 12"));
    Choose(window.Dodaj1, Write("other.wyn", ExampleFile()));
    Write("sumy.wyn", "stary plik");
    Choose(window.Zapisz1, folder.File("sumy.txt"));
    const ScriptedDialogs::Shown* dialog = dialogs.Last(ScriptedDialogs::Kind::SaveFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wybierz plik, w którym chcesz zapisać wyniki..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki wyników (*.wyn)|*.wyn"));
    EXPECT_EQ(dialog->options.initialFolder, store.StartDir);
    EXPECT_FALSE(QFile::exists(folder.File("sumy.txt")));
    EXPECT_EQ(testing_support::ReadBytes(folder.File("sumy.wyn")),
              Lines({"RESULTS", "Ankieta", "24", "2", "3", "10", "8", "6", "2", "14", "10",
                     "Pytanie o \x9Cwi\xB9tecznych zakupach", "Tak / Nie"}));

    Reset();
    Choose(window.Otwrz1, folder.File("sumy.wyn"));
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych: 24"));
    EXPECT_EQ(Row(2), QStringLiteral("Pyt. 2|14|10|||||||"));
    EXPECT_EQ(text.Memo1->toPlainText(), kExampleText);
}

TEST_F(ResultsManagerTest, OtwrzOfAFileOfEndlessTextKeepsItsBeginningAndSaysSoOnce) {
    // A long survey name and millions of empty lines: the caption and the text stay bounded.
    const QByteArray name(5000, 'n');
    Open(Lines({"RESULTS", name, "4", "1", "1", "4", "Pytanie"}) + QByteArray(4 << 20, '\r'));
    EXPECT_EQ(dialogs.notices(), QStringList{TextCutNotice()});
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   ") + QString(1000, u'n') +
                                    QStringLiteral(", Ankietowanych: 4"));
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|4||||||||"));
    EXPECT_EQ(text.Memo1->blockCount(), kMaxSurveyTextLines);
    Choose(window.Zapisz1, folder.File("kept.wyn"));
    EXPECT_EQ(testing_support::ReadBytes(folder.File("kept.wyn")),
              Lines({"RESULTS", name, "4", "1", "1", "4", "Pytanie"}) +
                  QByteArray("\r\n").repeated(kMaxSurveyTextLines - 1));
    EXPECT_EQ(dialogs.notices().size(), 1);
}

TEST_F(ResultsManagerTest, AFailedSaveIsReportedAndKeepsTheResults) {
    Open(ExampleFile());
    QDir(folder.path()).mkdir(QStringLiteral("zajety.wyn"));
    Choose(window.Zapisz1, folder.File("zajety"));
    Choose(window.Zapisz1, QString());
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_EQ(Enabled(), kResultsLoaded);
}

TEST_F(ResultsManagerTest, WyzerujAsksWithTheControlsDisabled) {
    Open(ExampleFile());
    const QString caption = window.Caption();
    Answer(false);
    window.Wyzeruj1->trigger();
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy wyzerować wczytane wyniki?")});
    EXPECT_EQ(enabledWhileAsking, kAskingLoaded);
    EXPECT_EQ(Enabled(), kResultsLoaded);
    EXPECT_EQ(window.Caption(), caption);
    EXPECT_TRUE(text.isVisible());

    Reset();
    EXPECT_EQ(window.Caption(), kBase);
    EXPECT_EQ(Charts(), QStringLiteral("bar close, pie close, stripe close, multi close"));
    EXPECT_TRUE(store.SurveyText.isEmpty());
    EXPECT_FALSE(text.isVisible());
    EXPECT_FALSE(window.Treankiety1->isChecked());
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|||||||||"));
    EXPECT_EQ(Enabled(), kNoResults);
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
    EXPECT_EQ(text.Memo1->toPlainText(), kExampleText);
}

TEST_F(ResultsManagerTest, AChartItemStaysDisabledWhileItsWindowIsOpen) {
    Open(ExampleFile());
    for (QAction* item : {window.Supkowy1, window.Paskowy1, window.Koowy1, window.Multi1}) {
        item->trigger();
        EXPECT_FALSE(item->isEnabled());
    }
    EXPECT_EQ(Charts(), QStringLiteral("bar redraw, bar open, stripe redraw, stripe open, "
                                       "pie redraw, pie open, multi redraw, multi open"));
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
    EXPECT_EQ(Charts(), QStringLiteral("multi close, stripe close, pie close, bar close"));
    EXPECT_TRUE(window.Supkowy1->isEnabled());
    EXPECT_TRUE(store.SurveyText.isEmpty());
    EXPECT_FALSE(text.isVisible());
    EXPECT_EQ(launcher.log, (QStringList{QStringLiteral("hide"), QStringLiteral("show")}));

    window.ShowForm();
    EXPECT_EQ(window.Caption(), kBase);
    EXPECT_EQ(Enabled(), kNoResults);
    EXPECT_FALSE(window.Treankiety1->isChecked());
}

TEST_F(ResultsManagerTest, SkasujPlikWynikowDeletesOnlyAResultsFileOnYes) {
    Choose(window.Skasujplikwynikw1, folder.File("none.wyn"));
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File not found.")});
    Open(ExampleFile());
    const QString source = folder.File("open.wyn");
    Choose(window.Skasujplikwynikw1, Write("notes.wyn", "notatki\r\n"));
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("To nie jest plik z wynikami...")});
    EXPECT_TRUE(dialogs.questions().isEmpty());

    Answer(false);
    Choose(window.Skasujplikwynikw1, source);
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy na pewno skasować ten plik?")});
    EXPECT_EQ(enabledWhileAsking, kAskingLoaded);
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_EQ(Enabled(), kResultsLoaded);

    // Deleting the file the results came from leaves them loaded.
    Answer(true);
    Choose(window.Skasujplikwynikw1, source);
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(Enabled(), kResultsLoaded);
}

TEST_F(ResultsManagerTest, SkasujWszystkieDeletesTheResultsFilesOfTheStartFolder) {
    Write("a.wyn", ExampleFile());
    Write("notes.wyn", "notatki\r\n");

    Answer(false);
    window.Skasujwszystkie1->trigger();
    EXPECT_EQ(dialogs.questions(),
              QStringList{QStringLiteral("Czy na pewno skasować wszystkie pliki z wynikami?")});
    EXPECT_EQ(enabledWhileAsking, QStringLiteral("Otwrz1"));
    EXPECT_TRUE(QFile::exists(folder.File("a.wyn")));
    EXPECT_EQ(Enabled(), kNoResults);

    Answer(true);
    window.Skasujwszystkie1->trigger();
    EXPECT_FALSE(QFile::exists(folder.File("a.wyn")));
    EXPECT_TRUE(QFile::exists(folder.File("notes.wyn")));
    EXPECT_EQ(Enabled(), kNoResults);
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
    EXPECT_EQ(Enabled(), kResultsLoaded);
}

TEST(ResultsManagerAlone, WorksWithoutChartAndTextWindows) {
    ScriptedDialogs dialogs;
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

TEST_F(ResultsManagerTest, TableFileAndPrintoutStateTheSummedRespondentsAfterAMerge) {
    Open(ExampleFile("C:\\ANKIETY\\ZAKUPY"));
    Choose(window.Dodaj1, Write("other.wyn", ExampleFile("C:\\ANKIETY\\ZAKUPY")));
    Write("t.TXT", "older");
    dialogs.fileNames.push_back(folder.File("t.txt"));
    window.Button2->click();
    const ScriptedDialogs::Shown* dialog = dialogs.Last(ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wpisz nazwę pliku z wynikami..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki tekstowe (*.txt)|*.txt"));
    EXPECT_TRUE(testing_support::ReadBytes(folder.File("t.TXT"))
                    .startsWith("Wyniki ankiety: ZAKUPY, Ankietowanych: 24\r\n"));
    window.Button3->click();
    ASSERT_FALSE(printer.texts().empty());
    EXPECT_EQ(printer.texts()[0].text,
              QByteArray("Wyniki ankiety: C:\\ANKIETY\\ZAKUPY, Ankietowanych: 24,  Strona 1z1"));
}

TEST_F(ResultsManagerTest, SurveyTextPrintsEachLineAfterFiveBlanks) {
    text.Button1->click();  // nothing loaded: an empty job
    EXPECT_EQ(printer.jobsEnded(), 1);
    Open(ExampleFile());
    text.Button1->click();
    ASSERT_EQ(printer.texts().size(), 2u);
    EXPECT_EQ(printer.texts()[0].text, QByteArray("     Pytanie o \x9Cwi\xB9tecznych zakupach"));
    EXPECT_EQ(printer.texts()[1].text, QByteArray("     Tak / Nie"));
}

}  // namespace

TEST_F(ResultsManagerTest, DroppedResultsFilesOpenTheFirstAddTheOthersAndOtherFilesAreRefused) {
    const QString refused = Write("notes.txt", "RESULTS\r\n");
    const QString notResults = Write("bad.wyn", Lines({"WYNIKI"}));
    const QString first = Write("first.WYN", ExampleFile("Ankieta", " 12"));
    const QString second = Write("second.wyn", ExampleFile());
    // The table is a control of its own: a drop on it reaches the window.
    EXPECT_TRUE(testing_support::DropFiles(window.StringGrid1, {refused, notResults, first, second}));
    EXPECT_EQ(dialogs.notices(),
              (QStringList{QStringLiteral("To nie jest plik wyników..."),
                           QStringLiteral("To nie są pliki wyników (*.wyn), pominięto je:\nnotes.txt")}));
    EXPECT_EQ(Row(1), QStringLiteral("Pyt. 1|10|8|6||||||"));
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych: 24"));
    EXPECT_EQ(Enabled(), kResultsLoaded);
    EXPECT_TRUE(text.isVisible());

    // With results loaded every dropped file is added; one of another survey is refused alone.
    const QString otherSurvey = Write("other.wyn", ExampleFile("Inna"));
    EXPECT_TRUE(testing_support::DropFiles(&window, {otherSurvey, second}));
    EXPECT_EQ(dialogs.notices().last(), QStringLiteral("Plik pochodzi z innej ankiety..."));
    EXPECT_EQ(window.Caption(), kBase + QStringLiteral(" :   Ankieta, Ankietowanych: 36"));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

