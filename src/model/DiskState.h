#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <future>

// What the program last read or wrote of one of its files, so that a save can tell whether someone else (another
// instance, a colleague on a shared folder, another program) changed the file since, and ask before writing over it.
// The bytes decide, through their size and a hash: a modification time can move without a change (a file touched,
// or saved again with the very same bytes, when nothing would be lost) and stay put over one (two saves within the
// same second, or the two seconds of a FAT stick), so it proves nothing either way. The files are small; the hash is
// always taken.
class DiskState
{
public:
    // Nothing known of the file: it is never taken to have changed.
    DiskState() = default;

    // The file as it stands on disk now; a missing file is remembered as missing.
    static DiskState of(const QString& path);
    // The file just read or written with these bytes.
    static DiskState of(const QString& path, const QByteArray& bytes);
    // The same, the bytes hashed on a thread of their own; the first question that needs the hash waits for it.
    static DiskState ofAside(const QString& path, const QByteArray& bytes);

    bool isKnown() const { return m_known; }
    const QString& path() const { return m_path; }
    // The file changed, was removed, was replaced by other bytes, or appeared where there was none, since it was
    // remembered.
    bool changedOnDisk() const;

private:
    // The file just read or written with that many bytes, their hash still to take.
    static DiskState unhashed(const QString& path, qint64 size);
    const QByteArray& hash() const;

    QString m_path;
    bool m_known = false;
    bool m_exists = false;
    qint64 m_size = 0;
    QByteArray m_hash;
    // The hash being taken aside, when it is.
    std::shared_future<QByteArray> m_hashAside;
};

// Asked before a file someone else changed is written over, with the file's path: true to write over it. Nothing
// asked and nothing written where none is given.
using MayReplace = std::function<bool(const QString& path)>;

// Whether a file remembered so may be written over now: unchanged, or the answer given is yes.
bool mayWriteOver(const DiskState& state, const MayReplace& mayReplace);
