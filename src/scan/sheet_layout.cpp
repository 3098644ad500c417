// The layout of a sheet to tick, in millimetres of an A4 portrait page.
#include "scan/sheet_layout.h"

namespace scan {
namespace {

constexpr double kMargin = 10.0;      // paper edge to the markers' outer edge
constexpr double kCodeLeft = 26.0;    // the code beside the top left marker, level with it
constexpr double kCodeSize = 20.0;
constexpr double kBodyLeft = 15.0;
constexpr double kColumnWidth = 92.0;  // two columns of answers, 15..107 and 107..199
constexpr double kFirstBodyTop = 41.0;  // below the instructions
constexpr double kBodyTop = 36.0;
constexpr double kBodyBottom = 270.0;  // above the bottom markers
constexpr double kTitleHeight = 11.0;  // the question's two lines
constexpr double kRowPitch = 9.0;      // a box and the gap below it
constexpr double kQuestionGap = 5.0;   // below a question's last box
constexpr double kTextGap = 2.0;       // between a box and its letter

QuestionPlace PlaceQuestion(int question, int answers, double top) {
    QuestionPlace place;
    place.question = question;
    place.title = QRectF(kBodyLeft, top, 2 * kColumnWidth - 8.0, kTitleHeight);
    // Answers run down the first column and on in the second, as a list is read.
    const int rows = (answers + 1) / 2;
    for (int a = 1; a <= answers; ++a) {
        const int column = (a - 1) / rows;
        const int row = (a - 1) % rows;
        const double x = kBodyLeft + column * kColumnWidth;
        const double y = top + kTitleHeight + row * kRowPitch;
        const QRectF box(x, y, kBoxSize, kBoxSize);
        const double textLeft = x + kBoxSize + kTextGap;
        place.answers.push_back(
            {a, box, QRectF(textLeft, y - 1.0, x + kColumnWidth - 2.0 - textLeft, kBoxSize + 2.0)});
    }
    place.bottom = top + kTitleHeight + (rows > 0 ? (rows - 1) * kRowPitch + kBoxSize : 0.0);
    return place;
}

}  // namespace

QRectF MarkerRect(Corner corner) {
    const double left = (corner == TopLeft || corner == BottomLeft)
                            ? kMargin
                            : kPageWidth - kMargin - kMarkerSize;
    const double top = (corner == TopLeft || corner == TopRight)
                           ? kMargin
                           : kPageHeight - kMargin - kMarkerSize;
    return QRectF(left, top, kMarkerSize, kMarkerSize);
}

QRectF CodeRect() { return QRectF(kCodeLeft, kMargin, kCodeSize, kCodeSize); }

std::vector<SheetPage> LayOutSheet(const results::ResultsTally& tally) {
    std::vector<SheetPage> pages{SheetPage{1, {}}};
    double top = kFirstBodyTop;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        QuestionPlace place = PlaceQuestion(q, tally.AnswerCount[q], top);
        if (place.bottom > kBodyBottom && !pages.back().questions.empty()) {
            pages.push_back(SheetPage{static_cast<int>(pages.size()) + 1, {}});
            top = kBodyTop;
            place = PlaceQuestion(q, tally.AnswerCount[q], top);
        }
        top = place.bottom + kQuestionGap;
        pages.back().questions.push_back(std::move(place));
    }
    return pages;
}

}  // namespace scan
