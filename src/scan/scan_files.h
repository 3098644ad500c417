// The pages of scan files, read one after another: PNG, JPEG, TIFF (also a scanner's multi-page
// TIFF) and PDF (each page rendered at 300 dpi), from files and folders; the decoding and the
// reading of pages run on worker threads while the pages are handed on in order.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "scan/page_reader.h"

namespace platform {
class Progress;
}

namespace scan {

// The scan files that `inputs` stand for: a folder its scan files (.png, .jpg, .jpeg, .tif,
// .tiff, .pdf, letter case not counting) in name order, not its subfolders; a file itself.
QStringList ScanFilesOf(const QStringList& inputs);

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
// far). Returns false when the progress was stopped; the pages handed on before that stay handed.
bool ReadScanFiles(const QStringList& files, const ScanTarget& target,
                   platform::Progress& progress, const std::function<void(ScannedPage)>& onPage);

}  // namespace scan
