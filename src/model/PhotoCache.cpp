#include "model/PhotoCache.h"

#include "model/PhotoLoader.h"

#include <QFile>
#include <QMetaObject>
#include <QObject>

#include <sys/stat.h>

PhotoCache::PhotoCache(qint64 budgetBytes) : m_budget(budgetBytes) {}

PhotoCache::~PhotoCache()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_abandon = true;
        m_requests.clear();
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

void PhotoCache::keep(const QString& path, const FileKey& key, const photofit::Shown& shown)
{
    const qint64 bytes = bytesOf(shown);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->path == path) {
            m_bytes -= bytesOf(it->shown);
            m_entries.erase(it);
            break;
        }
    if (bytes > m_budget)
        return;
    m_entries.push_front({path, key, shown});
    m_bytes += bytes;
    while (m_bytes > m_budget) {
        m_bytes -= bytesOf(m_entries.back().shown);
        m_entries.pop_back();
    }
}

std::optional<photofit::Shown> PhotoCache::kept(const QString& path)
{
    const std::optional<FileKey> key = keyOf(path);
    if (!key)
        return std::nullopt;
    std::lock_guard lock(m_mutex);
    if (const Entry* entry = find(path, *key))
        return entry->shown;
    return std::nullopt;
}

photofit::Shown PhotoCache::load(const QString& path)
{
    if (std::optional<photofit::Shown> shown = kept(path))
        return *shown;
    // The key is taken before the file is read: a photo changed meanwhile is read again when next asked for.
    const std::optional<FileKey> key = keyOf(path);
    const photoloader::Photo photo = photoloader::load(path, photofit::decodedSize);
    const photofit::Shown shown = photofit::shown(photo.image, photo.originalSize);
    std::lock_guard lock(m_mutex);
    ++m_decodes;
    if (key)
        keep(path, *key, shown);
    return shown;
}

bool PhotoCache::requested(const QString& path) const
{
    for (const Request& request : m_requests)
        if (request.path == path)
            return true;
    return false;
}

std::uint64_t PhotoCache::request(const QString& path, QObject* context, Ready ready)
{
    std::uint64_t ticket = 0;
    {
        std::lock_guard lock(m_mutex);
        ticket = ++m_lastTicket;
        m_requests.push_back({ticket, path, context, std::move(ready)});
        m_ahead.clear();
        if (m_decodingAhead) {
            // Decoded ahead for this very card, it is the card's own now; any other is dropped.
            if (m_decoding == path)
                m_decodingAhead = false;
            else
                m_abandon = true;
        } else if (m_decoding == path) {
            // Asked for again as soon as cancelled (the same card read again): it goes on if it still can.
            m_abandon = false;
        }
        if (!m_thread.joinable())
            m_thread = std::thread(&PhotoCache::work, this);
    }
    m_changed.notify_all();
    return ticket;
}

void PhotoCache::cancel(std::uint64_t ticket)
{
    std::lock_guard lock(m_mutex);
    m_sent.erase(ticket);
    for (auto it = m_requests.begin(); it != m_requests.end(); ++it)
        if (it->ticket == ticket) {
            const QString path = it->path;
            m_requests.erase(it);
            if (!m_decodingAhead && m_decoding == path && !requested(path))
                m_abandon = true;
            return;
        }
}

void PhotoCache::prefetch(const QStringList& paths)
{
    {
        std::lock_guard lock(m_mutex);
        m_ahead = paths;
        if (m_decodingAhead) {
            if (paths.contains(m_decoding))
                m_ahead.removeAll(m_decoding);
            else
                m_abandon = true;
        }
        if (!m_thread.joinable())
            m_thread = std::thread(&PhotoCache::work, this);
    }
    m_changed.notify_all();
}

void PhotoCache::deliver(const QString& path, const photofit::Shown* shown, const PlatformError* error)
{
    // Every ticket waiting for this photo has it, on its window's thread, unless cancelled meanwhile. The lock is held:
    // a window that has cancelled its tickets is never sent anything again, and may go.
    std::optional<photofit::Shown> photo;
    if (shown)
        photo = *shown;
    std::optional<PlatformError> failure;
    if (error)
        failure = *error;
    for (auto it = m_requests.begin(); it != m_requests.end();) {
        if (it->path != path) {
            ++it;
            continue;
        }
        m_sent.insert(it->ticket);
        QMetaObject::invokeMethod(
            it->context,
            [this, alive = std::weak_ptr<char>(m_alive), ticket = it->ticket, ready = it->ready, photo, failure] {
                if (!alive.lock())
                    return;
                {
                    std::lock_guard lock(m_mutex);
                    if (m_sent.erase(ticket) == 0)
                        return;
                }
                ready(ticket, photo ? &*photo : nullptr, failure ? &*failure : nullptr);
            },
            Qt::QueuedConnection);
        it = m_requests.erase(it);
    }
}

void PhotoCache::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_requests.empty() || !m_ahead.isEmpty(); });
        if (m_stopping)
            return;
        // A card waiting comes before any photo ahead.
        m_decodingAhead = m_requests.empty();
        m_decoding = m_decodingAhead ? m_ahead.takeFirst() : m_requests.front().path;
        m_abandon = false;
        const QString path = m_decoding;
        lock.unlock();
        // The file's key is taken before it is read: a photo changed meanwhile is kept under its old key
        // and read again when asked for.
        const std::optional<FileKey> key = keyOf(path);
        lock.lock();
        const Entry* entry = key ? find(path, *key) : nullptr;
        std::optional<photofit::Shown> shown;
        if (entry)
            shown = entry->shown;
        lock.unlock();
        std::optional<PlatformError> failure;
        bool decoded = false, abandoned = false;
        if (!shown) {
            try {
                const photoloader::Photo photo = photoloader::load(path, photofit::decodedSize, &m_abandon);
                shown = photofit::shown(photo.image, photo.originalSize);
                decoded = true;
            } catch (const PlatformError& error) {
                failure = error;
            } catch (const photoloader::Abandoned&) {
                abandoned = true;
            } catch (const std::bad_alloc&) {
                failure = PlatformError::cannotOpen(path);
            }
        }
        lock.lock();
        m_decoding.clear();
        if (!abandoned) {
            if (decoded) {
                ++m_decodes;
                if (key)
                    keep(path, *key, *shown);
            }
            // A photo decoded ahead that fails is left for its card to report, when shown.
            deliver(path, shown ? &*shown : nullptr, failure ? &*failure : nullptr);
        }
        m_changed.notify_all();
    }
}

void PhotoCache::clear()
{
    std::unique_lock lock(m_mutex);
    m_ahead.clear();
    if (m_decodingAhead)
        m_abandon = true;
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
