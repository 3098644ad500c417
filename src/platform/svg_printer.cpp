// Print jobs as SVG picture files, through Qt SVG's generator.
#include "platform/svg_printer.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace platform {
namespace {

constexpr double kA4WidthMm = 210;
constexpr double kA4HeightMm = 297;

int MmToPixels(double mm, int dpi) { return static_cast<int>(mm / 25.4 * dpi + 0.5); }

}  // namespace

SvgPrinter::SvgPrinter(int dotsPerInch) : dpi_(dotsPerInch), canvas_(dotsPerInch) {}

SvgPrinter::~SvgPrinter() {
    if (painter_) painter_->end();
}

void SvgPrinter::SetOrientation(Orientation orientation) {
    // A running job keeps the orientation it started with.
    if (!painter_) orientation_ = orientation;
}

QSize SvgPrinter::PageSize() const {
    const QSize portrait(MmToPixels(kA4WidthMm, dpi_), MmToPixels(kA4HeightMm, dpi_));
    return orientation_ == Orientation::Portrait ? portrait : portrait.transposed();
}

int SvgPrinter::PageWidth() { return PageSize().width(); }
int SvgPrinter::PageHeight() { return PageSize().height(); }

void SvgPrinter::BeginDoc() {
    if (painter_) throw PrinterError("Drukowanie już trwa");
    file_.setFileName(path_);
    if (path_.isEmpty() || !file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw PrinterError("Nie można utworzyć pliku " + path_.toStdString());
    }
    const QSize page = PageSize();
    generator_ = std::make_unique<QSvgGenerator>();
    generator_->setOutputDevice(&file_);
    generator_->setResolution(dpi_);
    generator_->setSize(page);
    generator_->setViewBox(QRect(QPoint(0, 0), page));
    generator_->setTitle(QFileInfo(path_).completeBaseName());
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(generator_.get())) {
        file_.close();
        throw PrinterError("Nie można rozpocząć rysunku " + path_.toStdString());
    }
    painter_ = std::move(painter);
    canvas_.SetTarget(*painter_, page, dpi_);
}

void SvgPrinter::NewPage() {
    if (painter_) throw PrinterError("Rysunek SVG ma tylko jedną stronę");
}

void SvgPrinter::EndDoc() {
    if (!painter_) return;
    canvas_.ClearTarget();
    painter_->end();
    painter_.reset();
    generator_.reset();
    file_.close();
    const bool written = file_.error() == QFileDevice::NoError;
    if (!written) throw PrinterError("Nie można zapisać pliku " + path_.toStdString());
}

}  // namespace platform
