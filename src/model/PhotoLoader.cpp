#include "model/PhotoLoader.h"

#include "core/PlatformError.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <mutex>
#include <signal.h>

#include <jerror.h>
#include <jpeglib.h>

namespace photoloader {
namespace {

// Beyond this many decoded pixels a picture is refused rather than risk a huge allocation for a
// photo drawn 120 pixels wide (a forged header can claim 65535 x 65535).
constexpr qint64 MaxDecodedPixels = 16LL * 1024 * 1024;

constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;

// No camera makes a picture of more samples (width x height x components) than this: a 200-megapixel
// phone photo holds 600 million. A header that claims more is refused before anything is decoded.
constexpr qint64 MaxJpegSamples = 1LL << 30;

// Encoders write about ten scans. Each scan walks the whole picture again, so a small file of thousands
// of empty scans would hold the card for seconds.
constexpr int MaxJpegScans = 100;

struct JpegErrors
{
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    const std::atomic<bool>* abandon;
    // With the signal mask: a fault while reading a mapped file comes back here from its signal handler.
    sigjmp_buf jump;
};

// libjpeg must never end the program: every fatal error comes back to the decoder.
[[noreturn]] void jpegErrorExit(j_common_ptr info)
{
    siglongjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// A JPEG file is decoded where it lies, mapped into memory. Should it be cut short meanwhile (rewritten by
// another program), reading past its new end raises SIGBUS, which would end the program with the class
// unsaved: while this thread decodes, the signal brings it back to the decoder instead, as a file that
// cannot be read. Any other SIGBUS goes where it went before.
thread_local sigjmp_buf* t_decoding = nullptr;
struct sigaction g_previousBus;

void onBus(int signal, siginfo_t* info, void* context)
{
    if (t_decoding)
        siglongjmp(*t_decoding, 1);
    if (g_previousBus.sa_flags & SA_SIGINFO) {
        g_previousBus.sa_sigaction(signal, info, context);
    } else if (g_previousBus.sa_handler != SIG_DFL && g_previousBus.sa_handler != SIG_IGN) {
        g_previousBus.sa_handler(signal);
    } else {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
}

void catchMappedReadFaults()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action = {};
        action.sa_sigaction = onBus;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previousBus);
    });
}

// A truncated file or damaged entropy data would otherwise be drawn as grey or garbled blocks
// without a word; such a picture is refused like one that cannot be read.
void jpegMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
        siglongjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
    default:
        break;
    }
}

// Called before every row of input libjpeg absorbs and every row it gives out, so a scan beyond the last allowed is
// never decoded, and a photo no longer wanted is dropped where it stands.
void jpegProgress(j_common_ptr info)
{
    const auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxJpegScans ||
        (errors->abandon && errors->abandon->load(std::memory_order_relaxed)))
        siglongjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Decoding proper, in a function holding no C++ object that a jump out of libjpeg would skip: the
// image lives in the caller and is only reached through a pointer. Returns false on any failure, and when
// abandoned (which the caller tells by the flag).
bool decodeInto(const unsigned char* data, unsigned long size, const CoverSize* coverSize,
                const std::atomic<bool>* abandon, QImage* image, QSize* originalSize)
{
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegErrorExit;
    errors.manager.emit_message = jpegMessage;
    errors.progress = {};
    errors.progress.progress_monitor = jpegProgress;
    errors.abandon = abandon;
    jpeg_create_decompress(&info);
    if (sigsetjmp(errors.jump, 1)) {
        t_decoding = nullptr;
        jpeg_destroy_decompress(&info);
        return false;
    }
    t_decoding = &errors.jump;
    // Beyond this, libjpeg asks for a backing store it does not have, which is a fatal error: a progressive
    // photo whose coefficients would not fit is refused before they are allocated.
    info.mem->max_memory_to_use = JpegMemoryBound;
    info.progress = &errors.progress;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    *originalSize = QSize(int(info.image_width), int(info.image_height));
    const QSize wanted = (coverSize && *coverSize) ? (*coverSize)(*originalSize) : *originalSize;
    if (qint64(info.image_width) * qint64(info.image_height) * info.num_components > MaxJpegSamples) {
        t_decoding = nullptr;
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.scale_num = unsigned(jpegEighths(*originalSize, wanted));
    info.scale_denom = 8;
    if (info.scale_num < 8) {
        // Reduced for a frame 120 pixels wide and smoothed again when drawn: the fastest inverse
        // transform and plain chroma upsampling lose nothing visible.
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&info);
    if (info.output_width == 0 || info.output_height == 0 ||
        qint64(info.output_width) * qint64(info.output_height) > MaxDecodedPixels) {
        t_decoding = nullptr;
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Format_RGB32 is stored B, G, R, X in memory on a little-endian machine, as libjpeg writes BGRX.
    *image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image->isNull()) {
        t_decoding = nullptr;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            // Adobe writes CMYK inverted: each channel already holds 255 minus the ink.
            unsigned char* px = row;
            for (JDIMENSION x = 0; x < info.output_width; ++x, px += 4) {
                const int c = px[0], m = px[1], y = px[2], k = px[3];
                px[0] = static_cast<unsigned char>(y * k / 255);
                px[1] = static_cast<unsigned char>(m * k / 255);
                px[2] = static_cast<unsigned char>(c * k / 255);
                px[3] = 0xFF;
            }
        }
    }
    jpeg_finish_decompress(&info);
    t_decoding = nullptr;
    jpeg_destroy_decompress(&info);
    return true;
}

void openFile(const QString& path, QFile& file)
{
    // Only a regular file of a sensible size: a pipe or a device named like a photo would block the
    // card, and a file of gigabytes would be read whole for a picture 120 pixels wide.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.size() > MaxFileBytes)
        throw PlatformError::cannotOpen(path);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        throw PlatformError::cannotOpen(path);
}

QByteArray readAll(const QString& path, QFile& file)
{
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError::cannotOpen(path);
    return bytes;
}

enum class Kind
{
    Jpeg,
    Bitmap,
    Icon
};

// The kind of picture a file name stands for; raises "Extension de fichier graphique inconnue" for any other.
Kind kindOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    const QString kind = suffix.toLower();
    if (kind == QLatin1String("jpg") || kind == QLatin1String("jpeg"))
        return Kind::Jpeg;
    if (kind == QLatin1String("bmp"))
        return Kind::Bitmap;
    if (kind == QLatin1String("ico"))
        return Kind::Icon;
    throw PlatformError::unknownPictureExtension(suffix);
}

Photo decodeJpeg(const QByteArray& bytes, const QString& path, const CoverSize& coverSize,
                 const std::atomic<bool>* abandon = nullptr)
{
    catchMappedReadFaults();
    Photo photo;
    if (bytes.isEmpty() ||
        !decodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned long>(bytes.size()),
                    &coverSize, abandon, &photo.image, &photo.originalSize)) {
        if (abandon && abandon->load())
            throw Abandoned();
        throw PlatformError::cannotOpen(path);
    }
    return photo;
}

// Qt's readers keep what they could read of a file cut short, the rest of the image left as the memory
// held it, and a run-length bitmap may leave pixels unset on purpose. So the reader gets the file followed
// by one spare byte: reading into it means the rows the header announces run past the end of the file,
// and the picture is refused. And it decodes into an image cleared beforehand (when the header's size is
// one Qt would allocate), so unset pixels take colour 0.
Photo decodeWithQt(const QByteArray& bytes, Kind kind, const QString& path)
{
    // Qt goes to the rows (their offset at byte 10) and to the colour table after the header (14 bytes
    // and the size at byte 14), and reads on from wherever it stands when it cannot go there: a bitmap
    // that places either beyond its end is refused.
    if (kind == Kind::Bitmap) {
        QDataStream header(bytes);
        header.setByteOrder(QDataStream::LittleEndian);
        quint32 rowsOffset = 0, headerSize = 0;
        header.skipRawData(10);
        header >> rowsOffset >> headerSize;
        if (rowsOffset > quint64(bytes.size()) || 14 + quint64(headerSize) > quint64(bytes.size()))
            throw PlatformError::cannotOpen(path);
    }
    QBuffer buffer;
    buffer.setData(bytes + '\0');
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, kind == Kind::Bitmap ? "bmp" : "ico");
    reader.setDecideFormatFromContent(false);
    Photo photo;
    const qint64 width = reader.size().width(), height = qAbs(qint64(reader.size().height()));
    if (width > 0 && height > 0 && width * height * 4 <= qint64(reader.allocationLimit()) * 1024 * 1024) {
        photo.image = QImage(int(width), int(height), reader.imageFormat());
        photo.image.fill(0);
    }
    if (!reader.read(&photo.image) || photo.image.isNull() || buffer.pos() > bytes.size())
        throw PlatformError::cannotOpen(path);
    photo.originalSize = photo.image.size();
    return photo;
}

Photo decodeAs(Kind kind, const QByteArray& bytes, const QString& path, const CoverSize& coverSize)
{
    if (kind == Kind::Jpeg)
        return decodeJpeg(bytes, path, coverSize);
    return decodeWithQt(bytes, kind, path);
}

} // namespace

int jpegEighths(const QSize& original, const QSize& wanted)
{
    // libjpeg rounds a scaled dimension up: ceil(size * eighths / 8).
    for (int eighths = 1; eighths < 8; ++eighths) {
        const qint64 w = (qint64(original.width()) * eighths + 7) / 8;
        const qint64 h = (qint64(original.height()) * eighths + 7) / 8;
        if (w >= wanted.width() && h >= wanted.height())
            return eighths;
    }
    return 8;
}

Photo decode(const QByteArray& bytes, const QString& path, const CoverSize& coverSize)
{
    return decodeAs(kindOf(path), bytes, path, coverSize);
}

Photo load(const QString& path, const CoverSize& coverSize, const std::atomic<bool>* abandon)
{
    const Kind kind = kindOf(path);
    QFile file;
    openFile(path, file);
    if (kind != Kind::Jpeg)
        return decodeAs(kind, readAll(path, file), path, coverSize);
    // A phone photo of several megabytes is decoded where it lies, mapped rather than copied.
    const qint64 size = file.size();
    if (const uchar* mapped = size > 0 ? file.map(0, size) : nullptr)
        return decodeJpeg(QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), qsizetype(size)), path,
                          coverSize, abandon);
    return decodeJpeg(readAll(path, file), path, coverSize, abandon);
}

} // namespace photoloader
