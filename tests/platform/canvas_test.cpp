// The drawing canvas, read back pixel by pixel: rectangles and lines with their edge rules,
// ellipses and pie sectors with closed outlines, flood fills, opaque text.
#include <gtest/gtest.h>

#include <QPainter>
#include <array>
#include <functional>
#include <limits>
#include <random>
#include <set>

#include "platform/canvas.h"

using platform::Canvas;
using platform::FloodFillMode;
using platform::PenStyle;

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kMaroon(0x80, 0x00, 0x00);

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : picture(60, 40, QImage::Format_RGB32), canvas((picture.fill(Qt::white), picture)) {}

    QColor At(int x, int y) const { return QColor(picture.pixel(x, y)); }
    int Count(QColor colour) const {
        int n = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) n += At(x, y) == colour;
        return n;
    }

    QImage picture;
    Canvas canvas;
};

}  // namespace

TEST_F(CanvasTest, RectangleCoversItsBoxLessTheRightAndBottomEdge) {
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::red);
    canvas.Rectangle(10, 10, 20, 15);
    for (int x = 10; x < 20; ++x) {
        EXPECT_EQ(At(x, 10), QColor(Qt::black)) << x;
        EXPECT_EQ(At(x, 14), QColor(Qt::black)) << x;
        EXPECT_EQ(At(x, 15), QColor(Qt::white)) << x;
    }
    for (int y = 10; y < 15; ++y) {
        EXPECT_EQ(At(10, y), QColor(Qt::black));
        EXPECT_EQ(At(19, y), QColor(Qt::black));
        EXPECT_EQ(At(20, y), QColor(Qt::white));
    }
    EXPECT_EQ(At(15, 12), QColor(Qt::red));
    EXPECT_EQ(Count(Qt::red), 8 * 3);
    // Swapped edges give the same box; an empty box draws nothing.
    canvas.SetBrush(Qt::blue);
    canvas.Rectangle(40, 35, 30, 30);
    EXPECT_EQ(At(35, 32), QColor(Qt::blue));
    EXPECT_EQ(At(40, 32), QColor(Qt::white));
    canvas.Rectangle(50, 5, 50, 9);
    EXPECT_EQ(At(50, 6), QColor(Qt::white));
}

TEST_F(CanvasTest, FillRectHasNoOutline) {
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::green);
    canvas.FillRect(2, 3, 5, 6);
    EXPECT_EQ(Count(Qt::green), 9);
    EXPECT_EQ(Count(Qt::black), 0);
    EXPECT_EQ(At(2, 3), QColor(Qt::green));
    EXPECT_EQ(At(5, 5), QColor(Qt::white));
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    canvas.SetPen(Qt::black);
    canvas.MoveTo(5, 5);
    canvas.LineTo(15, 5);
    EXPECT_EQ(At(5, 5), QColor(Qt::black));
    EXPECT_EQ(At(14, 5), QColor(Qt::black));
    EXPECT_EQ(At(15, 5), QColor(Qt::white));
    // A polyline: each joint drawn once, by the segment that starts there.
    canvas.LineTo(15, 10);
    canvas.LineTo(5, 10);
    EXPECT_EQ(At(15, 5), QColor(Qt::black));
    EXPECT_EQ(At(15, 9), QColor(Qt::black));
    EXPECT_EQ(At(15, 10), QColor(Qt::black));
    EXPECT_EQ(At(5, 10), QColor(Qt::white));
    EXPECT_EQ(Count(Qt::black), 10 + 5 + 10);
}

TEST_F(CanvasTest, DiagonalLinesAreEightConnected) {
    canvas.SetPen(Qt::black);
    canvas.MoveTo(0, 0);
    canvas.LineTo(30, 11);
    int previousY = 0;
    for (int x = 0; x < 30; ++x) {
        int found = -1;
        for (int y = 0; y < 40; ++y) {
            if (At(x, y) == QColor(Qt::black)) found = y;
        }
        ASSERT_GE(found, 0) << "column " << x;
        EXPECT_LE(found - previousY, 1);
        previousY = found;
    }
    EXPECT_EQ(Count(Qt::black), 30);
}

TEST_F(CanvasTest, DottedPenDrawsEveryOtherPixel) {
    canvas.SetPen(QColor(153, 153, 153), PenStyle::Dotted);
    canvas.MoveTo(0, 1);
    canvas.LineTo(20, 1);
    for (int x = 0; x < 20; ++x) {
        EXPECT_EQ(At(x, 1), x % 2 == 0 ? QColor(153, 153, 153) : QColor(Qt::white)) << x;
    }
}

TEST_F(CanvasTest, EllipseTouchesItsBoxAndHasAClosedOutline) {
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::yellow);
    canvas.Ellipse(10, 5, 50, 35);
    // It touches the four edges of its box and stays inside.
    bool left = false, right = false, top = false, bottom = false;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (At(x, y) == QColor(Qt::white)) continue;
            EXPECT_TRUE(x >= 10 && x < 50 && y >= 5 && y < 35) << x << "," << y;
            left |= x == 10;
            right |= x == 49;
            top |= y == 5;
            bottom |= y == 34;
        }
    }
    EXPECT_TRUE(left && right && top && bottom);
    EXPECT_EQ(At(30, 20), QColor(Qt::yellow));
    // Filling its inside never leaks out, and filling the outside never leaks in.
    canvas.SetBrush(Qt::red);
    canvas.FloodFill(30, 20, Qt::yellow, FloodFillMode::Surface);
    EXPECT_EQ(Count(Qt::yellow), 0);
    EXPECT_EQ(At(0, 0), QColor(Qt::white));
    canvas.SetBrush(Qt::blue);
    canvas.FloodFill(0, 0, Qt::black, FloodFillMode::Border);
    EXPECT_EQ(At(30, 20), QColor(Qt::red));
    EXPECT_EQ(Count(Qt::white), 0);
    // A very narrow ellipse still reaches the top and bottom of its box.
    canvas.Ellipse(0, 0, 2, 40);
    EXPECT_EQ(At(0, 0), QColor(Qt::black));
    EXPECT_EQ(At(1, 39), QColor(Qt::black));
}

TEST_F(CanvasTest, PieGoesCounterclockwiseFromTheFirstRayToTheSecond) {
    QImage big(101, 101, QImage::Format_RGB32);
    big.fill(Qt::white);
    Canvas pie(big);
    pie.SetPen(Qt::black);
    pie.SetBrush(Qt::red);
    // From the ray to the right to the ray upward: the upper right quarter.
    pie.Pie(0, 0, 101, 101, 100, 50, 50, 0);
    EXPECT_EQ(QColor(big.pixel(70, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(big.pixel(30, 30)), QColor(Qt::white));
    EXPECT_EQ(QColor(big.pixel(70, 70)), QColor(Qt::white));
    EXPECT_EQ(QColor(big.pixel(30, 70)), QColor(Qt::white));
    // The other way round: the remaining three quarters.
    big.fill(Qt::white);
    pie.Pie(0, 0, 101, 101, 50, 0, 100, 50);
    EXPECT_EQ(QColor(big.pixel(70, 30)), QColor(Qt::white));
    EXPECT_EQ(QColor(big.pixel(30, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(big.pixel(70, 70)), QColor(Qt::red));
    // From the right to the left: the upper half, its diameter drawn with the pen.
    big.fill(Qt::white);
    pie.Pie(0, 0, 101, 101, 100, 50, 0, 50);
    EXPECT_EQ(QColor(big.pixel(30, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(big.pixel(70, 30)), QColor(Qt::red));
    EXPECT_EQ(QColor(big.pixel(50, 50)), QColor(Qt::black));
    EXPECT_EQ(QColor(big.pixel(50, 51)), QColor(Qt::white));
    // Equal rays give the whole ellipse, outlined all round.
    big.fill(Qt::white);
    pie.Pie(0, 0, 101, 101, 100, 50, 100, 50);
    for (const QPoint p : {QPoint(70, 30), QPoint(30, 30), QPoint(70, 70), QPoint(30, 70)}) {
        EXPECT_EQ(QColor(big.pixel(p)), QColor(Qt::red));
    }
    EXPECT_EQ(QColor(big.pixel(0, 50)), QColor(Qt::black));
    EXPECT_EQ(QColor(big.pixel(100, 50)), QColor(Qt::black));
}

TEST(CanvasEllipse, IsTheSameMirroredAcrossAndUpsideDown) {
    for (const QRect box : {QRect(3, 2, 41, 27), QRect(10, 1, 30, 30), QRect(20, 4, 2, 25),
                            QRect(6, 12, 38, 1), QRect(1, 1, 47, 3)}) {
        QImage image(50, 32, QImage::Format_RGB32);
        image.fill(Qt::white);
        Canvas canvas(image);
        canvas.SetPen(Qt::black);
        canvas.SetBrush(Qt::red);
        canvas.Ellipse(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
        const QImage inBox = image.copy(box);
        EXPECT_EQ(inBox, inBox.mirrored(true, false)) << box.width() << 'x' << box.height();
        EXPECT_EQ(inBox, inBox.mirrored(false, true)) << box.width() << 'x' << box.height();
    }
}

TEST(CanvasPie, TwoSectorsBetweenTheSameRaysCoverTheirEllipseAndNothingElse) {
    // Boxes partly off the picture and rays of every kind: steep, flat, through the centre
    // column, a half turn apart.
    struct Case {
        QRect box;
        QPoint first, second;
    };
    const Case cases[] = {
        {{5, 3, 51, 31}, {60, 10}, {0, 25}},   {{-20, -8, 70, 50}, {30, -40}, {29, 90}},
        {{10, 10, 40, 24}, {30, 0}, {30, 40}}, {{-5, 5, 12, 24}, {-1, 0}, {2, 40}},
        {{8, 2, 47, 36}, {0, 19}, {60, 19}},   {{12, 4, 36, 33}, {29, 5}, {31, 5}},
    };
    for (const Case& c : cases) {
        const auto picture = [&](auto draw) {
            QImage image(50, 32, QImage::Format_RGB32);
            image.fill(Qt::white);
            Canvas canvas(image);
            draw(canvas);
            return image;
        };
        const auto [x1, y1, x2, y2] = std::array{c.box.left(), c.box.top(), c.box.left() + c.box.width(),
                                                 c.box.top() + c.box.height()};
        const QImage ellipse = picture([&](Canvas& canvas) {
            canvas.SetPen(Qt::black);
            canvas.SetBrush(Qt::black);
            canvas.Ellipse(x1, y1, x2, y2);
        });
        const QImage sectors = picture([&](Canvas& canvas) {
            canvas.SetPen(Qt::red);
            canvas.SetBrush(Qt::red);
            canvas.Pie(x1, y1, x2, y2, c.first.x(), c.first.y(), c.second.x(), c.second.y());
            canvas.SetPen(Qt::blue);
            canvas.SetBrush(Qt::blue);
            canvas.Pie(x1, y1, x2, y2, c.second.x(), c.second.y(), c.first.x(), c.first.y());
        });
        int red = 0, blue = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 50; ++x) {
                const bool inEllipse = ellipse.pixel(x, y) == QColor(Qt::black).rgb();
                EXPECT_EQ(sectors.pixel(x, y) != QColor(Qt::white).rgb(), inEllipse)
                    << c.box.x() << ',' << c.box.y() << " at " << x << ',' << y;
                red += sectors.pixel(x, y) == QColor(Qt::red).rgb();
                blue += sectors.pixel(x, y) == QColor(Qt::blue).rgb();
            }
        }
        EXPECT_GT(red, 0) << c.box.x() << ',' << c.box.y();
        EXPECT_GT(blue, 0) << c.box.x() << ',' << c.box.y();
    }
}

TEST_F(CanvasTest, PieSectorOutlineIsClosed) {
    QImage big(101, 101, QImage::Format_RGB32);
    big.fill(Qt::white);
    Canvas pie(big);
    pie.SetPen(Qt::black);
    pie.SetBrush(Qt::green);
    pie.Pie(0, 0, 101, 101, 100, 20, 10, 0);  // a thin slanted sector
    pie.SetBrush(Qt::blue);
    pie.FloodFill(0, 100, Qt::black, FloodFillMode::Border);
    int green = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 101; ++x) green += QColor(big.pixel(x, y)) == QColor(Qt::green);
    EXPECT_GT(green, 100);  // the outside fill went round the sector, not into it
}

TEST(CanvasClearing, ABorderFillUpToMaroonPaintsTheWholePictureSilver) {
    QImage picture(777, 333, QImage::Format_RGB32);
    picture.fill(Qt::white);
    Canvas canvas(picture);
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::blue);
    canvas.Rectangle(100, 100, 200, 200);
    canvas.MoveTo(0, 50);
    canvas.LineTo(776, 50);  // a line across the whole picture splits it in two surfaces
    canvas.SetBrush(kSilver);
    canvas.FloodFill(1, 1, kMaroon, FloodFillMode::Border);
    for (int y = 0; y < 333; ++y) {
        for (int x = 0; x < 777; ++x) ASSERT_EQ(QColor(picture.pixel(x, y)), kSilver) << x << "," << y;
    }
    // Filling with the colour already there ends too.
    canvas.FloodFill(5, 5, kMaroon, FloodFillMode::Border);
    canvas.FloodFill(5, 5, kSilver, FloodFillMode::Surface);
    EXPECT_EQ(QColor(picture.pixel(5, 5)), kSilver);
}

TEST_F(CanvasTest, SurfaceFillStaysInItsConnectedArea) {
    canvas.SetPen(Qt::black);
    canvas.MoveTo(30, 0);
    canvas.LineTo(30, 40);
    canvas.SetBrush(Qt::red);
    canvas.FloodFill(5, 5, Qt::white, FloodFillMode::Surface);
    EXPECT_EQ(At(29, 39), QColor(Qt::red));
    EXPECT_EQ(At(31, 0), QColor(Qt::white));
    EXPECT_EQ(At(30, 10), QColor(Qt::black));
    canvas.FloodFill(30, 10, Qt::white, FloodFillMode::Surface);  // the start pixel is not white
    EXPECT_EQ(At(30, 10), QColor(Qt::black));
}

TEST_F(CanvasTest, OutOfRangeCoordinatesAreClipped) {
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::red);
    canvas.Rectangle(-100, -100, 1000000, 20);
    canvas.MoveTo(-5000, -5000);
    canvas.LineTo(5000, 5000);
    canvas.Ellipse(-50, -50, 200, 200);
    canvas.Pie(-1000, -1000, 1000, 1000, 0, 0, 5, 5);
    canvas.FloodFill(-1, 5, Qt::black, FloodFillMode::Border);
    canvas.FloodFill(5, 1000, Qt::black, FloodFillMode::Border);
    EXPECT_EQ(At(30, 10), QColor(Qt::red));
}

TEST_F(CanvasTest, CoordinatesAtTheIntLimitsClipWithoutOverflowing) {
    constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
    canvas.SetPen(Qt::black);
    canvas.SetBrush(Qt::red);
    canvas.FillRect(kMin, 0, kMin, 40);       // empty boxes far to the left
    canvas.Rectangle(kMin, 0, kMin + 1, 40);  // one column, far to the left
    canvas.TextOut(kMax - 1, kMax - 1, "far away");
    EXPECT_EQ(Count(Qt::white), 60 * 40);
    canvas.Ellipse(kMin, 0, kMax, 20);  // so wide that it fills its rows across the picture
    EXPECT_EQ(At(5, 5), QColor(Qt::red));
    EXPECT_EQ(At(5, 25), QColor(Qt::white));
    canvas.MoveTo(kMin, kMin);
    canvas.LineTo(kMax, kMax);  // the main diagonal, through (0, 0)
    EXPECT_EQ(At(30, 30), QColor(Qt::black));
    EXPECT_EQ(At(30, 31), QColor(Qt::white));
}

TEST(CanvasLines, ALineStartingOffThePictureHasThePixelsOfTheWholeLine) {
    // Each line is drawn whole on a large picture and, shifted, clipped on a small one.
    struct Case { int x1, y1, x2, y2; PenStyle pen; };
    for (const Case& line : {Case{-37, -11, 70, 29, PenStyle::Solid}, Case{-5, 50, 33, -41, PenStyle::Dotted},
                             Case{64, 7, -29, 12, PenStyle::Solid}, Case{3, -90, 17, 70, PenStyle::Dotted}}) {
        QImage whole(300, 300, QImage::Format_RGB32), clipped(60, 40, QImage::Format_RGB32);
        whole.fill(Qt::white);
        clipped.fill(Qt::white);
        Canvas big(whole), small(clipped);
        big.SetPen(Qt::black, line.pen);
        small.SetPen(Qt::black, line.pen);
        big.MoveTo(line.x1 + 100, line.y1 + 100);
        big.LineTo(line.x2 + 100, line.y2 + 100);
        small.MoveTo(line.x1, line.y1);
        small.LineTo(line.x2, line.y2);
        EXPECT_EQ(clipped, whole.copy(100, 100, 60, 40)) << line.x1 << "," << line.y1;
    }
}

TEST_F(CanvasTest, TextStandsOnAnOpaqueBackgroundOfTheBrushColour) {
    canvas.SetBrush(kSilver);
    canvas.Font() = platform::CanvasFont{QStringLiteral("MS Sans Serif"), 8, true, false, Qt::black};
    const QByteArray text = "a%";
    const int width = canvas.TextWidth(text);
    const int height = canvas.TextHeight(text);
    EXPECT_EQ(canvas.PixelSize(8), 11);
    EXPECT_GT(width, 5);
    EXPECT_GE(height, 11);
    EXPECT_LT(height, 20);
    canvas.TextOut(3, 4, text);
    std::set<QRgb> colours;
    int black = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const bool inBox = x >= 3 && x < 3 + width && y >= 4 && y < 4 + height;
            if (!inBox) {
                ASSERT_EQ(At(x, y), QColor(Qt::white)) << x << "," << y;
                continue;
            }
            colours.insert(picture.pixel(x, y));
            black += At(x, y) == QColor(Qt::black);
        }
    }
    EXPECT_EQ(colours, (std::set<QRgb>{QColor(Qt::black).rgb(), kSilver.rgb()}));  // no antialiasing
    EXPECT_GT(black, 10);
}

TEST(CanvasText, SizesFollowTheResolutionAndPolishBytesAreDecoded) {
    Canvas screen(96);
    Canvas page(300);
    for (Canvas* canvas : {&screen, &page}) canvas->Font().face = QStringLiteral("times new roman");
    EXPECT_EQ(screen.PixelSize(10), 13);
    EXPECT_EQ(screen.PixelSize(12), 16);
    EXPECT_EQ(screen.PixelSize(14), 19);
    EXPECT_EQ(page.PixelSize(12), 50);
    const QByteArray word = "Ankieta";
    EXPECT_GT(page.TextWidth(word), 2.5 * screen.TextWidth(word));
    // "ąą" is two glyphs, not four bytes of another code page.
    EXPECT_EQ(screen.TextWidth("\xB9\xB9"), 2 * screen.TextWidth("\xB9"));
}

TEST(CanvasText, TheObserverSeesEveryText) {
    QImage picture(100, 30, QImage::Format_RGB32);
    Canvas canvas(picture);
    std::vector<platform::DrawnText> seen;
    canvas.SetTextObserver([&](const platform::DrawnText& text) { seen.push_back(text); });
    canvas.Font().underline = true;
    canvas.TextOut(7, 9, "Pytanie nr 1");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].x, 7);
    EXPECT_EQ(seen[0].y, 9);
    EXPECT_EQ(seen[0].text, QByteArray("Pytanie nr 1"));
    EXPECT_TRUE(seen[0].font.underline);
}

namespace {

// How far apart two drawings of the same primitive are: the pixels that differ, and whether each
// lies within one pixel of a pixel of its own colour in the other drawing (an edge moved by at
// most a pixel).
struct Difference {
    int pixels = 0;
    bool withinAPixel = true;
};

Difference Compare(const QImage& a, const QImage& b) {
    const auto nearby = [](const QImage& image, int x, int y, QRgb colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.rect().contains(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    };
    Difference difference;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y)) continue;
            ++difference.pixels;
            difference.withinAPixel = difference.withinAPixel && nearby(a, x, y, b.pixel(x, y)) &&
                                      nearby(b, x, y, a.pixel(x, y));
        }
    }
    return difference;
}

}  // namespace

// On a page each primitive is one vector shape; drawn onto pixels again it covers what the
// picture rules cover, to within a pixel at its edges.
TEST(CanvasPage, EachShapeCoversWhatThePictureRulesCoverToWithinAPixel) {
    struct Case {
        const char* name;
        std::function<void(Canvas&)> draw;
    };
    const std::vector<Case> cases = {
        {"rectangle", [](Canvas& c) { c.Rectangle(10, 12, 150, 90); }},
        {"thin rectangle", [](Canvas& c) { c.Rectangle(150, 90, 20, 91); }},
        {"filled rectangle", [](Canvas& c) { c.FillRect(-20, 30, 120, 50); }},
        {"ellipse", [](Canvas& c) { c.Ellipse(15, 20, 190, 110); }},
        {"pie, a quarter", [](Canvas& c) { c.Pie(15, 20, 190, 110, 190, 65, 100, 0); }},
        {"pie, more than half", [](Canvas& c) { c.Pie(15, 20, 190, 110, 30, 30, 180, 30); }},
        {"pie, equal rays", [](Canvas& c) { c.Pie(40, 10, 160, 115, 0, 0, 0, 0); }},
        {"lines", [](Canvas& c) {
             c.MoveTo(5, 5);
             for (const QPoint p : {QPoint(180, 5), QPoint(180, 100), QPoint(10, 60), QPoint(60, 118)})
                 c.LineTo(p.x(), p.y());
         }},
        {"text background", [](Canvas& c) { c.TextOut(30, 40, "Ankieta"); }},
    };
    for (const Case& test : cases) {
        QImage picture(200, 120, QImage::Format_RGB32), page = picture;
        picture.fill(Qt::white);
        page.fill(Qt::white);
        Canvas pictureCanvas(picture);
        QPainter painter(&page);
        Canvas pageCanvas(painter, page.size(), 96);
        for (Canvas* canvas : {&pictureCanvas, &pageCanvas}) {
            canvas->SetPen(Qt::black);
            canvas->SetBrush(Qt::red);
            canvas->Font().colour = Qt::red;  // the glyphs vanish into their background
            test.draw(*canvas);
        }
        painter.end();
        const Difference difference = Compare(picture, page);
        EXPECT_TRUE(difference.withinAPixel) << test.name;
        EXPECT_LT(difference.pixels, 300) << test.name;
        EXPECT_NE(picture, QImage(picture.size(), QImage::Format_RGB32)) << test.name;
    }
}

// On paper a dotted line has one dot and one gap per screen pixel at the page's resolution.
TEST(CanvasPage, DottedLinesHaveTheScreensDotPitch) {
    QImage page(200, 3, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    Canvas canvas(painter, page.size(), 96 * 4);
    canvas.SetPen(Qt::black, PenStyle::Dotted);
    canvas.MoveTo(0, 1);
    canvas.LineTo(200, 1);
    painter.end();
    QString row;
    for (int x = 0; x < 24; ++x) row += page.pixel(x, 1) == QColor(Qt::black).rgb() ? u'#' : u'.';
    EXPECT_EQ(row, QStringLiteral("####....####....####...."));
}

// The connected area the fill rule takes, found one pixel at a time: what every fill must paint.
QImage ReferenceFill(QImage picture, QPoint seed, QRgb key, QRgb brush, FloodFillMode mode) {
    const auto meets = [&](QPoint p) {
        return ((picture.pixel(p) & 0xFFFFFF) == key) == (mode == FloodFillMode::Surface);
    };
    std::vector<char> seen(static_cast<std::size_t>(picture.width()) * picture.height(), 0);
    std::vector<QPoint> open;
    if (meets(seed)) open.push_back(seed);
    std::vector<QPoint> area;
    while (!open.empty()) {
        const QPoint p = open.back();
        open.pop_back();
        char& mark = seen[static_cast<std::size_t>(p.y()) * picture.width() + p.x()];
        if (!picture.rect().contains(p) || mark || !meets(p)) continue;
        mark = 1;
        area.push_back(p);
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            if (picture.rect().contains(p + step)) open.push_back(p + step);
        }
    }
    for (const QPoint p : area) picture.setPixel(p, brush);
    return picture;
}

TEST(CanvasFloodFill, PaintsExactlyTheConnectedAreaOnMazesOfThreeColours) {
    // Blotchy pictures of three colours make winding areas; each seed, colour and mode is compared
    // with the plain fill, including a brush of the key colour and one already in the picture.
    const std::array<QRgb, 3> colours{0xC0C0C0, 0x800000, 0x0000FF};
    std::mt19937 random(14);
    for (int round = 0; round < 60; ++round) {
        QImage picture(37 + round % 5, 23, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const bool copyLeft = x > 0 && random() % 3 != 0;
                picture.setPixel(x, y, copyLeft ? picture.pixel(x - 1, y) : 0xFF000000u | colours[random() % 3]);
            }
        }
        const QPoint seed(random() % picture.width(), random() % picture.height());
        const QRgb key = colours[random() % 3], brush = colours[random() % 3];
        const auto mode = round % 2 ? FloodFillMode::Border : FloodFillMode::Surface;
        const QImage expected = ReferenceFill(picture, seed, key, 0xFF000000u | brush, mode);
        Canvas canvas(picture);
        canvas.SetBrush(QColor(brush));
        canvas.FloodFill(seed.x(), seed.y(), QColor(key), mode);
        ASSERT_EQ(picture, expected) << "round " << round;
    }
}
