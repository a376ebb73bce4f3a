#include "core/FileWriter.h"

#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Qt's QSaveFile does part of this: it refuses a file that is not writable, follows symbolic links, keeps the
// mode and can write in place where the folder cannot be written. It does not serve here because:
// - its temporary file has a name of its own choosing ("<name>.XXXXXX" where the file system has no unnamed
//   files), which a later save cannot tell from a file of the teacher's, so a crash would leave it for ever;
// - the new file gets the writer's group, and a class folder shared by a team through a group loses its sharing;
// - its in-place fallback empties the file when it opens it, so a failure there loses the old class.
// Hence the few system calls below.

namespace filewriter {
namespace {

Probe* g_probe = nullptr;

QSet<QString>& unreadableFiles()
{
    static QSet<QString> files;
    return files;
}

// Writes happen on other threads too (the recovery copies).
std::mutex& unreadableMutex()
{
    static std::mutex mutex;
    return mutex;
}

void reached(Step step)
{
    if (g_probe)
        g_probe->reached(step);
}

// A temporary file is named ".<file name>.virelan-XXXXXX", XXXXXX being what mkstemp picks:
// - the leading dot hides it from file dialogs and folder views while a save is running;
// - the whole name of the file it replaces ties it to that file: a save only ever removes temporaries of the
//   file it writes;
// - no file a teacher makes, and no other program's, has the ".virelan-" mark followed by exactly six letters
//   or digits, so a file of the user's is never taken for one;
// - it ends in none of the extensions the program lists (.prf, .txt, .rtf), so it is never offered for opening.
const QString TemporaryMark = QStringLiteral(".virelan-");
constexpr int RandomLength = 6;

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The file a chain of symbolic links leads to; nothing for a loop.
std::optional<QString> followLinks(const QString& path)
{
    QString current = path;
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        current = info.symLinkTarget();
    }
    return std::nullopt;
}

QString unreadableKey(const QString& path)
{
    return filenames::canonicalPath(followLinks(path).value_or(path));
}

// Whether the name (without folder) is one of the writer's temporary files for the file named target.
bool isTemporaryName(const QString& name, const QString& target)
{
    return !target.isEmpty() && filewriter::temporaryTarget(name) == target;
}

QByteArray temporaryPattern(const QString& target)
{
    const QFileInfo info(target);
    return QFile::encodeName(info.path() + QStringLiteral("/.") + info.fileName() + TemporaryMark);
}

} // namespace

QString temporaryTarget(const QString& name)
{
    const qsizetype mark = name.size() - RandomLength - TemporaryMark.size();
    if (mark < 2 || !name.startsWith(QLatin1Char('.')) ||
        QStringView(name).sliced(mark, TemporaryMark.size()) != TemporaryMark)
        return {};
    for (qsizetype i = mark + TemporaryMark.size(); i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
            return {};
    }
    return name.sliced(1, mark - 1);
}

// A temporary that another save is still writing holds its lock and stays.
void removeStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QDir folder = info.dir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!isTemporaryName(name, info.fileName()))
            continue;
        const QByteArray stale = QFile::encodeName(folder.filePath(name));
        // A temporary file has the mode of the file it replaces, which may not be readable.
        int fd = ::open(stale.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            fd = ::open(stale.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat st = {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(stale.constData());
        ::close(fd);
    }
}

namespace {

// Every byte through the device, each write checked: a short write on a full disk is a failure.
bool writeAll(int fd, const QByteArray& bytes)
{
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return false;
    const std::unique_ptr<QIODevice> probed = g_probe ? g_probe->device(file) : nullptr;
    QIODevice& device = probed ? *probed : file;
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void syncFolder(const QByteArray& target)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).path());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The new file keeps the old one's owner where that is allowed (root) and its group where the writer belongs
// to it; false when the group cannot be kept.
bool keepOwnership(int fd, const struct stat& old)
{
    struct stat now = {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid)
        return true;
    if (::fchown(fd, old.st_uid, old.st_gid) == 0)
        return true;
    return now.st_gid == old.st_gid || ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

bool refusedByFolder(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

enum class Outcome
{
    Done,
    Failed,
    InPlace
};

// A temporary file beside the target, whole and synced, still locked; the target is not touched.
struct Temporary
{
    QByteArray name;
    int fd = -1;
    void discard()
    {
        ::unlink(name.constData());
        ::close(fd);
        fd = -1;
    }
};

// What goes into a temporary file: false when it could not be put there whole.
using Fill = std::function<bool(const Temporary& temporary)>;

Fill bytesOf(const QByteArray& bytes)
{
    return [&bytes](const Temporary& temporary) { return writeAll(temporary.fd, bytes); };
}

// `ownershipRequired`: whether a group that cannot be kept makes the write fail (InPlace) or is let go.
Outcome prepare(const QByteArray& target, const Fill& fill, const struct stat* old, bool ownershipRequired,
                Temporary& temporary)
{
    temporary.name = temporaryPattern(QFile::decodeName(target)) + QByteArray(RandomLength, 'X');
    temporary.fd = ::mkostemp(temporary.name.data(), O_CLOEXEC);
    if (temporary.fd < 0)
        return old && refusedByFolder(errno) ? Outcome::InPlace : Outcome::Failed;
    const int fd = temporary.fd;
    // Held until the file is renamed or removed: a later save sees that it is not stale.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const auto discard = [&](Outcome outcome) {
        temporary.discard();
        return outcome;
    };
    // Ownership first: changing it clears the set-id bits of the mode.
    if (old && !keepOwnership(fd, *old) && ownershipRequired)
        return discard(Outcome::InPlace);
    const mode_t mode = old ? (old->st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd, mode) != 0)
        return discard(Outcome::Failed);
    reached(Step::Opened);
    if (!fill(temporary))
        return discard(Outcome::Failed);
    reached(Step::Written);
    if (::fsync(fd) != 0)
        return discard(Outcome::Failed);
    reached(Step::Synced);
    return Outcome::Done;
}

// A temporary file beside the target, renamed over it once whole and synced.
Outcome replace(const QByteArray& target, const Fill& fill, const struct stat* old,
                const std::function<void()>& beforeReplace)
{
    Temporary temporary;
    if (const Outcome prepared = prepare(target, fill, old, true, temporary); prepared != Outcome::Done)
        return prepared;
    if (beforeReplace)
        beforeReplace();
    if (::rename(temporary.name.constData(), target.constData()) != 0) {
        const bool refused = refusedByFolder(errno);
        temporary.discard();
        return old && refused ? Outcome::InPlace : Outcome::Failed;
    }
    reached(Step::Renamed);
    syncFolder(target);
    ::close(temporary.fd);
    return Outcome::Done;
}

// A name the writer's temporaries may have, chosen at random.
QByteArray randomTemporaryName(const QString& target)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = temporaryPattern(target);
    for (int i = 0; i < RandomLength; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))];
    return name;
}

// Over the file itself, for a folder where no file can be created. The old bytes are put back if the write
// fails half-way, so that the file is never left cut short; a file larger than any the program writes (twice
// its largest, 32 MB) is not read whole to be kept, and so is not written over.
constexpr qint64 MaxInPlace = 64 * 1024 * 1024;

bool writeInPlace(const QByteArray& target, const QByteArray& bytes)
{
    QFile oldFile(QFile::decodeName(target));
    const bool canRestore = oldFile.open(QIODevice::ReadOnly);
    if (canRestore && oldFile.size() > MaxInPlace)
        return false;
    const QByteArray before = canRestore ? textfile::readAtMost(oldFile, MaxInPlace) : QByteArray();
    if (before.size() > MaxInPlace)
        return false;
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    reached(Step::Opened);
    bool ok = writeAll(fd, bytes);
    if (ok)
        reached(Step::Written);
    ok = ok && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    if (ok) {
        reached(Step::Synced);
    } else if (canRestore) {
        qint64 done = 0;
        while (done < before.size()) {
            const ssize_t n = ::pwrite(fd, before.constData() + done, static_cast<size_t>(before.size() - done), done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        ::ftruncate(fd, before.size());
        ::fsync(fd);
    }
    ::close(fd);
    return ok;
}

} // namespace

std::unique_ptr<QIODevice> Probe::device(QIODevice&)
{
    return nullptr;
}

void Probe::reached(Step) {}

void setProbe(Probe* probe)
{
    g_probe = probe;
}

Staged::Staged(const QString& path, const QByteArray& bytes, const QString& like) : m_path(path)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old = {};
    const bool hasModel = ::stat(QFile::encodeName(like).constData(), &old) == 0;
    removeStaleTemporaries(path);
    Temporary temporary;
    if (prepare(target, bytesOf(bytes), hasModel ? &old : nullptr, false, temporary) != Outcome::Done)
        throw PlatformError::cannotCreate(path);
    m_temporary = temporary.name;
    m_fd = temporary.fd;
}

Staged::~Staged()
{
    if (m_fd >= 0)
        Temporary{m_temporary, m_fd}.discard();
}

void Staged::commit()
{
    const QByteArray target = QFile::encodeName(m_path);
    if (m_fd < 0 || ::rename(m_temporary.constData(), target.constData()) != 0)
        throw PlatformError::cannotCreate(m_path);
    reached(Step::Renamed);
    syncFolder(target);
    ::close(m_fd);
    m_fd = -1;
}

void duplicate(const QString& from, const QString& to)
{
    removeStaleTemporaries(to);
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    // Two names of one file already (a duplicate killed before the file below it was replaced): a rename would
    // do nothing and leave its temporary name behind.
    struct stat a = {}, b = {};
    if (::stat(source.constData(), &a) == 0 && ::stat(target.constData(), &b) == 0 && a.st_dev == b.st_dev &&
        a.st_ino == b.st_ino)
        return;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const QByteArray link = randomTemporaryName(to);
        if (::link(source.constData(), link.constData()) != 0) {
            if (errno == EEXIST)
                continue;
            break;
        }
        reached(Step::Linked);
        if (::rename(link.constData(), target.constData()) != 0) {
            ::unlink(link.constData());
            throw PlatformError::cannotCreate(to);
        }
        reached(Step::Renamed);
        syncFolder(target);
        return;
    }
    // No hard links here: a copy, read whole first.
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly))
        throw PlatformError::cannotCreate(to);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PlatformError::cannotCreate(to);
    Staged copy(to, bytes, from);
    copy.commit();
}

void markUnreadable(const QString& path)
{
    const QString key = unreadableKey(path);
    const std::lock_guard lock(unreadableMutex());
    unreadableFiles().insert(key);
}

void markReadable(const QString& path)
{
    const QString key = unreadableKey(path);
    const std::lock_guard lock(unreadableMutex());
    unreadableFiles().remove(key);
}

bool isUnreadable(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString key = unreadableKey(path);
    const std::lock_guard lock(unreadableMutex());
    return unreadableFiles().contains(key);
}

namespace {

// The file a write replaces: the target of its links, and what it is now (nothing when it does not exist). Raises
// when it is not to be written: a folder, a pipe or a device of that name is not the file; a file the user may not
// write, or one this run could not read, stays as it is.
struct Target
{
    QString path;
    QByteArray name;
    std::optional<struct stat> old;
};

Target targetOf(const QString& path)
{
    const auto failure = [&] { return PlatformError::cannotCreate(path); };
    const std::optional<QString> resolved = path.isEmpty() ? std::nullopt : followLinks(path);
    if (!resolved)
        throw failure();
    Target target{*resolved, QFile::encodeName(*resolved), std::nullopt};
    struct stat old = {};
    if (::stat(target.name.constData(), &old) == 0)
        target.old = old;
    else if (errno != ENOENT)
        throw failure();
    if (target.old && (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.name.constData(), W_OK, AT_EACCESS) != 0))
        throw failure();
    if (isUnreadable(*resolved))
        throw failure();
    removeStaleTemporaries(*resolved);
    return target;
}

} // namespace

void write(const QString& path, const QByteArray& bytes, const std::function<void()>& beforeReplace)
{
    Target target = targetOf(path);
    const struct stat* old = target.old ? &*target.old : nullptr;
    bool replacing = false;
    const auto announce = [&] {
        replacing = true;
        if (beforeReplace)
            beforeReplace();
    };
    switch (replace(target.name, bytesOf(bytes), old, announce)) {
    case Outcome::Done:
        return;
    case Outcome::InPlace:
        if (!replacing)
            announce();
        if (writeInPlace(target.name, bytes))
            return;
        break;
    case Outcome::Failed:
        break;
    }
    throw PlatformError::cannotCreate(path);
}

void writeMade(const QString& path, const std::function<bool(const QString& made)>& make)
{
    Target target = targetOf(path);
    const struct stat* old = target.old ? &*target.old : nullptr;
    // Made by name into the temporary, which must still be the file the writer opened, whole: a maker that
    // replaced it or left it empty has not made it.
    const Fill made = [&make](const Temporary& temporary) {
        struct stat opened = {}, named = {};
        return make(QFile::decodeName(temporary.name)) && ::fstat(temporary.fd, &opened) == 0 &&
               ::stat(temporary.name.constData(), &named) == 0 && opened.st_dev == named.st_dev &&
               opened.st_ino == named.st_ino && opened.st_size > 0;
    };
    switch (replace(target.name, made, old, {})) {
    case Outcome::Done:
        return;
    case Outcome::InPlace: {
        // No file can be made beside it: made in a private folder, then written over the old one's bytes.
        QTemporaryDir folder;
        const QString elsewhere = folder.filePath(QFileInfo(target.path).fileName());
        QFile file(elsewhere);
        if (folder.isValid() && make(elsewhere) && file.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = textfile::readAtMost(file, MaxInPlace);
            if (!bytes.isEmpty() && bytes.size() <= MaxInPlace && writeInPlace(target.name, bytes))
                return;
        }
        break;
    }
    case Outcome::Failed:
        break;
    }
    throw PlatformError::cannotCreate(path);
}

} // namespace filewriter
