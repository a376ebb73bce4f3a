#include "common/TextFile.h"

#include "common/Cp1252.h"
#include "common/PlatformError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace textfile {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw PlatformError::cannotOpen(path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError::cannotOpen(path);
    return bytes;
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
    if (path.isEmpty())
        throw PlatformError::cannotCreate(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw PlatformError::cannotCreate(path);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw PlatformError::cannotCreate(path);
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
