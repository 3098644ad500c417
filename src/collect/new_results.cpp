// New results from a survey file.
#include "collect/new_results.h"

#include "editor/survey_file.h"
#include "editor/survey_printout.h"
#include "platform/encoding.h"
#include "platform/file_names.h"
#include "platform/text_file.h"
#include "results/results_manager_window.h"

namespace collect {

NewResults ResultsOfSurvey(const QByteArray& surveyName,
                           const std::vector<editor::QuestionRecord>& questions) {
    NewResults made;
    made.tally.SurveyName = surveyName;
    made.tally.QuestionCount = static_cast<std::uint8_t>(questions.size());
    for (std::size_t q = 1; q <= questions.size(); ++q) {
        made.tally.AnswerCount[q] = static_cast<std::uint8_t>(editor::CountAnswers(questions[q - 1]));
    }
    editor::LayOutSurvey(
        static_cast<int>(questions.size()), [&](int number) { return questions[number - 1]; },
        [&](const editor::SurveyLine& line) { made.surveyText.append(line.Whole()); });
    return made;
}

std::vector<editor::QuestionRecord> MatchingSurveyQuestions(const results::ResultsTally& tally) {
    const auto questions = editor::ReadSurveyFile(platform::FromCodePage(tally.SurveyName));
    if (!questions || questions->size() != tally.QuestionCount) return {};
    for (std::size_t q = 1; q <= questions->size(); ++q) {
        if (editor::CountAnswers((*questions)[q - 1]) != tally.AnswerCount[q]) return {};
    }
    return *questions;
}

void NewResultsFromChosenSurvey(results::TForm3& manager) {
    const QString name = manager.dialogs().OpenFileName(
        {QStringLiteral("Wybierz plik ankiety..."), QStringLiteral("Ankiety (*.ank)|*.ank"),
         manager.Results().StartDir});
    if (name.isEmpty() || !platform::FileExists(name)) return;
    // The name is kept as the results file keeps it; one the code page cannot hold is refused.
    const QByteArray surveyName = platform::ToCodePage(name);
    platform::TextFileReader file(name);
    if (!editor::IsSurveyMagic(file.ReadLine())) {
        return manager.dialogs().Notice(QStringLiteral("To nie jest plik ankiety..."));
    }
    const std::vector<editor::QuestionRecord> questions = editor::ReadSurveyQuestions(file);
    file.Close();
    if (questions.size() > results::kMaxQuestions) {
        return manager.dialogs().Notice(
            QStringLiteral("Ankieta ma więcej niż %1 pytań; wyniki mogą mieć ich najwyżej %1...")
                .arg(results::kMaxQuestions));
    }
    const NewResults made = ResultsOfSurvey(surveyName, questions);
    manager.TakeResults(made.tally, made.surveyText);
}

}  // namespace collect
