// A plain statement of how the program reads its text files, for the fuzz targets to judge the
// readers by: the lines of a file and the lenient numbers, written for clarity, not speed.
#pragma once

#include <QByteArray>
#include <QList>
#include <climits>

namespace fuzz {

// The lines of a file: it ends at its end or at its first byte 1A; a line ends at a carriage
// return, and one line feed right after it belongs to that line end.
inline QList<QByteArray> ReferenceLines(const QByteArray& bytes) {
    const qsizetype end = bytes.contains('\x1A') ? bytes.indexOf('\x1A') : bytes.size();
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (at < end) {
        qsizetype stop = at;
        while (stop < end && bytes[stop] != '\r') ++stop;
        lines.append(bytes.mid(at, stop - at));
        at = stop;
        if (at < end) ++at;                       // the carriage return
        if (at < end && bytes[at] == '\n') ++at;  // one line feed after it
    }
    return lines;
}

// Blanks and tabs, one sign, the digits that follow; no digits is 0, and a value past 64 bits
// is the largest one, with its sign.
inline long long ReferenceNumber(const QByteArray& line) {
    qsizetype at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    bool negative = false;
    if (at < line.size() && (line[at] == '-' || line[at] == '+')) negative = line[at++] == '-';
    while (at < line.size() && line[at] == '0') ++at;  // leading zeros add nothing
    QByteArray digits;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') digits.append(line[at++]);
    const QByteArray largest = QByteArray::number(LLONG_MAX);
    long long value = 0;
    if (digits.size() > largest.size() || (digits.size() == largest.size() && digits > largest)) {
        value = LLONG_MAX;
    } else if (!digits.isEmpty()) {
        value = digits.toLongLong();
    }
    return negative ? -value : value;
}

// Line `index` of a file's lines; past the end every line is empty.
inline QByteArray LineAt(const QList<QByteArray>& lines, qsizetype index) {
    return index < lines.size() ? lines[index] : QByteArray();
}

}  // namespace fuzz
