// The sheet commands: their options, messages on standard error and exit status.
#include "scan/scan_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <stdexcept>

#include "editor/survey_file.h"
#include "platform/command_options.h"
#include "platform/encoding.h"
#include "platform/pdf_printer.h"
#include "platform/progress.h"
#include "scan/sheet_code.h"
#include "scan/sheet_printout.h"

namespace scan {
namespace {

constexpr int kDone = 0;
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

}  // namespace

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
