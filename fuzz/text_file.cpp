// Fuzz target: the text line reader and the lenient number reader against a plain statement of
// their rules, and the writer's lines read back unchanged.
#include <QList>
#include <climits>

#include "fuzz_support.h"
#include "platform/text_file.h"

namespace {

// The lines of a file: it ends at its end or at its first byte 1A; a line ends at a carriage
// return, and one line feed right after it belongs to that line end.
QList<QByteArray> ReferenceLines(const QByteArray& bytes) {
    const qsizetype end = bytes.contains('\x1A') ? bytes.indexOf('\x1A') : bytes.size();
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (at < end) {
        qsizetype stop = at;
        while (stop < end && bytes[stop] != '\r') ++stop;
        lines.append(bytes.mid(at, stop - at));
        at = stop;
        if (at < end) ++at;                               // the carriage return
        if (at < end && bytes[at] == '\n') ++at;          // one line feed after it
    }
    return lines;
}

// Blanks and tabs, one sign, the digits that follow; no digits is 0, and a value past 64 bits
// is the largest one, with its sign.
long long ReferenceNumber(const QByteArray& line) {
    qsizetype at = 0;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    bool negative = false;
    if (at < line.size() && (line[at] == '-' || line[at] == '+')) negative = line[at++] == '-';
    QByteArray digits;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') digits.append(line[at++]);
    while (digits.startsWith('0')) digits.remove(0, 1);
    const QByteArray largest = QByteArray::number(LLONG_MAX);
    long long value = 0;
    if (digits.size() > largest.size() || (digits.size() == largest.size() && digits > largest)) {
        value = LLONG_MAX;
    } else if (!digits.isEmpty()) {
        value = digits.toLongLong();
    }
    return negative ? -value : value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString input = fuzz::FilePath("input.txt");
    const QString written = fuzz::FilePath("written.txt");
    fuzz::WriteBytes(input, bytes);

    const QList<QByteArray> expected = ReferenceLines(bytes);
    QList<QByteArray> lines;
    {
        platform::TextFileReader file(input);
        while (!file.AtEnd()) lines.append(file.ReadLine());
        // Past the end every line is empty and every number 0.
        FUZZ_CHECK(file.ReadLine().isEmpty() && file.ReadNumber() == 0 && file.AtEnd());
        file.Close();
    }
    FUZZ_CHECK(lines == expected);
    {
        platform::TextFileReader file(input);
        for (const QByteArray& line : expected) {
            const long long number = file.ReadNumber();
            FUZZ_CHECK(number == ReferenceNumber(line) && number == platform::ParseNumber(line));
        }
        file.Close();
    }
    FUZZ_CHECK(platform::ParseNumber(bytes) == ReferenceNumber(bytes));

    platform::WriteFileReplacing(written, [&](platform::TextFileWriter& file) {
        for (const QByteArray& line : lines) file.WriteLine(line);
        file.WriteNumber(ReferenceNumber(bytes));
    });
    QList<QByteArray> back;
    platform::TextFileReader file(written);
    while (!file.AtEnd()) back.append(file.ReadLine());
    file.Close();
    FUZZ_CHECK(back.size() == lines.size() + 1 && back.mid(0, lines.size()) == lines);
    FUZZ_CHECK(back.last() == QByteArray::number(ReferenceNumber(bytes)));
    return 0;
}
