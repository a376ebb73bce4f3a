#pragma once

#include <QImage>
#include <QSize>
#include <QString>
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

// Loads a picture file, its kind chosen by its extension (.bmp, .ico, .jpg or .jpeg, in any case).
// Raises "Extension de fichier graphique inconnue (.%s)" for any other extension and
// "Ne peut ouvrir le fichier %s" for a file that cannot be read or decoded: a truncated or corrupt
// picture, and a JPEG that would take more memory or scans than any camera's photo.
// Without coverSize the picture is decoded at full size.
Photo load(const QString& path, const CoverSize& coverSize = {});

// A picture held in memory; the same rules, the same errors (path gives the kind and names the file in them).
Photo decode(const QByteArray& bytes, const QString& path, const CoverSize& coverSize = {});

// The eighths (1 to 8) of the original size at which libjpeg decodes a picture of that size so that it
// still covers the wanted size: the fewest that do.
int jpegEighths(const QSize& original, const QSize& wanted);

} // namespace photoloader
