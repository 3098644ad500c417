// A chart drawn into a picture without a window, with the texts handed to the canvas, for tests
// that read the picture back pixel by pixel.
#pragma once

#include <QImage>
#include <vector>

#include "platform/canvas.h"

namespace charts_testing {

struct ChartPicture {
    ChartPicture(int width, int height) : picture(width, height, QImage::Format_RGB32) {
        picture.fill(Qt::green);  // whatever the picture held before is cleared
        canvas.SetTextObserver([this](const platform::DrawnText& text) { texts.push_back(text); });
    }
    ChartPicture(const ChartPicture&) = delete;
    ChartPicture& operator=(const ChartPicture&) = delete;

    QColor At(int x, int y) const { return QColor(picture.pixel(x, y)); }
    const platform::DrawnText* Text(const QByteArray& text) const {
        for (const platform::DrawnText& drawn : texts) {
            if (drawn.text == text) return &drawn;
        }
        return nullptr;
    }

    QImage picture;
    platform::Canvas canvas{picture};
    std::vector<platform::DrawnText> texts;
};

}  // namespace charts_testing
