// The report command: its options, the results files and folders it is given, its messages
// on standard error and its exit status.
#include "report/report_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "editor/survey_file.h"
#include "platform/command_options.h"
#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/memory.h"
#include "platform/progress.h"
#include "report/report.h"

namespace report {
namespace {

constexpr int kWritten = 0;
constexpr int kSomeRefused = 1;
constexpr int kFailed = 2;

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int Fail(const QString& text) {
    Print(stderr, QStringLiteral("narzedzia raport: ") + text);
    return kFailed;
}

int BadUsage(const QString& text) {
    Fail(text);
    Print(stderr, QStringLiteral("Opis wywołania: narzedzia raport --help"));
    return kFailed;
}

struct CommandLine {
    ReportOptions options;
    QStringList inputs;
    bool help = false;
};

// Sets the switches named in a comma-separated list; a name not among them is refused with the
// Polish reason (std::invalid_argument), naming `what` was asked for and the choices.
void ChooseFromList(const QString& list, const std::vector<std::pair<QString, bool*>>& switches,
                    const QString& what) {
    QStringList names;
    for (const auto& [name, on] : switches) {
        *on = false;
        names << name;
    }
    for (const QString& word : list.split(u',', Qt::SkipEmptyParts)) {
        bool known = false;
        for (const auto& [name, on] : switches) {
            if (word.trimmed() == name) *on = known = true;
        }
        if (!known) {
            throw std::invalid_argument(QStringLiteral("nieznany %1 w „%2” (do wyboru: %3)")
                                            .arg(what, list, names.join(u','))
                                            .toStdString());
        }
    }
}

// Reads the options and inputs; throws std::invalid_argument with the Polish reason.
CommandLine Parse(const QStringList& arguments) {
    const platform::CommandOptions given = platform::ParseCommandOptions(
        arguments, {QStringLiteral("--output|-o"), QStringLiteral("--survey"),
                    QStringLiteral("--formats"), QStringLiteral("--charts")});
    CommandLine line;
    line.inputs = given.inputs;
    line.help = given.help;
    line.options.folder = given.Value(QStringLiteral("--output"));
    line.options.surveyFile = given.Value(QStringLiteral("--survey"));
    ReportContents& contents = line.options.contents;
    if (given.Has(QStringLiteral("--formats"))) {
        ChooseFromList(given.Value(QStringLiteral("--formats")),
                       {{QStringLiteral("pdf"), &contents.pdf}, {QStringLiteral("csv"), &contents.csv},
                        {QStringLiteral("png"), &contents.png}, {QStringLiteral("svg"), &contents.svg},
                        {QStringLiteral("wyn"), &contents.wyn}, {QStringLiteral("txt"), &contents.txt}},
                       QStringLiteral("format"));
    }
    if (given.Has(QStringLiteral("--charts"))) {
        ChooseFromList(given.Value(QStringLiteral("--charts")),
                       {{QStringLiteral("bar"), &contents.bar}, {QStringLiteral("pie"), &contents.pie},
                        {QStringLiteral("stripe"), &contents.stripe}},
                       QStringLiteral("wykres"));
    }
    return line;
}

// The results files an input stands for: a folder its .wyn files in name order, a file itself.
QStringList ResultsFilesOf(const QString& input) {
    if (!QFileInfo(input).isDir()) return {input};
    QStringList files;
    for (const QByteArray& name : platform::ListFolder(input, QStringLiteral("*.wyn"))) {
        const QString path = QDir(input).filePath(QFile::decodeName(name));
        if (QFileInfo(path).isFile()) files << path;
    }
    return files;
}

}  // namespace

QString ReportCommandHelp() {
    return QStringLiteral(
        "Użycie: narzedzia raport [OPCJE] PLIK.wyn|FOLDER...\n"
        "\n"
        "Łączy pliki wyników jednej ankiety tak, jak robią to „Otwórz” i „Dodaj” Menedżera\n"
        "Wyników, w podanej kolejności (folder oznacza jego pliki .wyn w kolejności nazw),\n"
        "i zapisuje raport: sumę wyników (.wyn), tabelę (.TXT i .csv), wykres słupkowy,\n"
        "kołowy i paskowy każdego pytania (.png i .svg) oraz jeden plik PDF z wydrukiem\n"
        "tabeli, treści ankiety i wszystkich wykresów. Plik, którego nie da się dodać,\n"
        "zostaje pominięty z podaniem przyczyny; raport powstaje z pozostałych.\n"
        "\n"
        "Opcje:\n"
        "  -o, --output FOLDER    folder raportu (domyślnie bieżący; tworzony, gdy go nie ma)\n"
        "      --survey PLIK.ank  ankieta, której pytania i odpowiedzi trafiają do pliku .csv\n"
        "                         (domyślnie ankieta wskazana w wynikach, gdy da się ją odczytać)\n"
        "      --formats LISTA    które pliki zapisać: pdf,csv,png,svg,wyn,txt (domyślnie wszystkie)\n"
        "      --charts LISTA     które wykresy: bar,pie,stripe (domyślnie wszystkie)\n"
        "  -h, --help             ten opis\n"
        "\n"
        "Kod wyjścia: 0 – raport zapisany; 1 – raport zapisany, ale niektóre pliki pominięto;\n"
        "2 – błędne wywołanie, żaden plik nie dał się odczytać albo raportu nie dało się zapisać.\n");
}

int RunReportCommand(const QStringList& arguments) {
    CommandLine line;
    try {
        line = Parse(arguments);
    } catch (const std::invalid_argument& error) {
        return BadUsage(QString::fromStdString(error.what()));
    }
    if (line.help) {
        std::fputs(ReportCommandHelp().toLocal8Bit().constData(), stdout);
        return kWritten;
    }
    if (line.inputs.isEmpty()) return BadUsage(QStringLiteral("nie podano plików wyników"));
    ReportOptions& options = line.options;
    if (!options.surveyFile.isEmpty() && !editor::ReadSurveyFile(options.surveyFile)) {
        return Fail(QStringLiteral("%1: to nie jest plik ankiety albo nie da się go odczytać")
                        .arg(options.surveyFile));
    }

    QStringList files;
    for (const QString& input : line.inputs) files << ResultsFilesOf(input);
    MergedResults merged = MergeResultsFiles(files);
    for (const Refusal& refusal : merged.refused) {
        Print(stderr, QStringLiteral("narzedzia raport: %1: %2").arg(refusal.file, refusal.reason));
    }
    if (!merged.loaded) return Fail(QStringLiteral("żaden plik wyników nie dał się odczytać"));

    if (options.folder.isEmpty()) options.folder = QDir::currentPath();
    std::error_code created;
    std::filesystem::create_directories(QFile::encodeName(options.folder).toStdString(), created);
    if (created) {
        return Fail(QStringLiteral("Nie można utworzyć folderu raportu „%1”: %2")
                        .arg(QDir::toNativeSeparators(options.folder),
                             QString::fromStdString(
                                 platform::IoError::FromErrno(created.value()).PolishMessage())));
    }
    options.resultsFolder = QFileInfo(files.first()).absolutePath();
    // The sums must not take the place of one of the files they were added from.
    const QString sums = QFileInfo(QDir(options.folder).filePath(
                                       ResultsFileName(ReportBaseName(merged.store.Tally))))
                             .absoluteFilePath();
    for (const QString& file : files) {
        if (options.contents.wyn && QFileInfo(file).absoluteFilePath() == sums) {
            return Fail(QStringLiteral("raport zastąpiłby plik wyników %1; wybierz inny folder (-o)")
                            .arg(file));
        }
    }

    std::optional<QStringList> written;
    try {
        platform::KeepFreedMemory();
        // Its line is ended before the summary is printed.
        platform::TerminalProgress progress(QStringLiteral("raport"));
        written = WriteReport(merged.store, options, progress);
    } catch (const ReportFailure& failure) {
        return Fail(QString::fromUtf8(failure.what()));
    } catch (const std::exception& error) {
        return Fail(QStringLiteral("nie można zapisać raportu: %1")
                        .arg(QString::fromUtf8(error.what())));
    }
    Print(stdout, QStringLiteral("Raport zapisano w folderze %1 (plików: %2).")
                      .arg(QDir::toNativeSeparators(QDir(options.folder).absolutePath()))
                      .arg(written ? written->size() : 0));
    return merged.refused.empty() ? kWritten : kSomeRefused;
}

}  // namespace report
