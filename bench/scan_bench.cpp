// The benchmark of reading scanned sheets: test scans made from the program's own sheets,
// marked and degraded as a flatbed scanner and a phone camera do, read back and counted against
// what was marked; then the speed of reading scan files and a scanner's PDF, and the memory the
// PDF takes. Prints one table.
//   scan_bench [--pages N] [--photos N] [--speed-pages N] [--pdf-pages N] [--keep FOLDER]
#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "platform/progress.h"
#include "scan/scan_files.h"
#include "test_scans.h"

namespace {

using test_scans::SampleSurvey;

struct Options {
    int pages = 2500;       // scanner pages read for the counts
    int photos = 200;       // phone photos
    int speedPages = 200;   // PNG and JPEG files, each, read for speed
    int pdfPages = 500;     // pages of the scanner's PDF
    QString keep;           // a folder to keep the made files in
};

Options ParseOptions(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const QString& name = arguments[i];
        const int value = arguments[i + 1].toInt();
        if (name == QStringLiteral("--pages")) options.pages = value;
        else if (name == QStringLiteral("--photos")) options.photos = value;
        else if (name == QStringLiteral("--speed-pages")) options.speedPages = value;
        else if (name == QStringLiteral("--pdf-pages")) options.pdfPages = value;
        else if (name == QStringLiteral("--keep")) options.keep = arguments[i + 1];
    }
    return options;
}

double ProcessSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double LoadAverage() {
    double load[1] = {0};
    getloadavg(load, 1);
    return load[0];
}

// The resident memory now and at most so far, in megabytes.
double ResidentMb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) / 1024.0;
    }
    return 0;
}

// A questionnaire of twenty questions of two to nine answers, over two pages.
const SampleSurvey& Survey() {
    static const SampleSurvey survey =
        test_scans::MakeSurvey({4, 3, 5, 2, 9, 4, 6, 3, 7, 4, 5, 2, 8, 3, 4, 6, 5, 9, 3, 4});
    return survey;
}

// Sheets rendered once at 300 dpi, page after page, with their codes; marked anew each time.
struct RenderedPage {
    QImage image;
    scan::SheetCode code;
};
const std::vector<RenderedPage>& Rendered() {
    static const std::vector<RenderedPage> pages = [] {
        constexpr int kSheets = 12;
        const std::vector<QImage> images = test_scans::RenderSheets(Survey(), 1, kSheets, 300);
        const int perSheet = static_cast<int>(images.size()) / kSheets;
        std::vector<RenderedPage> made;
        for (std::size_t i = 0; i < images.size(); ++i) {
            const int index = static_cast<int>(i);
            made.push_back({images[i],
                            {Survey().sheets.fingerprint, 1 + index / perSheet, 1 + index % perSheet, perSheet}});
        }
        return made;
    }();
    return pages;
}

struct Counts {
    long pages = 0;
    long located = 0;     // markers found and the code read as the page's own
    test_scans::Tally boxes;
    double readSeconds = 0;  // processor time of ReadPage alone
    std::mutex lock;
};

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// A test scan's file and the truth of its boxes.
struct MadeScan {
    QImage image;
    std::vector<test_scans::BoxTruth> boxes;
};
using Maker = std::function<MadeScan(const RenderedPage&, const scan::SheetPage&, std::mt19937&)>;

MadeScan ScannerPage(const RenderedPage& page, const scan::SheetPage& layout, std::mt19937& random) {
    const test_scans::ScannerLook look = test_scans::RandomScannerLook(random);
    // Faint and rubbed-out marks only where the scan keeps grey: a black-and-white scan cannot
    // carry them.
    const bool blackAndWhite = look.file == test_scans::ScannerLook::File::BlackAndWhite200;
    const test_scans::MarkedPage marked = test_scans::MarkPage(
        page.image, layout, page.code, 300,
        blackAndWhite ? test_scans::ClearMarks() : test_scans::EveryMark(), random);
    return {test_scans::Scanned(marked.image, 300, look, random), marked.boxes};
}

MadeScan PhonePhoto(const RenderedPage& page, const scan::SheetPage& layout, std::mt19937& random) {
    const test_scans::MarkedPage marked =
        test_scans::MarkPage(page.image, layout, page.code, 300, test_scans::EveryMark(), random);
    return {test_scans::Photographed(marked.image, test_scans::RandomPhoneLook(random), random),
            marked.boxes};
}

// Makes and reads `count` pages on two threads.
void ReadMade(int count, Counts& counts, unsigned seed, const Maker& make, const QString& keep,
              const char* kind) {
    std::atomic<int> next{qEnvironmentVariableIntValue("NZ_FIRST")};
    if (qEnvironmentVariableIsSet("NZ_FIRST")) count = next + 1;
    auto work = [&] {
        for (int i; (i = next++) < count;) {
            std::mt19937 random(seed + static_cast<unsigned>(i));
            const RenderedPage& page = Rendered()[static_cast<std::size_t>(i) % Rendered().size()];
            const auto layout = Survey().target.layout[static_cast<std::size_t>(page.code.page - 1)];
            const MadeScan made = make(page, layout, random);
            const QImage& decoded = made.image;
            const double start = ThreadSeconds();
            const scan::PageReading reading = scan::ReadPage(decoded, Survey().target);
            const double spent = ThreadSeconds() - start;
            const bool located = reading.problem == scan::PageProblem::None && reading.code == page.code;
            if (!keep.isEmpty() && (!located || reading.doubtful.size() > 0)) {
                decoded.save(QDir(keep).filePath(QStringLiteral("%1-%2.png").arg(QString::fromLatin1(kind)).arg(i)));
            }
            const std::lock_guard<std::mutex> hold(counts.lock);
            ++counts.pages;
            counts.readSeconds += spent;
            if (!located) continue;
            ++counts.located;
            const long wrongBefore = counts.boxes.wrong;
            if (!keep.isEmpty()) {
                for (std::size_t b = 0; b < made.boxes.size() && b < reading.boxes.size(); ++b) {
                    if (reading.boxes[b].mark == scan::BoxMark::Uncertain &&
                        made.boxes[b].expected != test_scans::Expected::Doubtful) {
                        std::fprintf(stderr, "%s %d: box %zu (%d%c) mark %d reviewed\n", kind, i, b,
                                     made.boxes[b].question, 'a' + made.boxes[b].answer - 1,
                                     static_cast<int>(made.boxes[b].mark));
                    }
                }
            }
            counts.boxes.Count(made.boxes, reading);
            if (counts.boxes.wrong != wrongBefore && !keep.isEmpty()) {
                std::fprintf(stderr, "%s %d: wrong box\n", kind, i);
                for (std::size_t b = 0; b < made.boxes.size(); ++b) {
                    const auto& t = made.boxes[b];
                    const auto r = reading.boxes[b].mark;
                    std::fprintf(stderr, "  %d%c mark %d expected %d read %d\n", t.question,
                                 'a' + t.answer - 1, static_cast<int>(t.mark), static_cast<int>(t.expected),
                                 static_cast<int>(r));
                }
            }
        }
    };
    std::thread other(work);
    work();
    other.join();
}

void PrintAccuracy(const char* what, const Counts& counts, double seconds) {
    const auto& b = counts.boxes;
    const long clear = b.boxes - b.doubtfulSeen - (b.wrong);
    std::printf("| %s: located and identified | %ld of %ld pages (%.2f %%) |\n", what, counts.located,
                counts.pages, 100.0 * counts.located / std::max(1L, counts.pages));
    std::printf("| %s: boxes decided wrongly without review | %ld of %ld boxes |\n", what, b.wrong, b.boxes);
    std::printf("| %s: clear marks sent to review | %ld (%.3f %% of boxes) |\n", what, b.reviewed,
                100.0 * b.reviewed / std::max(1L, b.boxes));
    std::printf("| %s: doubtful marks sent to review, as meant | %ld |\n", what, b.doubtfulSeen);
    std::printf("| %s: reading alone, processor time | %.1f ms a page (making the pages: %.0f s wall) |\n",
                what, 1000.0 * counts.readSeconds / std::max(1L, counts.pages), seconds);
    (void)clear;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const Options options = ParseOptions(application.arguments());
    if (!options.keep.isEmpty()) QDir().mkpath(options.keep);
    std::printf("Load average at the start: %.2f\n\n| | Measured |\n|---|---|\n", LoadAverage());
    Rendered();

    if (options.pages > 0) {
        Counts counts;
        const double start = WallSeconds();
        ReadMade(options.pages, counts, 1000, ScannerPage, options.keep, "scanner");
        PrintAccuracy("scanner pages", counts, WallSeconds() - start);
        std::fflush(stdout);
    }
    if (options.photos > 0) {
        Counts counts;
        const double start = WallSeconds();
        ReadMade(options.photos, counts, 500000, PhonePhoto, options.keep, "phone");
        PrintAccuracy("phone photos", counts, WallSeconds() - start);
        std::fflush(stdout);
    }
    std::printf("\nLoad average at the end: %.2f\n", LoadAverage());
    return 0;
}
