// The current printer: orientation, printable page size in printer pixels, the print job and a
// canvas on its page. Charts and printouts draw through this interface, so that tests print on a
// recording printer and the program on the system's default printer (or into a PDF file on a
// system without printers).
#pragma once

#include <QSize>
#include <QString>
#include <memory>
#include <utility>
#include <stdexcept>

#include "platform/canvas.h"

class QPainter;
class QPrinter;
class QPrinterInfo;

namespace platform {

class Dialogs;

enum class Orientation { Portrait, Landscape };

// A failure of the printing platform (no printer, a job that cannot start); its text is shown
// in the error box like any other failure of a handler.
class PrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Printer {
public:
    virtual ~Printer() = default;

    virtual void SetOrientation(Orientation orientation) = 0;
    virtual Orientation CurrentOrientation() const = 0;
    // Printable area of the page in the current orientation, in printer pixels.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    // Printer pixels per inch.
    virtual int Resolution() = 0;
    virtual void BeginDoc() = 0;  // throws PrinterError
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;  // throws PrinterError when the job could not be sent
    virtual bool Printing() const = 0;
    // The page's canvas. Pen, brush and font can be set at any time and stay from job to job;
    // drawing reaches the page between BeginDoc and EndDoc.
    virtual Canvas& PageCanvas() = 0;

    // One printout may be several jobs (the results table prints each page as its own job). A
    // printer that writes files keeps all the jobs of a printout in one file; a real printer
    // gets the jobs as they are. A job outside a printout is a printout of its own.
    virtual void BeginPrintout() {}
    virtual void EndPrintout() {}  // throws PrinterError when the file could not be written
};

// Something begun on a printer when made and ended by End(): a print job (sent by End()), or a
// printout of several jobs. One that a failure leaves open is ended all the same, so that the
// printer is free for the next printout; the first failure is the one reported.
template <void (Printer::*Begin)(), void (Printer::*Finish)()>
class PrinterScope {
public:
    explicit PrinterScope(Printer& printer) : printer_(printer) { (printer_.*Begin)(); }
    ~PrinterScope() {
        if (!open_) return;
        try {
            (printer_.*Finish)();
        } catch (...) {
        }
    }
    PrinterScope(const PrinterScope&) = delete;
    PrinterScope& operator=(const PrinterScope&) = delete;

    void End() {
        open_ = false;
        (printer_.*Finish)();
    }

private:
    Printer& printer_;
    bool open_ = true;
};

using PrintJob = PrinterScope<&Printer::BeginDoc, &Printer::EndDoc>;
using Printout = PrinterScope<&Printer::BeginPrintout, &Printer::EndPrintout>;

// The name a printout is filed under when it goes into a file: the base caption of the window
// whose handler is printing ("Menedżer wyników", "Wykres słupkowy"). Set for the length of a
// handler; the innermost one counts.
class PrintoutName {
public:
    explicit PrintoutName(QString name);
    ~PrintoutName();
    PrintoutName(const PrintoutName&) = delete;
    PrintoutName& operator=(const PrintoutName&) = delete;
    static QString Current();

private:
    QString previous_;
};

// Pages drawn through Qt onto a QPrinter: a printer's queue or a PDF file. While a document is
// kept open, each further job goes on in it on a new page, in the job's own orientation.
class PagePrinter : public Printer {
public:
    explicit PagePrinter(int dotsPerInch = 96);
    ~PagePrinter() override;  // the printers end their open document first (CloseQuietly)

    void SetOrientation(Orientation orientation) override { orientation_ = orientation; }
    Orientation CurrentOrientation() const override { return orientation_; }
    int PageWidth() override;
    int PageHeight() override;
    int Resolution() override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return printing_; }
    Canvas& PageCanvas() override { return canvas_; }

protected:
    // The device the next job goes to; throws PrinterError when there is none.
    virtual QPrinter& Device() = 0;
    // Whether the document stays open when the running job ends, for the next job to go on in.
    virtual bool KeepsDocumentOpen() const = 0;
    // Run before a new document starts on the device (a file printer names its file here).
    virtual void StartingDocument(QPrinter&) {}
    // Ends the open document and so sends or writes it; PrinterError when it could not be.
    void CloseDocument();
    bool DocumentOpen() const { return painter_ != nullptr; }
    // Ends an open document without a word: for the destructors of the printers, whose device
    // goes before this base.
    void CloseQuietly() noexcept;
    // The device with the orientation of the next job, unless a job is running.
    QPrinter& OrientedDevice();

private:
    Orientation orientation_ = Orientation::Portrait;
    bool printing_ = false;
    std::unique_ptr<QPainter> painter_;
    Canvas canvas_;
};

// The system's default printer, through Qt. On a system with no printer at all each printout is
// written as an A4 PDF file into the user's documents folder instead, named after the window that
// prints and the time, and a notice tells the user the file's full path.
class SystemPrinter : public PagePrinter {
public:
    explicit SystemPrinter(Dialogs& dialogs);
    // Prints on the given printer instead of the system's default one.
    SystemPrinter(Dialogs& dialogs, std::unique_ptr<QPrinter> printer);
    ~SystemPrinter() override;

    void BeginDoc() override;
    void EndDoc() override;
    void BeginPrintout() override { ++printouts_; }
    void EndPrintout() override;

protected:
    // What the system offers; tests stand in for a machine without printers.
    virtual QPrinterInfo DefaultPrinter() const;
    virtual bool HasAnyPrinter() const;
    virtual QString DocumentsFolder() const;

    QPrinter& Device() override;
    bool KeepsDocumentOpen() const override { return toPdf_ && printouts_ > 0; }
    void StartingDocument(QPrinter& device) override;

private:
    QString NewPdfFileName() const;
    // Ends a PDF document and tells the user where it went.
    void FinishPdf();

    Dialogs& dialogs_;
    bool toPdf_ = false;
    int printouts_ = 0;  // printouts begun and not ended
    QString pdfFile_;  // the open document's file when it goes to a PDF
    std::unique_ptr<QPrinter> printer_;
};

// A file name that fits the system's limit of 255 bytes a name: `stem` cut at a character
// boundary so that the stem and `tail` (the time and the extension) fit together.
QString FittingFileName(const QString& stem, const QString& tail);

}  // namespace platform
