// The checks of a photo sent from a phone: JPEG and PNG files known by their content, whole, and
// claiming no more than their limits; everything else refused before any decoding.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "scan/photo_upload.h"
#include "scan_photos.h"

using scan::PhotoRefusal;

namespace {

TEST(CheckPhoto, TakesWholeJpegAndPngFilesAndRefusesEverythingElse) {
    const QByteArray jpeg = scan_testing::PictureFile(QSize(64, 48), "JPG");
    const QByteArray png = scan_testing::PictureFile(QSize(64, 48), "PNG");
    const struct {
        const char* what;
        QByteArray file;
        PhotoRefusal refusal;
    } cases[] = {
        {"JPEG", jpeg, PhotoRefusal::None},
        {"PNG", png, PhotoRefusal::None},
        // A camera's own bytes after the end of the picture are let be.
        {"JPEG and more after its end", jpeg + "trailing video", PhotoRefusal::None},
        {"JPEG cut short", jpeg.left(jpeg.size() * 2 / 3), PhotoRefusal::Broken},
        {"JPEG without its end", jpeg.chopped(2), PhotoRefusal::Broken},
        {"JPEG head alone", jpeg.left(3) + QByteArray(200, 'x'), PhotoRefusal::Broken},
        {"PNG cut short", png.left(png.size() - 5), PhotoRefusal::Broken},
        {"PNG claiming 100,000 × 100,000", scan_testing::PngClaiming(100000, 100000), PhotoRefusal::TooManyPixels},
        {"PNG claiming 7100 × 7100", scan_testing::PngClaiming(7100, 7100), PhotoRefusal::TooManyPixels},
        {"PNG claiming 7000 × 7000", scan_testing::PngClaiming(7000, 7000), PhotoRefusal::None},
        {"text named .jpg", "to nie jest zdjęcie", PhotoRefusal::NotAnImage},
        {"GIF", QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14), PhotoRefusal::NotAnImage},
        {"nothing", QByteArray(), PhotoRefusal::NotAnImage},
        {"over 20 MB", jpeg + QByteArray(scan::kMostPhotoBytes, '\0'), PhotoRefusal::TooLarge},
    };
    for (const auto& one : cases) EXPECT_EQ(scan::CheckPhoto(one.file), one.refusal) << one.what;
}

}  // namespace
