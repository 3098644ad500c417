// The pages of scan files: each file known by its first bytes, its pages counted, decoded (PDF
// pages rendered by Poppler) and read on worker threads, a few pages ahead of the one handed on.
#include "scan/scan_files.h"

#include <jpeglib.h>
#include <png.h>
#include <poppler/qt6/poppler-qt6.h>
#include <tiffio.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <opencv2/imgproc.hpp>
#include <optional>
#include <thread>

#include "platform/file_names.h"
#include "platform/progress.h"

namespace scan {
namespace {

// Pages are read this many ahead of the one handed on, at most.
constexpr int kPagesAheadPerWorker = 2;
constexpr int kPdfDotsPerInch = 300;
constexpr double kLargestPdfPagePixels = 420.0 / 25.4 * 594.0 / 25.4 * 300 * 300;  // A2 at 300 dpi
constexpr double kSmallestPdfPageSide = 200;
// The largest file read whole: far above any scanned page.
constexpr qint64 kLargestImageFile = 512LL * 1024 * 1024;

QString SizeRefusal(qint64 width, qint64 height) {
    return QStringLiteral("obraz jest za duży (%1 × %2 punktów)").arg(width).arg(height);
}

bool SaneSize(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kLargestScanSide && height <= kLargestScanSide;
}

// The errors and warnings of the libraries go nowhere: a broken file is reported as the
// page's reason, not as lines on the terminal.
void QuietLibraries() {
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(nullptr);
        TIFFSetWarningHandler(nullptr);
        Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
    });
}

const QString kUnreadableImage = QStringLiteral("nie można odczytać obrazu");

// A PNG file through libpng's simplified reading, which keeps its errors to itself: in grey,
// what is transparent on white.
QImage DecodePng(const QByteArray& file, QString& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.constData(), static_cast<std::size_t>(file.size()))) {
        error = kUnreadableImage;
        return {};
    }
    if (!SaneSize(image.width, image.height)) {
        error = SizeRefusal(image.width, image.height);
        png_image_free(&image);
        return {};
    }
    image.format = PNG_FORMAT_GRAY;
    QImage gray(static_cast<int>(image.width), static_cast<int>(image.height), QImage::Format_Grayscale8);
    const png_color white{255, 255, 255};
    if (gray.isNull() || !png_image_finish_read(&image, &white, gray.bits(),
                                                static_cast<png_int_32>(gray.bytesPerLine()), nullptr)) {
        error = kUnreadableImage;
        png_image_free(&image);
        return {};
    }
    return gray;
}

// libjpeg's reading, whose failures jump back here instead of ending the program and whose
// messages go nowhere. Only plain data lives between the jump and its target.
struct JpegReading {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf failed;
};

void JpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegReading*>(info->client_data)->failed, 1);
}

bool StartJpeg(JpegReading& reading, const QByteArray& file) {
    if (setjmp(reading.failed)) return false;
    jpeg_create_decompress(&reading.info);
    jpeg_mem_src(&reading.info, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    jpeg_read_header(&reading.info, TRUE);
    // Grey straight from the decoder: the colours of a colour picture are never made.
    reading.info.out_color_space = JCS_GRAYSCALE;
    return true;
}

bool ReadJpegRows(JpegReading& reading, uchar* bits, qsizetype stride) {
    if (setjmp(reading.failed)) return false;
    jpeg_start_decompress(&reading.info);
    while (reading.info.output_scanline < reading.info.output_height) {
        JSAMPROW row = bits + static_cast<qsizetype>(reading.info.output_scanline) * stride;
        jpeg_read_scanlines(&reading.info, &row, 1);
    }
    jpeg_finish_decompress(&reading.info);
    return true;
}

QImage DecodeJpeg(const QByteArray& file, QString& error) {
    JpegReading reading{};
    reading.info.err = jpeg_std_error(&reading.errors);
    reading.errors.error_exit = JpegFailed;
    reading.errors.output_message = [](j_common_ptr) {};
    reading.info.client_data = &reading;
    QImage gray;
    if (!StartJpeg(reading, file)) {
        error = kUnreadableImage;
    } else if (!SaneSize(reading.info.image_width, reading.info.image_height)) {
        error = SizeRefusal(reading.info.image_width, reading.info.image_height);
    } else {
        gray = QImage(static_cast<int>(reading.info.image_width), static_cast<int>(reading.info.image_height),
                      QImage::Format_Grayscale8);
        if (gray.isNull() || !ReadJpegRows(reading, gray.bits(), gray.bytesPerLine())) {
            error = kUnreadableImage;
            gray = QImage();
        }
    }
    jpeg_destroy_decompress(&reading.info);
    return gray;
}

// A TIFF file's pages, and the size each claims, through libtiff.
class TiffFile {
public:
    explicit TiffFile(const QString& path) : tiff_(TIFFOpen(QFile::encodeName(path).constData(), "rm")) {}
    ~TiffFile() {
        if (tiff_) TIFFClose(tiff_);
    }
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;

    int Pages() const { return tiff_ ? static_cast<int>(std::min<tdir_t>(TIFFNumberOfDirectories(tiff_), 100000)) : 0; }
    // Empty when the page may be decoded, else the reason.
    QString Refusal(int page) {
        if (!tiff_ || !TIFFSetDirectory(tiff_, static_cast<tdir_t>(page - 1))) {
            return QStringLiteral("nie można odczytać strony pliku TIFF");
        }
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        TIFFGetField(tiff_, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff_, TIFFTAG_IMAGELENGTH, &height);
        if (!SaneSize(width, height)) return SizeRefusal(width, height);
        return {};
    }

    // The page chosen by Refusal, in grayscale: read a band of rows at a time in libtiff's
    // RGBA form, whatever the page's own form and compression.
    QImage DecodePage(QString& error) {
        char message[1024] = {};
        TIFFRGBAImage image{};
        if (!TIFFRGBAImageOK(tiff_, message) || !TIFFRGBAImageBegin(&image, tiff_, 0, message)) {
            error = QStringLiteral("nie można odczytać strony pliku TIFF");
            return {};
        }
        image.req_orientation = ORIENTATION_TOPLEFT;
        const int width = static_cast<int>(image.width);
        const int height = static_cast<int>(image.height);
        QImage gray(width, height, QImage::Format_Grayscale8);
        constexpr int kBandRows = 256;
        std::vector<std::uint32_t> band(static_cast<std::size_t>(width) * kBandRows);
        bool read = !gray.isNull();
        for (int row = 0; read && row < height; row += kBandRows) {
            const int rows = std::min(kBandRows, height - row);
            image.row_offset = row;
            image.col_offset = 0;
            read = TIFFRGBAImageGet(&image, band.data(), image.width, static_cast<std::uint32_t>(rows)) != 0;
            // Each pixel is R, G, B and A bytes in memory.
            const cv::Mat rgba(rows, width, CV_8UC4, band.data());
            cv::Mat into(rows, width, CV_8UC1, gray.scanLine(row), static_cast<std::size_t>(gray.bytesPerLine()));
            if (read) cv::cvtColor(rgba, into, cv::COLOR_RGBA2GRAY);
        }
        TIFFRGBAImageEnd(&image);
        if (!read) {
            error = QStringLiteral("nie można odczytać strony pliku TIFF");
            return {};
        }
        return gray;
    }

private:
    TIFF* tiff_;
};

std::unique_ptr<Poppler::Document> OpenPdf(const QString& path, QString& error) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) {
        error = QStringLiteral("nie można odczytać pliku PDF");
    } else if (document->isLocked()) {
        error = QStringLiteral("plik PDF jest zabezpieczony hasłem");
        document.reset();
    } else {
        // Annotations are no part of a scanned page.
        document->setRenderHint(Poppler::Document::HideAnnotations);
        // Qt's painter draws a scanner's page pictures several times quicker than Poppler's
        // own rasteriser, and without smoothing what the reading does not need smoothed; but it
        // cannot draw every text safely (a font neither in the file nor found on the computer
        // brings it down), so a file with any font is left to Poppler's own rasteriser.
        if (document->fonts().isEmpty()) document->setRenderBackend(Poppler::Document::QPainterBackend);
    }
    return document;
}

QImage RenderPdfPage(Poppler::Document& document, int page, QString& error) {
    const std::unique_ptr<Poppler::Page> one = document.page(page - 1);
    if (!one) {
        error = QStringLiteral("nie można odczytać strony pliku PDF");
        return {};
    }
    // A page larger than A2 is rendered more coarsely, so that it takes no more memory than A2.
    const QSizeF inches = one->pageSizeF() / 72.0;
    double dotsPerInch = kPdfDotsPerInch;
    const double pixels = inches.width() * inches.height() * dotsPerInch * dotsPerInch;
    if (pixels > kLargestPdfPagePixels) dotsPerInch *= std::sqrt(kLargestPdfPagePixels / pixels);
    if (!(inches.width() * dotsPerInch >= kSmallestPdfPageSide && inches.height() * dotsPerInch >= kSmallestPdfPageSide &&
          inches.width() * dotsPerInch <= kLargestScanSide && inches.height() * dotsPerInch <= kLargestScanSide)) {
        error = QStringLiteral("strona PDF ma niewłaściwy rozmiar");
        return {};
    }
    QImage image = one->renderToImage(dotsPerInch, dotsPerInch);
    if (image.isNull()) {
        error = QStringLiteral("nie można odczytać strony pliku PDF");
        return {};
    }
    return image.convertToFormat(QImage::Format_Grayscale8);
}

// One file as the reading goes through it.
struct ScanFile {
    QString path;
    ScanFormat format = ScanFormat::Other;
    int pages = 1;
    QString error;  // the whole file could not be used
};

ScanFile OpenScanFile(const QString& path) {
    ScanFile file;
    file.path = path;
    QFile device(path);
    if (!QFileInfo(path).isFile() || !device.open(QIODevice::ReadOnly)) {
        file.error = QStringLiteral("nie można otworzyć pliku");
        return file;
    }
    file.format = ScanFormatOf(device.read(1024));
    device.close();
    QString error;
    switch (file.format) {
    case ScanFormat::Png:
    case ScanFormat::Jpeg:
        break;
    case ScanFormat::Tiff: {
        file.pages = TiffFile(path).Pages();
        if (file.pages == 0) {
            file.pages = 1;
            file.error = QStringLiteral("nie można odczytać pliku TIFF");
        }
        break;
    }
    case ScanFormat::Pdf:
        if (const auto document = OpenPdf(path, file.error)) {
            file.pages = document->numPages();
            if (file.pages <= 0) {
                file.pages = 1;
                file.error = QStringLiteral("plik PDF nie ma stron");
            }
        }
        break;
    case ScanFormat::Other:
        file.error = QStringLiteral("to nie jest obraz PNG, JPEG ani TIFF, ani plik PDF");
        break;
    }
    return file;
}

// The files' pages one after another, dealt out to the workers in order, each worker keeping
// the PDF document it reads open; the finished pages wait in order for the calling thread.
class Reading {
public:
    Reading(const QStringList& files, const ScanTarget& target, int workers)
        : files_(files), target_(target), ahead_(workers * kPagesAheadPerWorker) {}

    void Work() {
        std::unique_ptr<Poppler::Document> pdf;
        int pdfFile = -1;
        while (const std::optional<Job> job = NextJob()) {
            ScannedPage page{job->file->path, job->page, {}, job->file->error};
            if (page.error.isEmpty()) {
                QImage image;
                switch (job->file->format) {
                case ScanFormat::Png:
                case ScanFormat::Jpeg: {
                    QFile device(job->file->path);
                    if (device.size() > kLargestImageFile) {
                        page.error = QStringLiteral("plik jest za duży");
                    } else if (!device.open(QIODevice::ReadOnly)) {
                        page.error = QStringLiteral("nie można otworzyć pliku");
                    } else {
                        image = DecodeScanImage(device.readAll(), page.error);
                    }
                    break;
                }
                case ScanFormat::Tiff:
                    image = DecodeTiffPage(job->file->path, job->page, page.error);
                    break;
                case ScanFormat::Pdf:
                    if (pdfFile != job->fileIndex) {
                        pdf = OpenPdf(job->file->path, page.error);
                        pdfFile = job->fileIndex;
                    }
                    if (pdf) image = RenderPdfPage(*pdf, job->page, page.error);
                    break;
                case ScanFormat::Other:
                    break;
                }
                if (page.error.isEmpty()) page.reading = ReadPage(image, target_);
            }
            if (!page.error.isEmpty()) page.reading.problem = PageProblem::NoMarkers;
            Finish(job->sequence, std::move(page));
        }
    }

    // Waits for the next page in order: nothing once every page is handed on.
    std::optional<ScannedPage> Next(platform::Progress& progress, int done, bool& stopped) {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            const auto found = finished_.find(handed_);
            if (found != finished_.end()) {
                ScannedPage page = std::move(found->second);
                finished_.erase(found);
                ++handed_;
                changed_.notify_all();
                return page;
            }
            if (dealtAll_ && handed_ == dealt_) return std::nullopt;
            // Still waiting: the progress box's own events go on meanwhile.
            if (!changed_.wait_for(lock, std::chrono::milliseconds(100), [&] {
                    return finished_.count(handed_) > 0 || (dealtAll_ && handed_ == dealt_);
                })) {
                const int total = Total();
                lock.unlock();
                if (!progress.Advance(done, total)) {
                    stopped = true;
                    return std::nullopt;
                }
                lock.lock();
            }
        }
    }

    // Pages known so far, a file not yet opened counting as one.
    int Total() const { return knownPages_ + static_cast<int>(files_.size()) - nextFile_; }
    int TotalNow() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return Total();
    }

    void Stop() {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }

private:
    struct Job {
        const ScanFile* file;
        int fileIndex;
        int page;
        int sequence;
    };

    std::optional<Job> NextJob() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return stopping_ || dealt_ < handed_ + ahead_; });
        if (stopping_) return std::nullopt;
        while (!current_ || nextPage_ > current_->pages) {
            if (nextFile_ >= files_.size()) {
                dealtAll_ = true;
                changed_.notify_all();
                return std::nullopt;
            }
            opened_.push_back(OpenScanFile(files_[nextFile_]));
            current_ = &opened_.back();
            currentIndex_ = nextFile_++;
            knownPages_ += current_->pages;
            nextPage_ = 1;
        }
        return Job{current_, currentIndex_, nextPage_++, dealt_++};
    }

    void Finish(int sequence, ScannedPage page) {
        const std::lock_guard<std::mutex> lock(mutex_);
        finished_.emplace(sequence, std::move(page));
        changed_.notify_all();
    }

    static QImage DecodeTiffPage(const QString& path, int page, QString& error) {
        TiffFile file(path);
        error = file.Refusal(page);
        if (!error.isEmpty()) return {};
        return file.DecodePage(error);
    }

    const QStringList& files_;
    const ScanTarget& target_;
    const int ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<ScanFile> opened_;  // stays in place while pages of it are read
    const ScanFile* current_ = nullptr;
    int currentIndex_ = -1;
    qsizetype nextFile_ = 0;
    int nextPage_ = 1;
    int knownPages_ = 0;
    int dealt_ = 0;
    int handed_ = 0;
    bool dealtAll_ = false;
    bool stopping_ = false;
    std::map<int, ScannedPage> finished_;
};

bool IsScanFileName(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QStringLiteral("png") || suffix == QStringLiteral("jpg") ||
           suffix == QStringLiteral("jpeg") || suffix == QStringLiteral("tif") ||
           suffix == QStringLiteral("tiff") || suffix == QStringLiteral("pdf");
}

}  // namespace

ScanFormat ScanFormatOf(QByteArrayView head) {
    if (head.startsWith("\x89PNG\r\n\x1a\n")) return ScanFormat::Png;
    if (head.startsWith("\xff\xd8\xff")) return ScanFormat::Jpeg;
    if (head.startsWith("II*") || head.startsWith(QByteArrayView("MM\0*", 4))) return ScanFormat::Tiff;
    // A PDF's header may follow some bytes of other matter.
    if (head.contains("%PDF-")) return ScanFormat::Pdf;
    return ScanFormat::Other;
}

QImage DecodeScanImage(const QByteArray& file, QString& error) {
    const ScanFormat format = ScanFormatOf(file.left(16));
    QImage picture;
    if (format == ScanFormat::Png) picture = DecodePng(file, error);
    if (format == ScanFormat::Jpeg) picture = DecodeJpeg(file, error);
    if (picture.isNull() && error.isEmpty()) error = QStringLiteral("nie można odczytać obrazu");
    if (!picture.isNull()) error.clear();
    return picture;
}

QStringList ScanFilesOf(const QStringList& inputs) {
    QStringList files;
    for (const QString& input : inputs) {
        if (!QFileInfo(input).isDir()) {
            files << input;
            continue;
        }
        for (const QByteArray& name : platform::ListFolder(input, QStringLiteral("*"))) {
            const QString path = QDir(input).filePath(QFile::decodeName(name));
            if (IsScanFileName(path) && QFileInfo(path).isFile()) files << path;
        }
    }
    return files;
}

bool ReadScanFiles(const QStringList& files, const ScanTarget& target,
                   platform::Progress& progress, const std::function<void(ScannedPage)>& onPage) {
    QuietLibraries();
    // A worker for every core, up to four: each holds a page or two of pictures (some 100 MB for
    // a PDF page), so more would take more memory than they save time.
    const int workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    Reading reading(files, target, workers);
    // The workers are stopped and joined however the reading ends, also when `onPage` throws.
    struct Workers {
        Reading& reading;
        std::vector<std::thread> threads;
        ~Workers() {
            reading.Stop();
            for (std::thread& thread : threads) thread.join();
        }
    } running{reading, {}};
    for (int i = 0; i < workers; ++i) running.threads.emplace_back([&reading] { reading.Work(); });
    bool stopped = false;
    int done = 0;
    while (!stopped) {
        std::optional<ScannedPage> page = reading.Next(progress, done, stopped);
        if (!page) break;
        onPage(std::move(*page));
        ++done;
        if (!progress.Advance(done, reading.TotalNow())) stopped = true;
    }
    return !stopped;
}

}  // namespace scan
