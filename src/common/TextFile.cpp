#include "common/TextFile.h"

#include "common/Cp1252.h"
#include "common/FileWriter.h"
#include "common/PlatformError.h"

#include <QFile>
#include <QFileInfo>

namespace textfile {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    // Only regular files: opening a pipe named like a class file would wait for a writer for ever.
    const QFileInfo info(path);
    const auto failure = [&] {
        if (info.exists())
            filewriter::markUnreadable(path);
        return PlatformError::cannotOpen(path);
    };
    if (path.isEmpty() || (info.exists() && !info.isFile()) || !file.open(QIODevice::ReadOnly))
        throw failure();
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw failure();
    filewriter::markReadable(path);
    return bytes;
}

std::optional<QByteArray> readIfPresent(const QString& path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::nullopt;
    return readBytes(path);
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

QStringList readLines(const QString& path)
{
    return splitLines(readBytes(path));
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
