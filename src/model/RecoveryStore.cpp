#include "model/RecoveryStore.h"

#include "core/FileWriter.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

const QString Extension = QStringLiteral(".vlr");
const QString LockExtension = QStringLiteral(".lock");
// The names the folder holds, read without regular expressions (their engine would be loaded at every start):
// a copy "<instance>-<slot>.vlr", the file writer's temporary for a copy, an instance's lock "<instance>.lock";
// an instance is 16 hexadecimal digits drawn at start.
constexpr qsizetype InstanceLength = 16;
bool lowerHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
}
bool slotChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z');
}
bool isInstance(QStringView text)
{
    return text.size() == InstanceLength && std::all_of(text.begin(), text.end(), lowerHex);
}

// The instance of a copy's name; empty for any other name.
QString copyInstance(QStringView name)
{
    if (!name.endsWith(Extension) || name.size() < InstanceLength + 2 + Extension.size() ||
        name[InstanceLength] != u'-')
        return {};
    const QStringView slot = name.sliced(InstanceLength + 1, name.size() - InstanceLength - 1 - Extension.size());
    const QStringView instance = name.first(InstanceLength);
    return isInstance(instance) && std::all_of(slot.begin(), slot.end(), slotChar) ? instance.toString() : QString();
}

// The instance of a lock's name; empty for any other name.
QString lockInstance(QStringView name)
{
    const QStringView instance = name.chopped(std::min(name.size(), LockExtension.size()));
    return name.endsWith(LockExtension) && isInstance(instance) ? instance.toString() : QString();
}

QString newInstanceName()
{
    return QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
}

} // namespace

RecoveryStore::RecoveryStore(const QString& folder, QObject* parent) : QObject(parent), m_folder(folder)
{
    m_instance = newInstanceName();
    // The copies hold the students' marks and cards: the folder is the user's alone.
    if (!QDir().mkpath(m_folder) ||
        !QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        m_why = PlatformError::cannotCreate(m_folder).message();
    } else {
        m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(m_instance + LockExtension));
        // A lock is stale only when its process is gone, however long it has been held.
        m_lock->setStaleLockTime(0);
        m_active = m_lock->tryLock(0);
        if (!m_active)
            m_why = PlatformError::cannotCreate(m_lock->fileName()).message();
    }
    m_thread = std::thread([this] { run(); });
}

RecoveryStore::~RecoveryStore()
{
    releaseClaims();
    flush();
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
    if (m_active) {
        for (const QString& name : copiesOf(m_instance))
            QFile::remove(QDir(m_folder).filePath(name));
        m_lock->unlock();
    }
}

QString RecoveryStore::newCopyPath(const QString& slot)
{
    if (!m_active)
        return QString();
    return QDir(m_folder).filePath(QStringLiteral("%1-%2%3%4").arg(m_instance, slot).arg(++m_slots).arg(Extension));
}

void RecoveryStore::write(const QString& path, std::function<QByteArray()> bytes)
{
    enqueue(path, {Job::Write, std::move(bytes), {}});
}

void RecoveryStore::remove(const QString& path)
{
    enqueue(path, {Job::Remove, {}, {}});
}

void RecoveryStore::adopt(const QString& orphanPath, const QString& path)
{
    enqueue(path, {Job::Move, {}, orphanPath});
}

void RecoveryStore::enqueue(const QString& path, Job job)
{
    if (path.isEmpty())
        return;
    {
        const std::lock_guard lock(m_mutex);
        const auto waiting = m_pending.find(path);
        if (waiting == m_pending.end()) {
            m_order.push_back(path);
        } else if (job.from.isEmpty()) {
            // An orphan not yet moved: the job that replaces its move takes it away.
            job.from = waiting->second.from;
        }
        m_pending[path] = std::move(job);
    }
    m_wake.notify_one();
}

void RecoveryStore::flush()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_order.empty() && !m_busy; });
}

void RecoveryStore::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_order.empty(); });
        if (m_order.empty())
            return;
        const QString path = m_order.front();
        m_order.pop_front();
        const Job job = std::move(m_pending[path]);
        m_pending.erase(path);
        m_busy = true;
        lock.unlock();
        perform(path, job);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

void RecoveryStore::perform(const QString& path, const Job& job)
{
    QString failure;
    switch (job.kind) {
    case Job::Write:
        try {
            filewriter::write(path, job.bytes());
        } catch (const PlatformError& error) {
            failure = error.message();
        } catch (const std::exception&) {
            // Nothing may leave the thread; memory short while the copy was made is a copy not written.
            failure = PlatformError::cannotCreate(path).message();
        }
        break;
    case Job::Remove:
        QFile::remove(path);
        break;
    case Job::Move:
        // Within one folder: the copy is under one name or the other at every moment. One that cannot be moved
        // stays the orphan it was, offered again at a later start.
        std::rename(QFile::encodeName(job.from).constData(), QFile::encodeName(path).constData());
        return;
    }
    if (!job.from.isEmpty() && failure.isEmpty())
        QFile::remove(job.from);
    // Told once when copies stop being written, and once again when they are written again.
    const bool failing = !failure.isEmpty();
    if (failing == m_failing || job.kind != Job::Write)
        return;
    m_failing = failing;
    QMetaObject::invokeMethod(
        this, [this, failure] { emit failed(failure); }, Qt::QueuedConnection);
}

QStringList RecoveryStore::copiesOf(const QString& instance) const
{
    QStringList out;
    // No name filter: QDir's wildcards would load the regular expressions' engine too.
    const QStringList names = QDir(m_folder).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (copyInstance(name) == instance)
            out << name;
    }
    return out;
}

QList<RecoveryStore::Orphan> RecoveryStore::claimOrphans()
{
    QList<Orphan> out;
    if (!m_active)
        return out;
    const QDir dir(m_folder);
    // Every instance with a copy, a temporary or a lock file: a killed one may have left only the last two.
    QStringList instances;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        for (const QString& of :
             {copyInstance(name), copyInstance(filewriter::temporaryTarget(name)), lockInstance(name)})
            if (!of.isEmpty() && of != m_instance && !instances.contains(of))
                instances << of;
    }
    for (const QString& instance : instances) {
        if (m_claims.count(instance))
            continue;
        auto lock = std::make_unique<QLockFile>(dir.filePath(instance + LockExtension));
        lock->setStaleLockTime(0);
        // Held by a running instance (this one's included), or claimed by another start meanwhile.
        if (!lock->tryLock(0))
            continue;
        m_claims[instance] = std::move(lock);
        // What writes the killed instance left half-done is no copy.
        for (const QString& name : names) {
            const QString copy = filewriter::temporaryTarget(name);
            if (!copy.isEmpty() && copyInstance(copy) == instance)
                filewriter::removeStaleTemporaries(dir.filePath(copy));
        }
        for (const QString& name : copiesOf(instance)) {
            const QString path = dir.filePath(name);
            std::optional<recovery::Copy> copy;
            try {
                copy = recovery::decode(textfile::readBytes(path, {recovery::MaxBytes, u"une copie de récupération"}));
            } catch (const PlatformError&) {
            }
            if (copy)
                out.append({path, *copy});
            else
                QFile::remove(path);
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Orphan& a, const Orphan& b) { return a.copy.changed < b.copy.changed; });
    return out;
}

void RecoveryStore::discard(const QList<Orphan>& orphans)
{
    for (const Orphan& orphan : orphans)
        QFile::remove(orphan.path);
}

void RecoveryStore::releaseClaims()
{
    if (m_claims.empty())
        return;
    flush();
    for (auto& [instance, lock] : m_claims)
        lock->unlock();
    m_claims.clear();
}
