// Fuzz target: the text line reader and the lenient number reader against a plain statement of
// their rules, and the writer's lines read back unchanged.
#include <QList>

#include "fuzz_support.h"
#include "platform/text_file.h"
#include "reference_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const QString input = fuzz::FilePath("input.txt");
    const QString written = fuzz::FilePath("written.txt");
    fuzz::WriteBytes(input, bytes);

    const QList<QByteArray> expected = fuzz::ReferenceLines(bytes);
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
            FUZZ_CHECK(number == fuzz::ReferenceNumber(line) &&
                       number == platform::ParseNumber(line));
        }
        file.Close();
    }
    FUZZ_CHECK(platform::ParseNumber(bytes) == fuzz::ReferenceNumber(bytes));

    platform::WriteFileReplacing(written, [&](platform::TextFileWriter& file) {
        for (const QByteArray& line : lines) file.WriteLine(line);
        file.WriteNumber(fuzz::ReferenceNumber(bytes));
    });
    QList<QByteArray> back;
    platform::TextFileReader file(written);
    while (!file.AtEnd()) back.append(file.ReadLine());
    file.Close();
    FUZZ_CHECK(back.size() == lines.size() + 1 && back.mid(0, lines.size()) == lines);
    FUZZ_CHECK(back.last() == QByteArray::number(fuzz::ReferenceNumber(bytes)));
    return 0;
}
