// The sheet commands: their options, messages on standard error and exit status.
#include "scan/scan_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

#include "collect/new_results.h"
#include "editor/survey_file.h"
#include "platform/command_options.h"
#include "platform/encoding.h"
#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/memory.h"
#include "platform/pdf_printer.h"
#include "platform/progress.h"
#include "platform/text_file.h"
#include "results/answer_sheet.h"
#include "results/results_file.h"
#include "scan/scan_files.h"
#include "scan/sheet_assembly.h"
#include "scan/sheet_code.h"
#include "scan/sheet_printout.h"

namespace scan {
namespace {

constexpr int kDone = 0;
constexpr int kSomeLeftOut = 1;
constexpr int kFailed = 2;

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int Fail(const QString& command, const QString& text) {
    Print(stderr, QStringLiteral("narzedzia %1: %2").arg(command, text));
    return kFailed;
}

int BadUsage(const QString& command, const QString& text) {
    Fail(command, text);
    Print(stderr, QStringLiteral("Opis wywołania: narzedzia %1 --help").arg(command));
    return kFailed;
}

// A whole number from `low` to `high`; std::invalid_argument naming the option otherwise.
int NumberOption(const platform::CommandOptions& line, const QString& name, int fallback, int low,
                 int high) {
    if (!line.Has(name)) return fallback;
    bool ok = false;
    const int value = line.Value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        throw std::invalid_argument(QStringLiteral("opcja %1 przyjmuje liczbę od %2 do %3")
                                        .arg(name)
                                        .arg(low)
                                        .arg(high)
                                        .toStdString());
    }
    return value;
}

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

// The results the scanned sheets go into: those of a results file, or new ones of a survey
// file, as "Nowe wyniki z ankiety…" makes them; the reason on failure.
struct StartingResults {
    results::ResultsStore store;
    bool fromSurvey = false;
    QString failure;
};

StartingResults ResultsToStartFrom(const QString& file) {
    StartingResults start;
    if (!QFileInfo(file).isFile()) {
        start.failure = QStringLiteral("nie ma pliku %1").arg(Shown(file));
        return start;
    }
    try {
        if (results::IsResultsFile(file)) {
            if (results::ReadResultsFile(file, start.store).outcome != results::ResultsOutcome::Loaded) {
                start.failure = QStringLiteral("%1: pliku wyników nie da się wczytać").arg(Shown(file));
            }
            return start;
        }
        const auto questions = editor::ReadSurveyFile(file);
        if (!questions) {
            start.failure = QStringLiteral("%1 nie jest plikiem wyników (.wyn) ani ankiety (.ank)").arg(Shown(file));
        } else if (questions->empty() || questions->size() > results::kMaxQuestions) {
            start.failure = QStringLiteral("%1: ankieta musi mieć od 1 do %2 pytań")
                                .arg(Shown(file))
                                .arg(results::kMaxQuestions);
        } else {
            // Named by the survey file's full path, as the results manager names them.
            const QString path = QFileInfo(file).absoluteFilePath();
            if (!platform::CodePageCanHold(path)) {
                start.failure = QStringLiteral("%1: tej nazwy pliku nie da się zapisać w pliku wyników")
                                    .arg(Shown(path));
                return start;
            }
            const collect::NewResults made = collect::ResultsOfSurvey(platform::ToCodePage(path), *questions);
            start.store.Tally = made.tally;
            start.store.SurveyText = made.surveyText;
            start.fromSurvey = true;
        }
    } catch (const std::exception& error) {
        start.failure = QStringLiteral("%1: %2").arg(Shown(file), QString::fromUtf8(error.what()));
    }
    return start;
}

// A sheet's crossed answers as one line of the sheets' CSV file: its number, then the letters
// of each question.
QByteArray SheetRow(int number, const results::AnswerSheet& marks, const results::ResultsTally& tally) {
    QByteArray row = QByteArray::number(number);
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        row += ';';
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            if (marks.IsMarked(q, a)) row += static_cast<char>('a' + a - 1);
        }
    }
    return row;
}

QString NumberList(const std::vector<int>& numbers) {
    QStringList list;
    for (const int n : numbers) list << QString::number(n);
    return list.join(QStringLiteral(", "));
}

// The numbers after the word that fits their count: "w pytaniu 3", "w pytaniach 2, 7".
QString Numbered(const QString& one, const QString& several, const std::vector<int>& numbers) {
    return (numbers.size() == 1 ? one : several) + u' ' + NumberList(numbers);
}

}  // namespace

QString ScansCommandHelp() {
    return QStringLiteral(
        "Użycie: narzedzia skany [OPCJE] WYNIKI.wyn|ANKIETA.ank SKAN|FOLDER...\n"
        "\n"
        "Odczytuje arkusze wydrukowane przez „narzedzia arkusze” (albo „Drukuj arkusze do\n"
        "skanowania…” Edytora Ankiet) ze skanów i zdjęć: plików PNG, JPEG, TIFF (także\n"
        "wielostronicowych) i PDF (każda strona odczytana w 300 dpi); folder oznacza jego\n"
        "pliki skanów w kolejności nazw. Strony jednego arkusza łączą się po jego numerze,\n"
        "w dowolnej kolejności i z dowolnych plików. Arkusz, którego każda kratka jest\n"
        "rozstrzygnięta, dochodzi do wyników jak arkusz wprowadzony z klawiatury; wyniki\n"
        "zapisuje się bezpiecznie, jak „Zapisz” Menedżera Wyników.\n"
        "Pierwszy plik to wyniki, do których dochodzą arkusze, albo ankieta: wtedy\n"
        "arkusze dochodzą do nowych, pustych wyników tej ankiety.\n"
        "Na standardowym wyjściu błędów pojawia się wiersz o każdym arkuszu i każdej\n"
        "stronie, które nie weszły do wyników, z przyczyną (niepewna kratka, brak strony,\n"
        "nie znaleziono znaczników, kod nieczytelny, arkusz innej ankiety, arkusz już\n"
        "wczytany); takie arkusze sprawdza się i wprowadza w oknie „Wczytaj skany\n"
        "arkuszy…” albo „Wprowadź odpowiedzi…”.\n"
        "\n"
        "Opcje:\n"
        "  -o, --output WYNIKI.wyn  plik wyników do zapisania (domyślnie podany plik\n"
        "                           wyników; dla ankiety NAZWA-ANKIETY.wyn w bieżącym\n"
        "                           folderze, o ile jeszcze nie istnieje)\n"
        "      --arkusze PLIK.csv   zapisuje też odpowiedzi każdego dodanego arkusza:\n"
        "                           numer arkusza, potem litery zaznaczone w każdym\n"
        "                           pytaniu\n"
        "  -h, --help               ten opis\n"
        "\n"
        "Kod wyjścia: 0 – weszły wszystkie arkusze; 1 – niektóre arkusze lub strony\n"
        "pominięto; 2 – błędne wywołanie albo pliku nie da się odczytać lub zapisać.\n");
}

int RunScansCommand(const QStringList& arguments) {
    const QString command = QStringLiteral("skany");
    platform::CommandOptions line;
    try {
        line = platform::ParseCommandOptions(arguments,
                                             {QStringLiteral("--output|-o"), QStringLiteral("--arkusze")});
    } catch (const std::invalid_argument& error) {
        return BadUsage(command, QString::fromStdString(error.what()));
    }
    if (line.help) {
        std::fputs(ScansCommandHelp().toLocal8Bit().constData(), stdout);
        return kDone;
    }
    if (line.inputs.size() < 2) {
        return BadUsage(command, QStringLiteral("podaj plik wyników albo ankiety i co najmniej jeden skan lub folder"));
    }
    StartingResults start = ResultsToStartFrom(line.inputs.front());
    if (!start.failure.isEmpty()) return Fail(command, start.failure);
    const QStringList scanInputs = line.inputs.mid(1);
    for (const QString& input : scanInputs) {
        if (!QFileInfo::exists(input)) return Fail(command, QStringLiteral("nie ma pliku ani folderu %1").arg(Shown(input)));
    }
    QString output = line.Value(QStringLiteral("--output"));
    if (output.isEmpty()) {
        if (!start.fromSurvey) {
            output = line.inputs.front();
        } else {
            output = QDir::current().filePath(QFileInfo(line.inputs.front()).completeBaseName() +
                                              QStringLiteral(".wyn"));
            // Results of this name may be of another reading: they are never replaced unasked.
            if (QFileInfo::exists(output)) {
                return Fail(command, QStringLiteral("plik %1 już istnieje; podaj go zamiast ankiety albo "
                                                    "wskaż inny plik opcją -o")
                                         .arg(Shown(output)));
            }
        }
    }
    const QStringList files = ScanFilesOf(scanInputs);
    if (files.isEmpty()) {
        Print(stderr, QStringLiteral("narzedzia %1: nie znaleziono plików skanów").arg(command));
        return kSomeLeftOut;
    }

    results::ResultsStore& store = start.store;
    const ScanTarget target = ScanTargetOf(store.Tally, store.SurveyText);
    SheetAssembly assembly(target, {});
    {
        platform::KeepFreedMemoryInOneHeap();
        platform::TerminalProgress progress(command);
        // Qt's image readers would speak of a broken file on their own; its line below says why.
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        ReadScanFiles(files, target, progress, [&](const ScannedPage& page) { assembly.Add(page); });
        qInstallMessageHandler(previous);
    }
    bool leftOut = false;
    for (const RefusedPage& page : assembly.Refused()) {
        Print(stderr, QStringLiteral("%1, strona %2: %3").arg(Shown(page.file)).arg(page.page).arg(page.reason));
        leftOut = true;
    }
    std::vector<QByteArray> rows;
    int added = 0;
    for (const ScannedSheet& sheet : assembly.Sheets()) {
        QStringList reasons;
        if (!sheet.missingPages.empty()) {
            reasons << QStringLiteral("brak %1 z %2")
                           .arg(Numbered(QStringLiteral("strony"), QStringLiteral("stron"), sheet.missingPages))
                           .arg(target.layout.size());
        }
        if (!sheet.doubtfulQuestions.empty()) {
            reasons << QStringLiteral("niepewne zaznaczenia %1")
                           .arg(Numbered(QStringLiteral("w pytaniu"), QStringLiteral("w pytaniach"),
                                         sheet.doubtfulQuestions));
        }
        if (reasons.isEmpty() && results::AddSheet(store.Tally, sheet.marks) != results::ResultsOutcome::Merged) {
            reasons << QStringLiteral("liczba odpowiedzi przekroczyłaby 65535");
        }
        if (!reasons.isEmpty()) {
            Print(stderr, QStringLiteral("arkusz %1: %2").arg(sheet.number).arg(reasons.join(QStringLiteral("; "))));
            leftOut = true;
            continue;
        }
        ++added;
        rows.push_back(SheetRow(sheet.number, sheet.marks, store.Tally));
    }
    try {
        results::WriteResultsFile(output, store);
        const QString csv = line.Value(QStringLiteral("--arkusze"));
        if (!csv.isEmpty()) {
            platform::WriteFileReplacing(csv, [&](platform::TextFileWriter& file) {
                QByteArray header = "arkusz";
                for (int q = 1; q <= store.Tally.QuestionCount; ++q) header += ';' + QByteArray::number(q);
                file.WriteLine(header);
                for (const QByteArray& row : rows) file.WriteLine(row);
            });
        }
    } catch (const std::exception& error) {
        return Fail(command, QStringLiteral("nie można zapisać pliku %1: %2")
                                 .arg(Shown(output), QString::fromUtf8(error.what())));
    }
    Print(stdout, QStringLiteral("Dodano arkuszy: %1; wyniki zapisano w pliku %2.")
                      .arg(added)
                      .arg(Shown(QFileInfo(output).absoluteFilePath())));
    return leftOut ? kSomeLeftOut : kDone;
}

QString SheetsCommandHelp() {
    return QStringLiteral(
        "Użycie: narzedzia arkusze [OPCJE] ANKIETA.ank\n"
        "\n"
        "Zapisuje do pliku PDF arkusze ankiety do wypełnienia odręcznie i odczytania ze skanów\n"
        "(„Wczytaj skany arkuszy…” Menedżera Wyników albo „narzedzia skany”). Każdy arkusz\n"
        "ma swój numer i tyle stron A4, ile potrzeba; pytanie nigdy nie dzieli się między\n"
        "strony.\n"
        "\n"
        "Opcje:\n"
        "  -o, --output PLIK.pdf  plik arkuszy (domyślnie NAZWA-ANKIETY-arkusze.pdf\n"
        "                         w bieżącym folderze)\n"
        "      --kopie N          ile arkuszy (od 1 do 999, domyślnie 1)\n"
        "      --od N             numer pierwszego arkusza (domyślnie 1), gdy arkusze\n"
        "                         tej ankiety już drukowano\n"
        "  -h, --help             ten opis\n"
        "\n"
        "Kod wyjścia: 0 – arkusze zapisane; 2 – błędne wywołanie albo ankiety lub pliku\n"
        "nie da się odczytać lub zapisać.\n");
}

int RunSheetsCommand(const QStringList& arguments) {
    const QString command = QStringLiteral("arkusze");
    platform::CommandOptions line;
    int copies = 1;
    int first = 1;
    try {
        line = platform::ParseCommandOptions(
            arguments, {QStringLiteral("--output|-o"), QStringLiteral("--kopie"), QStringLiteral("--od")});
        copies = NumberOption(line, QStringLiteral("--kopie"), 1, 1, kMaxCopies);
        first = NumberOption(line, QStringLiteral("--od"), 1, 1, kMaxSheetNumber - copies + 1);
    } catch (const std::invalid_argument& error) {
        return BadUsage(command, QString::fromStdString(error.what()));
    }
    if (line.help) {
        std::fputs(SheetsCommandHelp().toLocal8Bit().constData(), stdout);
        return kDone;
    }
    if (line.inputs.size() != 1) return BadUsage(command, QStringLiteral("podaj jeden plik ankiety"));
    const QString surveyFile = line.inputs.front();
    const auto questions = editor::ReadSurveyFile(surveyFile);
    if (!questions) {
        return Fail(command, QStringLiteral("%1: to nie jest plik ankiety albo nie da się go odczytać")
                                 .arg(surveyFile));
    }
    if (questions->empty() || questions->size() > results::kMaxQuestions) {
        return Fail(command, QStringLiteral("%1: ankieta musi mieć od 1 do %2 pytań")
                                 .arg(surveyFile)
                                 .arg(results::kMaxQuestions));
    }
    const QString name = QFileInfo(surveyFile).completeBaseName();
    QString output = line.Value(QStringLiteral("--output"));
    if (output.isEmpty()) output = QDir::current().filePath(name + QStringLiteral("-arkusze.pdf"));

    const SheetSurvey survey = SheetSurveyOf(platform::ToCodePageForDrawing(name), *questions);
    try {
        platform::PdfPrinter printer(output);
        platform::TerminalProgress progress(QStringLiteral("arkusze"));
        PrintScanSheets(printer, survey, first, copies, progress);
        printer.Finish();
    } catch (const std::exception& error) {
        QFile::remove(output);
        return Fail(command, QStringLiteral("nie można zapisać pliku %1: %2")
                                 .arg(output, QString::fromUtf8(error.what())));
    }
    Print(stdout, QStringLiteral("Arkusze %1–%2 zapisano w pliku %3.")
                      .arg(first)
                      .arg(first + copies - 1)
                      .arg(QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath())));
    return kDone;
}

}  // namespace scan
