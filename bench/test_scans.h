// Scans made for testing the reader: a questionnaire's sheets printed into PDF and rendered, then
// marked as people mark them and degraded as a flatbed scanner or a phone camera does, with
// every box's truth kept so that a reading can be counted right, wrong or sent to review.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <random>
#include <vector>

#include "editor/question_work_files.h"
#include "results/results_tally.h"
#include "scan/page_reader.h"
#include "scan/sheet_printout.h"

namespace test_scans {

// A made-up questionnaire with the given answer counts, its sheets and results as "Nowe wyniki
// z ankiety…" makes them, and the reader's target of those results.
struct SampleSurvey {
    std::vector<editor::QuestionRecord> questions;
    scan::SheetSurvey sheets;
    results::ResultsTally tally;
    QList<QByteArray> surveyText;
    scan::ScanTarget target;
};
SampleSurvey MakeSurvey(const std::vector<int>& answerCounts,
                        const QByteArray& name = QByteArrayLiteral("Ankieta testowa"));
// Four questions of 4, 9, 3 and 2 answers, one page: the questionnaire of the tests' and the fuzz
// seeds' small scans.
const SampleSurvey& SmallSurvey();

// Writes the questionnaire as a survey file, as the editor's "Zapisz" writes it.
void WriteSurveyFile(const SampleSurvey& survey, const QString& path);

// The pages of `copies` sheets numbered from `firstSheet`, printed into a PDF file by the
// program's printout and rendered by Poppler at `dotsPerInch`, in grayscale: page after page.
std::vector<QImage> RenderSheets(const SampleSurvey& survey, int firstSheet, int copies,
                                 int dotsPerInch = 300);

// How a box is marked, and what the reader should make of it.
enum class Mark {
    None,
    Cross,        // a pen cross
    Tick,         // a pen tick
    HeavyPencil,  // a pencil cross pressed hard
    LightPencil,  // a pencil cross drawn lightly
    FilledIn,     // the box filled in completely: taken back
    Faint,        // a mark too faint to tell
    HalfErased,   // a cross rubbed half out
    AcrossTwo,    // one cross over this box and the next one down
    StrayInto,    // a stroke from outside that reaches into the box, not through its middle
};
enum class Expected { Empty, Crossed, FilledIn, Doubtful };
Expected ExpectedOf(Mark mark);

struct BoxTruth {
    int question = 0;
    int answer = 0;
    Mark mark = Mark::None;
    Expected expected = Expected::Empty;
};

// How often each mark is drawn, as weights; None fills the rest. Strokes outside every box are
// drawn besides, `strayStrokes` to a page.
struct MarkMix {
    std::vector<std::pair<Mark, double>> weights;
    int strayStrokes = 1;
};
// The marks people make on a sheet, doubtful ones among them.
MarkMix EveryMark();
// Only marks that stay clear on any scan: no faint or half-erased ones, which a scanner's
// black-and-white mode cannot carry.
MarkMix ClearMarks();

struct MarkedPage {
    QImage image;  // grayscale, at the resolution rendered
    scan::SheetCode code;
    std::vector<BoxTruth> boxes;  // every box of the page, in layout order
};

// Marks one rendered page (of `dotsPerInch`) of sheet `code.sheet` at random by `mix`.
MarkedPage MarkPage(const QImage& page, const scan::SheetPage& layout, const scan::SheetCode& code,
                    int dotsPerInch, const MarkMix& mix, std::mt19937& random);
// Marks one box of a rendered page as given (for tests that choose every box). AcrossTwo is
// drawn over the gap below the box, on the next box of its column too; StrayInto comes in
// from the left.
void DrawMark(QImage& page, int dotsPerInch, Mark mark, const QRectF& box, std::mt19937& random);

// A flatbed scanner's way with a page: skew, upside down, shift and scale, paper and ink levels,
// noise, and the file it writes.
struct ScannerLook {
    double rotationDegrees = 0;  // -3..3
    bool upsideDown = false;
    double shiftMm[2] = {0, 0};
    double scale = 1.0;  // 0.97..1.03
    double noise = 0;    // standard deviation in grey levels
    enum class File { Png, Jpeg50, BlackAndWhite200 } file = File::Png;
};
ScannerLook RandomScannerLook(std::mt19937& random);

// A phone photo of a page lying on a desk: perspective, uneven light, blur, noise, 12 megapixels.
struct PhoneLook {
    double tiltDegrees[2] = {0, 0};  // the camera's tilt about the page's two axes, -20..20
    double turnDegrees = 0;          // the page's turn in the picture, any angle
    double pageShare = 0.8;          // of the picture's short side the page's long side takes
    double lightFalloff = 0;         // 0..0.4: the darkest corner's loss of light
    double blur = 0;                 // Gaussian, pixels
    double noise = 0;
    int jpegQuality = 90;
};
PhoneLook RandomPhoneLook(std::mt19937& random);

// The page as the scanner or the phone would store it: the file's bytes (PNG or JPEG).
QByteArray ScanFile(const QImage& page, int dotsPerInch, const ScannerLook& look, std::mt19937& random);
QByteArray PhotoFile(const QImage& page, const PhoneLook& look, std::mt19937& random);
// The same as its file would decode, in grayscale, without writing a lossless file.
QImage Scanned(const QImage& page, int dotsPerInch, const ScannerLook& look, std::mt19937& random);
QImage Photographed(const QImage& page, const PhoneLook& look, std::mt19937& random);

// A picture as a JPEG file of the given quality, as a PNG file, and pictures as the pages of
// one TIFF file written to `path`.
QByteArray JpegFile(const QImage& picture, int quality);
QByteArray PngFile(const QImage& picture);
void WriteTiffFile(const std::vector<QImage>& pages, const QString& path);

// A scanner's PDF file as scanners write it: each page one greyscale JPEG picture (of the given
// pixel size) drawn over the whole A4 page and nothing else; `pages` pages, the pictures taken in
// turn.
QByteArray ScannerPdf(const std::vector<QByteArray>& jpegs, const std::vector<QSize>& sizes, int pages);

// A file's bytes decoded, in grayscale.
QImage Decoded(const QByteArray& file);

// A reading counted against the truth: a box is right when decided as expected (a doubtful one
// when sent to review), wrong when decided otherwise without review (a crossed box read as not
// marked, or the other way round, or a doubtful box decided either way), and sent to review when
// Uncertain although its mark was clear.
struct Tally {
    long right = 0;
    long wrong = 0;
    long reviewed = 0;       // clear marks sent to review
    long doubtfulSeen = 0;   // doubtful marks sent to review, as meant
    long boxes = 0;
    void Count(const std::vector<BoxTruth>& truth, const scan::PageReading& reading);
};

}  // namespace test_scans
