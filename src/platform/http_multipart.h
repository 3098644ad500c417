// The reading of a form sent as multipart/form-data, as a browser sends a form with a file field:
// the boundary from its Content-Type, and each part's field name, file name, type and bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>
#include <vector>

namespace platform {

struct FormPart {
    QByteArray name;         // the field's name
    bool isFile = false;     // the part came with a file name (perhaps empty: no file chosen)
    QByteArray fileName;     // as sent
    QByteArray contentType;  // as sent; may be empty
    QByteArrayView data;     // the part's bytes, inside the body read
};

// The boundary a Content-Type of multipart/form-data names (1 to 70 characters, quoted or not);
// empty for any other type or a boundary that is not sound.
QByteArray MultipartBoundary(QByteArrayView contentType);

// The parts of `body` (which must outlive them) between its boundaries: the body begins with the
// first boundary and ends with the closing one, every part has a head of at most 8 KiB with a
// Content-Disposition of form-data and a name. Nothing when any of that is not so, or when there
// are more than `mostParts` parts.
std::optional<std::vector<FormPart>> ReadMultipartForm(QByteArrayView body, QByteArrayView boundary,
                                                       int mostParts);

}  // namespace platform
