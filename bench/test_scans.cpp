// Test scans: sheets rendered from their printout, marked by hand as drawn strokes, and passed
// through a scanner's or a phone camera's faults, with OpenCV.
#include "test_scans.h"

#include <poppler/qt6/poppler-qt6.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <stdexcept>

#include "collect/new_results.h"
#include "editor/survey_file.h"
#include "platform/text_file.h"
#include "platform/pdf_printer.h"
#include "platform/progress.h"
#include "scan/sheet_layout.h"

namespace test_scans {
namespace {

using Random = std::mt19937;

double Uniform(Random& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}
double Normal(Random& random, double sigma) {
    return std::normal_distribution<double>(0.0, sigma)(random);
}
bool Chance(Random& random, double p) { return Uniform(random, 0.0, 1.0) < p; }

cv::Mat MatOf(QImage& image) {
    return cv::Mat(image.height(), image.width(), CV_8UC1, image.bits(),
                   static_cast<std::size_t>(image.bytesPerLine()));
}

QImage ImageOf(const cv::Mat& mat) {
    QImage image(mat.cols, mat.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < mat.rows; ++y) std::copy_n(mat.ptr<uchar>(y), mat.cols, image.scanLine(y));
    return image;
}

// One stroke of a pen or pencil: a slightly bowed line through `points` (millimetres).
struct Stroke {
    std::vector<QPointF> points;
    double width = 0.5;     // millimetres
    double darkness = 1.0;  // the share of the paper's light it takes away
    bool grainy = false;    // pencil: the paper's grain shows through
};

// Draws the strokes on the page: each takes its share of the light where it lies, so that
// crossing strokes are darker, as ink on ink is.
void Draw(QImage& page, int dotsPerInch, const std::vector<Stroke>& strokes, Random& random) {
    const double perMm = dotsPerInch / 25.4;
    constexpr int kShift = 4;  // sub-pixel points for cv::polylines
    cv::Mat paper = MatOf(page);
    for (const Stroke& stroke : strokes) {
        // The stroke's points, each with the hand's small tremble, in pixels.
        std::vector<cv::Point2d> path;
        for (std::size_t i = 0; i + 1 < stroke.points.size(); ++i) {
            const QPointF a = stroke.points[i];
            const QPointF b = stroke.points[i + 1];
            const QPointF along = b - a;
            const double length = std::hypot(along.x(), along.y());
            const QPointF across = length > 0 ? QPointF(-along.y() / length, along.x() / length) : QPointF();
            const double bow = Normal(random, 0.04 * length);
            const int steps = std::max(2, static_cast<int>(length / 0.7));
            for (int s = (i == 0 ? 0 : 1); s <= steps; ++s) {
                const double t = static_cast<double>(s) / steps;
                const QPointF p = a + along * t + across * (bow * std::sin(std::numbers::pi * t) +
                                                           Normal(random, 0.03));
                path.emplace_back(p.x() * perMm, p.y() * perMm);
            }
        }
        const int thickness = std::max(1, static_cast<int>(std::lround(stroke.width * perMm)));
        cv::Rect bounds = cv::boundingRect(std::vector<cv::Point>(path.begin(), path.end()));
        bounds.x -= thickness + 2;
        bounds.y -= thickness + 2;
        bounds.width += 2 * thickness + 5;
        bounds.height += 2 * thickness + 5;
        bounds &= cv::Rect(0, 0, paper.cols, paper.rows);
        if (bounds.empty()) continue;
        cv::Mat mask = cv::Mat::zeros(bounds.size(), CV_8UC1);
        std::vector<cv::Point> fixed;
        for (const cv::Point2d& p : path) {
            fixed.emplace_back(static_cast<int>(std::lround((p.x - bounds.x) * (1 << kShift))),
                               static_cast<int>(std::lround((p.y - bounds.y) * (1 << kShift))));
        }
        cv::polylines(mask, fixed, false, cv::Scalar(255), thickness, cv::LINE_AA, kShift);
        cv::Mat share;
        mask.convertTo(share, CV_32F, stroke.darkness / 255.0);
        if (stroke.grainy) {
            cv::Mat grain(share.size(), CV_32F);
            cv::randu(grain, 0.55, 1.0);
            cv::GaussianBlur(grain, grain, cv::Size(3, 3), 0);
            share = share.mul(grain);
        }
        cv::Mat region = paper(bounds);
        cv::Mat light;
        region.convertTo(light, CV_32F);
        light = light.mul(1.0 - share);
        light.convertTo(region, CV_8U);
    }
}

std::vector<Stroke> CrossAt(QPointF centre, double half, double width, double darkness, bool grainy,
                            Random& random) {
    const double tall = half * Uniform(random, 0.85, 1.15);
    return {Stroke{{centre + QPointF(-half, -tall), centre + QPointF(half, tall)}, width, darkness, grainy},
            Stroke{{centre + QPointF(half * Uniform(random, 0.8, 1.1), -tall),
                    centre + QPointF(-half * Uniform(random, 0.8, 1.1), tall)},
                   width, darkness, grainy}};
}

QPointF Jittered(QPointF p, double sigma, double most, Random& random) {
    return p + QPointF(std::clamp(Normal(random, sigma), -most, most),
                       std::clamp(Normal(random, sigma), -most, most));
}

std::vector<Stroke> StrokesOf(Mark mark, const QRectF& box, Random& random) {
    const QPointF centre = box.center();
    const double size = box.width();
    switch (mark) {
    case Mark::None:
        return {};
    case Mark::Cross:
        return CrossAt(Jittered(centre, 0.35, 0.7, random), Uniform(random, 2.0, 3.6),
                       Uniform(random, 0.35, 0.6), Uniform(random, 0.7, 1.0), false, random);
    case Mark::HeavyPencil:
        return CrossAt(Jittered(centre, 0.35, 0.7, random), Uniform(random, 2.0, 3.6),
                       Uniform(random, 0.45, 0.7), Uniform(random, 0.65, 0.85), true, random);
    case Mark::LightPencil:
        return CrossAt(Jittered(centre, 0.35, 0.7, random), Uniform(random, 2.0, 3.4),
                       Uniform(random, 0.35, 0.5), Uniform(random, 0.6, 0.72), true, random);
    case Mark::Faint:
        return CrossAt(Jittered(centre, 0.35, 0.7, random), Uniform(random, 2.0, 3.4),
                       Uniform(random, 0.35, 0.5), Uniform(random, 0.18, 0.3), true, random);
    case Mark::Tick: {
        const QPointF origin = box.topLeft();
        const auto at = [&](double x, double y) { return origin + QPointF(x * size, y * size); };
        const QPointF shift = Jittered({}, 0.3, 0.6, random);
        return {Stroke{{at(Uniform(random, 0.15, 0.3), Uniform(random, 0.45, 0.6)) + shift,
                        at(Uniform(random, 0.38, 0.5), Uniform(random, 0.75, 0.9)) + shift,
                        at(Uniform(random, 0.8, 1.05), Uniform(random, -0.1, 0.15)) + shift},
                       Uniform(random, 0.35, 0.6), Uniform(random, 0.7, 1.0), false}};
    }
    case Mark::FilledIn: {
        // Close strokes to and fro over the whole box and a little beyond.
        const bool pencil = Chance(random, 0.5);
        const double darkness = pencil ? Uniform(random, 0.75, 0.9) : Uniform(random, 0.8, 1.0);
        Stroke zigzag{{}, 0.8, darkness, pencil};
        const double over = Uniform(random, 0.1, 0.5);
        for (double y = box.top() - over; y <= box.bottom() + over; y += 0.45) {
            const bool forth = zigzag.points.size() % 2 == 0;
            zigzag.points.push_back({forth ? box.left() - over : box.right() + over, y});
        }
        return {zigzag};
    }
    case Mark::HalfErased: {
        // A cross rubbed out: what is left is pale and broken.
        std::vector<Stroke> strokes;
        for (const Stroke& arm : CrossAt(Jittered(centre, 0.35, 0.7, random), Uniform(random, 2.0, 3.4),
                                         Uniform(random, 0.4, 0.6), 1.0, true, random)) {
            const QPointF a = arm.points.front();
            const QPointF b = arm.points.back();
            // Of each arm's four quarters, one or two rubbed away.
            const int gone = static_cast<int>(Uniform(random, 0, 4));
            for (int quarter = 0; quarter < 4; ++quarter) {
                if (quarter == gone || (quarter == (gone + 2) % 4 && Chance(random, 0.3))) continue;
                const double t = quarter * 0.25;
                strokes.push_back({{a + (b - a) * t, a + (b - a) * (t + Uniform(random, 0.15, 0.25))},
                                   arm.width, Uniform(random, 0.2, 0.35), true});
            }
        }
        if (strokes.empty()) {
            strokes.push_back({{centre - QPointF(1.5, 1.5), centre + QPointF(1.5, 1.5)}, 0.5, 0.25, true});
        }
        return strokes;
    }
    case Mark::AcrossTwo: {
        // Over the 3 mm between this box and the next one down, reaching well into both.
        const QPointF gap(centre.x(), box.bottom() + 1.5);
        return CrossAt(Jittered(gap, 0.3, 0.5, random), Uniform(random, 3.8, 4.6),
                       Uniform(random, 0.4, 0.6), Uniform(random, 0.7, 1.0), false, random);
    }
    case Mark::StrayInto: {
        // From the left, into the box's upper or lower third, and out of it no further.
        const bool upper = Chance(random, 0.5);
        const double y = upper ? box.top() + Uniform(random, 1.2, 1.8) : box.bottom() - Uniform(random, 1.2, 1.8);
        const QPointF end(box.left() + Uniform(random, 2.2, 3.0), y);
        const QPointF start(box.left() - Uniform(random, 3.0, 5.0), y + Uniform(random, -1.5, 1.5));
        return {Stroke{{start, end}, Uniform(random, 0.4, 0.6), Uniform(random, 0.7, 1.0), false}};
    }
    }
    return {};
}

// A stroke somewhere on the page that comes no nearer than 2 mm to any box, the markers or the
// code: nothing a reader should count.
std::optional<Stroke> StrayStroke(const scan::SheetPage& layout, Random& random) {
    std::vector<QRectF> keepClear;
    for (const scan::QuestionPlace& question : layout.questions) {
        for (const scan::AnswerPlace& answer : question.answers) keepClear.push_back(answer.box);
    }
    for (const scan::Corner corner : {scan::TopLeft, scan::TopRight, scan::BottomRight, scan::BottomLeft}) {
        keepClear.push_back(scan::MarkerRect(corner));
    }
    keepClear.push_back(scan::CodeRect().adjusted(-3, -3, 3, 3));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QPointF start(Uniform(random, 5, 205), Uniform(random, 35, 285));
        const double angle = Uniform(random, 0, 2 * std::numbers::pi);
        const double length = Uniform(random, 8, 35);
        const QPointF end = start + QPointF(std::cos(angle), std::sin(angle)) * length;
        if (end.x() < 3 || end.x() > 207 || end.y() < 3 || end.y() > 294) continue;
        bool clear = true;
        for (double t = 0; t <= 1.0 && clear; t += 0.02) {
            const QPointF p = start + (end - start) * t;
            for (const QRectF& rect : keepClear) {
                if (rect.adjusted(-2.3, -2.3, 2.3, 2.3).contains(p)) clear = false;
            }
        }
        if (clear) return Stroke{{start, end}, Uniform(random, 0.3, 0.6), Uniform(random, 0.5, 1.0), false};
    }
    return std::nullopt;
}

// The paper's white and the ink's black as a device sees them, in grey levels.
void Levels(cv::Mat& image, double white, double black) {
    image.convertTo(image, CV_8U, (white - black) / 255.0, black);
}

// Grain of the sensor: the noise of a square of Gaussian noise made once, laid over the picture
// tile by tile from a random place in it (as good as fresh noise for the reader, and quick).
void AddNoise(cv::Mat& image, double sigma, Random& random) {
    if (sigma <= 0) return;
    constexpr int kTile = 1024;
    static const cv::Mat unit = [] {
        cv::Mat noise(kTile, kTile, CV_32F);
        cv::RNG(27).fill(noise, cv::RNG::NORMAL, 0, 1);
        return noise;
    }();
    cv::Mat scaled;
    unit.convertTo(scaled, CV_16S, sigma);
    const int offsetX = static_cast<int>(Uniform(random, 0, kTile));
    const int offsetY = static_cast<int>(Uniform(random, 0, kTile));
    cv::Mat tiled;
    cv::repeat(scaled, image.rows / kTile + 2, image.cols / kTile + 2, tiled);
    cv::add(image, tiled(cv::Rect(offsetX, offsetY, image.cols, image.rows)), image, cv::noArray(), CV_8U);
}

QByteArray Encoded(const cv::Mat& image, const std::string& extension, const std::vector<int>& options) {
    std::vector<uchar> bytes;
    if (!cv::imencode(extension, image, bytes, options)) throw std::runtime_error("imencode");
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

SampleSurvey MakeSurvey(const std::vector<int>& answerCounts, const QByteArray& name) {
    SampleSurvey survey;
    for (std::size_t q = 0; q < answerCounts.size(); ++q) {
        editor::QuestionRecord record;
        record[0] = "Pytanie " + QByteArray::number(static_cast<int>(q + 1)) + " o szkole";
        record[1] = "i o tym, co w niej najwa\xBFniejsze";
        for (int a = 1; a <= answerCounts[q]; ++a) {
            record[static_cast<std::size_t>(2 * a)] = "Odpowied\x9F " + QByteArray(1, static_cast<char>('A' + a - 1));
        }
        survey.questions.push_back(record);
    }
    survey.sheets = scan::SheetSurveyOf(name, survey.questions);
    const collect::NewResults results = collect::ResultsOfSurvey(name, survey.questions);
    survey.tally = results.tally;
    survey.surveyText = results.surveyText;
    survey.target = scan::ScanTargetOf(survey.tally, survey.surveyText);
    return survey;
}

const SampleSurvey& SmallSurvey() {
    static const SampleSurvey survey = MakeSurvey({4, 9, 3, 2});
    return survey;
}

void WriteSurveyFile(const SampleSurvey& survey, const QString& path) {
    platform::WriteFileReplacing(path, [&](platform::TextFileWriter& file) {
        editor::WriteSurvey(file, static_cast<int>(survey.questions.size()),
                            [&](int number) { return survey.questions[static_cast<std::size_t>(number - 1)]; });
    });
}

std::vector<QImage> RenderSheets(const SampleSurvey& survey, int firstSheet, int copies, int dotsPerInch) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("arkusze.pdf"));
    {
        platform::PdfPrinter printer(path);
        platform::SilentProgress progress;
        scan::PrintScanSheets(printer, survey.sheets, firstSheet, copies, progress);
        printer.Finish();
    }
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) throw std::runtime_error("the sheets' PDF cannot be read back");
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    std::vector<QImage> pages;
    for (int i = 0; i < document->numPages(); ++i) {
        pages.push_back(document->page(i)->renderToImage(dotsPerInch, dotsPerInch)
                            .convertToFormat(QImage::Format_Grayscale8));
    }
    return pages;
}

Expected ExpectedOf(Mark mark) {
    switch (mark) {
    case Mark::None:
        return Expected::Empty;
    case Mark::Cross:
    case Mark::Tick:
    case Mark::HeavyPencil:
    case Mark::LightPencil:
        return Expected::Crossed;
    case Mark::FilledIn:
        return Expected::FilledIn;
    case Mark::Faint:
    case Mark::HalfErased:
    case Mark::AcrossTwo:
    case Mark::StrayInto:
        return Expected::Doubtful;
    }
    return Expected::Doubtful;
}

MarkMix EveryMark() {
    return {{{Mark::Cross, 0.08},
             {Mark::Tick, 0.04},
             {Mark::HeavyPencil, 0.04},
             {Mark::LightPencil, 0.04},
             {Mark::FilledIn, 0.02},
             {Mark::Faint, 0.008},
             {Mark::HalfErased, 0.008},
             {Mark::AcrossTwo, 0.004},
             {Mark::StrayInto, 0.004}},
            1};
}

MarkMix ClearMarks() {
    return {{{Mark::Cross, 0.09},
             {Mark::Tick, 0.05},
             {Mark::HeavyPencil, 0.05},
             {Mark::LightPencil, 0.04},
             {Mark::FilledIn, 0.02}},
            1};
}

void DrawMark(QImage& page, int dotsPerInch, Mark mark, const QRectF& box, std::mt19937& random) {
    Draw(page, dotsPerInch, StrokesOf(mark, box, random), random);
}

MarkedPage MarkPage(const QImage& page, const scan::SheetPage& layout, const scan::SheetCode& code,
                    int dotsPerInch, const MarkMix& mix, std::mt19937& random) {
    MarkedPage marked{page.copy(), code, {}};
    std::vector<Stroke> strokes;
    for (const scan::QuestionPlace& question : layout.questions) {
        const std::size_t first = marked.boxes.size();
        for (const scan::AnswerPlace& answer : question.answers) {
            marked.boxes.push_back({question.question, answer.answer, Mark::None, Expected::Empty});
        }
        for (std::size_t i = 0; i < question.answers.size(); ++i) {
            BoxTruth& truth = marked.boxes[first + i];
            if (truth.mark != Mark::None) continue;  // the lower half of a mark across two
            double roll = Uniform(random, 0.0, 1.0);
            Mark mark = Mark::None;
            for (const auto& [kind, weight] : mix.weights) {
                if (roll < weight) {
                    mark = kind;
                    break;
                }
                roll -= weight;
            }
            const QRectF& box = question.answers[i].box;
            if (mark == Mark::AcrossTwo) {
                // Only where the next answer's box lies right below, still unmarked.
                const bool below = i + 1 < question.answers.size() &&
                                   question.answers[i + 1].box.left() == box.left() &&
                                   marked.boxes[first + i + 1].mark == Mark::None;
                if (!below) continue;
                marked.boxes[first + i + 1].mark = Mark::AcrossTwo;
                marked.boxes[first + i + 1].expected = Expected::Doubtful;
            }
            truth.mark = mark;
            truth.expected = ExpectedOf(mark);
            const std::vector<Stroke> drawn = StrokesOf(mark, box, random);
            strokes.insert(strokes.end(), drawn.begin(), drawn.end());
        }
    }
    for (int s = 0; s < mix.strayStrokes; ++s) {
        if (const auto stray = StrayStroke(layout, random)) strokes.push_back(*stray);
    }
    Draw(marked.image, dotsPerInch, strokes, random);
    return marked;
}

ScannerLook RandomScannerLook(std::mt19937& random) {
    ScannerLook look;
    look.rotationDegrees = Uniform(random, -3.0, 3.0);
    look.upsideDown = Chance(random, 0.15);
    look.shiftMm[0] = Uniform(random, -3.0, 3.0);
    look.shiftMm[1] = Uniform(random, -3.0, 3.0);
    look.scale = Uniform(random, 0.97, 1.03);
    look.noise = Uniform(random, 1.0, 6.0);
    const double kind = Uniform(random, 0.0, 1.0);
    look.file = kind < 0.4 ? ScannerLook::File::Png
                : kind < 0.8 ? ScannerLook::File::Jpeg50
                             : ScannerLook::File::BlackAndWhite200;
    return look;
}

PhoneLook RandomPhoneLook(std::mt19937& random) {
    PhoneLook look;
    look.tiltDegrees[0] = Uniform(random, -20.0, 20.0);
    look.tiltDegrees[1] = Uniform(random, -12.0, 12.0);
    look.turnDegrees = Chance(random, 0.5) ? Uniform(random, -15.0, 15.0) : Uniform(random, 0.0, 360.0);
    look.pageShare = Uniform(random, 0.75, 0.92);
    look.lightFalloff = Uniform(random, 0.0, 0.4);
    look.blur = Uniform(random, 0.3, 1.4);
    look.noise = Uniform(random, 2.0, 6.0);
    look.jpegQuality = static_cast<int>(Uniform(random, 82, 95));
    return look;
}

// The scan before it is written: for a JPEG file the grey picture, for a black-and-white one the
// picture at 200 dpi in black and white.
cv::Mat ScannedPicture(const QImage& page, int dotsPerInch, const ScannerLook& look, std::mt19937& random) {
    QImage copy = page.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat source = MatOf(copy).clone();
    const double white = Uniform(random, 228, 250);
    const double black = Uniform(random, 12, 45);
    Levels(source, white, black);
    const double perMm = dotsPerInch / 25.4;
    // The glass is a little larger than the page; the lid around it is white.
    const int margin = static_cast<int>(4 * perMm);
    const cv::Size glass(source.cols + 2 * margin, source.rows + 2 * margin);
    const cv::Point2f centre(static_cast<float>(source.cols / 2.0), static_cast<float>(source.rows / 2.0));
    cv::Mat turn = cv::getRotationMatrix2D(centre, look.rotationDegrees + (look.upsideDown ? 180.0 : 0.0),
                                           look.scale);
    turn.at<double>(0, 2) += margin + look.shiftMm[0] * perMm;
    turn.at<double>(1, 2) += margin + look.shiftMm[1] * perMm;
    cv::Mat scanned;
    cv::warpAffine(source, scanned, turn, glass, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar(252));
    AddNoise(scanned, look.noise, random);
    if (look.file == ScannerLook::File::BlackAndWhite200) {
        cv::Mat reduced;
        cv::resize(scanned, reduced, cv::Size(), 200.0 / dotsPerInch, 200.0 / dotsPerInch, cv::INTER_AREA);
        // The threshold a little above the middle grey, where light pencil still shows.
        cv::threshold(reduced, reduced, black + 0.62 * (white - black), 255, cv::THRESH_BINARY);
        return reduced;
    }
    return scanned;
}

cv::Mat PhotoPicture(const QImage& page, const PhoneLook& look, std::mt19937& random) {
    QImage copy = page.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat source = MatOf(copy).clone();
    Levels(source, Uniform(random, 215, 245), Uniform(random, 20, 50));
    const bool landscape = Chance(random, 0.5);
    const cv::Size frame = landscape ? cv::Size(4000, 3000) : cv::Size(3000, 4000);

    // The desk: a wood-like grey with a slow grain and blotches, made at a quarter of the size.
    const cv::Size quarter(frame.width / 4, frame.height / 4);
    cv::Mat blotches(6, 8, CV_32F);
    cv::randu(blotches, -1.0, 1.0);
    cv::resize(blotches, blotches, quarter, 0, 0, cv::INTER_CUBIC);
    const double base = Uniform(random, 70, 150);
    const double grainAngle = Uniform(random, 0, std::numbers::pi);
    cv::Mat small(quarter, CV_8UC1);
    for (int y = 0; y < quarter.height; ++y) {
        uchar* row = small.ptr<uchar>(y);
        const float* blot = blotches.ptr<float>(y);
        for (int x = 0; x < quarter.width; ++x) {
            const double along = 4.0 * (x * std::cos(grainAngle) + y * std::sin(grainAngle));
            const double value = base + 18.0 * blot[x] + 10.0 * std::sin(along / 23.0 + 3.0 * blot[x]);
            row[x] = cv::saturate_cast<uchar>(value);
        }
    }
    cv::Mat desk;
    cv::resize(small, desk, frame, 0, 0, cv::INTER_LINEAR);

    // The page in space: turned on the desk, seen by a camera tilted about both axes.
    const double pagePixels = look.pageShare * std::min(frame.width, frame.height);
    const double unit = pagePixels / std::max(source.cols, source.rows);
    const double w = source.cols * unit;
    const double h = source.rows * unit;
    const double f = 0.8 * std::max(frame.width, frame.height);
    const double turn = look.turnDegrees * std::numbers::pi / 180;
    const double ax = look.tiltDegrees[0] * std::numbers::pi / 180;
    const double ay = look.tiltDegrees[1] * std::numbers::pi / 180;
    std::vector<cv::Point2f> from{{0, 0},
                                  {static_cast<float>(source.cols), 0},
                                  {static_cast<float>(source.cols), static_cast<float>(source.rows)},
                                  {0, static_cast<float>(source.rows)}};
    std::vector<cv::Point2f> to;
    for (const cv::Point2f& corner : from) {
        double x = corner.x * unit - w / 2;
        double y = corner.y * unit - h / 2;
        const double tx = x * std::cos(turn) - y * std::sin(turn);
        const double ty = x * std::sin(turn) + y * std::cos(turn);
        // Tilt about the x axis, then about the y axis.
        const double y1 = ty * std::cos(ax);
        const double z1 = ty * std::sin(ax);
        const double x2 = tx * std::cos(ay) + z1 * std::sin(ay);
        const double z2 = -tx * std::sin(ay) + z1 * std::cos(ay);
        const double depth = f + z2;
        to.emplace_back(static_cast<float>(f * x2 / depth), static_cast<float>(f * y1 / depth));
    }
    // Into the frame: fitted within it, and placed at random where it fits.
    const cv::Rect2f bounds = cv::boundingRect(to);
    const double fit = std::min({1.0, 0.97 * frame.width / bounds.width, 0.97 * frame.height / bounds.height});
    const double slackX = frame.width - bounds.width * fit;
    const double slackY = frame.height - bounds.height * fit;
    const double left = Uniform(random, 0.2, 0.8) * slackX;
    const double top = Uniform(random, 0.2, 0.8) * slackY;
    for (cv::Point2f& p : to) {
        p.x = static_cast<float>((p.x - bounds.x) * fit + left);
        p.y = static_cast<float>((p.y - bounds.y) * fit + top);
    }
    const cv::Mat homography = cv::getPerspectiveTransform(from, to);
    cv::Mat photo = desk;
    cv::warpPerspective(source, photo, homography, frame, cv::INTER_LINEAR, cv::BORDER_TRANSPARENT);

    // Uneven light: darker towards one side and towards the corners (a slow change, made at a
    // quarter of the size).
    const double lightAngle = Uniform(random, 0, 2 * std::numbers::pi);
    cv::Mat smallLight(quarter, CV_32F);
    const double diagonal = std::hypot(quarter.width, quarter.height) / 2;
    for (int y = 0; y < quarter.height; ++y) {
        float* row = smallLight.ptr<float>(y);
        for (int x = 0; x < quarter.width; ++x) {
            const double dx = (x - quarter.width / 2.0) / diagonal;
            const double dy = (y - quarter.height / 2.0) / diagonal;
            const double side = 0.5 + 0.5 * (dx * std::cos(lightAngle) + dy * std::sin(lightAngle));
            row[x] = static_cast<float>(1.0 - look.lightFalloff * (0.7 * side + 0.3 * (dx * dx + dy * dy)));
        }
    }
    cv::Mat light;
    cv::resize(smallLight, light, frame, 0, 0, cv::INTER_LINEAR);
    light.convertTo(light, CV_8U, 255.0);
    cv::multiply(photo, light, photo, 1.0 / 255.0);
    if (look.blur > 0) cv::GaussianBlur(photo, photo, cv::Size(), look.blur);
    AddNoise(photo, look.noise, random);
    return photo;
}

cv::Mat DecodedMat(const QByteArray& file) {
    const cv::Mat bytes(1, static_cast<int>(file.size()), CV_8UC1, const_cast<char*>(file.constData()));
    return cv::imdecode(bytes, cv::IMREAD_GRAYSCALE);
}

QByteArray ScanFileOf(const cv::Mat& picture, ScannerLook::File file) {
    switch (file) {
    case ScannerLook::File::Png:
        return Encoded(picture, ".png", {cv::IMWRITE_PNG_COMPRESSION, 1});
    case ScannerLook::File::Jpeg50:
        return Encoded(picture, ".jpg", {cv::IMWRITE_JPEG_QUALITY, 50});
    case ScannerLook::File::BlackAndWhite200:
        return Encoded(picture, ".png", {cv::IMWRITE_PNG_BILEVEL, 1});
    }
    return {};
}

QByteArray ScanFile(const QImage& page, int dotsPerInch, const ScannerLook& look, std::mt19937& random) {
    return ScanFileOf(ScannedPicture(page, dotsPerInch, look, random), look.file);
}

QImage Scanned(const QImage& page, int dotsPerInch, const ScannerLook& look, std::mt19937& random) {
    const cv::Mat picture = ScannedPicture(page, dotsPerInch, look, random);
    if (look.file != ScannerLook::File::Jpeg50) return ImageOf(picture);
    return ImageOf(DecodedMat(ScanFileOf(picture, look.file)));
}

QByteArray PhotoFile(const QImage& page, const PhoneLook& look, std::mt19937& random) {
    return Encoded(PhotoPicture(page, look, random), ".jpg", {cv::IMWRITE_JPEG_QUALITY, look.jpegQuality});
}

QImage Photographed(const QImage& page, const PhoneLook& look, std::mt19937& random) {
    return ImageOf(DecodedMat(PhotoFile(page, look, random)));
}

QImage Decoded(const QByteArray& file) { return ImageOf(DecodedMat(file)); }

QByteArray JpegFile(const QImage& picture, int quality) {
    QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    return Encoded(MatOf(gray), ".jpg", {cv::IMWRITE_JPEG_QUALITY, quality});
}

QByteArray PngFile(const QImage& picture) {
    QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    return Encoded(MatOf(gray), ".png", {cv::IMWRITE_PNG_COMPRESSION, 1});
}

void WriteTiffFile(const std::vector<QImage>& pages, const QString& path) {
    std::vector<QImage> grays;
    std::vector<cv::Mat> mats;
    for (const QImage& page : pages) grays.push_back(page.convertToFormat(QImage::Format_Grayscale8));
    for (QImage& gray : grays) mats.push_back(MatOf(gray));
    if (!cv::imwritemulti(QFile::encodeName(path).toStdString(), mats)) throw std::runtime_error("imwritemulti");
}

QByteArray ScannerPdf(const std::vector<QByteArray>& jpegs, const std::vector<QSize>& sizes, int pages) {
    QByteArray pdf = "%PDF-1.4\n";
    std::vector<qsizetype> offsets{0};
    const auto object = [&](const QByteArray& body) {
        offsets.push_back(pdf.size());
        pdf += QByteArray::number(static_cast<int>(offsets.size() - 1)) + " 0 obj\n" + body + "\nendobj\n";
    };
    // Objects 1 and 2 the catalogue and the page tree; then three for each page.
    QByteArray kids;
    for (int i = 0; i < pages; ++i) kids += QByteArray::number(3 + 3 * i) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Count " + QByteArray::number(pages) + " /Kids [" + kids + "] >>");
    for (int i = 0; i < pages; ++i) {
        const QByteArray& jpeg = jpegs[static_cast<std::size_t>(i) % jpegs.size()];
        const QSize size = sizes[static_cast<std::size_t>(i) % sizes.size()];
        const int first = 3 + 3 * i;
        const QByteArray draw = "q 595.28 0 0 841.89 0 0 cm /Scan Do Q";
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 841.89] /Resources << /XObject << /Scan " +
               QByteArray::number(first + 2) + " 0 R >> >> /Contents " + QByteArray::number(first + 1) + " 0 R >>");
        object("<< /Length " + QByteArray::number(draw.size()) + " >>\nstream\n" + draw + "\nendstream");
        object("<< /Type /XObject /Subtype /Image /Width " + QByteArray::number(size.width()) + " /Height " +
               QByteArray::number(size.height()) +
               " /ColorSpace /DeviceGray /BitsPerComponent 8 /Filter /DCTDecode /Length " +
               QByteArray::number(jpeg.size()) + " >>\nstream\n" + jpeg + "\nendstream");
    }
    const qsizetype table = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(static_cast<int>(offsets.size())) + "\n0000000000 65535 f \n";
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        pdf += QByteArray::number(offsets[i]).rightJustified(10, '0') + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + QByteArray::number(static_cast<int>(offsets.size())) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return pdf;
}

void Tally::Count(const std::vector<BoxTruth>& truth, const scan::PageReading& reading) {
    for (std::size_t i = 0; i < truth.size() && i < reading.boxes.size(); ++i) {
        ++boxes;
        const scan::BoxMark read = reading.boxes[i].mark;
        const Expected expected = truth[i].expected;
        if (read == scan::BoxMark::Uncertain) {
            if (expected == Expected::Doubtful) {
                ++doubtfulSeen;
                ++right;
            } else {
                ++reviewed;
            }
            continue;
        }
        const bool marked = read == scan::BoxMark::Crossed;
        if (expected == Expected::Doubtful || marked != (expected == Expected::Crossed)) {
            ++wrong;
        } else {
            ++right;
        }
    }
}

}  // namespace test_scans
