// Reading multipart/form-data bodies.
#include "platform/http_multipart.h"

#include <algorithm>

namespace platform {
namespace {

constexpr qsizetype kMostPartHeadBytes = 8 * 1024;
constexpr qsizetype kMostBoundaryBytes = 70;

QByteArrayView Trimmed(QByteArrayView text) {
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t')) text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t')) text.chop(1);
    return text;
}

// The parameters after the first ';' of a header's value: name=value or name="value" (a browser
// writes a '"' of a name as %22, so a quoted value ends at the next '"'). Nothing when malformed.
std::optional<std::vector<std::pair<QByteArray, QByteArray>>> Parameters(QByteArrayView rest) {
    std::vector<std::pair<QByteArray, QByteArray>> found;
    while (true) {
        rest = Trimmed(rest);
        if (rest.isEmpty()) return found;
        if (rest.front() != ';') return std::nullopt;
        rest = Trimmed(rest.sliced(1));
        if (rest.isEmpty()) return found;  // a ';' at the end
        const qsizetype equals = rest.indexOf('=');
        if (equals <= 0) return std::nullopt;
        const QByteArray name = Trimmed(rest.first(equals)).toByteArray().toLower();
        rest = Trimmed(rest.sliced(equals + 1));
        QByteArrayView value;
        if (rest.startsWith('"')) {
            const qsizetype close = rest.indexOf('"', 1);
            if (close < 0) return std::nullopt;
            value = rest.sliced(1, close - 1);
            rest = rest.sliced(close + 1);
        } else {
            qsizetype end = rest.indexOf(';');
            if (end < 0) end = rest.size();
            value = Trimmed(rest.first(end));
            rest = rest.sliced(end);
        }
        found.emplace_back(name, value.toByteArray());
    }
}

// A part's head: its header lines, each "Name: value".
bool ReadPartHead(QByteArrayView head, FormPart& part) {
    bool disposition = false;
    bool hasName = false;
    while (!head.isEmpty()) {
        qsizetype end = head.indexOf("\r\n");
        if (end < 0) end = head.size();
        const QByteArrayView line = head.first(end);
        head = end + 2 <= head.size() ? head.sliced(end + 2) : QByteArrayView();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) return false;
        const QByteArray name = Trimmed(line.first(colon)).toByteArray().toLower();
        const QByteArrayView value = Trimmed(line.sliced(colon + 1));
        if (name == "content-disposition") {
            if (disposition) return false;
            disposition = true;
            const qsizetype semicolon = value.indexOf(';');
            const QByteArrayView kind = Trimmed(semicolon < 0 ? value : value.first(semicolon));
            if (kind.compare("form-data", Qt::CaseInsensitive) != 0) return false;
            const auto parameters = Parameters(semicolon < 0 ? QByteArrayView() : value.sliced(semicolon));
            if (!parameters) return false;
            for (const auto& [key, text] : *parameters) {
                if (key == "name") {
                    if (hasName) return false;
                    hasName = true;
                    part.name = text;
                } else if (key == "filename") {
                    if (part.isFile) return false;
                    part.isFile = true;
                    part.fileName = text;
                }
            }
        } else if (name == "content-type") {
            part.contentType = value.toByteArray();
        }
    }
    return disposition && hasName && !part.name.isEmpty();
}

bool IsBoundaryChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           QByteArrayView("'()+_,-./:=? ").contains(c);
}

}  // namespace

QByteArray MultipartBoundary(QByteArrayView contentType) {
    const qsizetype semicolon = contentType.indexOf(';');
    if (semicolon < 0) return {};
    if (Trimmed(contentType.first(semicolon)).compare("multipart/form-data", Qt::CaseInsensitive) != 0) return {};
    const auto parameters = Parameters(contentType.sliced(semicolon));
    if (!parameters) return {};
    QByteArray boundary;
    for (const auto& [name, value] : *parameters) {
        if (name != "boundary") continue;
        if (!boundary.isEmpty()) return {};
        boundary = value;
    }
    const bool sound = !boundary.isEmpty() && boundary.size() <= kMostBoundaryBytes && !boundary.endsWith(' ') &&
                       std::all_of(boundary.begin(), boundary.end(), IsBoundaryChar);
    return sound ? boundary : QByteArray();
}

std::optional<std::vector<FormPart>> ReadMultipartForm(QByteArrayView body, QByteArrayView boundary,
                                                       int mostParts) {
    if (boundary.isEmpty()) return std::nullopt;
    const QByteArray first = "--" + boundary.toByteArray();
    const QByteArray delimiter = "\r\n" + first;
    if (!body.startsWith(first)) return std::nullopt;
    qsizetype at = first.size();  // just after a boundary
    std::vector<FormPart> parts;
    while (true) {
        const QByteArrayView after = body.sliced(at);
        if (after.startsWith("--")) return parts;  // the closing boundary; what follows is left
        // Blanks may follow a boundary before its line ends.
        qsizetype lineEnd = 0;
        while (lineEnd < after.size() && (after[lineEnd] == ' ' || after[lineEnd] == '\t')) ++lineEnd;
        if (!after.sliced(lineEnd).startsWith("\r\n")) return std::nullopt;
        at += lineEnd + 2;
        if (static_cast<int>(parts.size()) >= mostParts) return std::nullopt;
        const QByteArrayView rest = body.sliced(at);
        const qsizetype headEnd = rest.first(std::min(rest.size(), kMostPartHeadBytes + 4)).indexOf("\r\n\r\n");
        FormPart part;
        // A part without a head has no name.
        if (rest.startsWith("\r\n") || headEnd < 0 || !ReadPartHead(rest.first(headEnd), part)) return std::nullopt;
        const qsizetype dataStart = headEnd + 4;
        const qsizetype end = rest.indexOf(delimiter, dataStart);
        if (end < 0) return std::nullopt;
        part.data = rest.sliced(dataStart, end - dataStart);
        parts.push_back(std::move(part));
        at += end + delimiter.size();
    }
}

}  // namespace platform
