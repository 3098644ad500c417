// The table of counts of the loaded results, one row per question and one column per answer A
// to I: as a framed text file (".TXT") and as ruled printed pages.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

#include "results/results_tally.h"

namespace platform {
class Printer;
}

namespace results {

// The lines of the text table, without line ends: the header in Windows-1250, then the frame in
// the box-drawing bytes of the IBM PC character set, every frame line 63 bytes long.
QList<QByteArray> TableTextLines(const ResultsTally& tally);
// Writes the text table to `path` through the safe save: a failed write keeps an older file.
void WriteTableText(const QString& path, const ResultsTally& tally);

// The question rows that fit one printed page of height H.
int RowsPerPage(int H);
// The questions of each page: the first question and the number of rows.
struct TablePage {
    int first = 1;
    int rows = 0;
};
std::vector<TablePage> SplitIntoPages(int questionCount, int rowsPerPage);
// Prints the ruled table on portrait pages, each page its own print job. A page too small for
// one row is refused with a printer error before anything is printed.
void PrintResultsTable(platform::Printer& printer, const ResultsTally& tally);

}  // namespace results
