// A printer whose pages all go into one PDF file: the report's document, and the file that
// stands in for a printer on a system without one.
#pragma once

#include <QString>
#include <memory>
#include <utility>

#include "platform/printer.h"

class QPrinter;

namespace platform {

// The resolution of PDF files that stand in for a printer: a laser printer's.
constexpr int kPdfDotsPerInch = 1200;

// A printer of A4 pages into a PDF file, at the given resolution.
std::unique_ptr<QPrinter> A4PdfDevice(int dotsPerInch);

// A PDF file of A4 pages at a printer's resolution, into which every job goes, page after page,
// until Finish.
class PdfPrinter : public PagePrinter {
public:
    explicit PdfPrinter(QString path = {}, int dotsPerInch = kPdfDotsPerInch);
    ~PdfPrinter() override;
    // The file the next document is written to.
    void SetFileName(QString path) { path_ = std::move(path); }
    // Closes the file; PrinterError when it could not be written. A file with no page is not made.
    void Finish();

protected:
    QPrinter& Device() override;
    bool KeepsDocumentOpen() const override { return true; }
    void StartingDocument(QPrinter& device) override;

private:
    QString path_;
    int dpi_;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace platform
