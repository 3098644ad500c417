// File benchmarks: reading and merging the largest legal results file against one read of its
// bytes, and the survey editor's "Otwórz" of a 250-question survey file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <vector>

#include "against_floor.h"
#include "editor/survey_editor_window.h"
#include "editor/survey_file.h"
#include "platform/dialogs.h"
#include "platform/file_names.h"
#include "platform/printer.h"
#include "platform/text_file.h"
#include "results/results_file.h"

namespace {

// One folder for every file the benchmarks write; removed at the end of the run.
const QTemporaryDir& Folder() {
    static const QTemporaryDir folder;
    return folder;
}

// A Windows-1250 line of `length` bytes, different for every number.
QByteArray TextLine(int number, int length) {
    const QByteArray words = "Czy \xB3\xB9ka za szko\xB3\xB9 jest zielona? Odpowiedz szczerze, prosz\xEA. ";
    QByteArray line = QByteArray::number(number) + ". ";
    while (line.size() < length) line += words;
    return line.left(length);
}

// The largest results file the program accepts: 250 questions of 9 answers, every count of
// five digits, then 1000 lines of survey text (about 76 KB).
QString LargestResultsFile() {
    static const QString path = [] {
        results::ResultsStore store;
        results::ResultsTally& tally = store.Tally;
        tally.SurveyName = "Ankieta o narz\xEA" "dziach";
        tally.RespondentCount = 65535;
        tally.QuestionCount = results::kMaxQuestions;
        for (int q = 1; q <= results::kMaxQuestions; ++q) {
            tally.AnswerCount[q] = results::kMaxAnswers;
            for (int a = 1; a <= results::kMaxAnswers; ++a) {
                tally.AnswerTally[q][a] = static_cast<std::uint16_t>(10000 + (q * 97 + a * 31) % 55536);
            }
        }
        for (int line = 1; line <= 1000; ++line) store.SurveyText.append(TextLine(line, 58));
        const QString name = Folder().filePath(QStringLiteral("najwieksze.wyn"));
        results::WriteResultsFile(name, store);
        return name;
    }();
    return path;
}

// The floor of reading a file: open it, read all its bytes in one call, close it.
void ReadBytesOnce(const QString& path, std::vector<char>& buffer) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const ssize_t read = ::read(descriptor, buffer.data(), buffer.size());
    ::close(descriptor);
    benchmark::DoNotOptimize(read);
}

void BM_ReadResultsFileAgainstOneRead(benchmark::State& state) {
    const QString path = LargestResultsFile();
    std::vector<char> buffer(QFileInfo(path).size() + 1);
    results::ResultsStore store;
    bool loaded = true;
    bench::MeasureAgainstFloor(
        state,
        [&] { loaded = results::ReadResultsFile(path, store).outcome == results::ResultsOutcome::Loaded && loaded; },
        [&] { ReadBytesOnce(path, buffer); });
    if (!loaded || store.SurveyText.size() != 1000) state.SkipWithError("the file was not read whole");
    state.counters["file_kb"] = static_cast<double>(QFileInfo(path).size()) / 1024;
}
BENCHMARK(BM_ReadResultsFileAgainstOneRead)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MergeResultsFileAgainstOneRead(benchmark::State& state) {
    const QString path = LargestResultsFile();
    std::vector<char> buffer(QFileInfo(path).size() + 1);
    // The same questionnaire with no answers counted yet, so that every merge is accepted.
    results::ResultsStore read;
    results::ReadResultsFile(path, read);
    results::ResultsTally empty = read.Tally;
    empty.RespondentCount = 0;
    for (auto& answers : empty.AnswerTally) answers.fill(0);
    results::ResultsTally tally;
    bool merged = true;
    bench::MeasureAgainstFloor(
        state,
        [&] { merged = results::MergeResultsFile(path, tally) == results::ResultsOutcome::Merged && merged; },
        [&] { ReadBytesOnce(path, buffer); }, [&] { tally = empty; });
    if (!merged || tally.AnswerTally != read.Tally.AnswerTally) state.SkipWithError("the merge failed");
}
BENCHMARK(BM_MergeResultsFileAgainstOneRead)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Dialogs that choose one file and answer nothing else.
class ChoosingDialogs : public platform::Dialogs {
public:
    explicit ChoosingDialogs(QString file) : file_(std::move(file)) {}
    void Notice(const QString&) override {}
    bool Question(const QString&) override { return false; }
    void Error(const QString&) override {}
    QString OpenFileName(const platform::FileDialogOptions&) override { return file_; }
    QString SaveFileName(const platform::FileDialogOptions&) override { return {}; }
    QStringList OpenFileNames(const platform::FileDialogOptions&) override { return {file_}; }
    QString FolderName(const platform::FileDialogOptions&) override { return {}; }
    QColor ChooseColour(QColor preset) override { return preset; }
    std::unique_ptr<platform::Progress> ShowProgress(const QString&) override {
        return std::make_unique<platform::SilentProgress>();
    }

private:
    QString file_;
};

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

// A survey of 250 questions, each with its two question lines and nine answers of two lines.
QString LargestSurveyFile() {
    static const QString path = [] {
        const QString name = Folder().filePath(QStringLiteral("najwieksza.ank"));
        platform::WriteFileReplacing(name, [](platform::TextFileWriter& file) {
            editor::WriteSurvey(file, 250, [](int number) {
                editor::QuestionRecord record;
                for (int line = 0; line < 20; ++line) record[line] = TextLine(number * 20 + line, 60);
                return record;
            });
        });
        return name;
    }();
    return path;
}

void BM_SurveyEditorOpensLargestSurvey(benchmark::State& state) {
    const QString work = Folder().filePath(QStringLiteral("praca"));
    QDir().mkpath(work);
    ChoosingDialogs dialogs(LargestSurveyFile());
    platform::SystemPrinter printer(dialogs);
    editor::EditorState editorState(work);
    NoLauncher launcher;
    editor::TForm1 form(dialogs, printer, editorState, launcher);
    for (auto _ : state) form.Otworz1Click();
    if (editorState.QuestionTotal != 250 || !platform::FileExists(editorState.workFiles.WorkFileName(250))) {
        state.SkipWithError("the survey was not opened");
    }
    editorState.workFiles.DeleteAll();
}
BENCHMARK(BM_SurveyEditorOpensLargestSurvey)->Unit(benchmark::kMillisecond);

}  // namespace
