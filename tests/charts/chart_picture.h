// A chart drawn into a picture without a window, with the texts handed to the canvas, and a
// printed page of a chart body, for tests that read pictures and pages back pixel by pixel.
#pragma once

#include <QImage>
#include <vector>

#include "platform/canvas.h"
#include "support/recording_printer.h"

namespace charts_testing {

struct ChartPicture {
    ChartPicture(int width, int height) : picture(width, height, QImage::Format_RGB32) {
        picture.fill(Qt::green);  // whatever the picture held before is cleared
        canvas.SetTextObserver([this](const platform::DrawnText& text) { texts.push_back(text); });
    }
    ChartPicture(const ChartPicture&) = delete;

    QColor At(int x, int y) const { return QColor(picture.pixel(x, y)); }
    std::vector<QByteArray> Texts() const {
        std::vector<QByteArray> all;
        for (const auto& text : texts) all.push_back(text.text);
        return all;
    }

    QImage picture;
    platform::Canvas canvas{picture};
    std::vector<platform::DrawnText> texts;
};

// Prints a chart body on one landscape page of 3200 x 2300 printer pixels: H = 2185, W = 2656.
template <typename Body>
void PrintBody(testing_support::RecordingPrinter& printer, Body body) {
    printer.SetOrientation(platform::Orientation::Landscape);
    printer.BeginDoc();
    printer.PageCanvas().SetFont({QStringLiteral("times new roman"), 14, true, true, Qt::black});
    body(printer.PageCanvas(), std::uint16_t{2185}, std::uint16_t{2656});
    printer.EndDoc();
}

}  // namespace charts_testing
