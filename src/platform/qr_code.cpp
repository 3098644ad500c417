// QR codes by libqrencode.
#include "platform/qr_code.h"

#include <qrencode.h>

namespace platform {

QrCode EncodeQrCode(const QString& text) {
    QrCode code;
    const QByteArray bytes = text.toUtf8();
    QRcode* encoded = QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M);
    if (!encoded) return code;
    code.size = encoded->width;
    code.dark.resize(static_cast<std::size_t>(code.size) * static_cast<std::size_t>(code.size));
    for (std::size_t i = 0; i < code.dark.size(); ++i) code.dark[i] = encoded->data[i] & 1u;
    QRcode_free(encoded);
    return code;
}

}  // namespace platform
