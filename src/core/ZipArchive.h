#pragma once

#include <QByteArray>
#include <QHash>
#include <optional>

// The files of a zip archive already read into memory: a workbook (.xlsx, .ods) is such an archive of XML
// files. What workbooks use is read: stored and deflated files, the sizes of the 64-bit form; an archive split
// over several disks, or encrypted, is not.
class ZipArchive
{
public:
    enum class Status
    {
        Ok,
        Missing,   // no file of that name
        TooLarge,  // it unpacks to more than the bytes allowed
        Encrypted, // it needs a password
        Damaged    // its data does not unpack, or not to what the archive says
    };

    // Nothing when the bytes are not a zip archive (no readable central directory).
    static std::optional<ZipArchive> open(const QByteArray& bytes);

    bool contains(const QByteArray& name) const { return m_entries.contains(name); }
    // The file unpacked into out, when it unpacks to at most `limit` bytes. Neither the size the archive gives
    // nor the data are trusted: unpacking stops as soon as it passes the limit, whatever was announced.
    Status read(const QByteArray& name, qint64 limit, QByteArray& out) const;

private:
    struct Entry
    {
        quint16 flags = 0;
        quint16 method = 0;
        quint32 crc = 0;
        qint64 packedSize = 0;
        qint64 size = 0;
        qint64 headerOffset = 0;
    };
    explicit ZipArchive(const QByteArray& bytes) : m_bytes(bytes) {}

    QByteArray m_bytes;
    QHash<QByteArray, Entry> m_entries;
};
