// "Wczytaj skany arkuszy…" of the results manager: scans of paper sheets chosen as files or
// folders and read with a progress box that can stop it; the sheets whose every box is decided
// added at once, the others checked in the review window, and one summary at the end.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "scan/scan_files.h"
#include "scan/scan_summary.h"

namespace platform {
class Progress;
}
namespace results {
class TForm3;
}

namespace scan {

class ReadSheetNumbers;
class SheetReviewWindow;

class ScanIntake {
public:
    // Reads the pages of scan files against a questionnaire and hands each one on, in order;
    // false when the progress was stopped. ReadScanFiles; tests give made-up readings.
    using PageReading = std::function<bool(const QStringList& files, const ScanTarget& target,
                                           platform::Progress& progress,
                                           const std::function<void(ScannedPage)>& onPage)>;

    ScanIntake(results::TForm3& manager, ReadSheetNumbers& numbers, SheetReviewWindow& review,
               PageReading reading = &ReadScanFiles);

    // The menu item: files or a folder chosen, then read.
    void ReadChosenScans();
    // Reads the scan files that `inputs` (files and folders) stand for into the loaded results.
    void ReadScans(const QStringList& inputs);

private:
    results::TForm3& manager_;
    ReadSheetNumbers& numbers_;
    SheetReviewWindow& review_;
    PageReading reading_;
};

}  // namespace scan
