// Drawing on pictures and printer pages. On a picture every shape is rasterised here, pixel by
// pixel, so that it holds exactly the pixels the charts place; Qt draws only the glyphs of texts.
// On a page each shape is handed to the page's painter once, as one vector shape that covers
// what the picture rules would cover at the page's resolution (to within a printer pixel at its
// edges), so that printers and PDF files get shapes, not rows of pixels.
#include "platform/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/encoding.h"

namespace platform {
namespace {

constexpr double kPi = 3.14159265358979323846;

QRgb Rgb(QColor colour) { return colour.rgb() & 0xFFFFFF; }

// The ellipse inscribed in a box: pixels whose centres lie inside it. The centre row and column
// always belong to it, so that even a very narrow ellipse touches all four edges of its box.
struct InscribedEllipse {
    // In floating point, so that any int box gives its ellipse without overflowing.
    InscribedEllipse(double x1, double y1, double x2, double y2)
        : cx((x1 + x2 - 1) / 2.0), cy((y1 + y2 - 1) / 2.0),
          rx(std::abs(x2 - x1) / 2.0), ry(std::abs(y2 - y1) / 2.0) {}

    bool Contains(int x, int y) const {
        const double u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1.0 || std::abs(x - cx) <= 0.5 || std::abs(y - cy) <= 0.5;
    }

    double cx, cy, rx, ry;
};

// A box given by two corners in any order, as a pixel rectangle's edges in 64 bits.
struct Box {
    Box(int a, int b, int c, int d)
        : x1(std::min<long long>(a, c)), y1(std::min<long long>(b, d)),
          x2(std::max<long long>(a, c)), y2(std::max<long long>(b, d)) {}
    bool Empty() const { return x1 == x2 || y1 == y2; }
    long long x1, y1, x2, y2;
};

// The pen of shapes and lines on a page: one printer pixel wide, as a picture's lines are one
// pixel. A dotted pen puts one dot and one gap per pixel of a 96-dpi screen, so that dotted
// lines look on paper as they do on the screen.
QPen PagePen(QColor colour, PenStyle style, int dotsPerInch) {
    QPen pen(colour, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (style == PenStyle::Dotted) {
        const double dot = std::max(1.0, dotsPerInch / 96.0);
        pen.setDashPattern({dot, dot});
    }
    return pen;
}

// Far enough off any page that a rectangle cut there looks the same on it.
constexpr double kPageReach = 1 << 24;

double OnPageReach(long long value) {
    return static_cast<double>(std::clamp<long long>(value, -kPageReach, kPageReach));
}

}  // namespace

Canvas::Canvas(QImage& picture, int dotsPerInch) { SetTarget(picture, dotsPerInch); }

Canvas::Canvas(QPainter& page, QSize pageSize, int dotsPerInch) {
    SetTarget(page, pageSize, dotsPerInch);
}

void Canvas::SetTarget(QImage& picture, int dotsPerInch) {
    if (picture.format() != QImage::Format_RGB32) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
    image_ = &picture;
    page_ = nullptr;
    size_ = picture.size();
    dpi_ = dotsPerInch;
}

void Canvas::SetTarget(QPainter& page, QSize pageSize, int dotsPerInch) {
    image_ = nullptr;
    page_ = &page;
    size_ = pageSize;
    dpi_ = dotsPerInch;
}

void Canvas::ClearTarget() {
    image_ = nullptr;
    page_ = nullptr;
    size_ = QSize();
}

void Canvas::SetPen(QColor colour, PenStyle style) {
    penColour_ = colour;
    penStyle_ = style;
}

void Canvas::Span(long long from, long long to, long long y, QColor colour) {
    if (y < 0 || y >= size_.height()) return;
    const long long left = std::max(from, 0LL);
    const long long right = std::min<long long>(to, size_.width() - 1);
    if (left > right) return;
    const int x1 = static_cast<int>(left), x2 = static_cast<int>(right);
    if (image_) {
        auto* line = reinterpret_cast<QRgb*>(image_->scanLine(y));
        std::fill(line + x1, line + x2 + 1, colour.rgb() | 0xFF000000u);
    } else if (page_) {
        page_->fillRect(QRect(x1, y, x2 - x1 + 1, 1), colour);
    }
}

void Canvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void Canvas::LineTo(int x, int y) {
    if (page_) {
        PageLine(x, y);
        MoveTo(x, y);
        return;
    }
    // Bresenham's line, 8-connected, without its end point, in 64 bits so that any coordinates
    // clip instead of overflowing. A dotted pen draws every other pixel, starting with the first.
    // Pixels in a row are handed over as runs.
    //
    // Each step moves one pixel along the longer axis, so only the steps that land on the
    // surface are walked. The pixel of step k on the shorter axis and the error term of a pixel
    // follow from k alone (derived from the step rule below), so the walk can start at the
    // first step on the surface and still place every pixel where the full walk would.
    const long long x0 = penX_, y0 = penY_;
    const long long dx = std::llabs(x - x0);
    const long long dy = -std::llabs(y - y0);
    const long long stepX = x0 < x ? 1 : -1;
    const long long stepY = y0 < y ? 1 : -1;
    const bool alongX = dx >= -dy;
    const long long longer = alongX ? dx : -dy, shorter = alongX ? -dy : dx;
    const long long origin = alongX ? x0 : y0, step = alongX ? stepX : stepY;
    const long long extent = alongX ? size_.width() : size_.height();
    long long first = 0, last = longer - 1;
    if (step > 0) {
        first = std::max(first, -origin);
        last = std::min(last, extent - 1 - origin);
    } else {
        first = std::max(first, origin - (extent - 1));
        last = std::min(last, origin);
    }
    if (first <= last) {
        const auto across = static_cast<long long>(
            (2 * static_cast<__int128>(shorter) * first + longer) / (2 * static_cast<__int128>(longer)));
        const long long i = alongX ? first : across;  // pixels moved along x and along y
        const long long j = alongX ? across : first;
        long long error = static_cast<long long>(static_cast<__int128>(dx) + dy +
                                                 static_cast<__int128>(dy) * i +
                                                 static_cast<__int128>(dx) * j);
        long long px = x0 + stepX * i;
        long long py = y0 + stepY * j;
        bool runOpen = false;
        long long runFrom = 0, runTo = 0, runY = 0;
        const auto flush = [&] {
            if (runOpen) Span(std::min(runFrom, runTo), std::max(runFrom, runTo), runY, penColour_);
            runOpen = false;
        };
        for (long long index = first; index <= last; ++index) {
            if (penStyle_ == PenStyle::Solid || index % 2 == 0) {
                if (runOpen && py == runY && std::llabs(px - runTo) == 1) {
                    runTo = px;
                } else {
                    flush();
                    runOpen = true;
                    runFrom = runTo = px;
                    runY = py;
                }
            }
            const long long doubled = 2 * error;
            if (doubled >= dy) {
                error += dy;
                px += stepX;
            }
            if (doubled <= dx) {
                error += dx;
                py += stepY;
            }
        }
        flush();
    }
    MoveTo(x, y);
}

void Canvas::PageLine(int x, int y) {
    // The pixels a line covers run from its first pixel up to the one before its end: a stroke
    // between the pixel centres, both ends moved back half a step along the longer axis.
    const double dx = static_cast<double>(x) - penX_, dy = static_cast<double>(y) - penY_;
    const double steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) return;
    const QPointF halfStep(dx / steps / 2, dy / steps / 2);
    const QPointF from = QPointF(penX_ + 0.5, penY_ + 0.5) - halfStep;
    const QPointF to = QPointF(x + 0.5, y + 0.5) - halfStep;
    page_->setPen(PagePen(penColour_, penStyle_, dpi_));
    page_->drawLine(from, to);
}

void Canvas::PageShape(const std::function<void(QPainter&)>& draw, bool outlined, QColor fill) {
    page_->save();
    page_->setRenderHint(QPainter::Antialiasing, false);
    page_->setPen(outlined ? PagePen(penColour_, PenStyle::Solid, dpi_) : QPen(Qt::NoPen));
    page_->setBrush(fill);
    draw(*page_);
    page_->restore();
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
    if (page_) {
        const Box box(left, top, right, bottom);
        if (box.Empty()) return;
        page_->fillRect(QRectF(QPointF(OnPageReach(box.x1), OnPageReach(box.y1)),
                               QPointF(OnPageReach(box.x2), OnPageReach(box.y2))),
                        brush_);
        return;
    }
    long long x1 = left, y1 = top, x2 = right, y2 = bottom;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    y1 = std::max(y1, 0LL);
    y2 = std::min<long long>(y2, size_.height());
    for (long long y = y1; y < y2; ++y) Span(x1, x2 - 1, y, brush_);
}

// The outline of shapes on a page is a one-pixel stroke along the middle of the box's outer
// pixels, so that it covers them as a picture's outline does.
QRectF Canvas::OutlineBox(int x1, int y1, int x2, int y2) {
    const Box box(x1, y1, x2, y2);
    return QRectF(QPointF(box.x1 + 0.5, box.y1 + 0.5), QPointF(box.x2 - 0.5, box.y2 - 0.5));
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    if (page_) {
        const Box box(left, top, right, bottom);
        if (box.Empty()) return;
        const QRectF outline(QPointF(OnPageReach(box.x1) + 0.5, OnPageReach(box.y1) + 0.5),
                             QPointF(OnPageReach(box.x2) - 0.5, OnPageReach(box.y2) - 0.5));
        PageShape([&](QPainter& page) { page.drawRect(outline); }, true, brush_);
        return;
    }
    long long x1 = left, y1 = top, x2 = right, y2 = bottom;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1) return;
    const long long first = std::max(y1, 0LL);
    const long long last = std::min<long long>(y2, size_.height());
    for (long long y = first; y < last; ++y) {
        if (y == y1 || y == y2 - 1) {
            Span(x1, x2 - 1, y, penColour_);
        } else {
            Span(x1, x1, y, penColour_);
            Span(x1 + 1, x2 - 2, y, brush_);
            Span(x2 - 1, x2 - 1, y, penColour_);
        }
    }
}

void Canvas::PaintShape(int x1, int y1, int x2, int y2, const RowOfShape& rowOfShape) {
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1 || !(image_ || page_)) return;
    // Only the rows and columns on the surface matter, and one more on each side for the outline.
    const int left = std::max(x1, -1);
    const int right = std::min(x2 - 1, size_.width());
    const int top = std::max(y1, -1);
    const int bottom = std::min(y2 - 1, size_.height());
    if (left > right || top > bottom) return;
    // cells[i] is the pixel at x = left - 1 + i; all marks lie in cells[first .. last].
    const int width = right - left + 1;
    struct Row {
        std::vector<char> cells;
        int first = 0, last = -1;
    };
    const auto row = [&](int y, Row& row) {
        if (row.first <= row.last) std::fill(&row.cells[row.first], &row.cells[row.last] + 1, 0);
        row.first = 0;
        row.last = -1;
        const int from = std::max(left - 1, x1), to = std::min(right + 1, x2 - 1);
        if (y < y1 || y >= y2 || from > to) return;
        const auto [first, last] = rowOfShape(y, from, to, row.cells.data() + (from - (left - 1)));
        row.first = std::max(first, from) - (left - 1);
        row.last = std::min(last, to) - (left - 1);
    };
    Row above{std::vector<char>(width + 2)}, current{std::vector<char>(width + 2)},
        below{std::vector<char>(width + 2)};
    row(top - 1, above);
    row(top, current);
    for (int y = top; y <= bottom; ++y) {
        row(y + 1, below);
        // Runs of interior and of outline pixels, over the columns that hold marks.
        int runStart = -1;
        bool runOutline = false;
        const auto flush = [&](int end) {
            if (runStart >= 0) Span(left + runStart, left + end - 1, y, runOutline ? penColour_ : brush_);
            runStart = -1;
        };
        const int firstColumn = std::max(current.first - 1, 0);
        const int lastColumn = std::min(current.last - 1, width - 1);
        for (int i = firstColumn; i <= lastColumn; ++i) {
            const int cell = i + 1;
            if (!current.cells[cell]) {
                flush(i);
                continue;
            }
            const bool outline = !current.cells[cell - 1] || !current.cells[cell + 1] ||
                                 !above.cells[cell] || !below.cells[cell];
            if (runStart >= 0 && outline != runOutline) flush(i);
            if (runStart < 0) {
                runStart = i;
                runOutline = outline;
            }
        }
        flush(lastColumn + 1);
        std::swap(above, current);
        std::swap(current, below);
    }
}

namespace {

// The pixels first..last of a row; none when first > last.
struct Run {
    int first, last;
};

Run Common(Run a, Run b) { return {std::max(a.first, b.first), std::min(a.last, b.last)}; }

void Mark(Run run, int from, char* cells) {
    if (run.first <= run.last) std::fill(cells + (run.first - from), cells + (run.last - from + 1), 1);
}

// Where `holds`, true or false over from..to in one stretch each (a half-plane along a row),
// is true: found with a few tests of the same predicate, so the run is exactly the pixels for
// which it holds.
template <typename Test>
Run RunWhere(int from, int to, const Test& holds) {
    if (from > to) return {from, from - 1};
    const bool atFrom = holds(from);
    if (atFrom == holds(to)) return atFrom ? Run{from, to} : Run{from, from - 1};
    int same = from, changed = to;
    while (changed - same > 1) {
        const int middle = same + (changed - same) / 2;
        (holds(middle) == atFrom ? same : changed) = middle;
    }
    return atFrom ? Run{from, same} : Run{changed, to};
}

// The ellipse's pixels of row y between from and to: one run about its centre column, which the
// ellipse always holds, with the test growing no weaker towards the centre from either side.
Run EllipseRun(const InscribedEllipse& ellipse, int y, int from, int to) {
    const auto inside = [&](int x) { return ellipse.Contains(x, y); };
    const double centre = std::clamp(std::floor(ellipse.cx), static_cast<double>(from),
                                     static_cast<double>(to));
    const int split = static_cast<int>(centre);
    if (!inside(split)) return {from, from - 1};
    return {RunWhere(from, split, inside).first, RunWhere(split, to, inside).last};
}

}  // namespace

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (page_) {
        if (Box(x1, y1, x2, y2).Empty()) return;
        const QRectF outline = OutlineBox(x1, y1, x2, y2);
        PageShape([&](QPainter& page) { page.drawEllipse(outline); }, true, brush_);
        return;
    }
    const InscribedEllipse ellipse(x1, y1, x2, y2);
    PaintShape(x1, y1, x2, y2, [&](int y, int from, int to, char* cells) {
        const Run disc = EllipseRun(ellipse, y, from, to);
        Mark(disc, from, cells);
        return std::pair(disc.first, disc.last);
    });
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    const InscribedEllipse ellipse(x1, y1, x2, y2);
    // Directions from the centre as seen on the page, y up, so counterclockwise is positive.
    const auto ray = [&](int x, int y) { return QPointF(x - ellipse.cx, ellipse.cy - y); };
    const auto cross = [](QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); };
    const QPointF start = ray(x3, y3), end = ray(x4, y4);
    // The sweep from the first ray counterclockwise to the second, measured once; each pixel is
    // then placed against the two rays with exact cross products. Along a row each cross product
    // only grows or only shrinks, so each ray splits the row once.
    const double sweep = std::fmod(std::atan2(end.y(), end.x()) - std::atan2(start.y(), start.x()) +
                                       4 * kPi, 2 * kPi);
    if (page_) {
        if (Box(x1, y1, x2, y2).Empty()) return;
        const QRectF outline = OutlineBox(x1, y1, x2, y2);
        if (sweep == 0.0) {
            PageShape([&](QPainter& page) { page.drawEllipse(outline); }, true, brush_);
            return;
        }
        // An arc of an ellipse is drawn by the angle of its circle squashed onto the ellipse,
        // so each ray's direction becomes that angle first.
        const double rx = std::max(outline.width() / 2, 1e-9), ry = std::max(outline.height() / 2, 1e-9);
        const auto angle = [&](QPointF direction) {
            return std::atan2(direction.y() / ry, direction.x() / rx);
        };
        const double from = angle(start);
        const double span = std::fmod(angle(end) - from + 4 * kPi, 2 * kPi);
        QPainterPath sector(outline.center());
        sector.arcTo(outline, from * 180 / kPi, (span == 0.0 ? 2 * kPi : span) * 180 / kPi);
        sector.closeSubpath();
        PageShape([&](QPainter& page) { page.drawPath(sector); }, true, brush_);
        return;
    }
    PaintShape(x1, y1, x2, y2, [&](int y, int from, int to, char* cells) {
        const Run disc = EllipseRun(ellipse, y, from, to);
        const std::pair marked(disc.first, disc.last);
        if (sweep == 0.0) {  // equal rays: the whole ellipse
            Mark(disc, from, cells);
            return marked;
        }
        const auto runOf = [&](auto holds) {
            return RunWhere(disc.first, disc.last, [&](int x) { return holds(ray(x, y)); });
        };
        // Up to half a turn: between the rays. More: anything not strictly inside the rest.
        if (sweep <= kPi) {
            const Run between = Common(runOf([&](QPointF p) { return cross(start, p) >= 0; }),
                                       runOf([&](QPointF p) { return cross(p, end) >= 0; }));
            Mark(between, from, cells);
            return std::pair(between.first, between.last);
        }
        const Run rest = Common(runOf([&](QPointF p) { return cross(end, p) > 0; }),
                                runOf([&](QPointF p) { return cross(p, start) > 0; }));
        if (rest.first > rest.last) {
            Mark(disc, from, cells);
            return marked;
        }
        const Run before{disc.first, rest.first - 1}, after{rest.last + 1, disc.last};
        Mark(before, from, cells);
        Mark(after, from, cells);
        return std::pair(before.first <= before.last ? before.first : after.first,
                         after.first <= after.last ? after.last : before.last);
    });
}

namespace {

// The flood fill's inner loop: fills the run of pixels the fill takes from the first on, at most
// `count` of them, marks them filled and returns the run's length. The fill takes pixels not
// filled yet whose colour is the key (surface fill) or is not (border fill). Four pixels at a
// time where the processor allows, so that each pixel is read and written once.
std::size_t FillRun(QRgb* pixels, std::uint8_t* filled, std::size_t count, QRgb key, bool border,
                    QRgb colour) {
    std::size_t n = 0;
#ifdef __SSE2__
    const __m128i colourMask = _mm_set1_epi32(0xFFFFFF);
    const __m128i keys = _mm_set1_epi32(static_cast<int>(key));
    const __m128i colours = _mm_set1_epi32(static_cast<int>(colour));
    const int allTaken = border ? 0 : 0xFFFF;  // byte mask of four key comparisons
    const std::uint32_t fourMarks = 0x01010101;
    for (; n + 4 <= count; n += 4) {
        std::uint32_t marks;
        std::memcpy(&marks, filled + n, sizeof marks);
        auto* const four = reinterpret_cast<__m128i*>(pixels + n);
        const __m128i same = _mm_cmpeq_epi32(_mm_and_si128(_mm_loadu_si128(four), colourMask), keys);
        if (marks != 0 || _mm_movemask_epi8(same) != allTaken) break;
        _mm_storeu_si128(four, colours);
        std::memcpy(filled + n, &fourMarks, sizeof fourMarks);
    }
#endif
    for (; n < count && !filled[n] && (((pixels[n] & 0xFFFFFF) == key) != border); ++n) {
        pixels[n] = colour;
        filled[n] = 1;
    }
    return n;
}

}  // namespace

void Canvas::FloodFill(int x, int y, QColor colour, FloodFillMode mode) {
    if (!image_ || x < 0 || y < 0 || x >= size_.width() || y >= size_.height()) return;
    const int width = size_.width(), height = size_.height();
    const QRgb key = Rgb(colour);
    const QRgb fill = brush_.rgb() | 0xFF000000u;
    const bool border = mode == FloodFillMode::Border;
    // Rows through one pointer and stride: scanLine would check for a detach on every call.
    uchar* const bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    // Filled pixels are marked, since the fill colour may still meet the rule.
    std::vector<std::uint8_t> filled(static_cast<std::size_t>(width) * height, 0);
    struct Row {
        QRgb* pixels;
        std::uint8_t* done;
    };
    const auto row = [&](int py) {
        return Row{reinterpret_cast<QRgb*>(bits + py * stride),
                   filled.data() + static_cast<std::size_t>(py) * width};
    };
    // A pixel the fill takes: it meets the rule and is not filled yet.
    const auto takes = [&](const Row& r, int px) {
        return !r.done[px] && (((r.pixels[px] & 0xFFFFFF) == key) != border);
    };
    const auto inside = [&](const Row& r, int px) { return px >= 0 && px < width && takes(r, px); };
    if (!inside(row(y), x)) return;
    // Span filling without recursion: each entry is a stretch x1..x2 of row y to look at, reached
    // from row y - dy, whose pixels above the stretch are filled already. A run found on row y is
    // filled whole and handed on to row y + dy, and back to row y - dy only where it reaches past
    // the stretch it came from, so each pixel is tested about once.
    struct Stretch {
        int x1, x2, y, dy;
    };
    std::vector<Stretch> stack{{x, x, y, 1}, {x, x, y - 1, -1}};
    const auto push = [&](int x1, int x2, int py, int dy) {
        if (py >= 0 && py < height) stack.push_back({x1, x2, py, dy});
    };
    while (!stack.empty()) {
        auto [x1, x2, sy, dy] = stack.back();
        stack.pop_back();
        if (sy < 0 || sy >= height) continue;
        const Row r = row(sy);
        int from = x1;
        if (inside(r, from)) {
            for (; from > 0 && takes(r, from - 1); --from) {
                r.pixels[from - 1] = fill;
                r.done[from - 1] = 1;
            }
            if (from < x1) push(from, x1 - 1, sy - dy, -dy);
        }
        while (x1 <= x2) {
            x1 += static_cast<int>(FillRun(r.pixels + x1, r.done + x1, width - x1, key, border, fill));
            if (x1 > from) push(from, x1 - 1, sy + dy, dy);
            if (x1 - 1 > x2) push(x2 + 1, x1 - 1, sy - dy, -dy);
            ++x1;
            while (x1 < x2 && !inside(r, x1)) ++x1;
            from = x1;
        }
    }
}

int Canvas::PixelSize(int points) const {
    // Rounded half away from zero, as the original conversion did.
    const long product = static_cast<long>(points) * dpi_;
    return static_cast<int>((product + (product >= 0 ? 36 : -36)) / 72);
}

QFont Canvas::QtFont() const {
    QFont font(font_.face);
    font.setPixelSize(std::max(1, PixelSize(font_.points)));
    font.setBold(font_.bold);
    font.setUnderline(font_.underline);
    if (!page_) {
        // A picture is the same pixels on every desktop and whatever Qt platform draws it (the
        // windows on the screen, the report without one): no antialiasing, and the light hinting
        // fontconfig gives by default fixed, so that neither the desktop's own setting nor the
        // scaling of a high-density screen (which turns hinting off) moves a glyph's pixels.
        font.setStyleStrategy(QFont::NoAntialias);
        font.setHintingPreference(QFont::PreferVerticalHinting);
    }
    return font;
}

const QFontMetrics& Canvas::Metrics() const {
    const QPaintDevice* device = page_ ? page_->device() : nullptr;
    if (!metrics_ || metrics_->font != font_ || metrics_->device != device || metrics_->dpi != dpi_ ||
        metrics_->onPage != (page_ != nullptr)) {
        const QFont font = QtFont();
        metrics_ = std::make_shared<MeasuredFont>(MeasuredFont{
            font_, device, dpi_, page_ != nullptr,
            device ? QFontMetrics(font, const_cast<QPaintDevice*>(device)) : QFontMetrics(font)});
    }
    return metrics_->metrics;
}

int Canvas::TextWidth(const QByteArray& text) const {
    return Metrics().horizontalAdvance(FromCodePage(text));
}

int Canvas::TextHeight(const QByteArray&) const { return Metrics().height(); }

void Canvas::TextOut(int x, int y, const QByteArray& text) {
    if (observer_) observer_(DrawnText{x, y, text, font_, brush_});
    if (!image_ && !page_) return;
    const int width = TextWidth(text);
    const int height = TextHeight(text);
    if (page_) {
        FillRect(x, y, static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, INT_MAX)),
                 static_cast<int>(std::min<long long>(static_cast<long long>(y) + height, INT_MAX)));
    } else {
        for (long long row = y; row < static_cast<long long>(y) + height; ++row) {
            Span(x, static_cast<long long>(x) + width - 1, row, brush_);
        }
    }
    // Rows off the surface show no glyph; leaving them out keeps the baseline within int.
    if (y >= size_.height() || static_cast<long long>(y) + height <= 0) return;
    const QFont font = QtFont();
    const auto draw = [&](QPainter& painter) {
        painter.save();
        painter.setRenderHint(QPainter::TextAntialiasing, page_ != nullptr);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setFont(font);
        painter.setPen(font_.colour);
        painter.drawText(x, y + QFontMetrics(font, painter.device()).ascent(), FromCodePage(text));
        painter.restore();
    };
    if (page_) {
        draw(*page_);
    } else {
        QPainter painter(image_);
        draw(painter);
    }
}

}  // namespace platform
