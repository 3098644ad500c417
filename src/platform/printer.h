// The current printer: orientation, printable page size in printer pixels, the print job and a
// canvas on its page. Charts and printouts draw through this interface, so that tests print on a
// recording printer and the program on the system's default printer (or into a PDF file on a
// system without printers).
#pragma once

#include <QSize>
#include <QString>
#include <memory>
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
};

// The system's default printer, through Qt. On a system with no printer at all each job is
// written as an A4 PDF file into the user's documents folder instead, named after the window that
// prints and the time, and a notice tells the user the file's full path.
class SystemPrinter : public Printer {
public:
    explicit SystemPrinter(Dialogs& dialogs);
    // Prints on the given printer instead of the system's default one.
    SystemPrinter(Dialogs& dialogs, std::unique_ptr<QPrinter> printer);
    ~SystemPrinter() override;

    void SetOrientation(Orientation orientation) override;
    Orientation CurrentOrientation() const override { return orientation_; }
    int PageWidth() override;
    int PageHeight() override;
    int Resolution() override;
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    bool Printing() const override { return painter_ != nullptr; }
    Canvas& PageCanvas() override;

protected:
    // What the system offers; tests stand in for a machine without printers.
    virtual QPrinterInfo DefaultPrinter() const;
    virtual bool HasAnyPrinter() const;
    virtual QString DocumentsFolder() const;

private:
    QPrinter& Device();  // throws PrinterError when there are printers but no default one
    QString NewPdfFileName() const;
    void TellWherePdfWent();

    Dialogs& dialogs_;
    bool toPdf_ = false;
    QString pdfFile_;  // the running job's file when it goes to a PDF
    Orientation orientation_ = Orientation::Portrait;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    Canvas canvas_;
};

}  // namespace platform
