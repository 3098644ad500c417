// The printer text stream: breaking a run wider than the page, page breaks.
#include "platform/printer_text_stream.h"

#include <gtest/gtest.h>

#include "support/recording_printer.h"

using testing_support::RecordingPrinter;

namespace {

// Prints the lines on a portrait page of the given printable size, Times 12 points at 300 dpi.
void PrintLines(RecordingPrinter& printer, const QList<QByteArray>& lines) {
    printer.PageCanvas().SetFont({QStringLiteral("times new roman"), 12});
    platform::PrinterTextStream stream(printer);
    stream.Open();
    for (const QByteArray& line : lines) {
        stream.Write(line);
        stream.EndLine();
    }
    stream.Close();
}

}  // namespace

TEST(PrinterTextStream, AWideRunBreaksAfterTheLastCharacterThatFits) {
    RecordingPrinter printer(QSize(3200, 600));
    const QByteArray text = "     Czy zakupy robi Pan/Pani raczej w sklepach osiedlowych?";
    PrintLines(printer, {text});
    const platform::Canvas& canvas = printer.PageCanvas();
    const auto& texts = printer.texts();
    ASSERT_GE(texts.size(), 2u);
    QByteArray joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        joined += texts[i].text;
        EXPECT_EQ(texts[i].y, static_cast<int>(i) * (canvas.TextHeight("X") + 2));
        if (i + 1 < texts.size()) {
            EXPECT_LE(canvas.TextWidth(texts[i].text), 600);
            EXPECT_GT(canvas.TextWidth(texts[i].text + texts[i + 1].text.left(1)), 600);
        }
    }
    EXPECT_EQ(joined, text);

    // A character wider than the whole page gets a line of its own instead of breaking forever.
    RecordingPrinter narrow(QSize(3200, 20));
    PrintLines(narrow, {"WMW"});
    EXPECT_EQ(narrow.texts().size(), 3u);
}

TEST(PrinterTextStream, ANewPageStartsWhenTheNextLineWouldPassTheHeightLessTwoLines) {
    const int H = 1000;
    RecordingPrinter printer(QSize(H, 2300));
    PrintLines(printer, QList<QByteArray>(30, "wiersz"));
    const int L = printer.PageCanvas().TextHeight("X") + 2;
    const auto& texts = printer.texts();
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const bool full = texts[i - 1].y + L > H - 2 * L;
        EXPECT_EQ(texts[i].page, texts[i - 1].page + (full ? 1 : 0)) << i;
        EXPECT_EQ(texts[i].y, full ? 0 : texts[i - 1].y + L) << i;
    }
    EXPECT_GT(texts.back().page, 0);
    EXPECT_EQ(printer.jobsEnded(), 1);
}
