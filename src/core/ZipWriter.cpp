#include "core/ZipWriter.h"

#include <limits>
#include <zlib.h>

namespace zipwriter {
namespace {

constexpr quint32 LocalSignature = 0x04034b50;
constexpr quint32 CentralSignature = 0x02014b50;
constexpr quint32 EndSignature = 0x06054b50;
constexpr quint16 Version = 20; // deflate
constexpr quint16 Deflated = 8;
constexpr quint16 DosDate = (0 << 9) | (1 << 5) | 1; // 1980-01-01, 00:00
constexpr quint64 MaxSize = std::numeric_limits<quint32>::max();

void put16(QByteArray& out, quint16 value)
{
    out.append(char(value & 0xFF)).append(char(value >> 8));
}

void put32(QByteArray& out, quint32 value)
{
    put16(out, quint16(value & 0xFFFF));
    put16(out, quint16(value >> 16));
}

// The raw deflate stream (no zlib header), as zip archives hold it; zlib's fastest, a workbook's XML packs to a
// fifth of its size even so.
std::optional<QByteArray> deflated(const QByteArray& bytes)
{
    z_stream stream = {};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return std::nullopt;
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    return out;
}

// The fields that the local header and the central directory's entry share, from "version needed" to the name's
// length.
void putCommon(QByteArray& out, quint32 crc, quint32 packed, quint32 size, quint16 nameLength)
{
    put16(out, Version);
    put16(out, 0); // flags
    put16(out, Deflated);
    put16(out, 0); // time
    put16(out, DosDate);
    put32(out, crc);
    put32(out, packed);
    put32(out, size);
    put16(out, nameLength);
    put16(out, 0); // extra field
}

} // namespace

std::optional<QByteArray> archive(const QList<File>& files)
{
    if (files.size() > 0xFFFF)
        return std::nullopt;
    QByteArray out, central;
    for (const File& file : files) {
        // Sizes beyond what uInt and the 32-bit fields hold are refused before zlib sees them.
        if (quint64(file.bytes.size()) > MaxSize || file.name.size() > 0xFFFF)
            return std::nullopt;
        const std::optional<QByteArray> packed = deflated(file.bytes);
        if (!packed || quint64(out.size()) + 30 + file.name.size() + packed->size() > MaxSize)
            return std::nullopt;
        const quint32 crc =
            quint32(crc32_z(0, reinterpret_cast<const Bytef*>(file.bytes.constData()), z_size_t(file.bytes.size())));
        const quint32 offset = quint32(out.size());
        put32(out, LocalSignature);
        putCommon(out, crc, quint32(packed->size()), quint32(file.bytes.size()), quint16(file.name.size()));
        out += file.name;
        out += *packed;
        put32(central, CentralSignature);
        put16(central, Version); // made by: MS-DOS attributes
        putCommon(central, crc, quint32(packed->size()), quint32(file.bytes.size()), quint16(file.name.size()));
        put16(central, 0); // comment
        put16(central, 0); // disk
        put16(central, 0); // internal attributes
        put32(central, 0); // external attributes
        put32(central, offset);
        central += file.name;
    }
    if (quint64(out.size()) + central.size() + 22 > MaxSize)
        return std::nullopt;
    const quint32 centralOffset = quint32(out.size());
    out += central;
    put32(out, EndSignature);
    put16(out, 0); // this disk
    put16(out, 0); // the central directory's disk
    put16(out, quint16(files.size()));
    put16(out, quint16(files.size()));
    put32(out, quint32(central.size()));
    put32(out, centralOffset);
    put16(out, 0); // comment
    return out;
}

} // namespace zipwriter
