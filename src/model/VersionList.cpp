#include "model/VersionList.h"

#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "model/ClassExport.h"
#include "model/ClassFile.h"
#include "model/EarlierVersions.h"

#include <QDir>
#include <QFileInfo>

namespace versions {

QList<Entry> list(const QString& classFile)
{
    QList<Entry> entries;
    if (classFile.isEmpty())
        return entries;
    const QString folder = folderOf(classFile);
    const QString name = filenames::lastComponent(classFile);
    for (int n = 0; n <= Kept; ++n) {
        const QString path =
            n == 0 ? classFile : folder + QLatin1Char('/') + name + QLatin1Char('.') + QString::number(n);
        const QFileInfo info(path);
        if (!info.isFile())
            continue;
        Entry entry{path, n, info.lastModified(), info.size()};
        try {
            ClassTable table;
            classfile::read(classfile::readFile(path), table);
            entry.students = int(classexport::exportedStudents(table).size());
        } catch (const PlatformError&) {
        }
        entries << entry;
    }
    return entries;
}

bool isKept(const QString& path)
{
    const QFileInfo info(filenames::canonicalPath(path));
    return QFileInfo(info.path()).fileName() == QStringLiteral(".virelan");
}

} // namespace versions
