// Printing through Qt's printing support: the pages of a printer's queue or of a PDF file, the
// system's default printer and the PDF file that stands in for it on a system without printers.
#include "platform/printer.h"

#include <QDateTime>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <utility>

#include "platform/dialogs.h"
#include "platform/pdf_printer.h"

namespace platform {
namespace {

QString currentPrintoutName;

QPageLayout::Orientation LayoutOrientation(Orientation orientation) {
    return orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

PrintoutName::PrintoutName(QString name) : previous_(std::exchange(currentPrintoutName, std::move(name))) {}

PrintoutName::~PrintoutName() { currentPrintoutName = std::move(previous_); }

QString PrintoutName::Current() { return currentPrintoutName; }

PagePrinter::PagePrinter(int dotsPerInch) : canvas_(dotsPerInch) {}

PagePrinter::~PagePrinter() = default;

void PagePrinter::CloseQuietly() noexcept {
    printing_ = false;
    canvas_.ClearTarget();
    if (painter_) painter_->end();
    painter_.reset();
}

QPrinter& PagePrinter::OrientedDevice() {
    QPrinter& device = Device();
    // A running job keeps the orientation it started with; between the jobs of an open document
    // the next page takes the next job's.
    if (!printing_) device.setPageOrientation(LayoutOrientation(orientation_));
    return device;
}

int PagePrinter::PageWidth() { return OrientedDevice().pageRect(QPrinter::DevicePixel).toRect().width(); }

int PagePrinter::PageHeight() { return OrientedDevice().pageRect(QPrinter::DevicePixel).toRect().height(); }

int PagePrinter::Resolution() { return OrientedDevice().resolution(); }

void PagePrinter::BeginDoc() {
    if (printing_) throw PrinterError("Drukowanie już trwa");
    QPrinter& device = OrientedDevice();
    if (painter_) {
        if (!device.newPage()) throw PrinterError("Nie można rozpocząć wydruku");
    } else {
        StartingDocument(device);
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(&device)) throw PrinterError("Nie można rozpocząć wydruku");
        painter_ = std::move(painter);
    }
    printing_ = true;
    canvas_.SetTarget(*painter_, device.pageRect(QPrinter::DevicePixel).toRect().size(),
                      device.resolution());
}

void PagePrinter::NewPage() {
    if (printing_) Device().newPage();
}

void PagePrinter::EndDoc() {
    if (!printing_) return;
    printing_ = false;
    canvas_.ClearTarget();
    if (!KeepsDocumentOpen()) CloseDocument();
}

void PagePrinter::CloseDocument() {
    if (!painter_) return;
    canvas_.ClearTarget();
    QPrinter& device = Device();
    const bool sent = painter_->end() && device.printerState() != QPrinter::Error &&
                      device.printerState() != QPrinter::Aborted;
    painter_.reset();
    if (!sent) throw PrinterError("Nie można dokończyć wydruku");
}

SystemPrinter::SystemPrinter(Dialogs& dialogs) : dialogs_(dialogs) {}

SystemPrinter::SystemPrinter(Dialogs& dialogs, std::unique_ptr<QPrinter> printer)
    : dialogs_(dialogs), printer_(std::move(printer)) {}

SystemPrinter::~SystemPrinter() { CloseQuietly(); }

QPrinter& SystemPrinter::Device() {
    if (!printer_) {
        const QPrinterInfo info = DefaultPrinter();
        if (!info.isNull()) {
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        } else if (!HasAnyPrinter()) {
            printer_ = A4PdfDevice(kPdfDotsPerInch);
            toPdf_ = true;
        } else {
            throw PrinterError("Nie znaleziono drukarki");
        }
    }
    return *printer_;
}

void SystemPrinter::StartingDocument(QPrinter& device) {
    if (!toPdf_) return;
    pdfFile_ = NewPdfFileName();
    device.setOutputFileName(pdfFile_);
    device.setDocName(QFileInfo(pdfFile_).completeBaseName());
}

void SystemPrinter::BeginDoc() {
    try {
        PagePrinter::BeginDoc();
    } catch (const PrinterError&) {
        if (!DocumentOpen()) pdfFile_.clear();  // no file was begun, so none is announced
        throw;
    }
}

void SystemPrinter::EndDoc() {
    const bool closes = !KeepsDocumentOpen();
    try {
        PagePrinter::EndDoc();
    } catch (const PrinterError&) {
        pdfFile_.clear();
        throw;
    }
    if (closes) FinishPdf();
}

void SystemPrinter::EndPrintout() {
    if (printouts_ > 0 && --printouts_ > 0) return;
    if (!DocumentOpen()) return;
    try {
        CloseDocument();
    } catch (const PrinterError&) {
        pdfFile_.clear();
        throw;
    }
    FinishPdf();
}

void SystemPrinter::FinishPdf() {
    if (pdfFile_.isEmpty()) return;
    const QString file = std::exchange(pdfFile_, QString());
    dialogs_.Notice(QStringLiteral("Nie znaleziono drukarki, więc wydruk zapisano w pliku PDF:\n") +
                    QDir::toNativeSeparators(file));
}

QPrinterInfo SystemPrinter::DefaultPrinter() const { return QPrinterInfo::defaultPrinter(); }

bool SystemPrinter::HasAnyPrinter() const { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

QString SystemPrinter::DocumentsFolder() const {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString FittingFileName(const QString& stem, const QString& tail) {
    constexpr qsizetype kLongestName = 255;
    QString cut = stem;
    while (!cut.isEmpty() && (cut + tail).toUtf8().size() > kLongestName) {
        cut.chop(cut.size() >= 2 && cut.back().isLowSurrogate() ? 2 : 1);
    }
    return cut.trimmed() + tail;
}

// "<the printing window's base caption> <date> <time>.pdf", e.g. "Wykres słupkowy 2026-05-04
// 10.30.00.pdf", numbered when a file of that name is already there.
QString SystemPrinter::NewPdfFileName() const {
    const QDir folder(DocumentsFolder());
    if (!folder.mkpath(QStringLiteral("."))) {
        throw PrinterError("Nie można utworzyć folderu " + folder.path().toStdString());
    }
    QString what = PrintoutName::Current();
    what.remove(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]")));
    what = what.simplified();
    what.remove(QRegularExpression(QStringLiteral("[.\\s]+$")));
    what.remove(QRegularExpression(QStringLiteral("^[.\\s]+")));
    if (what.isEmpty()) what = QStringLiteral("Narzędzia");
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString name = folder.filePath(FittingFileName(what, u' ' + time + QStringLiteral(".pdf")));
    for (int n = 2; QFileInfo::exists(name); ++n) {
        name = folder.filePath(
            FittingFileName(what, u' ' + time + QStringLiteral(" (%1).pdf").arg(n)));
    }
    return name;
}

}  // namespace platform
