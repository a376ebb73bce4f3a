// Student photos, their kind told by their first bytes as a user's file would be by its name: decoded
// for the card or refused with "Ne peut ouvrir le fichier", never more than libjpeg's eighths allow, and
// a bitmap or icon that loads is the same with bytes added after its end (nothing was read beyond it,
// and no pixel was left as the memory held it).
#include "FuzzCheck.h"
#include "core/PlatformError.h"
#include "model/PhotoLoader.h"

#include <QImage>

namespace {

const QSize Card(118, 119);

QString nameFor(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xD8"))
        return QStringLiteral("photo.jpg");
    if (bytes.startsWith("BM"))
        return QStringLiteral("photo.bmp");
    return QStringLiteral("photo.ico");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QString name = nameFor(bytes);
    photoloader::Photo photo;
    try {
        photo = photoloader::decode(bytes, name, [](const QSize&) { return Card; });
    } catch (const PlatformError& error) {
        FUZZ_REQUIRE(error.message() == PlatformError::cannotOpen(name).message());
        return 0;
    }
    FUZZ_REQUIRE(!photo.image.isNull());
    if (name.endsWith(QLatin1String(".jpg"))) {
        const int eighths = photoloader::jpegEighths(photo.originalSize, Card);
        const QSize decoded((photo.originalSize.width() * qint64(eighths) + 7) / 8,
                            (photo.originalSize.height() * qint64(eighths) + 7) / 8);
        FUZZ_REQUIRE(photo.image.size() == decoded);
        return 0;
    }
    FUZZ_REQUIRE(photo.image.size() == photo.originalSize);
    photoloader::Photo padded;
    try {
        padded = photoloader::decode(bytes + QByteArray(64, '\xA5'), name);
    } catch (const PlatformError&) {
        fuzz::failed("the bitmap is refused once bytes are added after its end", __FILE__, __LINE__);
    }
    // Compared as drawn: a palette index beyond the colour table is drawn black.
    FUZZ_REQUIRE(padded.image.convertToFormat(QImage::Format_ARGB32) ==
                 photo.image.convertToFormat(QImage::Format_ARGB32));
    return 0;
}
