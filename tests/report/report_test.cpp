// The report: merging as the results manager does, files equal to what the windows write and
// show, the PDF's pages, the CSV, and a stopped report that leaves nothing behind.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <map>
#include <optional>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "charts/chart_windows.h"
#include "report/report.h"
#include "report/table_csv.h"
#include "results/results_manager_window.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using testing_support::ReadBytes;
using testing_support::ScriptedDialogs;
using testing_support::WriteBytes;

namespace {

QByteArray Lines(const QList<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines) bytes += line + "\r\n";
    return bytes;
}

// Three questions: three answers, none chosen of two, and nine answers.
QByteArray ResultsFile(const QByteArray& name = "Ankieta", const QByteArray& respondents = "12") {
    return Lines({"RESULTS", name, respondents, "3", "3", "5", "4", "3", "2", "0", "0", "9", "1",
                  "2", "3", "4", "5", "6", "7", "8", "9", "Pierwsze pytanie", "Drugie"});
}

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

// The pages of a PDF file, counted by its page objects.
int PdfPages(const QString& path) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(ReadBytes(path)).count(page));
}

// Every entry of a folder, hidden ones too.
QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class ReportTest : public ::testing::Test {
protected:
    QString Write(const char* name, const QByteArray& bytes) {
        WriteBytes(in.File(name), bytes);
        return in.File(name);
    }

    // Each question's bar, pie and stripe picture in `folder` is what its chart window shows.
    void ExpectTheWindowsPictures(const results::ResultsTally& tally, const QString& folder) {
        charts::TForm4 bar(dialogs, printer, tally);
        charts::TForm5 pie(dialogs, printer, tally);
        charts::TForm6 stripe(dialogs, printer, tally);
        const std::pair<charts::QuestionChartWindow*, report::Chart> windows[] = {
            {&bar, report::Chart::Bar},
            {&pie, report::Chart::Pie},
            {&stripe, report::Chart::Stripe}};
        for (const auto& [window, chart] : windows) {
            window->ShowForm();
            for (int q = 1; q <= tally.QuestionCount; ++q) {
                window->ShownQuestion = static_cast<std::uint8_t>(q);
                window->RequestRedraw();
                window->Timer1Timer();
                const QString file = QDir(folder).filePath(report::ChartFileName(
                    report::ReportBaseName(tally), q, chart, QStringLiteral("png")));
                EXPECT_EQ(QImage(file).convertToFormat(QImage::Format_RGB32),
                          window->Image1->Picture())
                    << file.toStdString();
            }
            window->hide();
        }
    }

    testing_support::TempFolder in, out;
    ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    NoLauncher launcher;
};

TEST_F(ReportTest, TheReportsFilesEqualWhatTheWindowsWriteAndShow) {
    const QString a = Write("a.wyn", ResultsFile());
    const QString bad = Write("x.wyn", Lines({"NIE"}));
    const QString b = Write("b.wyn", ResultsFile("Ankieta", " 3"));

    // "Otwórz", "Dodaj" twice, "Zapisz" and "Zapisz Tabelę" in the results manager.
    results::ResultsStore shown;
    results::TForm3 manager(dialogs, printer, shown, launcher);
    manager.ShowForm();
    dialogs.fileNames = {a, bad, b, in.File("okno.wyn"), in.File("okno.txt")};
    manager.Otwrz1->trigger();
    manager.Dodaj1->trigger();
    manager.Dodaj1->trigger();
    manager.Zapisz1->trigger();
    manager.Button2->click();
    manager.hide();

    const report::MergedResults merged = report::MergeResultsFiles({a, bad, b});
    ASSERT_TRUE(merged.loaded);
    ASSERT_EQ(merged.refused.size(), 1u);
    EXPECT_EQ(merged.refused[0].file, bad);
    EXPECT_EQ(merged.refused[0].reason, QStringLiteral("To nie jest plik wyników..."));
    platform::SilentProgress progress;
    report::ReportOptions options;
    options.folder = out.path();
    ASSERT_TRUE(report::WriteReport(merged.store, options, progress));

    EXPECT_EQ(ReadBytes(out.File("Ankieta-wyniki.wyn")), ReadBytes(in.File("okno.wyn")));
    EXPECT_EQ(ReadBytes(out.File("Ankieta-tabela.TXT")), ReadBytes(in.File("okno.TXT")));

    ExpectTheWindowsPictures(shown.Tally, out.path());
}

TEST_F(ReportTest, TheCommandsPicturesWithoutAScreenEqualTheWindows) {
    const QString a = Write("a.wyn", ResultsFile());
    results::ResultsStore shown;
    ASSERT_EQ(results::ReadResultsFile(a, shown).outcome, results::ResultsOutcome::Loaded);
    // The program itself, as a user runs it where there is no screen.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING",
                             "DISPLAY", "WAYLAND_DISPLAY"}) {
        environment.remove(QString::fromLatin1(name));
    }
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(NARZEDZIA_PROGRAM),
                  {QStringLiteral("raport"), QStringLiteral("-o"), out.path(),
                   QStringLiteral("--formats=png"), a});
    ASSERT_TRUE(program.waitForFinished(30000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();
    ExpectTheWindowsPictures(shown.Tally, out.path());
}

struct ContentsCase {
    const char* what;
    report::ReportContents contents;
    int files;      // besides the PDF
    int pdfPages;  // 0: no PDF
};

TEST_F(ReportTest, TheChosenFormatsAndChartsGiveTheirFilesAndPdfPages) {
    results::ResultsStore store;
    ASSERT_EQ(results::ReadResultsFile(Write("a.wyn", ResultsFile()), store).outcome,
              results::ResultsOutcome::Loaded);
    report::ReportContents barOnly;
    barOnly.pie = barOnly.stripe = false;
    report::ReportContents picturesOfPies{false, false, true, true, false, false, false, true, false};
    report::ReportContents pdfOfStripes{true, false, false, false, false, false, false, false, true};
    // The table and the survey text take a page each, then every chosen chart of 3 questions.
    const ContentsCase cases[] = {
        {"everything", {}, 3 + 2 * 9, 2 + 9},
        {"bar charts", barOnly, 3 + 2 * 3, 2 + 3},
        {"pie pictures", picturesOfPies, 2 * 3, 0},
        {"stripe pages", pdfOfStripes, 0, 2 + 3},
    };
    for (const ContentsCase& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::TempFolder folder;
        report::ReportOptions options;
        options.folder = folder.path();
        options.contents = c.contents;
        platform::SilentProgress progress;
        const std::optional<QStringList> written = report::WriteReport(store, options, progress);
        ASSERT_TRUE(written);
        EXPECT_EQ(Entries(folder.path()), [&] { QStringList s = *written; s.sort(); return s; }());
        EXPECT_EQ(written->size(), c.files + (c.pdfPages ? 1 : 0));
        if (c.pdfPages) {
            EXPECT_EQ(PdfPages(folder.File("Ankieta-raport.pdf")), c.pdfPages);
        }
    }
}

TEST_F(ReportTest, AStoppedReportLeavesNoFileAndTheManagerSaysSo) {
    results::ResultsStore store;
    results::TForm3 manager(dialogs, printer, store, launcher);
    manager.SetReportWriter(&report::WriteWholeReport);
    manager.ShowForm();
    dialogs.fileNames = {Write("a.wyn", ResultsFile()), out.path(), out.path(), out.path(),
                         out.path()};
    manager.Otwrz1->trigger();

    for (int steps : {1, 4, 7}) {  // after the .wyn, after the PDF's first pages, at the end
        dialogs.progressSteps = 0;
        dialogs.stopAfterSteps = steps;
        manager.Raport1->trigger();
        EXPECT_EQ(Entries(out.path()), QStringList()) << steps;
        EXPECT_EQ(dialogs.notices().last(),
                  QStringLiteral("Raport przerwano; nie zapisano żadnego pliku."));
    }
    dialogs.stopAfterSteps = -1;
    manager.Raport1->trigger();
    EXPECT_EQ(dialogs.Last(ScriptedDialogs::Kind::Folder)->options.initialFolder, store.StartDir);
    EXPECT_EQ(dialogs.notices().last(),
              QStringLiteral("Raport zapisano w folderze:\n") + QDir::toNativeSeparators(out.path()));
    EXPECT_EQ(Entries(out.path()).size(), 4 + 2 * 9);
    manager.hide();
}

// What a folder holds: every entry's name with its bytes ("folder" for a folder).
std::map<QString, QByteArray> Contents(const QString& folder) {
    std::map<QString, QByteArray> contents;
    for (const QString& name : Entries(folder)) {
        const QString path = QDir(folder).filePath(name);
        contents[name] = QFileInfo(path).isDir() ? QByteArray("folder") : ReadBytes(path);
    }
    return contents;
}

// Files of more than `bytes` cannot be written while it lives (as on a full disk).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);  // a write past it fails instead
        const rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit old_{};
    void (*previousSignal_)(int) = nullptr;
};

TEST_F(ReportTest, AReportThatFailsAtAnyPointLeavesTheFolderAsItWas) {
    results::ResultsStore store;
    ASSERT_EQ(results::ReadResultsFile(Write("a.wyn", ResultsFile()), store).outcome,
              results::ResultsOutcome::Loaded);
    platform::SilentProgress progress;
    report::ReportOptions options;
    options.folder = in.path();
    const std::optional<QStringList> names = report::WriteReport(store, options, progress);
    options.folder = out.path();
    ASSERT_TRUE(names);
    const QString shownFolder = QDir::toNativeSeparators(out.path());
    const auto failure = [&](const QString& name, const char* cause) {
        return QStringLiteral("Nie można zapisać pliku raportu „%1”: %2")
            .arg(QDir::toNativeSeparators(out.File(name)), QString::fromUtf8(cause));
    };
    // The last report's files, which a new one replaces, and a file of the user's.
    WriteBytes(out.File("Ankieta-tabela.TXT"), "stara tabela");
    WriteBytes(out.File("Ankieta-pytanie-003-paskowy.png"), "stary obraz");
    WriteBytes(out.File("notatki.txt"), "moje");
    enum class Point { FolderInTheWay, FolderLocked, DiskFull };
    const struct {
        Point point;
        QString name;     // the file a folder stands in place of
        QString message;  // empty: only its beginning is known
    } cases[] = {
        {Point::FolderInTheWay, names->first(),
         failure(names->first(), "w tym miejscu jest folder o tej nazwie")},
        {Point::FolderInTheWay, QStringLiteral("Ankieta-raport.pdf"),
         failure(QStringLiteral("Ankieta-raport.pdf"), "w tym miejscu jest folder o tej nazwie")},
        {Point::FolderInTheWay, names->last(),
         failure(names->last(), "w tym miejscu jest folder o tej nazwie")},
        {Point::FolderLocked,
         {},
         QStringLiteral("Nie można zapisać raportu w folderze „%1”: odmowa dostępu")
             .arg(shownFolder)},
        {Point::DiskFull, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString() + " " + std::to_string(static_cast<int>(c.point)));
        if (c.point == Point::FolderInTheWay) {
            ASSERT_TRUE(QDir(out.path()).mkdir(c.name));
        }
        const std::map<QString, QByteArray> before = Contents(out.path());
        QString message;
        {
            const QFile::Permissions permissions = QFile::permissions(out.path());
            if (c.point == Point::FolderLocked) {
                QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::ExeOwner);
            }
            const testing_support::PermissionsBinding binding;
            std::optional<FileSizeLimit> limit;
            // Larger than the .wyn, .TXT, .csv and PNG files, smaller than the PDF and SVG ones.
            if (c.point == Point::DiskFull) limit.emplace(4096);
            try {
                report::WriteReport(store, options, progress);
            } catch (const report::ReportFailure& failure) {
                message = QString::fromUtf8(failure.what());
            }
            limit.reset();
            QFile::setPermissions(out.path(), permissions);
        }
        if (c.message.isEmpty()) {
            EXPECT_TRUE(message.startsWith(QStringLiteral("Nie można zapisać pliku raportu „") +
                                           shownFolder))
                << message.toStdString();
        } else {
            EXPECT_EQ(message, c.message);
        }
        EXPECT_EQ(Contents(out.path()), before);
        if (c.point == Point::FolderInTheWay) QDir(out.File(c.name)).removeRecursively();
    }
}

TEST(ReportBaseName, KeepsTheSurveysFileNameButWhatNoFileNameMayHold) {
    const struct {
        QByteArray surveyName;  // Windows-1250
        QString base;
    } cases[] = {
        {"C:\\ANKIETY\\Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 3b.ank",
         QStringLiteral("Zażółć gęślą jaźń 3b")},
        {"/home/ala/Klasa 3b (2026), wersja #2.ank", QStringLiteral("Klasa 3b (2026), wersja #2")},
        {"Ankieta \"nowa\" <3b>|*?.ank", QStringLiteral("Ankieta _nowa_ _3b____")},
        {"a\tb.ank", QStringLiteral("a_b")},
        {"con.3b.ank", QStringLiteral("con_.3b")},
        {"CON.ank", QStringLiteral("CON")},  // "CON-wyniki.wyn" opens on Windows too
        {".ank", QStringLiteral("_ank")},
        {"  ", QStringLiteral("wyniki")},
        {QByteArray(300, '\xBF'), QString(115, u'ż')},  // 230 bytes of UTF-8
    };
    for (const auto& c : cases) {
        results::ResultsTally tally;
        tally.SurveyName = c.surveyName;
        EXPECT_EQ(report::ReportBaseName(tally), c.base) << c.surveyName.constData();
    }
}

TEST_F(ReportTest, TheCsvHasOneRowPerAnswerWithDecimalCommasAndQuotedTexts) {
    results::ResultsStore store;
    ASSERT_EQ(results::ReadResultsFile(Write("a.wyn", Lines({"RESULTS", "Ankieta", "3", "2", "2",
                                                             "1", "2", "1", "0"})),
                                       store)
                  .outcome,
              results::ResultsOutcome::Loaded);
    editor::QuestionRecord first;
    first[0] = "Czy \x9Cwi\xEAta";  // Windows-1250 "Czy święta"
    first[1] = "s\xB9 wa\xBFne?";   // "są ważne?"
    first[2] = "Tak; bardzo";
    first[4] = "Nie \"wcale\"";
    const report::SurveyQuestions texts{first};  // question 2 has no texts in the survey

    const QByteArray header = "\xEF\xBB\xBFPytanie;Odpowied\xC5\xBA;Liczba;% ankietowanych;% odpowiedzi";
    EXPECT_EQ(report::TableCsv(store.Tally, nullptr), header + "\r\n"
                                                            "1;A;1;33,33;33,33\r\n"
                                                            "1;B;2;66,67;66,67\r\n"
                                                            "2;A;0;0,00;0,00\r\n");
    EXPECT_EQ(report::TableCsv(store.Tally, &texts),
              header + ";Tre\xC5\x9B\xC4\x87 pytania;Tre\xC5\x9B\xC4\x87 odpowiedzi\r\n"
                       "1;A;1;33,33;33,33;Czy \xC5\x9Bwi\xC4\x99ta s\xC4\x85 wa\xC5\xBCne?;\"Tak; bardzo\"\r\n"
                       "1;B;2;66,67;66,67;Czy \xC5\x9Bwi\xC4\x99ta s\xC4\x85 wa\xC5\xBCne?;\"Nie \"\"wcale\"\"\"\r\n"
                       "2;A;0;0,00;0,00;;\r\n");
}

TEST_F(ReportTest, TheSurveyFileIsFoundAsTheResultsNameIt) {
    const QByteArray survey = Lines({"TARVO", "1", "2", "Pytanie", "", "Tak", "", "Nie", ""});
    WriteBytes(in.File("KLASA.ank"), survey);
    WriteBytes(in.File("inna.ank"), survey);
    const QByteArray pathOfAnotherComputer = "C:\\ANKIETY\\KLASA";
    const struct {
        QByteArray named;
        QString given;
        bool found;
    } cases[] = {
        {pathOfAnotherComputer, {}, true},               // its file name beside the results
        {in.File("inna.ank").toUtf8(), {}, true},         // as named
        {"C:\\ANKIETY\\BRAK.ANK", {}, false},
        {"BRAK", in.File("inna.ank"), true},              // given
        {pathOfAnotherComputer, in.File("brak.ank"), false},  // a given one is the only one
    };
    for (const auto& c : cases) {
        const auto questions = report::FindSurveyQuestions(c.named, c.given, in.path());
        EXPECT_EQ(questions.has_value(), c.found) << c.named.constData();
        if (questions) {
            EXPECT_EQ((*questions)[0][2], QByteArray("Tak"));
        }
    }
}

}  // namespace
