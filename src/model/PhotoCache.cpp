#include "model/PhotoCache.h"

#include "model/PhotoLoader.h"

#include <QFile>
#include <QMetaObject>
#include <QObject>

#include <malloc.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// A class opened is left to settle this long before its photos are stored ahead: its window paints meanwhile.
constexpr std::chrono::milliseconds StoreAfter{300};

// The calling thread runs only when nothing else wants the processor (Linux's idle class), and reads the disk only
// when nothing else does; where that is refused, at the lowest priority a thread may take.
void lowestPriority()
{
    const pid_t thread = pid_t(::syscall(SYS_gettid));
    sched_param param{};
    if (::sched_setscheduler(thread, SCHED_IDLE, &param) != 0)
        ::setpriority(PRIO_PROCESS, id_t(thread), 19);
    constexpr int IdleClass = 3, ClassShift = 13, WhoProcess = 1;
    ::syscall(SYS_ioprio_set, WhoProcess, thread, IdleClass << ClassShift);
}

} // namespace

PhotoCache::PhotoCache(qint64 budgetBytes) : m_budget(budgetBytes) {}

PhotoCache::~PhotoCache()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_abandon = true;
        m_abandonStoring = true;
        m_requests.clear();
        m_ahead.clear();
        m_classes.clear();
    }
    m_changed.notify_all();
    m_passStop = true;
    m_passState = PassStop;
    m_passState.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_storeThread.joinable())
        m_storeThread.join();
}

void PhotoCache::keepOnDisk(const QString& folder, qint64 boundBytes, PassPriority priority)
{
    std::lock_guard lock(m_mutex);
    m_store = std::make_shared<PhotoStore>(folder, boundBytes);
    m_passPriority = priority;
}

const PhotoCache::Entry* PhotoCache::find(const PhotoKey& key)
{
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->key.path != key.path)
            continue;
        if (!(it->key == key))
            return nullptr;
        m_entries.splice(m_entries.begin(), m_entries, it);
        return &m_entries.front();
    }
    return nullptr;
}

void PhotoCache::keep(const PhotoKey& key, const photofit::Shown& shown)
{
    const qint64 bytes = bytesOf(shown);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->key.path == key.path) {
            m_bytes -= bytesOf(it->shown);
            m_entries.erase(it);
            break;
        }
    if (bytes > m_budget)
        return;
    m_entries.push_front({key, shown});
    m_bytes += bytes;
    while (m_bytes > m_budget) {
        m_bytes -= bytesOf(m_entries.back().shown);
        m_entries.pop_back();
    }
}

std::optional<photofit::Shown> PhotoCache::fromStore(const PhotoKey& key)
{
    std::shared_ptr<PhotoStore> store;
    {
        std::lock_guard lock(m_mutex);
        store = m_store;
    }
    std::optional<photofit::Shown> shown;
    if (store)
        shown = store->read(key);
    if (shown) {
        std::lock_guard lock(m_mutex);
        keep(key, *shown);
    }
    return shown;
}

std::optional<photofit::Shown> PhotoCache::kept(const QString& path)
{
    const std::optional<PhotoKey> key = PhotoKey::of(path);
    if (!key)
        return std::nullopt;
    {
        std::lock_guard lock(m_mutex);
        if (const Entry* entry = find(*key))
            return entry->shown;
    }
    // A small file of raw pixels, read at once: far less than a frame.
    return fromStore(*key);
}

photofit::Shown PhotoCache::load(const QString& path)
{
    if (std::optional<photofit::Shown> shown = kept(path))
        return *shown;
    // The key is taken before the file is read: a photo changed meanwhile is read again when next asked for.
    const std::optional<PhotoKey> key = PhotoKey::of(path);
    const photoloader::Photo photo = photoloader::load(path, photofit::decodedSize);
    const photofit::Shown shown = photofit::shown(photo.image, photo.originalSize);
    std::shared_ptr<PhotoStore> store;
    {
        std::lock_guard lock(m_mutex);
        ++m_decodes;
        if (key)
            keep(*key, shown);
        store = m_store;
    }
    if (key && store)
        store->write(*key, shown);
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
        // A card waits: the pass storing photos ahead leaves it the processor and the disk.
        if (!m_storing.isEmpty())
            m_abandonStoring = true;
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
        for (;;) {
            if (m_stopping || !m_requests.empty() || !m_ahead.isEmpty() || m_passState == PassDone || mayStore())
                break;
            // The pass's thread tells its photo decoded without the lock, and may tell it unheard: it is looked for
            // now and then meanwhile.
            if (m_passState == PassJob)
                m_changed.wait_for(lock, std::chrono::milliseconds(20));
            else if (m_store && !nextToStore().isEmpty() && std::chrono::steady_clock::now() < m_storeFrom)
                m_changed.wait_until(lock, m_storeFrom);
            else
                m_changed.wait(lock);
        }
        if (m_stopping)
            return;
        if (m_passState == PassDone) {
            storingDone(lock);
            continue;
        }
        if (mayStore())
            startStoring(nextToStore());
        if (m_requests.empty() && m_ahead.isEmpty())
            continue;
        // A card waiting comes before any photo ahead.
        m_decodingAhead = m_requests.empty();
        m_decoding = m_decodingAhead ? m_ahead.takeFirst() : m_requests.front().path;
        m_abandon = false;
        const QString path = m_decoding;
        lock.unlock();
        // The file's key is taken before it is read: a photo changed meanwhile is kept under its old key
        // and read again when asked for.
        const std::optional<PhotoKey> key = PhotoKey::of(path);
        lock.lock();
        const Entry* entry = key ? find(*key) : nullptr;
        std::optional<photofit::Shown> shown;
        if (entry)
            shown = entry->shown;
        lock.unlock();
        if (!shown && key)
            shown = fromStore(*key);
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
        std::shared_ptr<PhotoStore> store;
        if (!abandoned) {
            if (decoded) {
                ++m_decodes;
                if (key) {
                    keep(*key, *shown);
                    store = m_store;
                }
            }
            // A photo decoded ahead that fails is left for its card to report, when shown.
            deliver(path, shown ? &*shown : nullptr, failure ? &*failure : nullptr);
        }
        // Written once the card has it; the decode is not over until then (clear() waits for it).
        if (store) {
            lock.unlock();
            store->write(*key, *shown);
            lock.lock();
        }
        m_decoding.clear();
        m_changed.notify_all();
    }
}

bool PhotoCache::cardWaits() const
{
    return !m_requests.empty() || (!m_decoding.isEmpty() && !m_decodingAhead);
}

bool PhotoCache::wanted(const QString& path) const
{
    for (const ClassPhotos& photos : m_classes)
        if (photos.paths.contains(path))
            return true;
    return false;
}

QString PhotoCache::nextToStore() const
{
    // Those decoded ahead for the cards now are left to them.
    for (const ClassPhotos& photos : m_classes)
        for (const QString& path : photos.paths)
            if (!path.isEmpty() && path != m_decoding && !m_ahead.contains(path) && !m_tried.count(path))
                return path;
    return {};
}

bool PhotoCache::mayStore() const
{
    return m_store && m_passState == PassIdle && m_storeThread.joinable() && !cardWaits() &&
           std::chrono::steady_clock::now() >= m_storeFrom && !nextToStore().isEmpty();
}

void PhotoCache::startStoring(const QString& path)
{
    m_storing = path;
    m_passStore = m_store;
    m_abandonStoring = false;
    m_passState = PassJob;
    m_passState.notify_all();
}

void PhotoCache::storingDone(std::unique_lock<std::mutex>& lock)
{
    const QString path = m_storing;
    const std::optional<PhotoKey> key = std::move(m_passKey);
    const std::optional<photofit::Shown> shown = std::move(m_passShown);
    const bool abandoned = m_passAbandoned;
    m_passState = PassIdle;
    // Abandoned for a card, it is tried again once the card has its photo; for a class closed, when another class has
    // it. A photo already stored, gone or that fails is not tried again in this run: its card tells its failure.
    if (abandoned) {
        m_storing.clear();
        return;
    }
    m_tried.insert(path);
    if (shown && key && wanted(path)) {
        ++m_stored;
        lock.unlock();
        m_passStore->write(*key, *shown);
        lock.lock();
    }
    m_storing.clear();
    m_changed.notify_all();
}

void PhotoCache::storeAhead(QObject* owner, const QStringList& paths)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_store || m_stopping)
            return;
        auto it = m_classes.begin();
        while (it != m_classes.end() && it->owner != owner)
            ++it;
        if (it == m_classes.end()) {
            // The class closed, its window gone: nothing more of it is stored.
            QObject::connect(owner, &QObject::destroyed, [this, alive = std::weak_ptr<char>(m_alive), owner] {
                if (alive.lock())
                    withdraw(owner);
            });
            m_storeFrom = std::chrono::steady_clock::now() + StoreAfter;
        } else {
            m_classes.erase(it);
        }
        m_classes.push_front({owner, paths});
        if (!m_storing.isEmpty() && !wanted(m_storing))
            m_abandonStoring = true;
        if (!m_storeThread.joinable()) {
            // A photo is decoded at an eighth of its size (1.5 MB for a phone photo) before it is reduced: with
            // glibc's threshold of memory mapping raised by the first such picture freed, as it is by default, each
            // thread that decodes would keep that much in a heap of its own for the rest of the run. Kept where it
            // starts, every such picture is mapped and given back whole. That also keeps the threshold of trimming
            // where it starts (128 KB), which would give the top of the heap back after every larger piece of work
            // (a printed sheet's pages, a workbook) and fault it in again at the next: a megabyte is kept instead.
            ::mallopt(M_MMAP_THRESHOLD, 128 * 1024);
            ::mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
            m_storeThread = std::thread(&PhotoCache::storeWork, this);
        }
        if (!m_thread.joinable())
            m_thread = std::thread(&PhotoCache::work, this);
    }
    m_changed.notify_all();
}

void PhotoCache::withdraw(QObject* owner)
{
    std::lock_guard lock(m_mutex);
    m_classes.remove_if([owner](const ClassPhotos& photos) { return photos.owner == owner; });
    if (!m_storing.isEmpty() && !wanted(m_storing))
        m_abandonStoring = true;
}

void PhotoCache::storeWork()
{
    if (m_passPriority == PassPriority::Idle)
        lowestPriority();
    for (;;) {
        for (int state = m_passState; state != PassJob; state = m_passState) {
            if (m_passStop)
                return;
            m_passState.wait(state);
        }
        if (m_passStop)
            return;
        // The photo's path, its store and what it leaves are this thread's until it tells PassDone.
        const QString path = m_storing;
        const std::optional<PhotoKey> key = PhotoKey::of(path);
        std::optional<photofit::Shown> shown;
        bool abandoned = false;
        if (key && !m_passStore->has(*key)) {
            try {
                const photoloader::Photo photo = photoloader::load(path, photofit::decodedSize, &m_abandonStoring);
                shown = photofit::shown(photo.image, photo.originalSize);
            } catch (const photoloader::Abandoned&) {
                abandoned = true;
            } catch (...) {
            }
        }
        m_passKey = key;
        m_passShown = std::move(shown);
        m_passAbandoned = abandoned;
        m_passState = PassDone;
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

int PhotoCache::storedCount() const
{
    std::lock_guard lock(m_mutex);
    return m_stored;
}

QString PhotoCache::storing() const
{
    std::lock_guard lock(m_mutex);
    return m_storing;
}

bool PhotoCache::holds(const QString& path) const
{
    std::lock_guard lock(m_mutex);
    for (const Entry& entry : m_entries)
        if (entry.key.path == path)
            return true;
    return false;
}
