// Writing and reading survey files.
#include "editor/survey_file.h"

#include <utility>

#include "platform/io_error.h"
#include "platform/text_file.h"

namespace editor {

bool IsSurveyMagic(const QByteArray& line) { return line == "TARVO"; }

QuestionRecord NormalisePairs(QuestionRecord record) {
    for (std::size_t first = 0; first < record.size(); first += 2) {
        if (record[first].isEmpty()) std::swap(record[first], record[first + 1]);
    }
    return record;
}

QuestionRecord SavedQuestion(const QuestionRecord& record) {
    QuestionRecord saved = NormalisePairs(record);
    const auto kept = static_cast<std::size_t>(2 * CountAnswers(record) + 2);
    for (std::size_t line = kept; line < saved.size(); ++line) saved[line].clear();
    return saved;
}

void WriteSurvey(platform::TextFileWriter& file, int questionTotal,
                 const std::function<QuestionRecord(int number)>& question) {
    file.WriteLine("TARVO");
    file.WriteNumber(questionTotal);
    for (int number = 1; number <= questionTotal; ++number) {
        const QuestionRecord record = question(number);
        const int answers = CountAnswers(record);
        file.WriteNumber(answers);
        const QuestionRecord saved = SavedQuestion(record);
        for (int line = 0; line < 2 * answers + 2; ++line) file.WriteLine(saved[line]);
    }
}

std::uint8_t ReadQuestionCount(platform::TextFileReader& file) {
    // Taken modulo 256 on purpose: the editor's question counter has 8 bits.
    return static_cast<std::uint8_t>(file.ReadNumber());
}

QuestionRecord ReadSurveyQuestion(platform::TextFileReader& file) {
    // The answer count taken modulo 256 on purpose, as the editor has always read it.
    const int answers = static_cast<std::uint8_t>(file.ReadNumber());
    QuestionRecord record;
    for (int line = 0; line < 2 * answers + 2; ++line) {
        QByteArray text = file.ReadLine();
        if (line < static_cast<int>(record.size())) record[line] = std::move(text);
    }
    return record;
}

std::vector<QuestionRecord> ReadSurveyQuestions(platform::TextFileReader& file) {
    std::vector<QuestionRecord> questions(ReadQuestionCount(file));
    for (QuestionRecord& question : questions) question = ReadSurveyQuestion(file);
    return questions;
}

std::optional<std::vector<QuestionRecord>> ReadSurveyFile(const QString& path) {
    try {
        platform::TextFileReader file(path);
        if (!IsSurveyMagic(file.ReadLine())) return std::nullopt;
        return ReadSurveyQuestions(file);
    } catch (const platform::IoError&) {
        return std::nullopt;
    }
}

}  // namespace editor
