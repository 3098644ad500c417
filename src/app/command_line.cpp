// The program's command line: the files it opens, the report it hands on, help and version.
#include "app/command_line.h"

#include <cstdio>

#include "editor/survey_file.h"
#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/text_file.h"
#include "results/results_file.h"

namespace app {
namespace {

using Action = CommandLine::Action;

const QString kResultsExtension = QStringLiteral(".wyn");
const QString kSurveyExtension = QStringLiteral(".ank");

CommandLine Refusal(const QString& why) {
    return {Action::Refuse, {},
            QStringLiteral("narzedzia: ") + why +
                QStringLiteral("\nSkładnię wywołania podaje „narzedzia --help”.")};
}

QString Quoted(const QString& text) { return u'„' + text + u'”'; }

enum class FileKind { Results, Survey, Other };

// A file is known by its extension, and one without either extension by its first line, as the
// desktop knows it.
FileKind KindOf(const QString& file) {
    if (platform::HasExtension(file, kResultsExtension)) return FileKind::Results;
    if (platform::HasExtension(file, kSurveyExtension)) return FileKind::Survey;
    try {
        if (results::IsResultsFile(file)) return FileKind::Results;
        platform::TextFileReader reader(file);
        // One byte more than the first line tells a longer line apart.
        const bool survey = editor::IsSurveyMagic(reader.ReadLine(6));
        reader.Close();
        if (survey) return FileKind::Survey;
    } catch (const platform::IoError&) {
        // A file that cannot be read is of no kind the program opens.
    }
    return FileKind::Other;
}

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace

QStringList ArgumentList(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

CommandLine ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) return {};
    if (arguments.front() == QStringLiteral("raport")) {
        return {Action::Report, arguments.mid(1), {}};
    }
    if (arguments.front() == QStringLiteral("arkusze")) {
        return {Action::Sheets, arguments.mid(1), {}};
    }
    QStringList files;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument.startsWith(u'-') && argument.size() > 1) {
            if (argument == QStringLiteral("--")) {
                optionsEnded = true;
            } else if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
                return {Action::PrintHelp, {}, {}};
            } else if (argument == QStringLiteral("--version")) {
                return {Action::PrintVersion, {}, {}};
            } else {
                return Refusal(QStringLiteral("nieznana opcja ") + Quoted(argument));
            }
            continue;
        }
        files << argument;
    }
    int results = 0;
    int surveys = 0;
    for (const QString& file : files) {
        if (!platform::FileExists(file)) return Refusal(QStringLiteral("nie ma pliku ") + Quoted(file));
        const FileKind kind = KindOf(file);
        if (kind == FileKind::Results) {
            ++results;
        } else if (kind == FileKind::Survey) {
            ++surveys;
        } else {
            return Refusal(Quoted(file) +
                           QStringLiteral(" nie jest plikiem wyników (.wyn) ani ankiety (.ank)"));
        }
    }
    if (results > 0 && surveys > 0) {
        return Refusal(QStringLiteral("pliki wyników i plik ankiety otwiera się osobno"));
    }
    if (surveys > 1) return Refusal(QStringLiteral("Edytor Ankiet otwiera jedną ankietę naraz"));
    if (surveys == 1) return {Action::OpenSurvey, files, {}};
    if (results > 0) return {Action::OpenResults, files, {}};
    return {};  // only "--": nothing to open
}

QString HelpText() {
    return QStringLiteral(
        "Narzędzia: edytor ankiet, menedżer wyników, wykresy i statystyki.\n"
        "\n"
        "Użycie:\n"
        "  narzedzia\n"
        "      Uruchamia program z oknem „Które z narzędzi uruchomić?”.\n"
        "  narzedzia PLIK.wyn...\n"
        "      Otwiera Menedżer wyników z plikami wyników: pierwszy wczytuje jak „Otwórz”,\n"
        "      kolejne dodaje jak „Dodaj”.\n"
        "  narzedzia PLIK.ank\n"
        "      Otwiera Edytor Ankiet z ankietą, jak „Otwórz”.\n"
        "  narzedzia raport [-o FOLDER] [--survey PLIK.ank] [--formats pdf,csv,png,svg,wyn,txt] "
        "[--charts bar,pie,stripe] PLIK.wyn|FOLDER...\n"
        "      Tworzy raport z plików wyników bez otwierania okien;\n"
        "      więcej mówi „narzedzia raport --help”.\n"
        "  narzedzia arkusze [-o PLIK.pdf] [--kopie N] [--od N] ANKIETA.ank\n"
        "      Zapisuje do pliku PDF arkusze ankiety do wypełnienia i skanowania;\n"
        "      więcej mówi „narzedzia arkusze --help”.\n"
        "  narzedzia --help\n"
        "      Wypisuje tę pomoc.\n"
        "  narzedzia --version\n"
        "      Wypisuje wersję programu.\n"
        "\n"
        "Plik bez rozszerzenia .wyn ani .ank program rozpoznaje po pierwszym wierszu\n"
        "(„RESULTS” albo „TARVO”).\n"
        "Po „--” każdy argument jest nazwą pliku, także gdy zaczyna się od „-”.\n"
        "Po zamknięciu narzędzia otwartego z plikiem pojawia się okno wyboru narzędzi.\n"
        "Kod wyjścia: 0, gdy się udało; 2, gdy wywołanie jest błędne (nieznana opcja,\n"
        "brak pliku, plik innego rodzaju) i nic nie zostało uruchomione.\n"
        "Instrukcja: man narzedzia\n");
}

QString VersionText() { return QStringLiteral("narzedzia " NARZEDZIA_VERSION "\n"); }

std::optional<int> AnswerWithoutWindows(const CommandLine& command) {
    switch (command.action) {
    case Action::PrintHelp:
        Print(stdout, HelpText());
        return 0;
    case Action::PrintVersion:
        Print(stdout, VersionText());
        return 0;
    case Action::Refuse:
        PrintError(command.message);
        return kUsageErrorStatus;
    default:
        return std::nullopt;
    }
}

void PrintError(const QString& line) { Print(stderr, line + u'\n'); }

}  // namespace app
