// The printer text stream: line advance, breaking a run that is wider than the page, page breaks.
#include "platform/printer_text_stream.h"

#include <gtest/gtest.h>

#include "support/recording_printer.h"

using platform::PrinterTextStream;
using testing_support::RecordingPrinter;

namespace {

// A portrait page of the given printable size with Times 12 points at 300 dpi.
struct StreamOnPage {
    explicit StreamOnPage(QSize portrait) : printer(portrait.transposed()), stream(printer) {
        printer.PageCanvas().SetFont({QStringLiteral("times new roman"), 12});
        stream.Open();
    }
    void Line(const QByteArray& text) {
        stream.Write(text);
        stream.EndLine();
    }
    int Height() { return printer.PageCanvas().TextHeight("X"); }

    RecordingPrinter printer;
    PrinterTextStream stream;
};

}  // namespace

TEST(PrinterTextStream, LinesAdvanceByTheirHeightPlusTwoAndEmptyLinesByTheCellHeight) {
    StreamOnPage page({2300, 3200});
    const int h = page.Height();
    page.Line("pierwsza");
    page.stream.EndLine();
    page.stream.Write("trzecia, ");
    page.stream.Flush();
    page.stream.Write("dalej");
    page.stream.Close();

    const auto& texts = page.printer.texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].y, 0);
    EXPECT_EQ(texts[1].y, h + 2 + h);
    // A flushed run keeps the line open: the next one goes on after it; closing draws the rest.
    EXPECT_EQ(texts[2].y, texts[1].y);
    EXPECT_EQ(texts[2].x, page.printer.PageCanvas().TextWidth("trzecia, "));
    EXPECT_EQ(texts[2].text, QByteArray("dalej"));
    EXPECT_EQ(page.printer.jobsEnded(), 1);
}

TEST(PrinterTextStream, AWideRunBreaksAfterTheLastCharacterThatFits) {
    StreamOnPage page({600, 3200});
    const QByteArray text =
        "     Czy zakupy robi Pan/Pani raczej w sklepach osiedlowych, czy "
        "w duzych marketach poza miastem?";
    page.Line(text);
    page.stream.Close();

    const platform::Canvas& canvas = page.printer.PageCanvas();
    const auto& texts = page.printer.texts();
    ASSERT_GE(texts.size(), 2u);
    QByteArray joined;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        joined += texts[i].text;
        EXPECT_EQ(texts[i].x, 0);
        EXPECT_EQ(texts[i].y, static_cast<int>(i) * (page.Height() + 2));
        EXPECT_LE(canvas.TextWidth(texts[i].text), 600);
        if (i + 1 < texts.size()) {
            EXPECT_GT(canvas.TextWidth(texts[i].text + texts[i + 1].text.left(1)), 600) << i;
        }
    }
    EXPECT_EQ(joined, text);
}

TEST(PrinterTextStream, ANewPageStartsWhenTheNextLineWouldPassTheHeightLessTwoLines) {
    const int H = 1000;
    StreamOnPage page({2300, H});
    const int L = page.Height() + 2;
    for (int i = 0; i < 30; ++i) page.Line("wiersz " + QByteArray::number(i));
    page.stream.Close();

    const auto& texts = page.printer.texts();
    ASSERT_EQ(texts.size(), 30u);
    int pageStart = 0;
    for (std::size_t i = 1; i < texts.size(); ++i) {
        const int next = texts[i - 1].y + L;
        if (next > H - 2 * L) {
            EXPECT_EQ(texts[i].page, texts[i - 1].page + 1) << i;
            EXPECT_EQ(texts[i].y, 0) << i;
            pageStart = static_cast<int>(i);
        } else {
            EXPECT_EQ(texts[i].page, texts[i - 1].page) << i;
            EXPECT_EQ(texts[i].y, next) << i;
        }
    }
    EXPECT_GT(pageStart, 0);
    EXPECT_EQ(page.printer.jobsStarted(), 1);
    EXPECT_EQ(static_cast<int>(page.printer.pages().size()), texts.back().page + 1);
}

TEST(PrinterTextStream, ACharacterWiderThanThePagePrintsOnALineOfItsOwn) {
    StreamOnPage page({20, 3200});
    page.Line("WMW");
    page.stream.Close();
    ASSERT_EQ(page.printer.texts().size(), 3u);
    EXPECT_EQ(page.printer.texts()[2].text, QByteArray("W"));
}
