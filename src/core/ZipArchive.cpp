#include "core/ZipArchive.h"

#include <algorithm>
#include <limits>
#include <zlib.h>

namespace {

constexpr quint32 EndSignature = 0x06054b50;
constexpr quint32 End64Signature = 0x06064b50;
constexpr quint32 End64LocatorSignature = 0x07064b50;
constexpr quint32 CentralSignature = 0x02014b50;
constexpr quint32 LocalSignature = 0x04034b50;
constexpr qsizetype EndSize = 22;
constexpr qsizetype CentralSize = 46;
constexpr qsizetype LocalSize = 30;
// The end record may be followed by a comment of up to 65 535 bytes.
constexpr qsizetype MaxComment = 0xFFFF;
constexpr quint16 Stored = 0;
constexpr quint16 Deflated = 8;
constexpr quint16 EncryptedFlag = 0x0001;

// Little-endian fields read within the bytes; a field that would pass their end reads as missing.
class Fields
{
public:
    explicit Fields(const QByteArray& bytes)
        : m_data(reinterpret_cast<const uchar*>(bytes.constData())), m_size(bytes.size())
    {
    }
    bool has(qint64 pos, qint64 length) const
    {
        return pos >= 0 && length >= 0 && pos <= m_size && length <= m_size - pos;
    }
    quint64 at(qint64 pos, int length) const
    {
        quint64 value = 0;
        for (int i = length - 1; i >= 0; --i)
            value = (value << 8) | m_data[pos + i];
        return value;
    }
    quint16 u16(qint64 pos) const { return quint16(at(pos, 2)); }
    quint32 u32(qint64 pos) const { return quint32(at(pos, 4)); }
    quint64 u64(qint64 pos) const { return at(pos, 8); }
    const uchar* data(qint64 pos) const { return m_data + pos; }

private:
    const uchar* m_data;
    qint64 m_size;
};

} // namespace

std::optional<ZipArchive> ZipArchive::open(const QByteArray& bytes)
{
    const Fields f(bytes);
    const qsizetype n = bytes.size();
    qint64 end = -1;
    for (qint64 pos = n - EndSize; pos >= 0 && pos >= n - EndSize - MaxComment; --pos)
        if (f.u32(pos) == EndSignature && pos + EndSize + f.u16(pos + 20) <= n) {
            end = pos;
            break;
        }
    if (end < 0)
        return std::nullopt;
    quint64 count = f.u16(end + 10);
    quint64 directorySize = f.u32(end + 12);
    quint64 directory = f.u32(end + 16);
    if (f.u16(end + 4) != 0 || f.u16(end + 6) != 0)
        return std::nullopt; // split over several disks
    // The 64-bit form keeps its own end record, found through a locator just before the usual one.
    if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directory == 0xFFFFFFFF) {
        if (!f.has(end - 20, 20) || f.u32(end - 20) != End64LocatorSignature)
            return std::nullopt;
        const quint64 end64 = f.u64(end - 12);
        if (end64 > quint64(n) || !f.has(qint64(end64), 56) || f.u32(qint64(end64)) != End64Signature)
            return std::nullopt;
        count = f.u64(qint64(end64) + 32);
        directorySize = f.u64(qint64(end64) + 40);
        directory = f.u64(qint64(end64) + 48);
    }
    if (directory > quint64(n) || directorySize > quint64(n) - directory || count > directorySize / CentralSize)
        return std::nullopt;

    ZipArchive archive(bytes);
    qint64 pos = qint64(directory);
    for (quint64 i = 0; i < count; ++i) {
        if (!f.has(pos, CentralSize) || f.u32(pos) != CentralSignature)
            return std::nullopt;
        Entry e;
        e.flags = f.u16(pos + 8);
        e.method = f.u16(pos + 10);
        e.crc = f.u32(pos + 16);
        e.packedSize = f.u32(pos + 20);
        e.size = f.u32(pos + 24);
        const qint64 nameLength = f.u16(pos + 28), extraLength = f.u16(pos + 30), commentLength = f.u16(pos + 32);
        e.headerOffset = f.u32(pos + 42);
        const qint64 name = pos + CentralSize, extra = name + nameLength;
        if (!f.has(name, nameLength + extraLength + commentLength))
            return std::nullopt;
        // Sizes and offset too large for their field are given again, in that order, in the 64-bit extra field.
        for (qint64 x = extra; x + 4 <= extra + extraLength;) {
            const quint16 id = f.u16(x), length = f.u16(x + 2);
            if (x + 4 + length > extra + extraLength)
                break;
            if (id == 0x0001) {
                qint64 at = x + 4;
                for (qint64* field : {&e.size, &e.packedSize, &e.headerOffset})
                    if (quint32(*field) == 0xFFFFFFFF && at + 8 <= x + 4 + length) {
                        *field = qint64(std::min<quint64>(f.u64(at), std::numeric_limits<qint64>::max()));
                        at += 8;
                    }
            }
            x += 4 + length;
        }
        archive.m_entries.insert(bytes.mid(name, nameLength), e);
        pos = extra + extraLength + commentLength;
    }
    return archive;
}

ZipArchive::Status ZipArchive::read(const QByteArray& name, qint64 limit, QByteArray& out) const
{
    out.clear();
    const auto found = m_entries.constFind(name);
    if (found == m_entries.constEnd())
        return Status::Missing;
    const Entry& e = *found;
    if (e.flags & EncryptedFlag)
        return Status::Encrypted;
    if (e.size > limit)
        return Status::TooLarge;
    const Fields f(m_bytes);
    const qint64 local = e.headerOffset;
    if (!f.has(local, LocalSize) || f.u32(local) != LocalSignature)
        return Status::Damaged;
    const qint64 data = local + LocalSize + f.u16(local + 26) + f.u16(local + 28);
    if (!f.has(data, e.packedSize))
        return Status::Damaged;

    if (e.method == Stored) {
        if (e.packedSize != e.size)
            return Status::Damaged;
        out = m_bytes.mid(data, e.packedSize);
    } else if (e.method == Deflated) {
        z_stream stream = {};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            return Status::Damaged;
        // The whole input at once, in pieces zlib's counters hold; the output grows a piece at a time.
        const qint64 piece = 1 << 20;
        qint64 fed = 0;
        int result = Z_OK;
        out.reserve(qsizetype(std::min(e.size, limit)));
        while (result == Z_OK) {
            if (stream.avail_in == 0 && fed < e.packedSize) {
                const qint64 take = std::min(piece, e.packedSize - fed);
                stream.next_in = const_cast<Bytef*>(f.data(data + fed));
                stream.avail_in = uInt(take);
                fed += take;
            }
            const qsizetype before = out.size();
            const qint64 room = std::min<qint64>(piece, limit + 1 - before);
            out.resize(before + room);
            stream.next_out = reinterpret_cast<Bytef*>(out.data() + before);
            stream.avail_out = uInt(room);
            result = inflate(&stream, Z_NO_FLUSH);
            out.resize(before + room - stream.avail_out);
            if (out.size() > limit) {
                inflateEnd(&stream);
                out.clear();
                return Status::TooLarge;
            }
            if (result == Z_BUF_ERROR && stream.avail_in == 0 && fed >= e.packedSize)
                break; // the data ends before the stream does
            if (result == Z_BUF_ERROR)
                result = Z_OK;
        }
        inflateEnd(&stream);
        if (result != Z_STREAM_END) {
            out.clear();
            return Status::Damaged;
        }
    } else {
        return Status::Damaged;
    }
    const uLong crc = crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(out.constData()), uInt(out.size()));
    if (out.size() != e.size || crc != e.crc) {
        out.clear();
        return Status::Damaged;
    }
    return Status::Ok;
}
