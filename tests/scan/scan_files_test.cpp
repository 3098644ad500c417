// The scan files: which files a folder holds, every page of PNG, JPEG, multi-page TIFF and PDF
// files read in order, a broken or oversized file reported and passed over, and stopping.
#include <gtest/gtest.h>

#include <QDir>
#include <zlib.h>

#include "platform/pdf_printer.h"
#include "platform/progress.h"
#include "scan/scan_files.h"
#include "scan/sheet_printout.h"
#include "support/temp_folder.h"
#include "test_scans.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteBytes;

const test_scans::SampleSurvey& Survey() {
    static const test_scans::SampleSurvey survey = test_scans::MakeSurvey({3, 5, 2});
    return survey;
}

TEST(ScanFiles, AFolderStandsForItsScanFilesInNameOrder) {
    const TempFolder folder;
    for (const char* name : {"b.JPG", "a.png", "c.tiff", "d.Pdf", "e.jpeg", "f.tif", "notatki.txt", "g.wyn"}) {
        WriteBytes(folder.File(name), "x");
    }
    QDir(folder.path()).mkdir(QStringLiteral("h.png"));
    QDir(folder.path()).mkdir(QStringLiteral("podfolder"));
    WriteBytes(folder.File("podfolder/i.png"), "x");
    const QStringList files = scan::ScanFilesOf({folder.path(), QStringLiteral("/gdzies/skan.bmp")});
    QStringList names;
    for (const QString& file : files) names << QFileInfo(file).fileName();
    EXPECT_EQ(names, (QStringList{QStringLiteral("a.png"), QStringLiteral("b.JPG"), QStringLiteral("c.tiff"),
                                  QStringLiteral("d.Pdf"), QStringLiteral("e.jpeg"), QStringLiteral("f.tif"),
                                  QStringLiteral("skan.bmp")}));
}

struct Handed {
    QString file;
    int page;
    int sheet;
    bool error;
};

std::vector<Handed> ReadAll(const QStringList& files, platform::Progress& progress, bool* finished = nullptr) {
    std::vector<Handed> handed;
    const bool done = scan::ReadScanFiles(files, Survey().target, progress, [&](const scan::ScannedPage& page) {
        handed.push_back({QFileInfo(page.file).fileName(), page.page, page.reading.code.sheet, !page.error.isEmpty()});
        if (!page.error.isEmpty()) {
            EXPECT_EQ(page.reading.problem, scan::PageProblem::NoMarkers);
        }
    });
    if (finished) *finished = done;
    return handed;
}

TEST(ScanFiles, ReadsEveryPageOfEveryKindOfFileInOrderAndPassesOverABrokenOne) {
    const TempFolder folder;
    const std::vector<QImage> pages = test_scans::RenderSheets(Survey(), 1, 4, 150);
    WriteBytes(folder.File("1.png"), test_scans::PngFile(pages[0]));
    WriteBytes(folder.File("2.jpg"), test_scans::JpegFile(pages[1], 80));
    WriteBytes(folder.File("3.png"), test_scans::PngFile(pages[0]).left(5000));  // cut short
    test_scans::WriteTiffFile({pages[2], pages[3]}, folder.File("4.tif"));
    {
        // The sheets' own printout, as a PDF whose pages are rendered at 300 dpi.
        platform::PdfPrinter printer(folder.File("5.pdf"));
        platform::SilentProgress silent;
        scan::PrintScanSheets(printer, Survey().sheets, 11, 2, silent);
        printer.Finish();
    }
    WriteBytes(folder.File("6.pdf"), "%PDF-1.4\nnic tu nie ma\n");
    WriteBytes(folder.File("7.jpg"), "to nie jest obraz");

    platform::SilentProgress progress;
    const std::vector<Handed> handed = ReadAll(scan::ScanFilesOf({folder.path()}), progress);
    const std::vector<std::tuple<QString, int, int, bool>> expected{
        {QStringLiteral("1.png"), 1, 1, false}, {QStringLiteral("2.jpg"), 1, 2, false},
        {QStringLiteral("3.png"), 1, 0, true},  {QStringLiteral("4.tif"), 1, 3, false},
        {QStringLiteral("4.tif"), 2, 4, false}, {QStringLiteral("5.pdf"), 1, 11, false},
        {QStringLiteral("5.pdf"), 2, 12, false}, {QStringLiteral("6.pdf"), 1, 0, true},
        {QStringLiteral("7.jpg"), 1, 0, true}};
    ASSERT_EQ(handed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(handed[i].file, std::get<0>(expected[i])) << i;
        EXPECT_EQ(handed[i].page, std::get<1>(expected[i])) << i;
        EXPECT_EQ(handed[i].sheet, std::get<2>(expected[i])) << i;
        EXPECT_EQ(handed[i].error, std::get<3>(expected[i])) << i;
    }
}

// A PNG file that claims `width` × `height` pixels but holds one.
QByteArray PngClaiming(quint32 width, quint32 height) {
    QImage one(1, 1, QImage::Format_Grayscale8);
    one.fill(Qt::white);
    QByteArray png = test_scans::PngFile(one);
    // The header chunk: its length, "IHDR", width and height from byte 16, then its CRC.
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
        png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
    }
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    return png;
}

TEST(ScanFiles, ImagesClaimingAnInsaneSizeAreRefusedBeforeTheyAreDecoded) {
    QString error;
    EXPECT_TRUE(scan::DecodeScanImage(PngClaiming(12001, 100), error).isNull());
    EXPECT_EQ(error, QStringLiteral("obraz jest za duży (12001 × 100 punktów)"));
    EXPECT_TRUE(scan::DecodeScanImage(PngClaiming(3000, 12001), error).isNull());
    EXPECT_EQ(error, QStringLiteral("obraz jest za duży (3000 × 12001 punktów)"));
    // Within the bounds it is decoded as far as it goes: one pixel is all the data there is.
    scan::DecodeScanImage(PngClaiming(12000, 100), error);
    EXPECT_NE(error, QString());
    EXPECT_FALSE(error.contains(QStringLiteral("za duży")));
}

// Stops the reading when asked for the first time after `pages` pages.
class StoppingProgress : public platform::Progress {
public:
    explicit StoppingProgress(int pages) : pages_(pages) {}
    bool Advance(int done, int) override { return done < pages_; }

private:
    int pages_;
};

TEST(ScanFiles, StoppingEndsTheReadingAfterThePagesHandedOn) {
    const TempFolder folder;
    const std::vector<QImage> pages = test_scans::RenderSheets(Survey(), 1, 6, 100);
    QStringList files;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        files << folder.File(QStringLiteral("%1.png").arg(i));
        WriteBytes(files.back(), test_scans::PngFile(pages[i]));
    }
    StoppingProgress progress(2);
    bool finished = true;
    const std::vector<Handed> handed = ReadAll(files, progress, &finished);
    EXPECT_FALSE(finished);
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[0].sheet, 1);
    EXPECT_EQ(handed[1].sheet, 2);
}

}  // namespace
