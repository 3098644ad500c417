// The reading of one scanned or photographed page of a sheet to tick: its corner markers found at
// any rotation, the page made upright, its code read and checked against the loaded
// questionnaire, and every box measured against the page's own paper and ink and decided.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

#include "results/results_tally.h"
#include "scan/sheet_code.h"
#include "scan/sheet_layout.h"

namespace scan {

enum class BoxMark {
    Empty,
    Crossed,    // a cross, tick or stroke in the box: the answer is marked
    FilledIn,   // the box filled in completely: a cross taken back, not marked
    Uncertain,  // a faint or half-erased mark, a mark across two boxes: a person decides
};

enum class PageProblem {
    None,
    NoMarkers,       // "nie znaleziono znaczników"
    CodeUnreadable,  // "kod nieczytelny"
    OtherSurvey,     // "arkusz innej ankiety"
};
// The reason as the lists of pages not read give it.
QString PageProblemText(PageProblem problem);

// The questionnaire whose sheets are read: its answer counts (which fix the layout) and the
// fingerprints a page's code may carry.
struct ScanTarget {
    results::ResultsTally tally;  // only the question and answer counts are used
    std::vector<QByteArray> fingerprints;
    std::vector<SheetPage> layout;
};
// The target of the loaded results: the fingerprint of their own survey text, and that of the
// survey file their survey name names, when it can be read and has their question and answer
// counts (results typed in or merged keep the text of their first file).
ScanTarget ScanTargetOf(const results::ResultsTally& tally, const QList<QByteArray>& surveyText);

struct BoxReading {
    int question = 0;
    int answer = 0;
    BoxMark mark = BoxMark::Empty;
};

// A question with a doubtful box, as scanned: the page upright, cut to the question's place.
struct QuestionPicture {
    int question = 0;
    QImage picture;  // grayscale, kPictureDotsPerInch
    QRectF area;     // the millimetres of the page it shows (SheetPage's coordinates)
};
constexpr int kPictureDotsPerInch = 100;

struct PageReading {
    PageProblem problem = PageProblem::None;
    SheetCode code;                  // when the code was read (also for OtherSurvey)
    std::vector<BoxReading> boxes;   // every box of the page, in layout order, when None
    std::vector<QuestionPicture> doubtful;  // the questions with an Uncertain box
};

// Reads one page: a scan or photo of any size and resolution, in any image format Qt holds
// (converted to grayscale first). Safe to call from several threads at once.
PageReading ReadPage(const QImage& page, const ScanTarget& target);

}  // namespace scan
