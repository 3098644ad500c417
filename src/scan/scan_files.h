// The pages of scan files, read one after another: PNG, JPEG, TIFF (also a scanner's multi-page
// TIFF) and PDF (each page rendered at 300 dpi), from files and folders; the decoding and the
// reading of pages run on worker threads while the pages are handed on in order.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "scan/page_reader.h"

namespace platform {
class Progress;
}

namespace scan {

// What a scan file is, known by its first bytes, not by its name.
enum class ScanFormat { Png, Jpeg, Tiff, Pdf, Other };
ScanFormat ScanFormatOf(QByteArrayView head);

// The scan files that `inputs` stand for: a folder its scan files (.png, .jpg, .jpeg, .tif,
// .tiff, .pdf, letter case not counting) in name order, not its subfolders; a file itself.
QStringList ScanFilesOf(const QStringList& inputs);

// Images of a longer side are refused before they are decoded: no scanner or camera makes them
// (a page scanned at 1200 dpi is 10,000 pixels long), and their decoding would take more memory
// than the reading may.
constexpr int kLargestScanSide = 12000;

// One image file (PNG or JPEG) decoded as the reading decodes it, in grayscale. A null image with
// `error` set when it cannot be decoded or claims too large a size.
QImage DecodeScanImage(const QByteArray& file, QString& error);

struct ScannedPage {
    QString file;
    int page = 0;  // 1.. within its file
    PageReading reading;
    // Empty, or why the file or page could not be decoded at all (PageReading is then NoMarkers
    // and this text is the reason shown instead).
    QString error;
};

// Reads every page of `files` against `target` and hands each to `onPage` on the calling thread,
// in file order and page order, with `progress` advanced after each page (total: pages known so
// far, a file not yet opened counting as one) and while a page is awaited. Returns false when the
// progress was stopped; the pages handed on before that stay handed.
bool ReadScanFiles(const QStringList& files, const ScanTarget& target,
                   platform::Progress& progress, const std::function<void(ScannedPage)>& onPage);

}  // namespace scan
