#include "common/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace filenames {
namespace {

qsizetype lastSeparator(const QString& path)
{
    qsizetype pos = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    pos = std::max({pos, path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':'))});
#endif
    return pos;
}

} // namespace

QString lastComponent(const QString& path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString baseName(const QString& path)
{
    const qsizetype start = lastSeparator(path) + 1;
    const qsizetype dot = path.indexOf(QLatin1Char('.'), start);
    return dot < 0 ? path : path.left(dot);
}

QString companion(const QString& path, const QString& extension)
{
    return baseName(path) + extension;
}

QString companionOnDisk(const QString& classFile, const QString& extension)
{
    const QString base = baseName(classFile);
    if (classFile.mid(base.size()).compare(extension, Qt::CaseInsensitive) == 0)
        return classFile;
    const QString wanted = base + extension;
    const QFileInfo exact(wanted);
    if (exact.exists() || exact.isSymLink())
        return wanted;
    // Every entry counts, folders and pipes included: a folder named 5C.PRD is the homework file that cannot
    // be read, not a missing one.
    const QString stem = lastComponent(base);
    const QStringList entries =
        QFileInfo(wanted).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (entry.size() == stem.size() + extension.size() && entry.startsWith(stem) &&
            entry.endsWith(extension, Qt::CaseInsensitive))
            return base + entry.mid(stem.size());
    return wanted;
}

QString canonicalPath(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    const QString existing = info.canonicalFilePath();
    if (!existing.isEmpty())
        return existing;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (!folder.isEmpty())
        return folder + QLatin1Char('/') + info.fileName();
    return QDir::cleanPath(info.absoluteFilePath());
}

bool sameFile(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && (a == b || canonicalPath(a) == canonicalPath(b));
}

} // namespace filenames
