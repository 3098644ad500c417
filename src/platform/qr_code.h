// A text as a QR code: its square of dark and light modules, for a window to draw.
#pragma once

#include <QString>
#include <vector>

namespace platform {

struct QrCode {
    int size = 0;               // modules a side; 0 when the text could not be encoded
    std::vector<bool> dark;     // row by row, size × size

    bool Dark(int x, int y) const { return dark[static_cast<std::size_t>(y * size + x)]; }
};

// The QR code of `text` (UTF-8, error correction level M).
QrCode EncodeQrCode(const QString& text);

}  // namespace platform
