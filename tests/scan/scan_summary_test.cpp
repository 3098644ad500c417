// The summary of a reading of scans: the sheets added and checked, and the pages not read.
#include "scan/scan_summary.h"

#include <gtest/gtest.h>

TEST(ScanSummary, CountsTheSheetsAndListsEveryPageNotReadUpToTwentyFive) {
    scan::ScanSummary summary;
    summary.files = 2;
    summary.pages = 64;
    summary.addedAtOnce = 27;
    summary.addedReviewed = 2;
    summary.skipped = 1;
    summary.refused = {
        {QStringLiteral("/skany/a.pdf"), 4, QStringLiteral("nie znaleziono znaczników")},
        {QStringLiteral("/skany/b.png"), 1, QStringLiteral("kod nieczytelny")}};
    EXPECT_EQ(scan::ScanSummaryText(summary),
              QStringLiteral("Wczytane pliki: 2, strony: 64.\n"
                             "Dodane arkusze: 29, w tym sprawdzone: 2.\n"
                             "Sprawdzone arkusze: 3 (dodane: 2, pominięte: 1).\n"
                             "Nieodczytane strony: 2.\n"
                             "a.pdf, strona 4: nie znaleziono znaczników\n"
                             "b.png, strona 1: kod nieczytelny"));

    summary.unchecked = 4;
    summary.notAdded = {QStringLiteral("Arkusz 7: liczba przekroczy 65535")};
    summary.refused.assign(30,
                           {QStringLiteral("c.tif"), 9, QStringLiteral("arkusz innej ankiety")});
    const QStringList lines = scan::ScanSummaryText(summary).split(u'\n');
    EXPECT_EQ(lines[3], QStringLiteral("Niesprawdzone arkusze: 4 (okno sprawdzania zamknięto przed "
                                       "nimi; nie dodano ich)."));
    EXPECT_EQ(lines[4], QStringLiteral("Arkusz 7: liczba przekroczy 65535"));
    EXPECT_EQ(lines[5], QStringLiteral("Nieodczytane strony: 30."));
    EXPECT_EQ(lines.size(), 6 + 25 + 1);
    EXPECT_EQ(lines.back(), QStringLiteral("… i 5 dalszych stron."));
}
