// Fuzz target: opening a survey file as the survey editor does, question by question into work
// files, against a plain reading of the format question by question and line by line; then saving
// the work files as a survey file and reading that back. It holds the questions that were opened,
// up to the pair order and the answers after the last filled one that saving leaves out.
#include <QDir>
#include <QFile>
#include <optional>
#include <vector>

#include "editor/question_work_files.h"
#include "editor/survey_file.h"
#include "fuzz_support.h"
#include "platform/text_file.h"
#include "reference_reading.h"

namespace {

// A survey file as its format states it, from the file's plain lines: "TARVO", the question
// count, then for every question its answer count K and 2K + 2 lines, of which the first 20 are
// the question's and the rest are passed over. Both counts are taken modulo 256, as the editor's
// 8-bit counters hold them; nothing when the first line is not "TARVO".
std::optional<std::vector<editor::QuestionRecord>> ReferenceSurvey(const QByteArray& bytes) {
    const QList<QByteArray> lines = fuzz::ReferenceLines(bytes);
    qsizetype at = 0;
    const auto line = [&] { return fuzz::LineAt(lines, at++); };
    const auto modulo256 = [](long long value) {
        return static_cast<int>((value % 256 + 256) % 256);
    };
    if (line() != "TARVO") return std::nullopt;
    std::vector<editor::QuestionRecord> survey(
        static_cast<std::size_t>(modulo256(fuzz::ReferenceNumber(line()))));
    for (editor::QuestionRecord& question : survey) {
        const int answers = modulo256(fuzz::ReferenceNumber(line()));
        for (int index = 0; index < 2 * answers + 2; ++index) {
            const QByteArray text = line();
            if (index < static_cast<int>(question.size())) {
                question[static_cast<std::size_t>(index)] = text;
            }
        }
    }
    return survey;
}

// The editor's "Otwórz" after its dialog: nothing when the first line is not "TARVO"; otherwise
// the questions, read whole, written to work files 1, 2, ... and returned, a survey of none as
// one empty question.
bool OpenSurvey(const QString& path, editor::EditorState& state, std::vector<editor::QuestionRecord>& opened) {
    platform::TextFileReader file(path);
    if (!editor::IsSurveyMagic(file.ReadLine())) {
        file.Close();
        return false;
    }
    opened = editor::ReadSurveyQuestions(file);
    file.Close();
    if (opened.empty()) opened.emplace_back();
    for (std::size_t number = 1; number <= opened.size(); ++number) {
        state.LineBuffer = opened[number - 1];
        state.WriteWorkFile(static_cast<int>(number));
    }
    state.QuestionTotal = static_cast<std::uint8_t>(opened.size());
    return true;
}

// A saved survey read straight from its file.
std::vector<editor::QuestionRecord> ReadSaved(const QString& path) {
    platform::TextFileReader file(path);
    FUZZ_CHECK(editor::IsSurveyMagic(file.ReadLine()));
    const std::vector<editor::QuestionRecord> questions = editor::ReadSurveyQuestions(file);
    FUZZ_CHECK(file.AtEnd());
    file.Close();
    return questions;
}

// The editor's "Zapisz" after its dialog.
void SaveSurvey(const QString& path, editor::EditorState& state) {
    platform::WriteFileReplacing(path, [&](platform::TextFileWriter& file) {
        editor::WriteSurvey(file, state.QuestionTotal, [&](int number) {
            state.ReadWorkFile(number);
            return state.LineBuffer;
        });
    });
}

// What a saved question holds: normalised pairs, the lines after its last counted answer empty.
editor::QuestionRecord AsSaved(const editor::QuestionRecord& record) {
    editor::QuestionRecord saved = editor::NormalisePairs(record);
    for (std::size_t line = 2 * editor::CountAnswers(record) + 2; line < saved.size(); ++line) saved[line].clear();
    return saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The editor's state, with its work folder claimed as the editor does when it is shown.
    static editor::EditorState& state = [] () -> editor::EditorState& {
        const QString folder = fuzz::FilePath("work");
        FUZZ_CHECK(QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        static editor::EditorState editor(folder);
        FUZZ_CHECK(editor.workFiles.Claim().isEmpty());
        return editor;
    }();
    const QString input = fuzz::FilePath("input.ank");
    const QString saved = fuzz::FilePath("saved.ank");
    fuzz::WriteBytes(input, fuzz::Bytes(data, size));

    const std::optional<std::vector<editor::QuestionRecord>> expected =
        ReferenceSurvey(fuzz::Bytes(data, size));
    std::vector<editor::QuestionRecord> opened;
    const bool survey = OpenSurvey(input, state, opened);
    FUZZ_CHECK(survey == expected.has_value());
    if (!survey) return 0;
    // A survey of no questions opens as one empty question.
    FUZZ_CHECK(opened == (expected->empty() ? std::vector<editor::QuestionRecord>(1) : *expected));
    FUZZ_CHECK(opened.size() == state.QuestionTotal);

    SaveSurvey(saved, state);
    const std::vector<editor::QuestionRecord> back = ReadSaved(saved);
    FUZZ_CHECK(back.size() == opened.size());
    for (std::size_t i = 0; i < opened.size(); ++i) FUZZ_CHECK(back[i] == AsSaved(opened[i]));
    return 0;
}
