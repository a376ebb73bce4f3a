#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>

// Student photos: bitmaps and icons through Qt's readers, JPEG files through libjpeg, decoded only as
// large as the card will draw them.
namespace photoloader {

struct Photo
{
    QImage image;
    // The size stored in the file; the image may have been decoded smaller.
    QSize originalSize;
};

// Given the picture's size in its file, the smallest size the decoded image must still cover.
using CoverSize = std::function<QSize(const QSize& original)>;

// The memory libjpeg may take for one photo. A progressive file keeps every coefficient of the whole picture until
// its last scan, whatever the size it is drawn at: two bytes a sample, so 144 MiB for a 50-megapixel camera photo in
// its usual sampling (colour at half the resolution both ways), 96 MiB in grey. Other files need only a few rows.
constexpr long JpegMemoryBound = 160L * 1024 * 1024;

// Raised by load() when the photo is no longer wanted: its abandon flag was set while it was decoded.
struct Abandoned
{
};

// Loads a picture file, its kind chosen by its extension (.bmp, .ico, .jpg or .jpeg, in any case).
// Raises "Extension de fichier graphique inconnue (.%s)" for any other extension and
// "Ne peut ouvrir le fichier %s" for a file that cannot be read or decoded: a truncated or corrupt
// picture, and a JPEG that would take more memory (JpegMemoryBound) or scans than any camera's photo.
// Without coverSize the picture is decoded at full size. Setting *abandon, from any thread, stops a JPEG decode
// within a row of blocks and raises Abandoned.
Photo load(const QString& path, const CoverSize& coverSize = {}, const std::atomic<bool>* abandon = nullptr);

// A picture held in memory; the same rules, the same errors (path gives the kind and names the file in them).
Photo decode(const QByteArray& bytes, const QString& path, const CoverSize& coverSize = {});

// The eighths (1 to 8) of the original size at which libjpeg decodes a picture of that size so that it
// still covers the wanted size: the fewest that do.
int jpegEighths(const QSize& original, const QSize& wanted);

} // namespace photoloader
