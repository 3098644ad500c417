// Fuzz target: the canvas's shapes and flood fills with arbitrary coordinates on a small picture.
// The picture is a window onto a larger buffer whose margin the canvas must never touch; every
// flood fill must colour exactly the pixels a plain breadth-first fill reaches, and every line of
// a walkable length exactly the pixels of a plain step-by-step walk.
#include <QColor>
#include <QImage>
#include <cstdlib>
#include <deque>
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
            case 6: {
                int c[4];
                for (int& value : c) value = input.Coordinate();
                if (op % 9 == 4) canvas.Rectangle(c[0], c[1], c[2], c[3]);
                if (op % 9 == 5) canvas.FillRect(c[0], c[1], c[2], c[3]);
                if (op % 9 == 6) canvas.Ellipse(c[0], c[1], c[2], c[3]);
                break;
            }
            case 7: {
                int c[8];
                for (int& value : c) value = input.Coordinate();
                canvas.Pie(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
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
