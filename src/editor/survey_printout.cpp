// The questionnaire's printed lines and the survey printout through the printer text stream.
#include "editor/survey_printout.h"

#include "platform/encoding.h"
#include "platform/printer.h"
#include "platform/printer_text_stream.h"

namespace editor {
namespace {

// One or two lines of an item: the first non-empty line after the lead, and the second line,
// indented by `second`, only when both lines hold text.
void LayOutItem(const std::function<void(const SurveyLine&)>& line, bool bold,
                const QByteArray& lead, const QByteArray& line1, const QByteArray& line2,
                const QByteArray& second) {
    if (line1.isEmpty()) {
        line({{}, lead + line2, bold});
    } else {
        line({{}, lead + line1, bold});
        if (!line2.isEmpty()) line({{}, second + line2, bold});
    }
}

}  // namespace

void LayOutSurvey(int questionTotal, const std::function<QuestionRecord(int)>& readQuestion,
                  const std::function<void(const SurveyLine&)>& line) {
    // The blanks are regular, so the header's underline begins at its text.
    line({"    ",
          platform::ToCodePage(QStringLiteral("Treść ankiety, Ilość pytań: ")) +
              QByteArray::number(questionTotal),
          false, true});
    for (int i = 1; i <= questionTotal; ++i) {
        const QuestionRecord record = readQuestion(i);
        const int answers = CountAnswers(record);
        line({});
        LayOutItem(line, true, "   " + QByteArray::number(i) + '.', record[0], record[1], "      ");
        for (int a = 1; a <= answers; ++a) {
            const QByteArray lead =
                "        " + QByteArray(1, static_cast<char>('a' + a - 1)) + ") ";
            LayOutItem(line, false, lead, record[2 * a], record[2 * a + 1], "           ");
        }
    }
}

void PrintSurvey(platform::Printer& printer, int questionTotal,
                 const std::function<QuestionRecord(int)>& readQuestion) {
    printer.SetOrientation(platform::Orientation::Portrait);
    platform::PrinterTextStream stream(printer);
    stream.Open();
    platform::Canvas& canvas = printer.PageCanvas();
    canvas.SetFont({QStringLiteral("Times new romaN"), 12, false, false, Qt::black});
    LayOutSurvey(questionTotal, readQuestion, [&](const SurveyLine& line) {
        if (!line.lead.isEmpty()) {
            canvas.Font().bold = false;
            canvas.Font().underline = false;
            stream.Write(line.lead);
            stream.Flush();
        }
        if (!line.text.isEmpty()) {
            canvas.Font().bold = line.bold;
            canvas.Font().underline = line.underline;
            stream.Write(line.text);
        }
        stream.EndLine();
    });
    stream.Close();
}

}  // namespace editor
