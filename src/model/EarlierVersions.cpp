#include "model/EarlierVersions.h"

#include "core/FileNames.h"
#include "core/FileWriter.h"
#include "core/MessageText.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/ClassFile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <sys/stat.h>

namespace versions {
namespace {

QString versionPath(const QString& folder, const QString& name, int n)
{
    return folder + QLatin1Char('/') + name + QLatin1Char('.') + QString::number(n);
}

// The folder, made where it is missing with the owner (where allowed, as for root) and group of the class file,
// and writable by the group when the class is: a class saved by root or by a colleague keeps a folder its
// owner's later saves can still write into.
bool makeFolder(const QString& folder, const QString& classFile)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0777) != 0)
        return false;
    struct stat cls = {};
    if (::stat(QFile::encodeName(classFile).constData(), &cls) != 0)
        return true;
    if (::chown(path.constData(), cls.st_uid, cls.st_gid) != 0)
        (void)::chown(path.constData(), static_cast<uid_t>(-1), cls.st_gid);
    struct stat made = {};
    if ((cls.st_mode & S_IWGRP) && ::stat(path.constData(), &made) == 0)
        (void)::chmod(path.constData(), (made.st_mode & 07777) | S_IRWXG);
    return true;
}

// What a killed save or an older run left: temporaries are removed, and the versions move up over holes and
// empty files (no class file is ever empty), so that they are 1 to n again, newest first. Returns n.
int mend(const QString& folder, const QString& name)
{
    int next = 1;
    for (int n = 1; n <= Kept; ++n) {
        const QString version = versionPath(folder, name, n);
        filewriter::removeStaleTemporaries(version);
        struct stat st = {};
        if (::lstat(QFile::encodeName(version).constData(), &st) != 0)
            continue;
        if (S_ISREG(st.st_mode) && st.st_size == 0) {
            QFile::remove(version);
            continue;
        }
        if (n != next && std::rename(QFile::encodeName(version).constData(),
                                     QFile::encodeName(versionPath(folder, name, next)).constData()) != 0)
            return next - 1;
        ++next;
    }
    return next - 1;
}

// Keeps the bytes as version 1; the French reason it could not, or nothing. At no moment can a version be
// missing, partial or empty: version 1 is first written whole beside its place; each version then gets a second
// name one place down before the one below it is replaced, so that a save killed half-way leaves at worst two
// equal neighbours; then version 1 takes its place. The versions take the class file's owner where allowed, its
// group and its mode: a class only its owner may read keeps versions only its owner may read.
QString keep(const QString& classFile, const QByteArray& old)
{
    const QString folder = folderOf(classFile);
    const QString name = filenames::lastComponent(classFile);
    if (!makeFolder(folder, classFile))
        return QStringLiteral("ne peut créer le dossier ") + folder;
    const int count = mend(folder, name);
    QString failing = versionPath(folder, name, 1);
    // Kept already by a save that was then stopped before it replaced the class file.
    if (count >= 1) {
        QFile newest(failing);
        if (newest.size() == old.size() && newest.open(QIODevice::ReadOnly) && newest.readAll() == old)
            return {};
    }
    try {
        filewriter::Staged first(failing, old, classFile);
        for (int n = std::min(count, Kept - 1); n >= 1; --n) {
            failing = versionPath(folder, name, n + 1);
            filewriter::duplicate(versionPath(folder, name, n), failing);
        }
        failing = versionPath(folder, name, 1);
        first.commit();
    } catch (const PlatformError&) {
        return QStringLiteral("ne peut créer le fichier ") + failing;
    }
    return {};
}

} // namespace

QString folderOf(const QString& classFile)
{
    return QFileInfo(classFile).path() + QStringLiteral("/.virelan");
}

QString writeKeeping(const QString& classFile, const QByteArray& bytes)
{
    // What the save is about to replace; a file that cannot be read is the writer's to refuse or replace.
    // A file larger than any class file is no class to keep, and is never read whole.
    std::optional<QByteArray> old;
    QFile file(classFile);
    const bool exists = QFileInfo(classFile).isFile();
    bool tooLarge = false;
    if (exists && file.open(QIODevice::ReadOnly)) {
        tooLarge = file.size() > classfile::MaxFileSize;
        if (!tooLarge)
            old = textfile::readAtMost(file, classfile::MaxFileSize);
        if (file.error() != QFileDevice::NoError)
            old.reset();
        if (old && old->size() > classfile::MaxFileSize) {
            tooLarge = true;
            old.reset();
        }
    }
    file.close();
    // The file replaced is kept before it is replaced: a save killed at any moment leaves its bytes either in the
    // class file or in version 1.
    QString failure;
    filewriter::write(classFile, bytes, [&] {
        if (exists && !(old && *old == bytes))
            failure = old        ? keep(classFile, *old)
                      : tooLarge ? QStringLiteral("le fichier remplacé dépasse ") +
                                       messagetext::megabytes(classfile::MaxFileSize)
                                 : QStringLiteral("ne peut lire ") + classFile;
    });
    if (failure.isEmpty())
        return {};
    return QStringLiteral("Version précédente de %1 non conservée : %2")
        .arg(filenames::lastComponent(classFile), failure);
}

} // namespace versions
