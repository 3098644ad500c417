// The system's default printer, reached through Qt's printing support, and the PDF file that
// stands in for it on a system without printers.
#include "platform/printer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>
#include <utility>

#include "platform/dialogs.h"

namespace platform {

SystemPrinter::SystemPrinter(Dialogs& dialogs) : dialogs_(dialogs) {}

SystemPrinter::SystemPrinter(Dialogs& dialogs, std::unique_ptr<QPrinter> printer)
    : dialogs_(dialogs), printer_(std::move(printer)) {}

SystemPrinter::~SystemPrinter() {
    if (painter_) painter_->end();
}

QPrinter& SystemPrinter::Device() {
    if (!printer_) {
        const QPrinterInfo info = DefaultPrinter();
        if (!info.isNull()) {
            printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        } else if (!HasAnyPrinter()) {
            printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer_->setOutputFormat(QPrinter::PdfFormat);
            printer_->setPageSize(QPageSize(QPageSize::A4));
            toPdf_ = true;
        } else {
            throw PrinterError("Nie znaleziono drukarki");
        }
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
    if (toPdf_) {
        printer.setOutputFileName(pdfFile_ = NewPdfFileName());
        printer.setDocName(QFileInfo(pdfFile_).completeBaseName());
    }
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&printer)) {
        pdfFile_.clear();
        throw PrinterError("Nie można rozpocząć wydruku");
    }
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
    const bool sent = painter_->end() && printer_->printerState() != QPrinter::Error &&
                      printer_->printerState() != QPrinter::Aborted;
    painter_.reset();
    if (!sent) {
        pdfFile_.clear();
        throw PrinterError("Nie można dokończyć wydruku");
    }
    TellWherePdfWent();
}

QPrinterInfo SystemPrinter::DefaultPrinter() const { return QPrinterInfo::defaultPrinter(); }

bool SystemPrinter::HasAnyPrinter() const { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

QString SystemPrinter::DocumentsFolder() const {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// "<the printing window's caption> <date> <time>.pdf", e.g. "Wykres słupkowy 2026-05-04
// 10.30.00.pdf", numbered when a file of that name is already there.
QString SystemPrinter::NewPdfFileName() const {
    const QDir folder(DocumentsFolder());
    if (!folder.mkpath(QStringLiteral("."))) {
        throw PrinterError("Nie można utworzyć folderu " + folder.path().toStdString());
    }
    const QWidget* window = QApplication::activeWindow();
    QString what = window ? window->windowTitle() : QString();
    what.remove(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")));
    what = what.simplified();
    what.remove(QRegularExpression(QStringLiteral("[.\\s]+$")));
    if (what.isEmpty()) what = QStringLiteral("Wydruk");
    const QString stem =
        what + u' ' + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString name = folder.filePath(stem + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(name); ++n) {
        name = folder.filePath(stem + QStringLiteral(" (%1).pdf").arg(n));
    }
    return name;
}

void SystemPrinter::TellWherePdfWent() {
    if (pdfFile_.isEmpty()) return;
    const QString file = std::exchange(pdfFile_, QString());
    dialogs_.Notice(QStringLiteral("Nie znaleziono drukarki, więc wydruk zapisano w pliku PDF:\n") +
                    QDir::toNativeSeparators(file));
}

Canvas& SystemPrinter::PageCanvas() { return canvas_; }

}  // namespace platform
