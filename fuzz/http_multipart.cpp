// Fuzz target: a form of photos as a phone sends it for scanning. The input's first line is the
// form's Content-Type and the rest its body. A boundary taken is sound; the parts read lie inside
// the body, in order, none holding the boundary's line, each with a name; the same parts written
// again in the plain form a browser writes them are read back equal; and each part's bytes go
// through the checks of a sent photo, which must refuse or take them without fault.
#include <cstdint>

#include "fuzz_support.h"
#include "platform/http_multipart.h"
#include "scan/photo_upload.h"

namespace {

constexpr int kMostParts = 8;

// A parameter's value as a browser writes it: quoted, unless it holds a '"' (which a quoted
// value cannot), and then as it is.
QByteArray Parameter(const QByteArray& name, const QByteArray& value) {
    return "; " + name + '=' + (value.contains('"') ? value : '"' + value + '"');
}

QByteArray Written(const std::vector<platform::FormPart>& parts, const QByteArray& boundary) {
    QByteArray body;
    for (const platform::FormPart& part : parts) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data" + Parameter("name", part.name);
        if (part.isFile) body += Parameter("filename", part.fileName);
        body += "\r\n";
        if (!part.contentType.isEmpty()) body += "Content-Type: " + part.contentType + "\r\n";
        body += "\r\n" + part.data.toByteArray() + "\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::Bytes(data, size);
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray type = lineEnd < 0 ? input : input.left(lineEnd);
    const QByteArray body = lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1);

    const QByteArray boundary = platform::MultipartBoundary(type);
    if (boundary.isEmpty()) return 0;
    FUZZ_CHECK(boundary.size() <= 70 && !boundary.endsWith(' ') && !boundary.contains('"'));
    const auto parts = platform::ReadMultipartForm(body, boundary, kMostParts);
    if (!parts) return 0;
    FUZZ_CHECK(parts->size() <= std::size_t{kMostParts});
    const QByteArray delimiter = "\r\n--" + boundary;
    const char* after = body.constData();
    for (const platform::FormPart& part : *parts) {
        FUZZ_CHECK(part.data.data() >= after && part.data.data() + part.data.size() <= body.constData() + body.size());
        after = part.data.data() + part.data.size();
        FUZZ_CHECK(!part.data.contains(delimiter));
        FUZZ_CHECK(!part.name.isEmpty());
        scan::CheckPhoto(part.data);
    }

    // Written again, every head well within the limit of a part's head.
    for (const platform::FormPart& part : *parts) {
        if (part.name.size() + part.fileName.size() + part.contentType.size() > 4000) return 0;
    }
    const QByteArray again = Written(*parts, boundary);
    const auto read = platform::ReadMultipartForm(again, boundary, kMostParts);
    FUZZ_CHECK(read && read->size() == parts->size());
    for (std::size_t i = 0; i < parts->size(); ++i) {
        const platform::FormPart& first = (*parts)[i];
        const platform::FormPart& second = (*read)[i];
        FUZZ_CHECK(first.name == second.name && first.isFile == second.isFile && first.fileName == second.fileName &&
                   first.contentType == second.contentType && first.data == second.data);
    }
    return 0;
}
