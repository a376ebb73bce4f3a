#include "core/TextFile.h"

#include "core/Cp1252.h"
#include "core/FileWriter.h"
#include "core/PlatformError.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace textfile {

QByteArray readAtMost(QFile& file, qint64 limit)
{
    const qint64 expected = std::min(file.size(), limit);
    QByteArray bytes = file.read(expected + 1);
    if (bytes.size() > expected && bytes.size() <= limit)
        bytes += file.read(limit + 1 - bytes.size());
    return bytes;
}

QByteArray readBytes(const QString& path, Limit limit)
{
    QFile file(path);
    // Only regular files: opening a pipe named like a class file would wait for a writer for ever.
    const QFileInfo info(path);
    const auto failure = [&](PlatformError error) {
        if (info.exists())
            filewriter::markUnreadable(path);
        return error;
    };
    if (path.isEmpty() || (info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly))
        throw failure(PlatformError::cannotOpen(path));
    if (file.size() > limit.bytes)
        throw failure(PlatformError::tooLarge(path, limit.bytes, limit.what));
    // Never more than one byte past the limit, whatever the file became since its size was asked.
    QByteArray bytes = readAtMost(file, limit.bytes);
    if (file.error() != QFileDevice::NoError)
        throw failure(PlatformError::cannotOpen(path));
    if (bytes.size() > limit.bytes)
        throw failure(PlatformError::tooLarge(path, limit.bytes, limit.what));
    filewriter::markReadable(path);
    return bytes;
}

std::optional<QByteArray> readIfPresent(const QString& path, Limit limit)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    return readBytes(path, limit);
}

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines << cp1252::decode(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << cp1252::decode(bytes.mid(start));
    return lines;
}

QByteArray joinLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        out += cp1252::encode(line);
        out += "\r\n";
    }
    return out;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    filewriter::write(path, bytes);
}

void writeLines(const QString& path, const QStringList& lines)
{
    writeBytes(path, joinLines(lines));
}

bool exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace textfile
