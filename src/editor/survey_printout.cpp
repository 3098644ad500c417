// The survey printout through the printer text stream.
#include "editor/survey_printout.h"

#include "platform/encoding.h"
#include "platform/printer.h"
#include "platform/printer_text_stream.h"

namespace editor {
namespace {

// The printer font's style: bold or underlined or regular (neither).
void SetStyle(platform::Canvas& canvas, bool bold, bool underline) {
    canvas.Font().bold = bold;
    canvas.Font().underline = underline;
}

// One or two lines of an item: the first non-empty line after the lead, and the second line,
// indented by `second`, only when both lines hold text.
void PrintItem(platform::PrinterTextStream& stream, const QByteArray& lead, const QByteArray& line1,
               const QByteArray& line2, const QByteArray& second) {
    if (line1.isEmpty()) {
        stream.Write(lead + line2);
        stream.EndLine();
    } else {
        stream.Write(lead + line1);
        stream.EndLine();
        if (!line2.isEmpty()) {
            stream.Write(second + line2);
            stream.EndLine();
        }
    }
}

}  // namespace

void PrintSurvey(platform::Printer& printer, int questionTotal,
                 const std::function<QuestionRecord(int)>& readQuestion) {
    printer.SetOrientation(platform::Orientation::Portrait);
    platform::PrinterTextStream stream(printer);
    stream.Open();
    platform::Canvas& canvas = printer.PageCanvas();
    canvas.SetFont({QStringLiteral("Times new romaN"), 12, false, false, Qt::black});
    // The blanks are drawn before the underline starts, so the header's underline begins at
    // its text.
    stream.Write("    ");
    stream.Flush();
    SetStyle(canvas, false, true);
    stream.Write(platform::ToCodePage(QStringLiteral("Treść ankiety, Ilość pytań: ")) +
                 QByteArray::number(questionTotal));
    stream.EndLine();
    for (int i = 1; i <= questionTotal; ++i) {
        const QuestionRecord record = readQuestion(i);
        const int answers = CountAnswers(record);
        stream.EndLine();
        SetStyle(canvas, true, false);
        PrintItem(stream, "   " + QByteArray::number(i) + '.', record[0], record[1], "      ");
        SetStyle(canvas, false, false);
        for (int a = 1; a <= answers; ++a) {
            const QByteArray lead =
                "        " + QByteArray(1, static_cast<char>('a' + a - 1)) + ") ";
            PrintItem(stream, lead, record[2 * a], record[2 * a + 1], "           ");
        }
    }
    stream.Close();
}

}  // namespace editor
