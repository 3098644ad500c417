// Drawing the program's decisions on the picture of a scanned question.
#include "scan/review_picture.h"

#include <algorithm>
#include <cstring>

#include "platform/canvas.h"
#include "platform/encoding.h"
#include "platform/round.h"

namespace scan {
namespace {

struct BoxStyle {
    QColor colour;
    platform::PenStyle pen;
    std::vector<int> outsets;  // one frame this many pixels outside the box each
    QString tag;               // beside the answer's text; none for an empty box
};

BoxStyle StyleOf(BoxMark mark) {
    switch (mark) {
        case BoxMark::Crossed:
            return {QColor(0, 48, 192),
                    platform::PenStyle::Solid,
                    {2, 3, 4},
                    QStringLiteral("krzyżyk")};
        case BoxMark::FilledIn:
            return {
                QColor(0, 128, 0), platform::PenStyle::Solid, {2, 5}, QStringLiteral("cofnięte")};
        case BoxMark::Uncertain:
            return {QColor(224, 0, 0),
                    platform::PenStyle::Dotted,
                    {2, 3, 4},
                    QStringLiteral("niepewne")};
        case BoxMark::Empty:
            break;
    }
    return {QColor(128, 128, 128), platform::PenStyle::Dotted, {3}, {}};
}

// The picture in RGB on a white page larger by the margin on every side.
QImage OnWhite(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage page(rgb.width() + 2 * kReviewMargin, rgb.height() + 2 * kReviewMargin,
                QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(page.scanLine(y + kReviewMargin) + kReviewMargin * 4, rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width()) * 4);
    }
    return page;
}

void Frame(platform::Canvas& canvas, int left, int top, int right, int bottom) {
    canvas.MoveTo(left, top);
    canvas.LineTo(right, top);
    canvas.LineTo(right, bottom);
    canvas.LineTo(left, bottom);
    canvas.LineTo(left, top);
}

}  // namespace

QString BoxMarkName(BoxMark mark) {
    switch (mark) {
        case BoxMark::Crossed:
            return QStringLiteral("krzyżyk");
        case BoxMark::FilledIn:
            return QStringLiteral("zamalowane (cofnięte)");
        case BoxMark::Uncertain:
            return QStringLiteral("niepewne");
        case BoxMark::Empty:
            break;
    }
    return QStringLiteral("puste");
}

QImage ReviewPicture(const QuestionPicture& shot, const QuestionPlace& place,
                     const std::vector<BoxReading>& boxes) {
    QImage page = OnWhite(shot.picture);
    if (shot.picture.isNull() || shot.area.isEmpty()) return page;
    const double xScale = shot.picture.width() / shot.area.width();
    const double yScale = shot.picture.height() / shot.area.height();
    const auto x = [&](double mm) {
        return kReviewMargin + platform::Round((mm - shot.area.left()) * xScale);
    };
    const auto y = [&](double mm) {
        return kReviewMargin + platform::Round((mm - shot.area.top()) * yScale);
    };

    platform::Canvas canvas(page);
    canvas.SetBrush(Qt::white);
    for (const BoxReading& reading : boxes) {
        if (reading.question != place.question) continue;
        const auto answer =
            std::find_if(place.answers.begin(), place.answers.end(),
                         [&](const AnswerPlace& a) { return a.answer == reading.answer; });
        if (answer == place.answers.end()) continue;
        const BoxStyle style = StyleOf(reading.mark);
        canvas.SetPen(style.colour, style.pen);
        const QRectF& box = answer->box;
        for (const int outset : style.outsets) {
            Frame(canvas, x(box.left()) - outset, y(box.top()) - outset, x(box.right()) + outset,
                  y(box.bottom()) + outset);
        }
        if (style.tag.isEmpty()) continue;
        canvas.SetFont({QStringLiteral("Arial"), 8, true, false, style.colour});
        const QByteArray tag = platform::ToCodePage(style.tag);
        // At the right end of the answer's text, level with the box, inside the picture.
        const int tagX =
            std::min(x(answer->text.right()), page.width()) - canvas.TextWidth(tag) - 2;
        const int tagY = (y(box.top()) + y(box.bottom()) - canvas.TextHeight(tag)) / 2;
        canvas.TextOut(std::max(tagX, 0), tagY, tag);
    }
    return page;
}

}  // namespace scan
