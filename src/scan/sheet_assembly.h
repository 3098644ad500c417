// Scanned pages joined into sheets by their number, in any order and from any file: a sheet
// whose pages are all there and whose every box is decided goes in as it is; one with a doubtful
// box or a missing page waits for a person; pages that cannot be used are listed with the reason.
#pragma once

#include <QSet>
#include <QString>
#include <map>
#include <vector>

#include "results/answer_sheet.h"
#include "scan/page_reader.h"
#include "scan/scan_files.h"

namespace scan {

struct ScannedSheet {
    int number = 0;
    results::AnswerSheet marks;  // the crossed boxes; filled-in and doubtful ones unmarked
    std::vector<int> doubtfulQuestions;     // questions with an Uncertain box, in order
    std::vector<QuestionPicture> pictures;  // of the doubtful questions
    std::vector<int> missingPages;          // pages of the sheet no scan held
    std::vector<int> missingQuestions;      // the questions on those pages

    // Every box decided and every page there: the sheet goes in without a person.
    bool Certain() const { return doubtfulQuestions.empty() && missingPages.empty(); }
};

struct RefusedPage {
    QString file;
    int page = 0;
    QString reason;  // PageProblemText, a decoding error, or the sheet already read
};

class SheetAssembly {
public:
    // Sheets numbered in `alreadyRead` have gone into these results before: their pages are
    // refused.
    SheetAssembly(const ScanTarget& target, QSet<int> alreadyRead);

    // Takes one page: refused when it could not be read, when its sheet was read before, or
    // when the same page of the same sheet came already in this reading.
    void Add(const ScannedPage& page);

    // The sheets whose pages came, in number order.
    std::vector<ScannedSheet> Sheets() const;
    const std::vector<RefusedPage>& Refused() const { return refused_; }

private:
    const ScanTarget& target_;
    QSet<int> alreadyRead_;
    std::map<int, std::map<int, PageReading>> pages_;  // sheet -> page -> its reading
    std::vector<RefusedPage> refused_;
};

}  // namespace scan
