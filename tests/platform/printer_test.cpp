// The printers: the recording printer the tests print on, the system printer's refusal when
// there is no printer, and its report of a job that could not be sent.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPaintEngine>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/printer.h"
#include "support/recording_printer.h"
#include "support/temp_folder.h"

using platform::Orientation;
using testing_support::RecordingPrinter;

TEST(RecordingPrinter, PagesFollowTheOrientationAndTextsAreRecorded) {
    RecordingPrinter printer(QSize(3200, 2300));
    printer.SetOrientation(Orientation::Landscape);
    EXPECT_EQ(printer.PageWidth(), 3200);
    EXPECT_EQ(printer.PageHeight(), 2300);
    printer.SetOrientation(Orientation::Portrait);
    EXPECT_EQ(printer.PageWidth(), 2300);
    EXPECT_EQ(printer.PageHeight(), 3200);

    // Fonts and pens can be set before the job starts and carry over.
    printer.PageCanvas().Font().face = QStringLiteral("times new roman");
    printer.PageCanvas().Font().points = 14;
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    printer.PageCanvas().TextOut(10, 30, "Strona 1");
    printer.NewPage();
    printer.PageCanvas().SetBrush(Qt::black);
    printer.PageCanvas().FillRect(0, 0, 10, 10);
    printer.PageCanvas().TextOut(10, 0, "Strona 2");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());

    ASSERT_EQ(printer.pages().size(), 2u);
    EXPECT_EQ(printer.pages()[0].size(), QSize(2300, 3200));
    EXPECT_EQ(QColor(printer.pages()[0].pixel(5, 5)), QColor(Qt::white));
    EXPECT_EQ(QColor(printer.pages()[1].pixel(5, 5)), QColor(Qt::black));
    ASSERT_EQ(printer.texts().size(), 2u);
    EXPECT_EQ(printer.texts()[0].page, 0);
    EXPECT_EQ(printer.texts()[1].page, 1);
    EXPECT_EQ(printer.texts()[1].text, QByteArray("Strona 2"));
    EXPECT_EQ(printer.texts()[0].font.points, 14);
    EXPECT_EQ(printer.jobsStarted(), 1);
    EXPECT_EQ(printer.jobsEnded(), 1);
    // Drawing after the job reaches no page and is not recorded.
    printer.PageCanvas().TextOut(0, 0, "late");
    EXPECT_EQ(printer.pages().size(), 2u);
    EXPECT_EQ(printer.texts().size(), 2u);

    // A second job counts pages on; turning the page in the middle of a job waits for the next.
    printer.SetOrientation(Orientation::Landscape);
    printer.BeginDoc();
    printer.SetOrientation(Orientation::Portrait);
    EXPECT_EQ(printer.PageWidth(), 3200);
    printer.NewPage();
    printer.PageCanvas().TextOut(0, 0, "Strona 4");
    printer.EndDoc();
    ASSERT_EQ(printer.pages().size(), 4u);
    EXPECT_EQ(printer.pages()[3].size(), QSize(3200, 2300));
    EXPECT_EQ(printer.pageOrientations()[3], Orientation::Landscape);
    ASSERT_EQ(printer.texts().size(), 3u);
    EXPECT_EQ(printer.texts()[2].page, 3);
    EXPECT_EQ(printer.texts()[2].job, 1);
    EXPECT_EQ(printer.jobsEnded(), 2);
}

TEST(RecordingPrinter, RefusesAMissingPrinterAndASecondJob) {
    RecordingPrinter printer;
    printer.SetUnavailable(true);
    EXPECT_THROW(printer.BeginDoc(), platform::PrinterError);
    EXPECT_TRUE(printer.pages().empty());
    printer.SetUnavailable(false);
    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), platform::PrinterError);
    printer.EndDoc();
    EXPECT_EQ(printer.jobsStarted(), 1);
}

TEST(SystemPrinter, WithoutADefaultPrinterNothingIsPrintedAndTheMessageIsClear) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
    platform::SystemPrinter printer;
    printer.SetOrientation(Orientation::Landscape);
    try {
        printer.BeginDoc();
        FAIL() << "printing started without a printer";
    } catch (const platform::PrinterError& error) {
        EXPECT_STREQ(error.what(), "Nie znaleziono drukarki");
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_THROW(printer.PageWidth(), platform::PrinterError);
}

namespace {

// A printer whose job fails as it is sent: its paint engine cannot finish the job.
class PrinterThatFailsToSend : public QPrinter {
public:
    QPaintEngine* paintEngine() const override { return &engine_; }

private:
    struct Engine : QPaintEngine {
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return false; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        Type type() const override { return User; }
    };
    mutable Engine engine_;
};

}  // namespace

TEST(SystemPrinter, AJobThatCannotBeSentIsAnErrorAndASentOneIsNot) {
    platform::SystemPrinter failing(std::make_unique<PrinterThatFailsToSend>());
    failing.BeginDoc();
    EXPECT_THROW(failing.EndDoc(), platform::PrinterError);
    EXPECT_FALSE(failing.Printing());

    testing_support::TempFolder folder;
    auto pdf = std::make_unique<QPrinter>();
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(folder.File("wydruk.pdf"));
    platform::SystemPrinter working(std::move(pdf));
    working.BeginDoc();
    working.PageCanvas().TextOut(10, 10, "Strona");
    working.EndDoc();
    EXPECT_GT(QFileInfo(folder.File("wydruk.pdf")).size(), 0);
}
