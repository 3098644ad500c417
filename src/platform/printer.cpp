// The system's default printer, reached through Qt's printing support.
#include "platform/printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

SystemPrinter::SystemPrinter() = default;

SystemPrinter::~SystemPrinter() {
    if (painter_) painter_->end();
}

QPrinter& SystemPrinter::Device() {
    if (!printer_) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) throw PrinterError("Nie znaleziono drukarki");
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
    // A running job keeps the orientation it started with.
    if (!painter_) {
        printer_->setPageOrientation(orientation_ == Orientation::Landscape ? QPageLayout::Landscape
                                                                             : QPageLayout::Portrait);
    }
    return *printer_;
}

void SystemPrinter::SetOrientation(Orientation orientation) {
    orientation_ = orientation;
}

int SystemPrinter::PageWidth() { return Device().pageRect(QPrinter::DevicePixel).toRect().width(); }

int SystemPrinter::PageHeight() { return Device().pageRect(QPrinter::DevicePixel).toRect().height(); }

int SystemPrinter::Resolution() { return Device().resolution(); }

void SystemPrinter::BeginDoc() {
    if (painter_) throw PrinterError("Drukowanie już trwa");
    QPrinter& printer = Device();
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer)) throw PrinterError("Nie można rozpocząć wydruku");
    painter_ = std::move(painter);
    canvas_.SetTarget(*painter_, printer.pageRect(QPrinter::DevicePixel).toRect().size(),
                      printer.resolution());
}

void SystemPrinter::NewPage() {
    if (painter_) printer_->newPage();
}

void SystemPrinter::EndDoc() {
    if (!painter_) return;
    canvas_.ClearTarget();
    painter_->end();
    painter_.reset();
}

Canvas& SystemPrinter::PageCanvas() { return canvas_; }

}  // namespace platform
