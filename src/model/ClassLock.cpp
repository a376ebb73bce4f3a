#include "model/ClassLock.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace {

// QLockFile's lines (process, program, host, machine id, boot id), then ours.
enum Line
{
    PidLine = 0,
    HostLine = 2,
    UserLine = 5,
    TimeLine = 6,
};

QString userName()
{
    // Reentrant: the lock may be taken on a thread of its own.
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

ClassLock::ClassLock() = default;
ClassLock::~ClassLock() = default;
ClassLock::ClassLock(ClassLock&& other) noexcept = default;
ClassLock& ClassLock::operator=(ClassLock&& other) noexcept = default;

QString ClassLock::lockFileOf(const QString& classFile)
{
    const QFileInfo real(filenames::canonicalPath(classFile));
    return real.path() + QStringLiteral("/.") + real.fileName() + QStringLiteral(".lock");
}

std::optional<ClassLock::Holder> ClassLock::holderOf(const QString& classFile)
{
    QFile file(lockFileOf(classFile));
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return std::nullopt;
    QList<QByteArray> lines;
    // A lock file is a few short lines; anything longer is not read further.
    if (info.isFile() && file.open(QIODevice::ReadOnly))
        lines = file.read(4096).split('\n');
    const auto line = [&lines](int n) { return n < lines.size() ? QString::fromUtf8(lines[n]).trimmed() : QString(); };
    Holder holder;
    holder.pid = line(PidLine).toLongLong();
    holder.host = line(HostLine);
    holder.user = line(UserLine).isEmpty() ? info.owner() : line(UserLine);
    holder.since = QDateTime::fromString(line(TimeLine), Qt::ISODate);
    if (!holder.since.isValid())
        holder.since = info.lastModified();
    return holder;
}

QString ClassLock::heldMessage(const QString& classFile, const Holder& holder)
{
    return QStringLiteral("%1 est ouvert par %2 sur %3 depuis le %4 à %5.")
        .arg(filenames::lastComponent(classFile), holder.user.isEmpty() ? QStringLiteral("?") : holder.user,
             holder.host.isEmpty() ? QStringLiteral("?") : holder.host, frdate::shortDate(holder.since.date()),
             holder.since.time().toString(QStringLiteral("HH:mm")));
}

QString ClassLock::refusedMessage(const QString& classFile)
{
    return QStringLiteral("%1 est ouvert sans verrou : le dossier ne permet pas d'en créer un.")
        .arg(filenames::lastComponent(classFile));
}

ClassLock::Outcome ClassLock::take(const QString& classFile)
{
    auto lock = std::make_unique<QLockFile>(lockFileOf(classFile));
    // A class stays open for hours: only a dead process makes a lock stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere : Outcome::Refused;
    QFile file(lock->fileName());
    if (file.open(QIODevice::Append)) {
        file.write(
            (userName() + QLatin1Char('\n') + QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char('\n'))
                .toUtf8());
    }
    m_lock = std::move(lock);
    m_classFile = classFile;
    return Outcome::Taken;
}

std::future<ClassLock::Outcome> ClassLock::takeAside(const QString& classFile)
{
    try {
        return std::async(std::launch::async, [this, classFile] { return take(classFile); });
    } catch (const std::system_error&) {
        // No thread to be had: taken here.
        std::promise<Outcome> taken;
        taken.set_value(take(classFile));
        return taken.get_future();
    }
}

void ClassLock::release()
{
    m_lock.reset();
    m_classFile.clear();
}
