// The printers: the recording printer the tests print on, the system printer on a machine without a
// default printer (a refusal when printers exist, a PDF file when there are none), and its report
// of a job that could not be sent.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

#include "platform/printer.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
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

namespace {

// The system printer on a machine without a default printer, with or without other printers.
class NoDefaultPrinter : public platform::SystemPrinter {
public:
    NoDefaultPrinter(platform::Dialogs& dialogs, bool otherPrinters, QString documents = {})
        : SystemPrinter(dialogs), otherPrinters_(otherPrinters), documents_(std::move(documents)) {}

protected:
    QPrinterInfo DefaultPrinter() const override { return {}; }
    bool HasAnyPrinter() const override { return otherPrinters_; }
    QString DocumentsFolder() const override { return documents_; }

private:
    bool otherPrinters_;
    QString documents_;
};

}  // namespace

TEST(SystemPrinter, WithoutADefaultPrinterNothingIsPrintedAndTheMessageIsClear) {
    testing_support::ScriptedDialogs dialogs;
    NoDefaultPrinter printer(dialogs, true);
    printer.SetOrientation(Orientation::Landscape);
    try {
        printer.BeginDoc();
        FAIL() << "printing started without a printer";
    } catch (const platform::PrinterError& error) {
        EXPECT_STREQ(error.what(), "Nie znaleziono drukarki");
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_THROW(printer.PageWidth(), platform::PrinterError);
    EXPECT_TRUE(dialogs.shown.empty());
}

// The page sizes of a PDF file in points, in page order.
std::vector<QSizeF> PdfPageSizes(const QString& path) {
    const QString pdf = QString::fromLatin1(testing_support::ReadBytes(path));
    std::vector<QSizeF> sizes;
    auto box = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
                   .globalMatch(pdf);
    while (box.hasNext()) {
        const auto match = box.next();
        sizes.emplace_back(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    return sizes;
}

TEST(SystemPrinter, WithoutAnyPrinterEachPrintoutIsOnePdfNamedAfterThePrintingWindow) {
    testing_support::TempFolder temp;
    const QDir documents(temp.File("Dokumenty"));  // made by the first printout
    testing_support::ScriptedDialogs dialogs;
    NoDefaultPrinter printer(dialogs, false, documents.path());
    const auto job = [&](Orientation orientation, int pages) {
        printer.SetOrientation(orientation);
        printer.BeginDoc();
        for (int page = 1; page <= pages; ++page) {
            if (page > 1) printer.NewPage();
            printer.PageCanvas().TextOut(10, 30, "Strona");
        }
        printer.EndDoc();
    };
    {
        const platform::PrintoutName name(QStringLiteral("Wykres słupkowy"));
        job(Orientation::Landscape, 2);  // a job on its own is a printout
    }
    {
        const platform::PrintoutName name(QString(240, u'ż'));  // longer than a file name may be
        platform::Printout printout(printer);
        job(Orientation::Portrait, 1);
        ASSERT_TRUE(dialogs.notices().size() == 1);  // nothing written before the printout ends
        job(Orientation::Landscape, 1);
        job(Orientation::Portrait, 1);
        printout.End();
    }

    const QStringList files = documents.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    ASSERT_EQ(files.size(), 2);
    ASSERT_EQ(dialogs.notices().size(), 2);
    for (const QString& file : files) {
        EXPECT_LE(file.toUtf8().size(), 255);
        EXPECT_EQ(dialogs.notices().filter(documents.filePath(file)).size(), 1);
    }
    const QString chart = files.filter(QStringLiteral("Wykres słupkowy 20")).value(0);
    const QString table = files.filter(QStringLiteral("żżż")).value(0);
    // A4 is 595 by 842 points; each page keeps its job's orientation.
    const auto sizes = [](std::initializer_list<bool> landscape) {
        std::vector<QSizeF> expected;
        for (const bool across : landscape) expected.push_back(across ? QSizeF(842, 595) : QSizeF(595, 842));
        return expected;
    };
    const auto near = [](const std::vector<QSizeF>& got, const std::vector<QSizeF>& expected) {
        if (got.size() != expected.size()) return false;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::abs(got[i].width() - expected[i].width()) > 1 ||
                std::abs(got[i].height() - expected[i].height()) > 1) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(near(PdfPageSizes(documents.filePath(chart)), sizes({true, true}))) << chart.toStdString();
    EXPECT_TRUE(near(PdfPageSizes(documents.filePath(table)), sizes({false, true, false})));
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
    testing_support::ScriptedDialogs dialogs;
    platform::SystemPrinter failing(dialogs, std::make_unique<PrinterThatFailsToSend>());
    failing.BeginDoc();
    EXPECT_THROW(failing.EndDoc(), platform::PrinterError);
    EXPECT_FALSE(failing.Printing());

    testing_support::TempFolder folder;
    auto pdf = std::make_unique<QPrinter>();
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(folder.File("wydruk.pdf"));
    platform::SystemPrinter working(dialogs, std::move(pdf));
    working.BeginDoc();
    working.PageCanvas().TextOut(10, 10, "Strona");
    working.EndDoc();
    EXPECT_GT(QFileInfo(folder.File("wydruk.pdf")).size(), 0);
    EXPECT_TRUE(dialogs.errors().isEmpty() && dialogs.notices().isEmpty());
}
