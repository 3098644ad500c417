// Drawing the sheets to tick on printer pages.
#include "scan/sheet_printout.h"

#include <opencv2/aruco.hpp>

#include "collect/new_results.h"
#include "platform/encoding.h"
#include "platform/printer.h"
#include "platform/progress.h"
#include "platform/qr_code.h"
#include "platform/round.h"
#include "scan/sheet_code.h"
#include "scan/sheet_layout.h"

namespace scan {
namespace {

const QString kFace = QStringLiteral("Arial");
constexpr int kSmallestPoints = 6;

// Millimetres of the paper to pixels of the printer's page, the paper centred on the page's
// printable area.
class SheetPageCanvas {
public:
    explicit SheetPageCanvas(platform::Printer& printer)
        : canvas_(printer.PageCanvas()), scale_(printer.Resolution() / 25.4) {
        left_ = (printer.PageWidth() - kPageWidth * scale_) / 2;
        top_ = (printer.PageHeight() - kPageHeight * scale_) / 2;
    }

    int X(double mm) const { return platform::Round(left_ + mm * scale_); }
    int Y(double mm) const { return platform::Round(top_ + mm * scale_); }

    void Black(double left, double top, double right, double bottom) {
        canvas_.SetBrush(Qt::black);
        canvas_.FillRect(X(left), Y(top), X(right), Y(bottom));
    }

    // `text` from (left, top) in the given size, made smaller down to the smallest size and then
    // cut with "…" so that it ends before `right`.
    void Text(double left, double top, double right, QByteArray text, int points, bool bold) {
        canvas_.SetBrush(Qt::white);
        const int room = X(right) - X(left);
        canvas_.SetFont({kFace, points, bold, false, Qt::black});
        while (canvas_.Font().points > kSmallestPoints && canvas_.TextWidth(text) > room) {
            --canvas_.Font().points;
        }
        if (canvas_.TextWidth(text) > room) {
            const QByteArray ellipsis = platform::ToCodePage(QStringLiteral("…"));
            while (!text.isEmpty() && canvas_.TextWidth(text + ellipsis) > room) text.chop(1);
            text += ellipsis;
        }
        canvas_.TextOut(X(left), Y(top), text);
    }

private:
    platform::Canvas& canvas_;
    double scale_;
    double left_ = 0;
    double top_ = 0;
};

void DrawMarker(SheetPageCanvas& page, Corner corner) {
    static const cv::Ptr<cv::aruco::Dictionary> dictionary =
        cv::aruco::getPredefinedDictionary(cv::aruco::DICT_4X4_50);
    cv::Mat cells;  // one pixel a cell, the border included
    dictionary->drawMarker(MarkerId(corner), kMarkerCells, cells, 1);
    const QRectF rect = MarkerRect(corner);
    const double cell = kMarkerSize / kMarkerCells;
    for (int row = 0; row < kMarkerCells; ++row) {
        for (int column = 0; column < kMarkerCells; ++column) {
            if (cells.at<unsigned char>(row, column) != 0) continue;
            page.Black(rect.left() + column * cell, rect.top() + row * cell,
                       rect.left() + (column + 1) * cell, rect.top() + (row + 1) * cell);
        }
    }
}

void DrawCode(SheetPageCanvas& page, const SheetCode& code) {
    const platform::QrCode qr = platform::EncodeCompactQrCode(SheetCodeText(code));
    const QRectF rect = CodeRect();
    const double module = rect.width() / qr.size;
    for (int y = 0; y < qr.size; ++y) {
        // Each run of dark modules of a row as one rectangle.
        for (int x = 0; x < qr.size;) {
            if (!qr.Dark(x, y)) {
                ++x;
                continue;
            }
            const int from = x;
            while (x < qr.size && qr.Dark(x, y)) ++x;
            page.Black(rect.left() + from * module, rect.top() + y * module,
                       rect.left() + x * module, rect.top() + (y + 1) * module);
        }
    }
}

void DrawBox(SheetPageCanvas& page, const QRectF& box) {
    const double b = kBoxBorder;
    page.Black(box.left(), box.top(), box.right(), box.top() + b);
    page.Black(box.left(), box.bottom() - b, box.right(), box.bottom());
    page.Black(box.left(), box.top(), box.left() + b, box.bottom());
    page.Black(box.right() - b, box.top(), box.right(), box.bottom());
}

void DrawQuestion(SheetPageCanvas& page, const QuestionPlace& place,
                  const editor::QuestionRecord& record) {
    const QRectF& title = place.title;
    const QByteArray number = QByteArray::number(place.question) + ". ";
    page.Text(title.left(), title.top(), title.left() + 10.0, number, 10, true);
    page.Text(title.left() + 8.0, title.top(), title.right(), record[0], 10, true);
    page.Text(title.left() + 8.0, title.top() + 5.0, title.right(), record[1], 10, true);
    for (const AnswerPlace& answer : place.answers) {
        DrawBox(page, answer.box);
        const QRectF& text = answer.text;
        const QByteArray letter(1, static_cast<char>('a' + answer.answer - 1));
        page.Text(text.left(), text.top() + 1.8, text.left() + 4.0, letter, 10, true);
        // A one-line answer level with its box, a two-line one around the box's middle.
        const auto line = static_cast<std::size_t>(2 * answer.answer);
        if (record[line + 1].isEmpty()) {
            page.Text(text.left() + 4.5, text.top() + 2.0, text.right(), record[line], 8, false);
        } else {
            page.Text(text.left() + 4.5, text.top(), text.right(), record[line], 8, false);
            page.Text(text.left() + 4.5, text.top() + 3.8, text.right(), record[line + 1], 8, false);
        }
    }
}

void DrawPage(SheetPageCanvas& page, const SheetSurvey& survey, const SheetPage& layout,
              int sheet, int pages) {
    for (const Corner corner : {TopLeft, TopRight, BottomRight, BottomLeft}) DrawMarker(page, corner);
    DrawCode(page, {survey.fingerprint, sheet, layout.number, pages});
    page.Text(kTextLeft, kNameTop, kTextRight, survey.name, 11, true);
    page.Text(kTextLeft, kNumberTop, kTextRight,
              platform::ToCodePage(QStringLiteral("Arkusz %1, strona %2 z %3")
                                       .arg(sheet)
                                       .arg(layout.number)
                                       .arg(pages)),
              10, false);
    if (layout.number == 1) {
        page.Text(15.0, kInstructionTop, 195.0,
                  platform::ToCodePage(QStringLiteral(
                      "Zaznacz wybraną odpowiedź krzyżykiem (X) w kratce. Aby cofnąć krzyżyk, "
                      "zamaluj całą kratkę.")),
                  9, false);
    }
    for (const QuestionPlace& place : layout.questions) {
        DrawQuestion(page, place, survey.questions[static_cast<std::size_t>(place.question - 1)]);
    }
}

}  // namespace

SheetSurvey SheetSurveyOf(const QByteArray& name,
                          const std::vector<editor::QuestionRecord>& questions) {
    const collect::NewResults results = collect::ResultsOfSurvey(name, questions);
    return {name, questions, results.tally,
            QuestionnaireFingerprint(results.tally, results.surveyText)};
}

bool PrintScanSheets(platform::Printer& printer, const SheetSurvey& survey, int firstSheet,
                     int copies, platform::Progress& progress) {
    const std::vector<SheetPage> layout = LayOutSheet(survey.tally);
    const int pages = static_cast<int>(layout.size());
    platform::Printout printout(printer);
    printer.SetOrientation(platform::Orientation::Portrait);
    platform::PrintJob job(printer);
    bool stopped = false;
    for (int copy = 0; copy < copies && !stopped; ++copy) {
        for (const SheetPage& page : layout) {
            if (copy > 0 || page.number > 1) printer.NewPage();
            SheetPageCanvas canvas(printer);
            DrawPage(canvas, survey, page, firstSheet + copy, pages);
        }
        stopped = !progress.Advance(copy + 1, copies);
    }
    job.End();
    printout.End();
    return !stopped;
}

}  // namespace scan
