// The summary of one reading of scanned sheets: sheets added, sheets checked in the review
// window, and the pages not read, each with its file, page and reason.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "scan/sheet_assembly.h"

namespace scan {

// What one reading of scans came to, for its summary.
struct ScanSummary {
    int files = 0;
    int pages = 0;                     // pages read
    int addedAtOnce = 0;               // sheets whose every box was decided
    int addedReviewed = 0;             // sheets checked in the review window and added
    int skipped = 0;                   // "Pomiń arkusz"
    int unchecked = 0;                 // still waiting when the review window closed
    std::vector<RefusedPage> refused;  // pages not read, with their reasons
    QStringList notAdded;              // sheets the results refused ("Arkusz 12: …")
};
// The summary in one text: sheets added, sheets checked, pages not read and each of them with
// its file, page and reason (the first 25, then how many more).
QString ScanSummaryText(const ScanSummary& summary);

}  // namespace scan
