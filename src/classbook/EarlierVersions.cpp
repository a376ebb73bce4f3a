#include "classbook/EarlierVersions.h"

#include "classbook/ClassFile.h"
#include "common/FileNames.h"
#include "common/MessageText.h"
#include "common/PlatformError.h"
#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace versions {
namespace {

QString versionPath(const QString& folder, const QString& name, int n)
{
    return folder + QLatin1Char('/') + name + QLatin1Char('.') + QString::number(n);
}

// Keeps the bytes as version 1; the French reason it could not, or nothing.
QString keep(const QString& classFile, const QByteArray& old, QFileDevice::Permissions permissions)
{
    const QString folder = folderOf(classFile);
    const QString name = filenames::lastComponent(classFile);
    const QFileInfo info(folder);
    if (!info.isDir() && !QDir().mkdir(folder))
        return QStringLiteral("ne peut créer le dossier ") + folder;
    for (int n = Kept - 1; n >= 1; --n) {
        const QString from = versionPath(folder, name, n);
        const QString to = versionPath(folder, name, n + 1);
        if (!QFileInfo::exists(from))
            continue;
        if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
            return QStringLiteral("ne peut renommer ") + from;
    }
    const QString first = versionPath(folder, name, 1);
    // Made empty first with the class file's rights and, where the user belongs to it, its group, which the
    // writer then keeps: a class only its owner may read keeps versions only its owner may read, and a class
    // shared by a team keeps versions the team may read.
    QFile created(first);
    if (!created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QStringLiteral("ne peut créer le fichier ") + first;
    struct stat classStat = {};
    if (::stat(QFile::encodeName(classFile).constData(), &classStat) == 0)
        (void)::fchown(created.handle(), static_cast<uid_t>(-1), classStat.st_gid);
    if (!created.setPermissions(permissions))
        return QStringLiteral("ne peut créer le fichier ") + first;
    created.close();
    try {
        textfile::writeBytes(first, old);
    } catch (const PlatformError&) {
        QFile::remove(first);
        return QStringLiteral("ne peut écrire le fichier ") + first;
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
    const QFileDevice::Permissions permissions = file.permissions();
    file.close();
    textfile::writeBytes(classFile, bytes);
    if (!exists || (old && *old == bytes))
        return {};
    const QString failure =
        old        ? keep(classFile, *old, permissions)
        : tooLarge ? QStringLiteral("le fichier remplacé dépasse ") + messagetext::megabytes(classfile::MaxFileSize)
                   : QStringLiteral("ne peut lire ") + classFile;
    if (failure.isEmpty())
        return {};
    return QStringLiteral("Version précédente de %1 non conservée : %2")
        .arg(filenames::lastComponent(classFile), failure);
}

} // namespace versions
