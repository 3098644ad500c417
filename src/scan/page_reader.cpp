// The reading of one page of a sheet to tick: markers, the page's place in the image, its code,
// and every box measured and decided.
#include "scan/page_reader.h"

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/aruco.hpp>
#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>
#include <optional>

#include "collect/new_results.h"

namespace scan {
namespace {

// The markers are looked for on a copy reduced by a whole factor to at most this many pixels
// along its long side (a whole factor keeps the reduction quick): a page scanned whole then has
// markers of some 45 pixels, a phone photo of it some 40.
constexpr int kFindingLongSide = 1400;
// Pages smaller than this are no scans of a sheet.
constexpr int kSmallestSide = 200;

// A box is measured upright at this resolution, inside its printed border and a margin that
// keeps the border's blur and a slightly misplaced page out of the measure.
constexpr double kBoxPixelsPerMm = 8.0;
constexpr double kBoxInset = kBoxBorder + 0.6;
// Around the box, marks that reach beyond it are looked for, clear of the border's blur.
constexpr double kBoxSurround = 1.5;
constexpr double kBorderClearance = 0.35;
// The code is read upright at this resolution, with its quiet zone around it.
constexpr double kCodePixelsPerMm = 10.0;
constexpr double kCodeQuietZone = 2.5;

// How dark a point of a box is, as a share of the way from the paper around it to the markers'
// ink: noise and the paper's grain stay below kTrace; a light pencil line lies above kStroke.
constexpr double kTrace = 0.12;
constexpr double kInk = 0.3;
constexpr double kStroke = 0.45;
// Shares of a box's inside the ink covers: a filled-in box nearly all, a cross or tick some of
// it and not the most, with white between its strokes.
constexpr double kFilledCover = 0.75;
constexpr double kLeastMarkCover = 0.05;
constexpr double kMostMarkCover = 0.65;
// A mark of the box has its middle this near the box's middle (in shares of the box) and
// reaches into at least three quarters of the box, each with this share of ink.
constexpr double kMostOffMiddle = 0.3;
constexpr double kQuarterCover = 0.03;
// A mark weaker than this that lies in separate pieces (each at least this many square
// millimetres) is a cross rubbed out in part, not a light pencil cross, which holds together.
constexpr double kWeakMark = 0.6;
constexpr double kLeastPiece = 0.3;

// The page's ink and paper: the markers' black, as a share of the paper's white around them
// (the light that falls on a page changes both alike).
struct PageLevels {
    double inkShare = 0.0;
    cv::Mat paper;  // the paper's brightness over the copy the markers were found on
    double findingScale = 1.0;
};

cv::Mat GrayMatOf(const QImage& image) {
    return cv::Mat(image.height(), image.width(), CV_8UC1, const_cast<uchar*>(image.constBits()),
                   static_cast<std::size_t>(image.bytesPerLine()));
}

// The millimetres of the page to the image's pixels.
cv::Point2d ToImage(const cv::Matx33d& homography, double x, double y) {
    const cv::Vec3d p = homography * cv::Vec3d(x, y, 1.0);
    return {p[0] / p[2], p[1] / p[2]};
}

// The part `area` (millimetres) of the page, upright at `pixelsPerMm`.
cv::Mat Upright(const cv::Mat& gray, const cv::Matx33d& homography, const QRectF& area,
                double pixelsPerMm) {
    const int width = std::max(1, static_cast<int>(std::lround(area.width() * pixelsPerMm)));
    const int height = std::max(1, static_cast<int>(std::lround(area.height() * pixelsPerMm)));
    // Output pixel (i, j) has its centre at these millimetres.
    const cv::Matx33d toPage(1.0 / pixelsPerMm, 0.0, area.left() + 0.5 / pixelsPerMm,  //
                             0.0, 1.0 / pixelsPerMm, area.top() + 0.5 / pixelsPerMm,   //
                             0.0, 0.0, 1.0);
    cv::Mat upright;
    cv::warpPerspective(gray, upright, cv::Mat(homography * toPage), cv::Size(width, height),
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 255);
    return upright;
}

// Marker corners in the order ArUco gives them: the marker's top left, then clockwise.
std::array<cv::Point2f, 4> PageCorners(const QRectF& rect) {
    return {cv::Point2f(static_cast<float>(rect.left()), static_cast<float>(rect.top())),
            cv::Point2f(static_cast<float>(rect.right()), static_cast<float>(rect.top())),
            cv::Point2f(static_cast<float>(rect.right()), static_cast<float>(rect.bottom())),
            cv::Point2f(static_cast<float>(rect.left()), static_cast<float>(rect.bottom()))};
}

struct PagePlace {
    cv::Matx33d homography;  // millimetres to pixels of the whole image
    double pixelsPerMm = 0.0;
};

// Finds the corner markers on a reduced copy, refines their corners on the whole image and
// places the page: nothing when fewer than three markers are found or they do not agree.
std::optional<PagePlace> PlacePage(const cv::Mat& gray, const cv::Mat& finding, double scale) {
    static const cv::Ptr<cv::aruco::Dictionary> dictionary =
        cv::aruco::getPredefinedDictionary(cv::aruco::DICT_4X4_50);
    const cv::Ptr<cv::aruco::DetectorParameters> parameters = cv::aruco::DetectorParameters::create();
    // Two thresholds of windows about the size of a marker's cell and of two cells.
    parameters->adaptiveThreshWinSizeMin = 7;
    parameters->adaptiveThreshWinSizeMax = 17;
    parameters->adaptiveThreshWinSizeStep = 10;
    std::vector<std::vector<cv::Point2f>> found;
    std::vector<int> ids;
    cv::aruco::detectMarkers(finding, dictionary, found, ids, parameters);

    // The largest marker of each corner's id.
    std::array<int, 4> chosen{-1, -1, -1, -1};
    std::array<double, 4> largest{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] < 0 || ids[i] > 3) continue;
        const double area = std::abs(cv::contourArea(found[i]));
        if (area > largest[static_cast<std::size_t>(ids[i])]) {
            largest[static_cast<std::size_t>(ids[i])] = area;
            chosen[static_cast<std::size_t>(ids[i])] = static_cast<int>(i);
        }
    }
    std::vector<cv::Point2f> onPage;
    std::vector<cv::Point2f> inImage;
    double sideSum = 0.0;
    for (const Corner corner : {TopLeft, TopRight, BottomRight, BottomLeft}) {
        const int index = chosen[static_cast<std::size_t>(MarkerId(corner))];
        if (index < 0) continue;
        const std::array<cv::Point2f, 4> page = PageCorners(MarkerRect(corner));
        for (std::size_t k = 0; k < 4; ++k) {
            const cv::Point2f p = found[static_cast<std::size_t>(index)][k];
            // Pixel centres of the reduced copy to those of the whole image.
            inImage.emplace_back(static_cast<float>((p.x + 0.5) / scale - 0.5),
                                 static_cast<float>((p.y + 0.5) / scale - 0.5));
            onPage.push_back(page[k]);
        }
        sideSum += std::sqrt(largest[static_cast<std::size_t>(MarkerId(corner))]) / scale;
    }
    if (onPage.size() < 12) return std::nullopt;
    const double cell = sideSum / static_cast<double>(onPage.size() / 4) / kMarkerCells;
    if (cell >= 3.0) {
        // The outer corner of a marker is a black square's corner, with the next edge a cell
        // away: the window stays within that cell.
        const int half = std::clamp(static_cast<int>(cell * 0.6), 2, 12);
        cv::cornerSubPix(gray, inImage, cv::Size(half, half), cv::Size(-1, -1),
                         cv::TermCriteria(cv::TermCriteria::EPS + cv::TermCriteria::COUNT, 20, 0.03));
    }
    const double tolerance = std::max(1.5, cell * 0.5);
    std::vector<unsigned char> inliers;
    const cv::Mat homography = cv::findHomography(onPage, inImage, cv::RANSAC, tolerance, inliers);
    if (homography.empty() || std::count(inliers.begin(), inliers.end(), 1) < 12) {
        return std::nullopt;
    }
    PagePlace place;
    place.homography = cv::Matx33d(homography);
    // The scale at the page's middle, from a millimetre step each way.
    const cv::Point2d middle = ToImage(place.homography, kPageWidth / 2, kPageHeight / 2);
    const cv::Point2d right = ToImage(place.homography, kPageWidth / 2 + 1, kPageHeight / 2);
    const cv::Point2d down = ToImage(place.homography, kPageWidth / 2, kPageHeight / 2 + 1);
    const cv::Point2d a = right - middle;
    const cv::Point2d b = down - middle;
    const double determinant = a.x * b.y - a.y * b.x;
    // A mirrored or degenerate place is no page.
    if (!(determinant > 0.25)) return std::nullopt;
    place.pixelsPerMm = std::sqrt(determinant);
    return place;
}

std::optional<SheetCode> ReadCode(const cv::Mat& gray, const PagePlace& place) {
    const QRectF area = CodeRect().adjusted(-kCodeQuietZone, -kCodeQuietZone, kCodeQuietZone,
                                            kCodeQuietZone);
    const cv::Mat code = Upright(gray, place.homography, area, kCodePixelsPerMm);
    const ZXing::ImageView view(code.data, code.cols, code.rows, ZXing::ImageFormat::Lum,
                                static_cast<int>(code.step[0]));
    for (const bool harder : {false, true}) {
        const ZXing::DecodeHints hints = ZXing::DecodeHints()
                                             .setFormats(ZXing::BarcodeFormat::QRCode)
                                             .setTryRotate(false)
                                             .setTryHarder(harder)
                                             .setMaxNumberOfSymbols(1);
        const ZXing::Result result = ZXing::ReadBarcode(view, hints);
        if (!result.isValid()) continue;
        const ZXing::ByteArray& bytes = result.bytes();
        return ParseSheetCode(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                         static_cast<qsizetype>(bytes.size())));
    }
    return std::nullopt;
}

double SampleAt(const cv::Mat& image, cv::Point2d p) {
    const int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, image.cols - 1);
    const int y = std::clamp(static_cast<int>(std::lround(p.y)), 0, image.rows - 1);
    return image.at<unsigned char>(y, x);
}

// The paper's brightness everywhere on the reduced copy: the brightest point within about
// 9 mm, which no mark or filled-in box covers whole, smoothed.
cv::Mat PaperOf(const cv::Mat& finding, double findingPixelsPerMm) {
    const double wanted = std::min(9.0 * findingPixelsPerMm, static_cast<double>(std::max(finding.cols, finding.rows)));
    const int size = std::max(3, static_cast<int>(std::lround(wanted)) | 1);
    cv::Mat paper;
    cv::dilate(finding, paper, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(size, size)));
    cv::blur(paper, paper, cv::Size(size, size));
    return paper;
}

// The markers' black: the middle of every cell of their black border, on the whole image.
PageLevels LevelsOf(const cv::Mat& gray, const cv::Mat& finding, double scale,
                    const PagePlace& place) {
    PageLevels levels;
    levels.findingScale = scale;
    levels.paper = PaperOf(finding, place.pixelsPerMm * scale);
    std::vector<double> shares;
    const double cell = kMarkerSize / kMarkerCells;
    for (const Corner corner : {TopLeft, TopRight, BottomRight, BottomLeft}) {
        const QRectF rect = MarkerRect(corner);
        const cv::Mat marker = Upright(gray, place.homography, rect, 4.0);
        cv::Mat smooth;
        cv::blur(marker, smooth, cv::Size(3, 3));
        std::vector<double> black;
        for (int row = 0; row < kMarkerCells; ++row) {
            for (int column = 0; column < kMarkerCells; ++column) {
                if (row != 0 && row != kMarkerCells - 1 && column != 0 && column != kMarkerCells - 1) {
                    continue;
                }
                const int x = std::clamp(static_cast<int>((column + 0.5) * cell * 4.0), 0, smooth.cols - 1);
                const int y = std::clamp(static_cast<int>((row + 0.5) * cell * 4.0), 0, smooth.rows - 1);
                black.push_back(smooth.at<unsigned char>(y, x));
            }
        }
        std::nth_element(black.begin(), black.begin() + static_cast<long>(black.size() / 2), black.end());
        const cv::Point2d centre =
            ToImage(place.homography, rect.center().x(), rect.center().y()) * scale;
        const double paper = SampleAt(levels.paper, centre);
        if (paper > 0) shares.push_back(black[black.size() / 2] / paper);
    }
    std::sort(shares.begin(), shares.end());
    levels.inkShare = shares.empty() ? 1.0 : shares[shares.size() / 2];
    return levels;
}

// How many separate pieces the traces of ink in a box's inside make, leaving out specks.
int InkPieces(const cv::Mat& inside) {
    cv::Mat labels;
    cv::Mat stats;
    cv::Mat centres;
    const int found = cv::connectedComponentsWithStats(inside > kTrace, labels, stats, centres, 8);
    const int leastArea = static_cast<int>(std::lround(kLeastPiece * kBoxPixelsPerMm * kBoxPixelsPerMm));
    int pieces = 0;
    for (int i = 1; i < found; ++i) pieces += stats.at<int>(i, cv::CC_STAT_AREA) >= leastArea ? 1 : 0;
    return pieces;
}

// What is in one box, from its upright picture with the paper around it: how dark each point
// is between the paper (0) and the ink (1). Inside the box, within its printed border and a
// margin, lies the mark; around the box, clear of the border, only what reaches beyond it.
BoxMark DecideBox(const cv::Mat& darkness, int boxLeft, int boxSize) {
    const int inset = static_cast<int>(std::lround(kBoxInset * kBoxPixelsPerMm));
    const int borderOut = static_cast<int>(std::lround(kBorderClearance * kBoxPixelsPerMm));
    const int innerLow = boxLeft + inset;
    const int innerHigh = boxLeft + boxSize - inset;  // exclusive
    const int clearLow = boxLeft - borderOut;
    const int clearHigh = boxLeft + boxSize + borderOut;
    const int count = (innerHigh - innerLow) * (innerHigh - innerLow);
    int traces = 0;
    int inked = 0;
    int around = 0;
    int aroundInked = 0;
    std::vector<float> values;
    values.reserve(static_cast<std::size_t>(count));
    std::vector<int> xs;
    std::vector<int> ys;
    for (int y = 0; y < darkness.rows; ++y) {
        const float* row = darkness.ptr<float>(y);
        const bool innerRow = y >= innerLow && y < innerHigh;
        const bool clearRow = y >= clearLow && y < clearHigh;
        for (int x = 0; x < darkness.cols; ++x) {
            const float d = row[x];
            if (innerRow && x >= innerLow && x < innerHigh) {
                values.push_back(d);
                if (d > kTrace) ++traces;
                if (d > kInk) {
                    ++inked;
                    xs.push_back(x - innerLow);
                    ys.push_back(y - innerLow);
                }
            } else if (!clearRow || x < clearLow || x >= clearHigh) {
                ++around;
                if (d > kInk) ++aroundInked;
            }
        }
    }
    const int side = innerHigh - innerLow;
    if (traces < count / 100 && inked < count / 200) {
        // Nothing inside; a stroke that comes close from outside may still be meant for it.
        return aroundInked * 50 < around ? BoxMark::Empty : BoxMark::Uncertain;
    }
    // The strength of the mark: the mean of its darkest twentieth.
    const std::size_t top = std::max<std::size_t>(1, values.size() / 20);
    std::nth_element(values.begin(), values.begin() + static_cast<long>(top), values.end(),
                     std::greater<>());
    double strength = 0;
    for (std::size_t i = 0; i < top; ++i) strength += values[i];
    strength /= static_cast<double>(top);
    const double cover = static_cast<double>(inked) / count;
    if (strength < kStroke) return BoxMark::Uncertain;  // faint or rubbed out
    if (cover >= kFilledCover) return BoxMark::FilledIn;
    if (cover < kLeastMarkCover || cover > kMostMarkCover) return BoxMark::Uncertain;
    if (strength < kWeakMark && InkPieces(darkness(cv::Rect(innerLow, innerLow, side, side))) > 1) {
        return BoxMark::Uncertain;
    }
    // A mark of this box lies about its middle and reaches into three of its quarters at
    // least (a cross all four, a tick three); one that only enters from a side belongs to a
    // stroke outside or to the next box.
    std::array<int, 4> quarters{};
    double sumX = 0;
    double sumY = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        sumX += xs[i];
        sumY += ys[i];
        ++quarters[static_cast<std::size_t>((xs[i] * 2 >= side ? 1 : 0) + (ys[i] * 2 >= side ? 2 : 0))];
    }
    const double middleX = (sumX / static_cast<double>(xs.size()) + 0.5) / side;
    const double middleY = (sumY / static_cast<double>(ys.size()) + 0.5) / side;
    const double enough = kQuarterCover * side * side / 4;
    const auto reached = std::count_if(quarters.begin(), quarters.end(), [&](int n) { return n >= enough; });
    return reached >= 3 && std::abs(middleX - 0.5) <= kMostOffMiddle && std::abs(middleY - 0.5) <= kMostOffMiddle
               ? BoxMark::Crossed
               : BoxMark::Uncertain;
}

BoxMark ReadBox(const cv::Mat& gray, const PagePlace& place, const PageLevels& levels,
                const QRectF& box) {
    const cv::Point2d centre = ToImage(place.homography, box.center().x(), box.center().y());
    const double paper = SampleAt(levels.paper, centre * levels.findingScale);
    const double contrast = paper * (1.0 - levels.inkShare);
    // Too little light or too dark a page to tell ink from paper.
    if (contrast < 40.0) return BoxMark::Uncertain;
    const QRectF area = box.adjusted(-kBoxSurround, -kBoxSurround, kBoxSurround, kBoxSurround);
    cv::Mat picture = Upright(gray, place.homography, area, kBoxPixelsPerMm);
    cv::GaussianBlur(picture, picture, cv::Size(3, 3), 0);
    cv::Mat darkness;
    picture.convertTo(darkness, CV_32F, -1.0 / contrast, paper / contrast);
    return DecideBox(darkness, static_cast<int>(std::lround(kBoxSurround * kBoxPixelsPerMm)),
                     static_cast<int>(std::lround(box.width() * kBoxPixelsPerMm)));
}

QuestionPicture PictureOf(const cv::Mat& gray, const PagePlace& place, const QuestionPlace& question) {
    double right = question.title.right();
    for (const AnswerPlace& answer : question.answers) right = std::max(right, answer.text.right());
    const QRectF area(QPointF(question.title.left() - 2.0, question.title.top() - 1.5),
                      QPointF(std::min(right + 1.0, kPageWidth), question.bottom + 2.0));
    const cv::Mat upright = Upright(gray, place.homography, area, kPictureDotsPerInch / 25.4);
    QImage picture(upright.cols, upright.rows, QImage::Format_Grayscale8);
    for (int y = 0; y < upright.rows; ++y) {
        std::copy_n(upright.ptr<uchar>(y), upright.cols, picture.scanLine(y));
    }
    const int dotsPerMetre = static_cast<int>(std::lround(kPictureDotsPerInch / 0.0254));
    picture.setDotsPerMeterX(dotsPerMetre);
    picture.setDotsPerMeterY(dotsPerMetre);
    return {question.question, picture, area};
}

}  // namespace

QString PageProblemText(PageProblem problem) {
    switch (problem) {
    case PageProblem::None:
        return {};
    case PageProblem::NoMarkers:
        return QStringLiteral("nie znaleziono znaczników");
    case PageProblem::CodeUnreadable:
        return QStringLiteral("kod nieczytelny");
    case PageProblem::OtherSurvey:
        return QStringLiteral("arkusz innej ankiety");
    }
    return {};
}

ScanTarget ScanTargetOf(const results::ResultsTally& tally, const QList<QByteArray>& surveyText) {
    ScanTarget target;
    target.tally = tally;
    target.fingerprints.push_back(QuestionnaireFingerprint(tally, surveyText));
    const std::vector<editor::QuestionRecord> questions = collect::MatchingSurveyQuestions(tally);
    if (!questions.empty()) {
        const QByteArray named = QuestionnaireFingerprint(
            tally, collect::ResultsOfSurvey(tally.SurveyName, questions).surveyText);
        if (named != target.fingerprints.front()) target.fingerprints.push_back(named);
    }
    target.layout = LayOutSheet(tally);
    return target;
}

PageReading ReadPage(const QImage& page, const ScanTarget& target) {
    PageReading reading;
    reading.problem = PageProblem::NoMarkers;
    if (page.isNull() || page.width() < kSmallestSide || page.height() < kSmallestSide) return reading;
    const QImage grayImage = page.format() == QImage::Format_Grayscale8
                                 ? page
                                 : page.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat gray = GrayMatOf(grayImage);
    const int factor = (std::max(gray.cols, gray.rows) + kFindingLongSide - 1) / kFindingLongSide;
    const double scale = 1.0 / factor;
    cv::Mat finding = gray;
    if (factor > 1) {
        cv::resize(gray(cv::Rect(0, 0, gray.cols / factor * factor, gray.rows / factor * factor)),
                   finding, cv::Size(gray.cols / factor, gray.rows / factor), 0, 0, cv::INTER_AREA);
    }
    const std::optional<PagePlace> place = PlacePage(gray, finding, scale);
    if (!place) return reading;

    const std::optional<SheetCode> code = ReadCode(gray, *place);
    if (!code) {
        reading.problem = PageProblem::CodeUnreadable;
        return reading;
    }
    reading.code = *code;
    const bool ours = std::find(target.fingerprints.begin(), target.fingerprints.end(),
                                code->fingerprint) != target.fingerprints.end();
    if (!ours || code->pages != static_cast<int>(target.layout.size())) {
        reading.problem = PageProblem::OtherSurvey;
        return reading;
    }
    reading.problem = PageProblem::None;

    const PageLevels levels = LevelsOf(gray, finding, scale, *place);
    const SheetPage& layout = target.layout[static_cast<std::size_t>(code->page - 1)];
    for (const QuestionPlace& question : layout.questions) {
        bool doubtful = false;
        for (const AnswerPlace& answer : question.answers) {
            const BoxMark mark = ReadBox(gray, *place, levels, answer.box);
            doubtful = doubtful || mark == BoxMark::Uncertain;
            reading.boxes.push_back({question.question, answer.answer, mark});
        }
        if (doubtful) reading.doubtful.push_back(PictureOf(gray, *place, question));
    }
    return reading;
}

}  // namespace scan
