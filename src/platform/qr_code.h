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

// The QR code of a text of digits, capital letters and the code's few signs (" $%*+-./:"),
// in its compact alphanumeric mode and at error correction level Q: a small code that still
// reads with a quarter of it marked over, as on a sheet filled in by hand.
QrCode EncodeCompactQrCode(const QByteArray& text);

}  // namespace platform
