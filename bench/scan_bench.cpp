// The benchmark of reading scanned sheets: test scans made from the program's own sheets,
// marked and degraded as a flatbed scanner and a phone camera do, read back and counted against
// what was marked; then the speed of reading scan files and a scanner's PDF, and the memory the
// PDF takes. Prints one table.
//   scan_bench [--pages N] [--photos N] [--speed-pages N] [--pdf-pages N] [--keep FOLDER] [--only N]
// --keep keeps the files made for speed there, with the pictures of pages read with a doubt,
// wrongly or not at all, and lists on standard error every box sent to review or decided wrongly; --only
// makes and reads only page (or photo) number N of the counts, as a run with all of them would.
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
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
    int pages = 3300;       // scanner pages read for the counts: over 100,000 boxes
    int photos = 300;       // phone photos
    int speedPages = 200;   // PNG and JPEG files, each, read for speed (and half as many photos)
    int pdfPages = 500;     // pages of the scanner's PDF
    QString keep;           // a folder to keep the made files in
    int only = -1;          // the one page of the counts to make and read
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
        else if (name == QStringLiteral("--only")) options.only = value;
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

// A questionnaire of twenty questions of four to nine answers, over five pages of 25 to 36 boxes.
const SampleSurvey& Survey() {
    static const SampleSurvey survey =
        test_scans::MakeSurvey({9, 8, 7, 9, 6, 9, 8, 9, 5, 9, 8, 7, 9, 4, 9, 8, 6, 9, 7, 9});
    return survey;
}

// Sheets rendered once at 300 dpi, page after page, with their codes; marked anew each time.
struct RenderedPage {
    QImage image;
    scan::SheetCode code;
};
const std::vector<RenderedPage>& Rendered() {
    static const std::vector<RenderedPage> pages = [] {
        constexpr int kSheets = 6;
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

// What the --keep run tells of a page: its boxes sent to review though clear, and, when one was
// decided wrongly, every box of it.
void Diagnose(const char* kind, int index, const MadeScan& made, const scan::PageReading& reading, bool wrong) {
    for (std::size_t b = 0; b < made.boxes.size(); ++b) {
        const test_scans::BoxTruth& truth = made.boxes[b];
        const bool reviewed = reading.boxes[b].mark == scan::BoxMark::Uncertain &&
                              truth.expected != test_scans::Expected::Doubtful;
        if (!wrong && !reviewed) continue;
        std::fprintf(stderr, "%s %d: question %d answer %c, mark %d, expected %d, read %d\n", kind, index,
                     truth.question, 'a' + truth.answer - 1, static_cast<int>(truth.mark),
                     static_cast<int>(truth.expected), static_cast<int>(reading.boxes[b].mark));
    }
}

// Makes and reads `count` pages (or only page `only`) on two threads.
void ReadMade(int count, int only, Counts& counts, unsigned seed, const Maker& make, const QString& keep,
              const char* kind) {
    std::atomic<int> next{only >= 0 ? only : 0};
    if (only >= 0) count = only + 1;
    auto work = [&] {
        for (int i; (i = next++) < count;) {
            std::mt19937 random(seed + static_cast<unsigned>(i));
            const RenderedPage& page = Rendered()[static_cast<std::size_t>(i) % Rendered().size()];
            const auto layout = Survey().target.layout[static_cast<std::size_t>(page.code.page - 1)];
            const MadeScan made = make(page, layout, random);
            const double start = ThreadSeconds();
            const scan::PageReading reading = scan::ReadPage(made.image, Survey().target);
            const double spent = ThreadSeconds() - start;
            const bool located = reading.problem == scan::PageProblem::None && reading.code == page.code;
            const auto keepPicture = [&] {
                made.image.save(QDir(keep).filePath(QStringLiteral("%1-%2.png").arg(QString::fromLatin1(kind)).arg(i)));
            };
            if (!keep.isEmpty() && (!located || !reading.doubtful.empty())) keepPicture();
            const std::lock_guard<std::mutex> hold(counts.lock);
            ++counts.pages;
            counts.readSeconds += spent;
            if (!located) {
                if (!keep.isEmpty()) std::fprintf(stderr, "%s %d: not located\n", kind, i);
                continue;
            }
            ++counts.located;
            const long wrongBefore = counts.boxes.wrong;
            counts.boxes.Count(made.boxes, reading);
            const bool wrong = counts.boxes.wrong != wrongBefore;
            if (!keep.isEmpty() && wrong && reading.doubtful.empty()) keepPicture();
            if (!keep.isEmpty()) Diagnose(kind, i, made, reading, wrong);
        }
    };
    std::thread other(work);
    work();
    other.join();
}

// Writes `count` test files made by `make` into `folder`, on two threads; their paths in order.
QStringList WriteFiles(const QString& folder, const char* stem, const char* extension, int count, unsigned seed,
                       const std::function<QByteArray(const RenderedPage&, const scan::SheetPage&, std::mt19937&)>& make) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << QDir(folder).filePath(QStringLiteral("%1-%2.%3")
                                           .arg(QString::fromLatin1(stem))
                                           .arg(i, 4, 10, QLatin1Char('0'))
                                           .arg(QString::fromLatin1(extension)));
    }
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i; (i = next++) < count;) {
            std::mt19937 random(seed + static_cast<unsigned>(i));
            const RenderedPage& page = Rendered()[static_cast<std::size_t>(i) % Rendered().size()];
            const QByteArray bytes = make(page, Survey().target.layout[static_cast<std::size_t>(page.code.page - 1)], random);
            QFile file(paths[i]);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) std::abort();
        }
    };
    std::thread other(work);
    work();
    other.join();
    return paths;
}

struct Speed {
    int pages = 0;
    int located = 0;
    double wall = 0;
    double processor = 0;
    double loadBefore = 0;
    double loadAfter = 0;
};

Speed TimeReading(const QStringList& files) {
    Speed speed;
    speed.loadBefore = LoadAverage();
    const double wall = WallSeconds();
    const double processor = ProcessSeconds();
    platform::SilentProgress progress;
    scan::ReadScanFiles(files, Survey().target, progress, [&](const scan::ScannedPage& page) {
        ++speed.pages;
        if (page.reading.problem == scan::PageProblem::None) ++speed.located;
    });
    speed.wall = WallSeconds() - wall;
    speed.processor = ProcessSeconds() - processor;
    speed.loadAfter = LoadAverage();
    return speed;
}

void PrintSpeed(const char* what, const Speed& speed) {
    std::printf("| %s | %.1f pages/s (%d pages in %.2f s wall; %.1f ms processor time a page; "
                "%d located; load average %.1f to %.1f) |\n",
                what, speed.pages / speed.wall, speed.pages, speed.wall,
                1000.0 * speed.processor / std::max(1, speed.pages), speed.located, speed.loadBefore,
                speed.loadAfter);
    std::fflush(stdout);
}

// A scanner's PDF as scanners write it: every page one greyscale JPEG picture of the page
// scanned at 300 dpi, drawn over the whole A4 page, and nothing else.
void WriteScannerPdf(const QString& path, int pages) {
    constexpr int kDistinct = 40;
    std::vector<QByteArray> scans;
    std::vector<QSize> sizes;
    for (int i = 0; i < kDistinct; ++i) {
        std::mt19937 random(900000 + static_cast<unsigned>(i));
        const RenderedPage& page = Rendered()[static_cast<std::size_t>(i) % Rendered().size()];
        const auto& layout = Survey().target.layout[static_cast<std::size_t>(page.code.page - 1)];
        test_scans::ScannerLook look = test_scans::RandomScannerLook(random);
        look.file = test_scans::ScannerLook::File::Png;
        const test_scans::MarkedPage marked =
            test_scans::MarkPage(page.image, layout, page.code, 300, test_scans::EveryMark(), random);
        const QImage scanned = test_scans::Scanned(marked.image, 300, look, random);
        scans.push_back(test_scans::JpegFile(scanned, 75));
        sizes.push_back(scanned.size());
    }
    const QByteArray pdf = test_scans::ScannerPdf(scans, sizes, pages);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size()) std::abort();
}

// Runs the program's "skany" on the files, and its wall-clock time, processor time and largest
// resident memory.
struct ProgramRun {
    double wall = 0;
    double processor = 0;
    double residentMb = 0;
    int status = -1;
};
ProgramRun RunScansCommand(const QStringList& arguments) {
    std::vector<QByteArray> bytes{QByteArrayLiteral(NARZEDZIA_PROGRAM), QByteArrayLiteral("skany")};
    for (const QString& argument : arguments) bytes.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    ProgramRun run;
    const double start = WallSeconds();
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stderr);
        std::freopen("/dev/null", "w", stdout);
        execv(argv[0], argv.data());
        _exit(127);
    }
    // The child's own high-water mark, read while it runs: what wait4 reports would count the
    // pages it shared with this process before it started the program.
    int status = 0;
    rusage usage{};
    const std::string statusFile = "/proc/" + std::to_string(child) + "/status";
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        std::ifstream lines(statusFile);
        std::string line;
        bool program = false;  // not this process's copy before the program started
        while (std::getline(lines, line)) {
            if (line.rfind("Name:", 0) == 0) program = line.find("narzedzia") != std::string::npos;
            if (program && line.rfind("VmHWM:", 0) == 0) {
                run.residentMb = std::max(run.residentMb, std::stod(line.substr(6)) / 1024.0);
            }
        }
        usleep(20000);
    }
    run.wall = WallSeconds() - start;
    run.processor = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void PrintAccuracy(const char* what, const Counts& counts, double seconds) {
    const auto& b = counts.boxes;
    std::printf("| %s: located and identified | %ld of %ld pages (%.2f %%) |\n", what, counts.located,
                counts.pages, 100.0 * counts.located / std::max(1L, counts.pages));
    std::printf("| %s: boxes decided wrongly without review | %ld of %ld boxes |\n", what, b.wrong, b.boxes);
    std::printf("| %s: clear marks sent to review | %ld (%.3f %% of boxes) |\n", what, b.reviewed,
                100.0 * b.reviewed / std::max(1L, b.boxes));
    std::printf("| %s: doubtful marks sent to review, as meant | %ld |\n", what, b.doubtfulSeen);
    std::printf("| %s: reading alone, processor time | %.1f ms a page (making the pages: %.0f s wall) |\n",
                what, 1000.0 * counts.readSeconds / std::max(1L, counts.pages), seconds);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const Options options = ParseOptions(application.arguments());
    if (!options.keep.isEmpty()) QDir().mkpath(options.keep);
    std::printf("Load average at the start: %.2f\n\n| | Measured |\n|---|---|\n", LoadAverage());
    Rendered();

    const auto counted = [&](const char* what, int count, unsigned seed, const Maker& make, const char* kind) {
        if (count <= 0) return;
        Counts counts;
        const double start = WallSeconds();
        ReadMade(count, options.only, counts, seed, make, options.keep, kind);
        PrintAccuracy(what, counts, WallSeconds() - start);
        std::fflush(stdout);
    };
    counted("scanner pages", options.pages, 1000, ScannerPage, "scanner");
    counted("phone photos", options.photos, 500000, PhonePhoto, "phone");
    const QTemporaryDir temporary(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                      ? QStringLiteral("/dev/shm/narzedzia-skany-XXXXXX")
                                      : QDir::tempPath() + QStringLiteral("/narzedzia-skany-XXXXXX"));
    const QString folder = options.keep.isEmpty() ? temporary.path() : options.keep;
    const auto scannerFile = [](test_scans::ScannerLook::File kind) {
        return [kind](const RenderedPage& page, const scan::SheetPage& layout, std::mt19937& random) {
            test_scans::ScannerLook look = test_scans::RandomScannerLook(random);
            look.file = kind;
            const test_scans::MarkedPage marked =
                test_scans::MarkPage(page.image, layout, page.code, 300, test_scans::EveryMark(), random);
            return test_scans::ScanFile(marked.image, 300, look, random);
        };
    };
    if (options.speedPages > 0) {
        PrintSpeed("speed, scanner pages, PNG 300 dpi, decoding included",
                   TimeReading(WriteFiles(folder, "skaner", "png", options.speedPages, 2000000,
                                          scannerFile(test_scans::ScannerLook::File::Png))));
        PrintSpeed("speed, scanner pages, JPEG 300 dpi (quality 50), decoding included",
                   TimeReading(WriteFiles(folder, "skaner", "jpg", options.speedPages, 3000000,
                                          scannerFile(test_scans::ScannerLook::File::Jpeg50))));
        PrintSpeed("speed, phone photos, 12-megapixel JPEG",
                   TimeReading(WriteFiles(folder, "zdjecie", "jpg", std::max(1, options.speedPages / 2), 4000000,
                                          [](const RenderedPage& page, const scan::SheetPage& layout, std::mt19937& random) {
                                              const test_scans::MarkedPage marked = test_scans::MarkPage(
                                                  page.image, layout, page.code, 300, test_scans::EveryMark(), random);
                                              return test_scans::PhotoFile(marked.image, test_scans::RandomPhoneLook(random), random);
                                          })));
    }
    if (options.pdfPages > 0) {
        const QString pdf = QDir(folder).filePath(QStringLiteral("skaner.pdf"));
        const QString survey = QDir(folder).filePath(QStringLiteral("ankieta.ank"));
        WriteScannerPdf(pdf, options.pdfPages);
        test_scans::WriteSurveyFile(Survey(), survey);
        const double loadBefore = LoadAverage();
        const ProgramRun run = RunScansCommand({survey, pdf, QStringLiteral("-o"), QDir(folder).filePath(QStringLiteral("wyniki.wyn"))});
        std::printf("| speed, a scanner's PDF of %d pages (JPEG pages, rendered at 300 dpi), `narzedzia skany` "
                    "from start to end | %.1f pages/s (%.1f s wall, %.1f ms processor time a page; exit status %d; "
                    "load average %.1f to %.1f) |\n",
                    options.pdfPages, options.pdfPages / run.wall, run.wall, 1000.0 * run.processor / options.pdfPages,
                    run.status, loadBefore, LoadAverage());
        std::printf("| memory, reading that PDF | %.0f MB resident at most |\n", run.residentMb);
    }
    std::printf("\nLoad average at the end: %.2f\n", LoadAverage());
    return 0;
}
