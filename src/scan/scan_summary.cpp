// The text of a reading's summary.
#include "scan/scan_summary.h"

#include <QFileInfo>
#include <algorithm>

namespace scan {
namespace {

constexpr int kListedPages = 25;

}  // namespace

QString ScanSummaryText(const ScanSummary& summary) {
    QStringList lines;
    lines
        << QStringLiteral("Wczytane pliki: %1, strony: %2.").arg(summary.files).arg(summary.pages);
    lines << QStringLiteral("Dodane arkusze: %1, w tym sprawdzone: %2.")
                 .arg(summary.addedAtOnce + summary.addedReviewed)
                 .arg(summary.addedReviewed);
    lines << QStringLiteral("Sprawdzone arkusze: %1 (dodane: %2, pominięte: %3).")
                 .arg(summary.addedReviewed + summary.skipped)
                 .arg(summary.addedReviewed)
                 .arg(summary.skipped);
    if (summary.unchecked > 0) {
        lines << QStringLiteral(
                     "Niesprawdzone arkusze: %1 (okno sprawdzania zamknięto przed "
                     "nimi; nie dodano ich).")
                     .arg(summary.unchecked);
    }
    for (const QString& sheet : summary.notAdded) lines << sheet;
    lines << QStringLiteral("Nieodczytane strony: %1.").arg(summary.refused.size());
    const int listed = std::min<int>(kListedPages, static_cast<int>(summary.refused.size()));
    for (int i = 0; i < listed; ++i) {
        const RefusedPage& page = summary.refused[static_cast<std::size_t>(i)];
        lines << QStringLiteral("%1, strona %2: %3")
                     .arg(QFileInfo(page.file).fileName())
                     .arg(page.page)
                     .arg(page.reason);
    }
    if (static_cast<int>(summary.refused.size()) > listed) {
        lines << QStringLiteral("… i %1 dalszych stron.").arg(summary.refused.size() - listed);
    }
    return lines.join(u'\n');
}

}  // namespace scan
