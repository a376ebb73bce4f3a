#include "core/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

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

const QString ClassExtension = QStringLiteral(".prf");

// Anything of that name counts, a dangling link, a folder or a pipe included: a folder named 5C.PRD is the
// homework file that cannot be read, not a missing one.
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The stem followed by the extension as given when that exists, else by the extension in another case when
// that exists, else as given.
QString onDisk(const QString& stem, const QString& extension)
{
    const QString wanted = stem + extension;
    if (present(wanted))
        return wanted;
    const QString name = lastComponent(stem);
    const QStringList entries =
        QFileInfo(wanted).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries)
        if (entry.size() == name.size() + extension.size() && entry.startsWith(name) &&
            entry.endsWith(extension, Qt::CaseInsensitive))
            return stem + entry.mid(name.size());
    return wanted;
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

QString classFileName(const QString& typed)
{
    return typed.endsWith(ClassExtension, Qt::CaseInsensitive) ? typed : typed + ClassExtension;
}

QString classStem(const QString& classFile)
{
    // The extension alone is a name of its own only after a folder: "/x/.prf" has the stem "/x/".
    return classFile.endsWith(ClassExtension, Qt::CaseInsensitive) ? classFile.chopped(ClassExtension.size())
                                                                   : classFile;
}

QString companionOnDisk(const QString& classFile, const QString& extension)
{
    return onDisk(classStem(classFile), extension);
}

QString companionToRead(const QString& classFile, const QString& extension)
{
    const QString own = companionOnDisk(classFile, extension);
    const QString older = baseName(classFile);
    if (present(own) || older == classStem(classFile))
        return own;
    const QString old = onDisk(older, extension);
    return QFileInfo::exists(old) && !present(onDisk(older, ClassExtension)) ? old : own;
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
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == b || canonicalPath(a) == canonicalPath(b))
        return true;
    // Two names of one existing file that no spelling makes equal: a hard link, or another case on a file system
    // that ignores case (a FAT stick, a Windows share).
    struct stat sa = {};
    struct stat sb = {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace filenames
