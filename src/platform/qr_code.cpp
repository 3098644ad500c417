// QR codes by libqrencode.
#include "platform/qr_code.h"

#include <qrencode.h>

namespace platform {

namespace {

QrCode Modules(QRcode* encoded) {
    QrCode code;
    if (!encoded) return code;
    code.size = encoded->width;
    code.dark.resize(static_cast<std::size_t>(code.size) * static_cast<std::size_t>(code.size));
    for (std::size_t i = 0; i < code.dark.size(); ++i) code.dark[i] = encoded->data[i] & 1u;
    QRcode_free(encoded);
    return code;
}

}  // namespace

QrCode EncodeQrCode(const QString& text) {
    return Modules(QRcode_encodeString8bit(text.toUtf8().constData(), 0, QR_ECLEVEL_M));
}

QrCode EncodeCompactQrCode(const QByteArray& text) {
    // Case-sensitive, so that the text is never changed, with the modes chosen for it.
    return Modules(QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_Q, QR_MODE_8, 1));
}

}  // namespace platform
