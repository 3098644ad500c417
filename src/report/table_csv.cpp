// The CSV table and the questionnaire texts it carries.
#include "report/table_csv.h"

#include <QDir>
#include <QFileInfo>

#include "charts/chart_drawing.h"
#include "editor/survey_file.h"
#include "platform/encoding.h"
#include "platform/file_names.h"

namespace report {
namespace {

constexpr char kLineEnd[] = "\r\n";

// A percentage with two decimals after a comma, as a spreadsheet with Polish settings reads it.
QByteArray DecimalComma(double value) {
    return QByteArray::number(value, 'f', 2).replace('.', ',');
}

// Two lines of the survey file as one text: each trimmed, joined by a blank when both are there.
QByteArray TwoLines(const QByteArray& first, const QByteArray& second) {
    const QString a = platform::FromCodePage(first).trimmed();
    const QString b = platform::FromCodePage(second).trimmed();
    return (a.isEmpty() || b.isEmpty() ? a + b : a + u' ' + b).toUtf8();
}

}  // namespace

std::optional<SurveyQuestions> FindSurveyQuestions(const QByteArray& surveyName,
                                                   const QString& given,
                                                   const QString& resultsFolder) {
    if (!given.isEmpty()) return editor::ReadSurveyFile(given);
    const QString named = platform::FromCodePage(surveyName).trimmed();
    if (named.isEmpty()) return std::nullopt;
    // The results may name the survey by a path of another computer ("C:\ANKIETY\KLASA.ANK"):
    // its file name is then looked for beside the results.
    QStringList candidates{named};
    if (!resultsFolder.isEmpty()) {
        const QString beside = QDir(resultsFolder).filePath(platform::FileNamePart(named));
        candidates << beside;
        if (QFileInfo(beside).suffix().isEmpty()) candidates << beside + QStringLiteral(".ank");
    }
    for (const QString& candidate : candidates) {
        if (!platform::FileExists(candidate)) continue;
        if (auto questions = editor::ReadSurveyFile(candidate)) return questions;
    }
    return std::nullopt;
}

QByteArray CsvField(const QByteArray& text) {
    if (!text.contains(';') && !text.contains('"') && !text.contains('\r') && !text.contains('\n')) {
        return text;
    }
    QByteArray quoted = text;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

QByteArray TableCsv(const results::ResultsTally& tally, const SurveyQuestions* texts) {
    QByteArray csv("\xEF\xBB\xBF");
    csv += QStringLiteral("Pytanie;Odpowiedź;Liczba;% ankietowanych;% odpowiedzi").toUtf8();
    if (texts) csv += QStringLiteral(";Treść pytania;Treść odpowiedzi").toUtf8();
    csv += kLineEnd;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        const int answers = charts::AnswerCountOf(tally, q);
        const charts::Percentages ofRespondents =
            charts::SharesOf(tally, q, charts::PercentBase::Respondents);
        const charts::Percentages ofAnswers =
            charts::SharesOf(tally, q, charts::PercentBase::Answers);
        const editor::QuestionRecord* record =
            texts && q <= static_cast<int>(texts->size()) ? &(*texts)[q - 1] : nullptr;
        for (int a = 1; a <= answers; ++a) {
            csv += QByteArray::number(q) + ';' + char('A' + a - 1) + ';' +
                   QByteArray::number(tally.AnswerTally[q][a]) + ';' +
                   DecimalComma(ofRespondents[a]) + ';' + DecimalComma(ofAnswers[a]);
            if (texts) {
                const QByteArray question = record ? TwoLines((*record)[0], (*record)[1]) : "";
                const QByteArray answer =
                    record ? TwoLines((*record)[2 * a], (*record)[2 * a + 1]) : "";
                csv += ';' + CsvField(question) + ';' + CsvField(answer);
            }
            csv += kLineEnd;
        }
    }
    return csv;
}

}  // namespace report
