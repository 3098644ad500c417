// The results table: its text file and its printout.
#include "results/results_table.h"

#include <algorithm>
#include <cstdint>

#include "platform/canvas.h"
#include "platform/file_names.h"
#include "platform/printer.h"
#include "platform/round.h"
#include "platform/text_file.h"

namespace results {
namespace {

// Box-drawing characters of the IBM PC character set, so the frame shows in a DOS text viewer.
constexpr char kTopLeft = '\xD6';      // ╓
constexpr char kTopTee = '\xD2';       // ╥
constexpr char kTopRight = '\xB7';     // ╖
constexpr char kLeftTee = '\xC7';      // ╟
constexpr char kCross = '\xD7';        // ╫
constexpr char kRightTee = '\xB6';     // ╢
constexpr char kBottomLeft = '\xD3';   // ╙
constexpr char kBottomTee = '\xD0';    // ╨
constexpr char kBottomRight = '\xBD';  // ╜
constexpr char kVertical = '\xBA';     // ║
constexpr char kHorizontal = '\xC4';   // ─

const QByteArray kIndent(8, ' ');

// Questions a table lists: those of the tally, never more than it can hold.
int ListedQuestions(const ResultsTally& tally) {
    return std::min<int>(tally.QuestionCount, kMaxQuestions);
}

int ListedAnswers(const ResultsTally& tally, int question) {
    return std::min<int>(tally.AnswerCount[question], kMaxAnswers);
}

QByteArray Dashes(int count) { return QByteArray(count, kHorizontal); }

// A ruling line: the left end, the title column's 7 dashes, nine answer columns of 5 dashes
// each opened by `tee`, and the right end.
QByteArray Rule(char left, char tee, char right) {
    QByteArray line = left + Dashes(7);
    for (int a = 1; a <= kMaxAnswers; ++a) line += tee + Dashes(5);
    return line + right;
}

QByteArray RightAligned(const QByteArray& text, int width) {
    return QByteArray(std::max<qsizetype>(0, width - text.size()), ' ') + text;
}

QByteArray QuestionRow(const ResultsTally& tally, int q) {
    QByteArray line =
        kVertical + QByteArray("Pyt.") + RightAligned(QByteArray::number(q), 3) + kVertical;
    for (int a = 1; a <= kMaxAnswers; ++a) {
        const QByteArray count = a <= ListedAnswers(tally, q)
                                     ? QByteArray::number(tally.AnswerTally[q][a])
                                     : QByteArray();
        line += RightAligned(count, 5) + kVertical;
    }
    return line;
}

constexpr int kRowHeight = 43;
constexpr int kTableTop = 85;  // the first row rule; the letters' band lies above it

// The table's measures are pixels of a page of this resolution. On a finer printer every
// position is scaled up, as the font's size in points already is, so the rows keep room for
// their text instead of shrinking to a sliver of the page.
constexpr double kLayoutDotsPerInch = 96.0;

// The printer's canvas seen in layout pixels.
class TableCanvas {
public:
    TableCanvas(platform::Canvas& canvas, double scale) : canvas_(canvas), scale_(scale) {}

    void SetStyle(bool bold, bool underline) {
        canvas_.Font().bold = bold;
        canvas_.Font().underline = underline;
    }
    void Line(int x1, int y1, int x2, int y2) {
        canvas_.MoveTo(Page(x1), Page(y1));
        canvas_.LineTo(Page(x2), Page(y2));
    }
    void Text(int x, int y, const QByteArray& text) { canvas_.TextOut(Page(x), Page(y), text); }
    // x of a text centred in column `column` of the ten equal columns across W.
    int CentredIn(int W, int column, const QByteArray& text) const {
        return platform::Round(W * column * 0.1 + W * 0.05 -
                               canvas_.TextWidth(text) / scale_ * 0.5);
    }

private:
    int Page(int v) const { return platform::Round(v * scale_); }

    platform::Canvas& canvas_;
    double scale_;
};

void PrintPage(TableCanvas& canvas, const ResultsTally& tally, const QByteArray& header,
               const TablePage& page, int W) {
    canvas.SetStyle(false, true);
    canvas.Text(10, 0, header);
    canvas.SetStyle(false, false);
    const int r = page.rows;
    const int B = r * kRowHeight + kTableTop;
    canvas.Line(0, kTableTop, 0, B);
    for (int i = 1; i <= 10; ++i) {
        const int x = platform::Round(W * i * 0.1);
        canvas.Line(x, 45, x, B);
    }
    for (int j = 0; j <= r; ++j) {
        const int y = j * kRowHeight + kTableTop;
        canvas.Line(0, y, W, y);
    }
    for (int i = 1; i <= r; ++i) {
        const int Q = page.first + i - 1;
        const int y = i * kRowHeight + 50;
        canvas.SetStyle(true, false);
        canvas.Text(10, y, "Pyt." + QByteArray::number(Q));
        canvas.SetStyle(false, false);
        for (int a = 1; a <= ListedAnswers(tally, Q); ++a) {
            const QByteArray count = QByteArray::number(tally.AnswerTally[Q][a]);
            canvas.Text(canvas.CentredIn(W, a, count), y, count);
        }
    }
    canvas.SetStyle(true, false);
    for (int k = 1; k <= kMaxAnswers; ++k) {
        const QByteArray letter(1, static_cast<char>('A' + k - 1));
        canvas.Text(canvas.CentredIn(W, k, letter), 50, letter);
    }
    canvas.SetStyle(false, false);
}

}  // namespace

QList<QByteArray> TableTextLines(const ResultsTally& tally) {
    QList<QByteArray> lines;
    lines << "Wyniki ankiety: " + platform::FileNamePart(tally.SurveyName) +
                 ", Ankietowanych: " + QByteArray::number(tally.RespondentCount);
    QByteArray top = kIndent + kTopLeft + Dashes(5);
    for (int a = 2; a <= kMaxAnswers; ++a) top += kTopTee + Dashes(5);
    lines << top + kTopRight;
    QByteArray letters = kIndent + kVertical;
    for (int a = 1; a <= kMaxAnswers; ++a) {
        letters += "  " + QByteArray(1, static_cast<char>('A' + a - 1)) + "  " + kVertical;
    }
    lines << letters;
    lines << Rule(kTopLeft, kCross, kRightTee);
    const int questions = ListedQuestions(tally);
    for (int q = 1; q <= questions; ++q) {
        lines << QuestionRow(tally, q);
        lines << (q < questions ? Rule(kLeftTee, kCross, kRightTee)
                                : Rule(kBottomLeft, kBottomTee, kBottomRight));
    }
    return lines;
}

void WriteTableText(const QString& path, const ResultsTally& tally) {
    const QList<QByteArray> lines = TableTextLines(tally);
    platform::WriteFileReplacing(path, [&lines](platform::TextFileWriter& file) {
        for (const QByteArray& line : lines) file.WriteLine(line);
    });
}

int RowsPerPage(int H) { return platform::Round((H - 90) / 43.0); }

std::vector<TablePage> SplitIntoPages(int questionCount, int rowsPerPage) {
    if (rowsPerPage >= questionCount) return {TablePage{1, questionCount}};
    std::vector<TablePage> pages;
    int first = 1;
    while (questionCount - first + 1 > rowsPerPage) {
        pages.push_back({first, rowsPerPage});
        first += rowsPerPage;
    }
    pages.push_back({first, questionCount - first + 1});
    return pages;
}

void PrintResultsTable(platform::Printer& printer, const ResultsTally& tally) {
    printer.SetOrientation(platform::Orientation::Portrait);
    platform::Canvas& page = printer.PageCanvas();
    page.SetFont({QStringLiteral("times new roman"), 14, false, false, Qt::black});
    page.SetPen(Qt::black);
    page.SetBrush(Qt::white);
    const double scale = printer.Resolution() / kLayoutDotsPerInch;
    const double pageHeight = printer.PageHeight() / scale;
    const double pageWidth = printer.PageWidth() / scale;
    const auto H = static_cast<std::uint16_t>(platform::Round(pageHeight - pageHeight * 0.17));
    const auto W = static_cast<std::uint16_t>(platform::Round(pageWidth - pageWidth * 0.07));
    const int rowsPerPage = RowsPerPage(H);
    if (rowsPerPage < 1) {
        throw platform::PrinterError(
            "Strona drukarki jest za mała, by zmieścić choć jeden wiersz tabeli");
    }
    const std::vector<TablePage> pages = SplitIntoPages(ListedQuestions(tally), rowsPerPage);
    const QByteArray title = "Wyniki ankiety: " + tally.SurveyName +
                             ", Ankietowanych: " + QByteArray::number(tally.RespondentCount) +
                             ",  Strona ";
    const QByteArray total = QByteArray::number(static_cast<qsizetype>(pages.size()));
    TableCanvas canvas(page, scale);
    // Each page is a job of its own; where the printout goes into a file, one file holds them all.
    platform::Printout printout(printer);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        platform::PrintJob job(printer);
        const QByteArray number = QByteArray::number(static_cast<qsizetype>(p + 1));
        PrintPage(canvas, tally, title + number + 'z' + total, pages[p], W);
        job.End();
    }
    printout.End();
}

}  // namespace results
