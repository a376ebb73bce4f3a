#pragma once

#include "core/PlatformError.h"
#include "model/PhotoFit.h"

#include <QStringList>

#include <atomic>
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
// files; what the cards hold stays with the class windows, on their thread.
class PhotoCache
{
public:
    // Runs on the asking window's thread with the photo as drawn, or with the error that its card reports.
    using Ready = std::function<void(std::uint64_t ticket, const photofit::Shown* shown, const PlatformError* error)>;

    explicit PhotoCache(qint64 budgetBytes);
    ~PhotoCache();
    PhotoCache(const PhotoCache&) = delete;
    PhotoCache& operator=(const PhotoCache&) = delete;

    // The photo kept from before, when its file has not changed since; nothing is decoded.
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
    // Forgets every photo kept; waits for the decode under way.
    void clear();

    // How many photos have been decoded to the end, asked for, ahead or now, since the cache was made.
    int decodeCount() const;
    bool holds(const QString& path) const;

private:
    struct FileKey
    {
        std::uint64_t device = 0, inode = 0;
        qint64 size = 0, modified = 0, changed = 0;
        bool operator==(const FileKey&) const = default;
    };
    struct Entry
    {
        QString path;
        FileKey key;
        photofit::Shown shown;
    };
    struct Request
    {
        std::uint64_t ticket;
        QString path;
        QObject* context;
        Ready ready;
    };

    static std::optional<FileKey> keyOf(const QString& path);
    static qint64 bytesOf(const photofit::Shown& shown) { return shown.picture.sizeInBytes(); }
    // With the lock held.
    const Entry* find(const QString& path, const FileKey& key);
    void keep(const QString& path, const FileKey& key, const photofit::Shown& shown);
    void deliver(const QString& path, const photofit::Shown* shown, const PlatformError* error);
    bool requested(const QString& path) const;
    void work();

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
    // Alive while the cache is: what a window's thread runs after the cache is gone does nothing.
    std::shared_ptr<char> m_alive = std::make_shared<char>();
    std::thread m_thread;
};
