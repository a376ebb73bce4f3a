#pragma once

#include "classbook/PhotoLoader.h"

#include <QStringList>

#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <thread>

// The cards' photos as they are drawn: the small decoded pictures of the cards seen last are kept, within a
// budget of memory, and those of the cards around the one shown are decoded ahead on a thread of the cache's
// own while the teacher reads it. A photo is known by its path and by its file's modification time (and size
// and identity): a photo changed on disk is read again. The cache only ever reads files; what the cards hold
// stays with the class window, on its own thread.
class PhotoCache
{
public:
    PhotoCache(photoloader::CoverSize coverSize, qint64 budgetBytes);
    ~PhotoCache();
    PhotoCache(const PhotoCache&) = delete;
    PhotoCache& operator=(const PhotoCache&) = delete;

    // The photo as photoloader::load gives it, with the same errors, raised here: kept from before when its
    // file has not changed, otherwise the one decoded ahead (waiting for it if it is under way) or decoded now.
    photoloader::Photo load(const QString& path);
    // Decodes these photos ahead, in this order, instead of any asked for before and not begun; a photo that
    // fails is left for load() to report.
    void prefetch(const QStringList& paths);
    // Forgets every photo kept; waits for the decode under way.
    void clear();

    // How many photos have been decoded, ahead or not, since the cache was made.
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
        photoloader::Photo photo;
    };

    static std::optional<FileKey> keyOf(const QString& path);
    // With the lock held.
    const Entry* find(const QString& path, const FileKey& key);
    void keep(const QString& path, const FileKey& key, const photoloader::Photo& photo);
    void work();

    const photoloader::CoverSize m_coverSize;
    const qint64 m_budget;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    // Most recently used first.
    std::list<Entry> m_entries;
    qint64 m_bytes = 0;
    QStringList m_ahead;
    QString m_decoding;
    int m_decodes = 0;
    bool m_stopping = false;
    std::thread m_thread;
};
