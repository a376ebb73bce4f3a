#include "FuzzCheck.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

namespace fuzz {

QString fileHolding(const QByteArray& bytes, const char* name)
{
    static const QDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    const QString path = dir.filePath(QStringLiteral("virelan-fuzz-%1-%2").arg(::getpid()).arg(QLatin1String(name)));
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::abort();
    return path;
}

bool writtenForm(const QByteArray& bytes)
{
    return textfile::joinLines(textfile::splitLines(bytes)) == bytes;
}

} // namespace fuzz
