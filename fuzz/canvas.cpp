// Fuzz target: the canvas's shapes and flood fills with arbitrary coordinates on a small picture.
// The picture is a window onto a larger buffer whose margin the canvas must never touch; every
// flood fill must colour exactly the pixels a plain breadth-first fill reaches, every line of a
// walkable length exactly the pixels of a plain step-by-step walk, and every rectangle, ellipse
// and pie exactly the pixels that a plain pixel-by-pixel statement of its rule gives.
#include <QColor>
#include <QImage>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <vector>

#include "fuzz_support.h"
#include "platform/canvas.h"

namespace {

constexpr int kMargin = 8;
// The canvas always writes opaque pixels, so a margin pixel with no alpha shows any write.
constexpr QRgb kUntouched = 0x00123456u;
const QRgb kPalette[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFF800000u, 0xFFC0C0C0u};

// The input read as a stream of small numbers; past its end everything is 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Mostly a small coordinate around the picture; the byte 80 announces any 32-bit value.
    int Coordinate() {
        const int small = static_cast<std::int8_t>(Byte());
        if (small != -128) return small;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return static_cast<int>(value);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The pixels a flood fill from (x, y) must colour: 4-connected, each one qualifying.
std::vector<bool> ReferenceFill(const QImage& picture, int x, int y, QRgb key, platform::FloodFillMode mode) {
    const int width = picture.width(), height = picture.height();
    std::vector<bool> reached(static_cast<std::size_t>(width) * height, false);
    const auto qualifies = [&](int px, int py) {
        const bool same = (picture.pixel(px, py) & 0xFFFFFF) == (key & 0xFFFFFF);
        return mode == platform::FloodFillMode::Border ? !same : same;
    };
    if (x < 0 || y < 0 || x >= width || y >= height || !qualifies(x, y)) return reached;
    std::deque<std::pair<int, int>> queue{{x, y}};
    reached[static_cast<std::size_t>(y) * width + x] = true;
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop_front();
        const std::pair<int, int> neighbours[] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& [nx, ny] : neighbours) {
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            const std::size_t index = static_cast<std::size_t>(ny) * width + nx;
            if (reached[index] || !qualifies(nx, ny)) continue;
            reached[index] = true;
            queue.emplace_back(nx, ny);
        }
    }
    return reached;
}

// The line from (x0, y0) to (x1, y1) walked pixel by pixel, without its end point; a dotted pen
// sets every other pixel, starting with the first.
void ReferenceLine(QImage& picture, long long x0, long long y0, long long x1, long long y1, QRgb colour,
                   bool dotted) {
    const long long dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
    const long long stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    long long error = dx + dy;
    for (long long index = 0; x0 != x1 || y0 != y1; ++index) {
        if ((!dotted || index % 2 == 0) && x0 >= 0 && y0 >= 0 && x0 < picture.width() && y0 < picture.height()) {
            picture.setPixel(static_cast<int>(x0), static_cast<int>(y0), colour);
        }
        const long long doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

// The box of a shape: corners in either order, columns left..right-1 and rows top..bottom-1.
struct Box {
    Box(int x1, int y1, int x2, int y2)
        : left(std::min(x1, x2)),
          top(std::min(y1, y2)),
          right(std::max(x1, x2)),
          bottom(std::max(y1, y2)) {}
    bool Holds(long long x, long long y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    long long left, top, right, bottom;
};

// The ellipse inscribed in a box: the box's pixels whose centres lie inside it, together with its
// centre row and column (the pixels within half a pixel of its centre lines).
struct Ellipse {
    Ellipse(int x1, int y1, int x2, int y2)
        : box(x1, y1, x2, y2),
          cx((double(x1) + double(x2) - 1) / 2.0),
          cy((double(y1) + double(y2) - 1) / 2.0),
          rx(std::abs(double(x2) - double(x1)) / 2.0),
          ry(std::abs(double(y2) - double(y1)) / 2.0) {}
    bool Holds(long long x, long long y) const {
        if (!box.Holds(x, y)) return false;
        const double u = (double(x) - cx) / rx, v = (double(y) - cy) / ry;
        return u * u + v * v <= 1.0 || std::abs(double(x) - cx) <= 0.5 ||
               std::abs(double(y) - cy) <= 0.5;
    }
    Box box;
    double cx, cy, rx, ry;
};

// The sector of that ellipse from the ray through (x3, y3) counterclockwise on the page (y up) to
// the ray through (x4, y4): up to half a turn, the pixels on or between the rays; more, every
// pixel not strictly inside the rest of the turn; equal rays, the whole ellipse.
struct Pie {
    Pie(const int c[8])
        : ellipse(c[0], c[1], c[2], c[3]), start(Ray(c[4], c[5])), end(Ray(c[6], c[7])) {
        constexpr double kPi = 3.14159265358979323846;
        const double turn = std::atan2(end[1], end[0]) - std::atan2(start[1], start[0]);
        sweep = std::fmod(turn + 4 * kPi, 2 * kPi);
        halfTurnAtMost = sweep <= kPi;
    }
    std::array<double, 2> Ray(long long x, long long y) const {
        return {double(x) - ellipse.cx, ellipse.cy - double(y)};
    }
    static double Cross(std::array<double, 2> a, std::array<double, 2> b) {
        return a[0] * b[1] - a[1] * b[0];
    }
    bool Holds(long long x, long long y) const {
        if (!ellipse.Holds(x, y)) return false;
        const std::array<double, 2> p = Ray(x, y);
        if (sweep == 0.0) return true;
        if (halfTurnAtMost) return Cross(start, p) >= 0 && Cross(p, end) >= 0;
        return !(Cross(end, p) > 0 && Cross(p, start) > 0);
    }
    Ellipse ellipse;
    std::array<double, 2> start, end;
    double sweep;
    bool halfTurnAtMost;
};

// A shape painted pixel by pixel: its pixels with a 4-neighbour outside it in the pen colour when
// it is outlined, the others in the brush colour.
void ReferenceShape(QImage& picture, const std::function<bool(long long, long long)>& holds,
                    QRgb pen, QRgb brush, bool outlined) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!holds(x, y)) continue;
            const bool edge =
                !holds(x - 1, y) || !holds(x + 1, y) || !holds(x, y - 1) || !holds(x, y + 1);
            picture.setPixel(x, y, outlined && edge ? pen : brush);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input input(data, size);
    const int width = input.Byte() % 24 + 1;
    const int height = input.Byte() % 24 + 1;
    const int stride = width + 2 * kMargin;
    std::vector<QRgb> buffer(static_cast<std::size_t>(stride) * (height + 2 * kMargin), kUntouched);
    const auto inPicture = [&](std::size_t index) {
        const int x = static_cast<int>(index % stride) - kMargin, y = static_cast<int>(index / stride) - kMargin;
        return x >= 0 && y >= 0 && x < width && y < height;
    };
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        if (inPicture(i)) buffer[i] = kPalette[3];
    }
    QImage picture(reinterpret_cast<uchar*>(buffer.data() + kMargin * stride + kMargin), width, height,
                   stride * static_cast<int>(sizeof(QRgb)), QImage::Format_RGB32);
    platform::Canvas canvas(picture);
    FUZZ_CHECK(canvas.picture()->constBits() == picture.constBits());
    QPoint from;  // the pen position

    while (!input.Empty()) {
        const std::uint8_t op = input.Byte();
        const QColor colour = QColor::fromRgb(kPalette[op >> 4 & 3]);
        switch (op % 9) {
            case 0:
                canvas.SetPen(colour, op & 0x40 ? platform::PenStyle::Dotted : platform::PenStyle::Solid);
                break;
            case 1:
                canvas.SetBrush(colour);
                break;
            case 2: {
                const int x = input.Coordinate(), y = input.Coordinate();
                canvas.MoveTo(x, y);
                from = QPoint(x, y);
                break;
            }
            case 3: {
                const int x = input.Coordinate(), y = input.Coordinate();
                // Lines short enough to walk are compared with the walk.
                constexpr long long kWalkable = 1 << 16;
                const bool walkable = std::llabs(static_cast<long long>(x) - from.x()) < kWalkable &&
                                      std::llabs(static_cast<long long>(y) - from.y()) < kWalkable;
                QImage expected = walkable ? picture.copy() : QImage();
                if (walkable) {
                    ReferenceLine(expected, from.x(), from.y(), x, y, canvas.PenColour().rgb() | 0xFF000000u,
                                  canvas.CurrentPenStyle() == platform::PenStyle::Dotted);
                }
                canvas.LineTo(x, y);
                from = QPoint(x, y);
                FUZZ_CHECK(!walkable || picture == expected);
                break;
            }
            case 4:
            case 5:
            case 6:
            case 7: {
                const int shape = op % 9;
                int c[8] = {};
                for (int i = 0; i < (shape == 7 ? 8 : 4); ++i) c[i] = input.Coordinate();
                QImage expected = picture.copy();
                const QRgb pen = canvas.PenColour().rgb() | 0xFF000000u;
                const QRgb brush = canvas.BrushColour().rgb() | 0xFF000000u;
                const Box box(c[0], c[1], c[2], c[3]);
                const Ellipse ellipse(c[0], c[1], c[2], c[3]);
                const Pie pie(c);
                const auto inBox = [&](long long x, long long y) { return box.Holds(x, y); };
                if (shape == 4) ReferenceShape(expected, inBox, pen, brush, true);
                if (shape == 5) ReferenceShape(expected, inBox, pen, brush, false);
                if (shape == 6) {
                    ReferenceShape(
                        expected, [&](long long x, long long y) { return ellipse.Holds(x, y); },
                        pen, brush, true);
                }
                if (shape == 7) {
                    ReferenceShape(
                        expected, [&](long long x, long long y) { return pie.Holds(x, y); }, pen,
                        brush, true);
                }
                if (shape == 4) canvas.Rectangle(c[0], c[1], c[2], c[3]);
                if (shape == 5) canvas.FillRect(c[0], c[1], c[2], c[3]);
                if (shape == 6) canvas.Ellipse(c[0], c[1], c[2], c[3]);
                if (shape == 7) canvas.Pie(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
                FUZZ_CHECK(picture == expected);
                break;
            }
            case 8: {
                const int x = input.Coordinate(), y = input.Coordinate();
                const auto mode = op & 0x40 ? platform::FloodFillMode::Surface : platform::FloodFillMode::Border;
                const QImage before = picture.copy();
                const std::vector<bool> reached = ReferenceFill(before, x, y, colour.rgb(), mode);
                canvas.FloodFill(x, y, colour, mode);
                const QRgb fill = canvas.BrushColour().rgb() | 0xFF000000u;
                for (int py = 0; py < height; ++py) {
                    for (int px = 0; px < width; ++px) {
                        const bool filled = reached[static_cast<std::size_t>(py) * width + px];
                        FUZZ_CHECK(picture.pixel(px, py) == (filled ? fill : before.pixel(px, py)));
                    }
                }
                break;
            }
        }
        for (std::size_t i = 0; i < buffer.size(); ++i) FUZZ_CHECK(inPicture(i) || buffer[i] == kUntouched);
    }
    return 0;
}
