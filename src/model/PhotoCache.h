#pragma once

#include "core/PlatformError.h"
#include "model/PhotoFit.h"
#include "model/PhotoStore.h"

#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

class QObject;

// The cards' photos, for every class window alike. A card asks for its photo and shows it when it comes: photos are
// decoded one at a time on a thread of the cache's own, so that the card's texts never wait for them. A card left
// before its photo came cancels it; a decode that no card wants any more is abandoned where it stands. The photos of
// the cards seen last are kept as the card draws them (photofit::Shown), within a budget of memory, known by the
// file's path and by its identity and times: a photo changed on disk is read again. While the teacher reads a card,
// the photos of the cards around it may be decoded ahead, whenever no card waits for one. The cache only ever reads
// the photos' files; what the cards hold stays with the class windows, on their thread.
//
// Kept on disk as well (keepOnDisk), every photo decoded is also written to a PhotoStore, where a card finds it at once
// when the memory no longer holds it, in this run or a later one; and the photos of the classes open are stored there
// ahead (storeAhead) by a pass of their own, one at a time, on a thread of the lowest priority that stops whenever a
// card waits for its photo. What that pass decodes goes to the disk only: the memory holds only what cards showed or
// the cards around them.
class PhotoCache
{
public:
    // Runs on the asking window's thread with the photo as drawn, or with the error that its card reports.
    using Ready = std::function<void(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error)>;

    explicit PhotoCache(qint64 budgetBytes);
    ~PhotoCache();
    PhotoCache(const PhotoCache&) = delete;
    PhotoCache& operator=(const PhotoCache&) = delete;

    // How the pass storing the classes' photos ahead runs: only when nothing else wants the processor, or (for tests
    // on a busy machine, where such a thread may wait for seconds) as any thread.
    enum class PassPriority
    {
        Idle,
        Normal
    };
    // Keeps the photos on disk too, in that folder (see PhotoStore); before any photo is asked for.
    void keepOnDisk(const QString& folder, qint64 boundBytes = PhotoStore::DefaultBound,
                    PassPriority priority = PassPriority::Idle);
    const PhotoStore* store() const { return m_store.get(); }

    // The photo kept from before, in memory or on disk, when its file has not changed since; nothing is decoded.
    std::optional<photofit::Shown> kept(const QString& path);
    // Kept from before or decoded now, on the caller's thread, with photoloader::load's errors raised here.
    photofit::Shown load(const QString& path);
    // Has the photo decoded on the cache's thread; ready runs once, on the thread of context, unless the ticket is
    // cancelled before (or context destroyed). The photos being decoded ahead are dropped: the teacher moved.
    std::uint64_t request(const QString& path, QObject* context, Ready ready);
    // The photo is no longer wanted for this ticket: ready will not run, and the decode of its photo, if no other
    // ticket waits for it, is abandoned.
    void cancel(std::uint64_t ticket);
    // Decodes these photos ahead, in this order, whenever no ticket waits, instead of those asked for before; a
    // photo that fails is left for its card to report.
    void prefetch(const QStringList& paths);
    // Forgets every photo kept in memory; waits for the decode under way.
    void clear();
    // With a store: the photos of owner's class (its window), stored on disk ahead, in this order, those of the class
    // named last first, once the class has settled and whenever no card waits for a photo. The list replaces the
    // owner's earlier one; the owner destroyed (the class closed), its photos not yet stored are no longer wanted, and
    // the one being decoded is abandoned.
    void storeAhead(QObject* owner, const QStringList& paths);

    // How many photos have been decoded to the end, asked for, ahead or now, since the cache was made; the pass that
    // stores the classes' photos ahead counts apart.
    int decodeCount() const;
    int storedCount() const;
    // The photo that pass is decoding now (empty: none).
    QString storing() const;
    bool holds(const QString& path) const;

private:
    struct Entry
    {
        PhotoKey key;
        photofit::Shown shown;
    };
    struct ClassPhotos
    {
        QObject* owner;
        QStringList paths;
    };
    struct Request
    {
        std::uint64_t ticket;
        QString path;
        QObject* context;
        Ready ready;
    };

    static qint64 bytesOf(const photofit::Shown& shown) { return shown.picture.sizeInBytes(); }
    // With the lock held.
    const Entry* find(const PhotoKey& key);
    void keep(const PhotoKey& key, const photofit::Shown& shown);
    void deliver(const QString& path, const photofit::Shown* shown, const PlatformError* error);
    bool requested(const QString& path) const;
    bool cardWaits() const;
    bool wanted(const QString& path) const;
    QString nextToStore() const;
    bool mayStore() const;
    void startStoring(const QString& path);
    void storingDone(std::unique_lock<std::mutex>& lock);
    void withdraw(QObject* owner);
    // Without the lock.
    std::optional<photofit::Shown> fromStore(const PhotoKey& key);
    void work();
    void storeWork();

    const qint64 m_budget;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    // Most recently used first.
    std::list<Entry> m_entries;
    qint64 m_bytes = 0;
    // Waiting, in the order asked; then the tickets whose photo is on its way to their window.
    std::list<Request> m_requests;
    std::set<std::uint64_t> m_sent;
    std::uint64_t m_lastTicket = 0;
    QStringList m_ahead;
    QString m_decoding;
    bool m_decodingAhead = false;
    std::atomic<bool> m_abandon = false;
    int m_decodes = 0;
    bool m_stopping = false;
    // The disk, and the pass storing the classes' photos ahead, which the cache's thread runs: the classes named last
    // first, the photos tried in this run (stored, found stored or failed), the one being stored and when the pass
    // may start.
    std::shared_ptr<PhotoStore> m_store;
    std::list<ClassPhotos> m_classes;
    std::set<QString> m_tried;
    QString m_storing;
    std::chrono::steady_clock::time_point m_storeFrom;
    int m_stored = 0;
    // The pass's decodes, on a thread of the lowest priority that never takes the lock: a thread that may wait long
    // for the processor must hold nothing the others wait for. The cache's thread hands it one photo at a time
    // (PassJob), which it leaves decoded (PassDone) for the cache's thread to write; what goes with the photo belongs
    // to the thread whose turn it is.
    enum PassState
    {
        PassIdle,
        PassJob,
        PassDone,
        PassStop
    };
    PassPriority m_passPriority = PassPriority::Idle;
    std::atomic<int> m_passState = PassIdle;
    std::atomic<bool> m_passStop = false;
    std::atomic<bool> m_abandonStoring = false;
    std::shared_ptr<PhotoStore> m_passStore;
    std::optional<PhotoKey> m_passKey;
    std::optional<photofit::Shown> m_passShown;
    bool m_passAbandoned = false;
    std::thread m_storeThread;
    // Alive while the cache is: what a window's thread runs after the cache is gone does nothing.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    std::thread m_thread;
};
