#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The class file and the versions kept of it (model/EarlierVersions), as the teacher chooses one to bring back.
namespace versions {

struct Entry
{
    QString path;
    // 0 for the class file itself, else the version's number (1 the newest kept).
    int number = 0;
    QDateTime saved;
    qint64 size = 0;
    // Students with a name or a mark; -1 for a file that cannot be read as a class.
    int students = -1;
};

// The class file, then each version kept of it, newest first; only those that exist.
QList<Entry> list(const QString& classFile);

// Whether the file is one of the versions kept in a ".virelan" folder, which the program only ever reads.
bool isKept(const QString& path);

} // namespace versions
