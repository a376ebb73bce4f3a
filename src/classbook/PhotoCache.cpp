#include "classbook/PhotoCache.h"

#include <QFile>

#include <sys/stat.h>

PhotoCache::PhotoCache(photoloader::CoverSize coverSize, qint64 budgetBytes)
    : m_coverSize(std::move(coverSize)), m_budget(budgetBytes)
{
}

PhotoCache::~PhotoCache()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_ahead.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

std::optional<PhotoCache::FileKey> PhotoCache::keyOf(const QString& path)
{
    // The file's identity and times as the system has them now, to the nanosecond: a photo rewritten in
    // place, or replaced by another file of the same name, no longer matches.
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    FileKey key;
    key.device = std::uint64_t(info.st_dev);
    key.inode = std::uint64_t(info.st_ino);
    key.size = qint64(info.st_size);
    key.modified = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    key.changed = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    return key;
}

const PhotoCache::Entry* PhotoCache::find(const QString& path, const FileKey& key)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->path != path)
            continue;
        if (!(it->key == key))
            return nullptr;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return &m_entries.front();
    }
    return nullptr;
}

void PhotoCache::keep(const QString& path, const FileKey& key, const photoloader::Photo& photo)
{
    const qint64 bytes = photo.image.sizeInBytes();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->path == path) {
            m_bytes -= it->photo.image.sizeInBytes();
            m_entries.erase(it);
            break;
        }
    if (bytes > m_budget)
        return;
    m_entries.push_front({path, key, photo});
    m_bytes += bytes;
    while (m_bytes > m_budget) {
        m_bytes -= m_entries.back().photo.image.sizeInBytes();
        m_entries.pop_back();
    }
}

photoloader::Photo PhotoCache::load(const QString& path)
{
    const std::optional<FileKey> key = keyOf(path);
    if (key) {
        std::unique_lock lock(m_mutex);
        m_ahead.removeAll(path);
        // Decoded ahead this very moment: the result is near.
        m_changed.wait(lock, [&] { return m_decoding != path; });
        if (const Entry* kept = find(path, *key))
            return kept->photo;
    }
    // Read as it always was, failures raised here, on the card's own thread.
    const photoloader::Photo photo = photoloader::load(path, m_coverSize);
    std::lock_guard lock(m_mutex);
    ++m_decodes;
    if (key)
        keep(path, *key, photo);
    return photo;
}

void PhotoCache::prefetch(const QStringList& paths)
{
    {
        std::lock_guard lock(m_mutex);
        m_ahead = paths;
        if (!m_thread.joinable())
            m_thread = std::thread(&PhotoCache::work, this);
    }
    m_changed.notify_all();
}

void PhotoCache::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_ahead.isEmpty(); });
        if (m_stopping)
            return;
        const QString path = m_ahead.takeFirst();
        lock.unlock();
        // The file's key is taken before it is read: a photo changed meanwhile is kept under its old key
        // and read again when asked for.
        const std::optional<FileKey> key = keyOf(path);
        lock.lock();
        if (!key || find(path, *key))
            continue;
        m_decoding = path;
        lock.unlock();
        std::optional<photoloader::Photo> photo;
        try {
            photo = photoloader::load(path, m_coverSize);
        } catch (...) {
            // Reported, if ever, when the card is shown: a photo decoded ahead never stops anything.
        }
        lock.lock();
        m_decoding.clear();
        if (photo) {
            ++m_decodes;
            keep(path, *key, *photo);
        }
        m_changed.notify_all();
    }
}

void PhotoCache::clear()
{
    std::unique_lock lock(m_mutex);
    m_ahead.clear();
    m_changed.wait(lock, [this] { return m_decoding.isEmpty(); });
    m_entries.clear();
    m_bytes = 0;
}

int PhotoCache::decodeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_decodes;
}

bool PhotoCache::holds(const QString& path) const
{
    std::lock_guard lock(m_mutex);
    for (const Entry& entry : m_entries)
        if (entry.path == path)
            return true;
    return false;
}
