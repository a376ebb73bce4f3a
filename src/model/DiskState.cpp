#include "model/DiskState.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <system_error>
#include <utility>

namespace {

// BLAKE2b tells two files apart as surely as SHA-256 and hashes a class five times faster: the hash is taken at
// every opening and every save.
constexpr QCryptographicHash::Algorithm HashAlgorithm = QCryptographicHash::Blake2b_256;

QByteArray hashOf(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, HashAlgorithm);
}

// Larger than any file the program keeps (a class, its companions, the notes, the phrases).
constexpr qint64 ReadLimit = 64 * 1024 * 1024;

} // namespace

DiskState DiskState::of(const QString& path)
{
    DiskState state;
    state.m_path = path;
    state.m_known = true;
    const QFileInfo info(path);
    if (!info.exists())
        return state;
    state.m_exists = true;
    state.m_size = info.isFile() ? info.size() : -1;
    QFile file(path);
    if (info.isFile() && info.size() <= ReadLimit && file.open(QIODevice::ReadOnly)) {
        QCryptographicHash hash(HashAlgorithm);
        hash.addData(&file);
        state.m_hash = hash.result();
    }
    return state;
}

DiskState DiskState::unhashed(const QString& path, qint64 size)
{
    DiskState state;
    state.m_path = path;
    state.m_known = true;
    state.m_exists = QFileInfo::exists(path);
    state.m_size = size;
    return state;
}

DiskState DiskState::of(const QString& path, const QByteArray& bytes)
{
    DiskState state = unhashed(path, bytes.size());
    state.m_hash = hashOf(bytes);
    return state;
}

DiskState DiskState::ofAside(const QString& path, const QByteArray& bytes)
{
    DiskState state = unhashed(path, bytes.size());
    // The thread holds its own reference to the bytes, which nothing changes. Without a thread, the hash is taken
    // here.
    try {
        // The bytes are let go once hashed: the task itself stays with the state as long as the hash does. (Captured
        // plainly, they would be a constant copy that the move below only copies again, kept as long as the class.)
        state.m_hashAside = std::async(std::launch::async, [bytes = QByteArray(bytes)]() mutable {
                                const QByteArray own = std::move(bytes);
                                return hashOf(own);
                            }).share();
    } catch (const std::system_error&) {
        state.m_hash = hashOf(bytes);
    }
    return state;
}

const QByteArray& DiskState::hash() const
{
    return m_hashAside.valid() ? m_hashAside.get() : m_hash;
}

bool DiskState::changedOnDisk() const
{
    if (!m_known)
        return false;
    const DiskState now = of(m_path);
    // A folder or a pipe in its place is no version of the file to keep or replace: the writer refuses it. A file
    // that cannot be hashed (unreadable, far too large) counts as changed.
    if (now.m_exists && now.m_size < 0)
        return false;
    return now.m_exists != m_exists ||
           (m_exists && (now.m_size != m_size || now.m_hash.isEmpty() || now.m_hash != hash()));
}

bool mayWriteOver(const DiskState& state, const MayReplace& mayReplace)
{
    return !state.changedOnDisk() || (mayReplace && mayReplace(state.path()));
}
