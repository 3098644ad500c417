// The current printer: orientation, printable page size in printer pixels, the print job and a
// canvas on its page. Charts and printouts draw through this interface, so that tests print on a
// recording printer and the program on the system's default printer.
#pragma once

#include <QSize>
#include <memory>
#include <stdexcept>

#include "platform/canvas.h"

class QPainter;
class QPrinter;

namespace platform {

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
    virtual void EndDoc() = 0;
    virtual bool Printing() const = 0;
    // The page's canvas. Pen, brush and font can be set at any time and stay from job to job;
    // drawing reaches the page between BeginDoc and EndDoc.
    virtual Canvas& PageCanvas() = 0;
};

// The system's default printer, through Qt.
class SystemPrinter : public Printer {
public:
    SystemPrinter();
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

private:
    QPrinter& Device();  // throws PrinterError when there is no default printer

    Orientation orientation_ = Orientation::Portrait;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    Canvas canvas_;
};

}  // namespace platform
