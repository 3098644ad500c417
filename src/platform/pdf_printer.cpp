// The PDF file printer.
#include "platform/pdf_printer.h"

#include <QPageSize>
#include <QPrinter>

namespace platform {

std::unique_ptr<QPrinter> A4PdfDevice(int dotsPerInch) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(dotsPerInch);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

PdfPrinter::PdfPrinter(QString path, int dotsPerInch)
    : PagePrinter(dotsPerInch), path_(std::move(path)), dpi_(dotsPerInch) {}

PdfPrinter::~PdfPrinter() {
    try {
        Finish();
    } catch (const PrinterError&) {
    }
    CloseQuietly();
}

QPrinter& PdfPrinter::Device() {
    if (!printer_) printer_ = A4PdfDevice(dpi_);
    return *printer_;
}

void PdfPrinter::StartingDocument(QPrinter& device) { device.setOutputFileName(path_); }

void PdfPrinter::Finish() {
    if (Printing()) EndDoc();
    CloseDocument();
}

}  // namespace platform
