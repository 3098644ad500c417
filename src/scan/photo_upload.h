// The checks a photo sent from a phone passes before anything decodes it: a JPEG or PNG file
// known by its content (not its name or declared type), whole, at most 20 MB, and claiming at
// most 50 megapixels in its header.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace scan {

constexpr qint64 kMostPhotoBytes = 20'000'000;
constexpr qint64 kMostPhotoPixels = 50'000'000;

enum class PhotoRefusal {
    None,
    NotAnImage,  // neither JPEG nor PNG by its first bytes
    TooLarge,    // more than kMostPhotoBytes
    TooManyPixels,  // its header claims more than kMostPhotoPixels (or no size at all)
    Broken,         // cut short, or its structure is not sound
};
// The refusal in the words of the phone's page ("to nie jest zdjęcie JPEG ani PNG").
QString PhotoRefusalText(PhotoRefusal refusal);

PhotoRefusal CheckPhoto(QByteArrayView file);

}  // namespace scan
