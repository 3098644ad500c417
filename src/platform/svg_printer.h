// A printer whose every print job is one page written as an SVG picture file: a printout drawn on
// it (a chart's "Drukuj") becomes the printout's drawing as a picture any browser shows.
#pragma once

#include <QFile>
#include <QString>
#include <memory>

#include "platform/printer.h"

class QSvgGenerator;

namespace platform {

class SvgPrinter : public Printer {
public:
    // An A4 page at `dotsPerInch` printer pixels per inch, without margins.
    explicit SvgPrinter(int dotsPerInch = 150);
    ~SvgPrinter() override;

    // The file the next job's page goes into, created or replaced.
    void SetFile(const QString& path) { path_ = path; }

    void SetOrientation(Orientation orientation) override;
    Orientation CurrentOrientation() const override { return orientation_; }
    int PageWidth() override;
    int PageHeight() override;
    int Resolution() override { return dpi_; }
    // Throws PrinterError when the file cannot be created.
    void BeginDoc() override;
    // A picture has one page: a second one is a PrinterError.
    void NewPage() override;
    // Throws PrinterError when the file could not be written completely.
    void EndDoc() override;
    bool Printing() const override { return painter_ != nullptr; }
    Canvas& PageCanvas() override { return canvas_; }

private:
    QSize PageSize() const;

    int dpi_;
    Orientation orientation_ = Orientation::Portrait;
    QString path_;
    QFile file_;
    std::unique_ptr<QSvgGenerator> generator_;
    std::unique_ptr<QPainter> painter_;
    Canvas canvas_;
};

}  // namespace platform
