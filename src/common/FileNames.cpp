#include "common/FileNames.h"

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

} // namespace filenames
