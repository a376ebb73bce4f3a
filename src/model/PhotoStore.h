#pragma once

#include "model/PhotoFit.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

// A photo file as the system has it now: its path, identity and times to the nanosecond. A photo rewritten in place,
// or replaced by another file of the same name, no longer has the same key.
struct PhotoKey
{
    QString path;
    std::uint64_t device = 0, inode = 0;
    qint64 size = 0, modified = 0, changed = 0;
    bool operator==(const PhotoKey&) const = default;

    // Nothing when the file cannot be reached.
    static std::optional<PhotoKey> of(const QString& path);
};

// The cards' photos as the card draws them (photofit::Shown), kept on disk from one run to the next in a folder of
// the user's own (made when first written to, readable by the user alone): each photo one small entry of raw
// pixels under the name of its key and the frame's size, with a header that repeats them and a checksum. An entry is
// written to a temporary file beside it and renamed into place, so that a reader sees it whole or not at all; it is
// not synced, since losing it only means decoding the photo again. An entry cut short, altered or made for another
// photo is never shown: it reads as missing. The folder stays within a bound, the entries read longest ago removed
// first. A folder that cannot be made or written means no entries, and nothing else: no call raises.
// Safe to use from several threads at once.
class PhotoStore
{
public:
    // Some 1,700 phone photos of 38 KB: every student of a teacher's classes for years.
    static constexpr qint64 DefaultBound = 64LL * 1024 * 1024;

    explicit PhotoStore(const QString& folder, qint64 boundBytes = DefaultBound);

    const QString& folder() const { return m_folder; }
    // The photo kept for that key, checked whole; nothing when there is none or it does not check.
    std::optional<photofit::Shown> read(const PhotoKey& key) const;
    // Whether an entry exists for that key (not checked: the card checks it when it reads it).
    bool has(const PhotoKey& key) const;
    // Keeps the photo for that key; false when it could not be.
    bool write(const PhotoKey& key, const photofit::Shown& shown);

    // Where the entry of that key is, written or not.
    QString entryPath(const PhotoKey& key) const;
    // The bytes of an entry, and the photo back from them when they are whole and made for that key.
    static QByteArray encode(const PhotoKey& key, const photofit::Shown& shown);
    static std::optional<photofit::Shown> decode(const QByteArray& bytes, const PhotoKey& key);

private:
    bool ready();
    void trim();

    const QString m_folder;
    const qint64 m_bound;
    std::mutex m_mutex;
    // Whether the folder was made (or found) private to the user; tried once.
    std::optional<bool> m_ready;
    // The entries' bytes as last counted, and what was written since.
    qint64 m_total = 0;
    std::atomic<std::uint64_t> m_written = 0;
};
