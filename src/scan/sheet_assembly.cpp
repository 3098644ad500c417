// Scanned pages joined into sheets.
#include "scan/sheet_assembly.h"

#include <algorithm>
#include <utility>

namespace scan {

SheetAssembly::SheetAssembly(const ScanTarget& target, QSet<int> alreadyRead)
    : target_(target), alreadyRead_(std::move(alreadyRead)) {}

void SheetAssembly::Add(const ScannedPage& page) {
    const auto refuse = [&](const QString& reason) { refused_.push_back({page.file, page.page, reason}); };
    if (!page.error.isEmpty()) return refuse(page.error);
    const PageReading& reading = page.reading;
    if (reading.problem != PageProblem::None) return refuse(PageProblemText(reading.problem));
    const SheetCode& code = reading.code;
    if (alreadyRead_.contains(code.sheet)) {
        return refuse(QStringLiteral("arkusz %1 już wczytano").arg(code.sheet));
    }
    std::map<int, PageReading>& sheet = pages_[code.sheet];
    if (sheet.count(code.page) > 0) {
        return refuse(code.pages == 1 ? QStringLiteral("arkusz %1 już wczytano").arg(code.sheet)
                                      : QStringLiteral("strona %1 arkusza %2 już wczytano")
                                            .arg(code.page)
                                            .arg(code.sheet));
    }
    sheet.emplace(code.page, reading);
}

std::vector<ScannedSheet> SheetAssembly::Sheets() const {
    std::vector<ScannedSheet> sheets;
    for (const auto& [number, pages] : pages_) {
        ScannedSheet sheet;
        sheet.number = number;
        for (const SheetPage& layout : target_.layout) {
            const auto found = pages.find(layout.number);
            if (found == pages.end()) {
                sheet.missingPages.push_back(layout.number);
                for (const QuestionPlace& question : layout.questions) {
                    sheet.missingQuestions.push_back(question.question);
                }
                continue;
            }
            const PageReading& reading = found->second;
            for (const BoxReading& box : reading.boxes) {
                if (box.mark == BoxMark::Crossed && !sheet.marks.IsMarked(box.question, box.answer)) {
                    sheet.marks.Toggle(box.question, box.answer);
                }
                if (box.mark == BoxMark::Uncertain &&
                    (sheet.doubtfulQuestions.empty() || sheet.doubtfulQuestions.back() != box.question)) {
                    sheet.doubtfulQuestions.push_back(box.question);
                }
            }
            // Every box of the doubtful questions, for the review window to draw its decision on.
            for (const BoxReading& box : reading.boxes) {
                if (std::find(sheet.doubtfulQuestions.begin(), sheet.doubtfulQuestions.end(),
                              box.question) != sheet.doubtfulQuestions.end()) {
                    sheet.doubtfulBoxes.push_back(box);
                }
            }
            sheet.pictures.insert(sheet.pictures.end(), reading.doubtful.begin(), reading.doubtful.end());
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

}  // namespace scan
