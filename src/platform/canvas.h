// Drawing on a picture or a printer page with a current pen, brush and font. Shapes follow the
// rules of the charts: a rectangle from (x1, y1) to (x2, y2) covers columns x1..x2-1 and rows
// y1..y2-1, a line leaves out its end point, text is drawn on an opaque background of the brush
// colour. Pictures are drawn without antialiasing, so every pixel lies where it is placed; a page
// gets each shape as one vector shape covering the same pixels of the page.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <utility>

class QPaintDevice;
class QPainter;
class QRectF;

namespace platform {

enum class PenStyle { Solid, Dotted };
enum class FloodFillMode {
    Border,   // fill every connected pixel that is not the given colour
    Surface,  // fill every connected pixel that is the given colour
};

struct CanvasFont {
    QString face = QStringLiteral("MS Sans Serif");
    int points = 8;
    bool bold = false;
    bool underline = false;
    QColor colour = Qt::black;

    friend bool operator==(const CanvasFont&, const CanvasFont&) = default;
};

// One text handed to a canvas, as a recording printer keeps it for tests.
struct DrawnText {
    int x = 0;
    int y = 0;
    QByteArray text;  // Windows-1250 bytes, as handed over
    CanvasFont font;
    QColor background;
};

class Canvas {
public:
    // A canvas on no surface yet (a printer's before its job starts): the pen, brush and font can
    // be set and texts measured, drawing has no effect.
    explicit Canvas(int dotsPerInch = 96) : dpi_(dotsPerInch) {}
    // A canvas on a picture. The picture must outlive the canvas; it is converted to RGB32.
    explicit Canvas(QImage& picture, int dotsPerInch = 96);
    // A canvas on a page that a painter is already open on (a printer page); no flood fill.
    Canvas(QPainter& page, QSize pageSize, int dotsPerInch);

    // Points the canvas at another surface; pen, brush and font stay as they are.
    void SetTarget(QImage& picture, int dotsPerInch = 96);
    void SetTarget(QPainter& page, QSize pageSize, int dotsPerInch);
    void ClearTarget();

    QSize size() const { return size_; }
    QImage* picture() const { return image_; }

    void SetPen(QColor colour, PenStyle style = PenStyle::Solid);
    QColor PenColour() const { return penColour_; }
    PenStyle CurrentPenStyle() const { return penStyle_; }
    void SetBrush(QColor colour) { brush_ = colour; }
    QColor BrushColour() const { return brush_; }
    void SetFont(const CanvasFont& font) { font_ = font; }
    CanvasFont& Font() { return font_; }
    const CanvasFont& Font() const { return font_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // from the pen position; the end point is not drawn
    void Rectangle(int x1, int y1, int x2, int y2);  // filled with the brush, outlined with the pen
    void FillRect(int x1, int y1, int x2, int y2);   // filled with the brush, no outline
    void Ellipse(int x1, int y1, int x2, int y2);    // inscribed in the box, filled and outlined
    // The sector of the ellipse inscribed in the box, counterclockwise on the page from the ray
    // through (x3, y3) to the ray through (x4, y4); filled and outlined. Equal rays give the whole
    // ellipse.
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    // Pictures only: 4-connected fill with the brush from (x, y).
    void FloodFill(int x, int y, QColor colour, FloodFillMode mode);
    void TextOut(int x, int y, const QByteArray& text);  // Windows-1250 bytes
    int TextWidth(const QByteArray& text) const;
    int TextHeight(const QByteArray& text) const;

    // Called for every text drawn (the recording printer keeps them).
    void SetTextObserver(std::function<void(const DrawnText&)> observer) {
        observer_ = std::move(observer);
    }

    // Points to pixels at the canvas's resolution, as text sizes were converted on the platform
    // the charts were designed for: 8 pt at 96 dpi is 11 pixels.
    int PixelSize(int points) const;
    QFont QtFont() const;

private:
    // One row of pixels from..to (inclusive) in a colour, clipped to the surface. In 64 bits, so
    // that edges computed from any int coordinates arrive without overflow.
    void Span(long long from, long long to, long long y, QColor colour);
    // Fills the pixels of the box (x1, y1)-(x2, y2) for which `inside` holds with the brush and
    // outlines them with the pen: a pixel with a 4-neighbour outside the shape is its outline.
    // Marks in cells[0 .. to - from] the pixels of row y, between x = from and x = to, that
    // belong to the shape, and returns the first and last x between which all marks lie.
    using RowOfShape = std::function<std::pair<int, int>(int y, int from, int to, char* cells)>;
    void PaintShape(int x1, int y1, int x2, int y2, const RowOfShape& rowOfShape);

    // Pages: a line from the pen position, and a shape drawn by `draw` with the page's pen
    // (when outlined) and the given fill.
    void PageLine(int x, int y);
    void PageShape(const std::function<void(QPainter&)>& draw, bool outlined, QColor fill);
    static QRectF OutlineBox(int x1, int y1, int x2, int y2);

    // The metrics of the current font on the current surface, kept while neither changes: texts
    // are measured several times each as they are laid out.
    struct MeasuredFont {
        CanvasFont font;
        const QPaintDevice* device;
        int dpi;
        bool onPage;
        QFontMetrics metrics;
    };
    const QFontMetrics& Metrics() const;
    mutable std::shared_ptr<const MeasuredFont> metrics_;

    QImage* image_ = nullptr;
    QPainter* page_ = nullptr;
    QSize size_;
    int dpi_ = 96;
    QColor penColour_ = Qt::black;
    PenStyle penStyle_ = PenStyle::Solid;
    QColor brush_ = Qt::white;
    CanvasFont font_;
    int penX_ = 0;
    int penY_ = 0;
    std::function<void(const DrawnText&)> observer_;
};

}  // namespace platform
