#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

// The one way the program writes a file, whatever the file (class, companions, phrases, notes, report).
namespace filewriter {

// Replaces the file with the bytes, whole or not at all:
// - they go into a temporary file beside it, checked to the last byte and synced, which is then renamed over
//   it: a full disk or a crash leaves the old file as it was;
// - a symbolic link is followed: its target receives the bytes and the link stays;
// - the new file keeps the old one's mode, group (and owner, where that is allowed);
// - a file the user may not write, anything that is not a plain file and a file this run could not read are
//   never replaced;
// - a writable file in a folder the user may not write (a shared folder) is written over in place, and gets
//   its old bytes back if that fails.
// Raises "Ne peut créer le fichier %s" with the path as given.
// beforeReplace runs once the write can no longer be refused, just before the old file is replaced (the new bytes
// whole and synced beside it, or, in place, before the first byte): what must be kept of the old file is kept
// there, so that no moment loses both.
void write(const QString& path, const QByteArray& bytes, const std::function<void()>& beforeReplace = {});

// The same for a file that a library writes by name: `make` writes it whole into the file named (the temporary file
// beside the target, already holding the old file's mode and group) and tells whether it did, and the file is then
// checked, synced and renamed over the target. Where no file can be made beside it (a writable file in a folder the
// user may not write), it is made in a private folder and written over the old one in place. Raises "Ne peut créer le
// fichier %s" with the path as given, the old file as it was.
void writeMade(const QString& path, const std::function<bool(const QString& made)>& make);

// A file written as write() writes a new file (a temporary file beside `path`, checked and synced, taking the
// owner where allowed, the group and the mode of the file `like`), which appears under `path` only when
// commit() renames it there: for a file that must appear after other moves. Dropped uncommitted, the temporary is
// removed. Both raise "Ne peut créer le fichier %s" with `path`.
class Staged
{
public:
    Staged(const QString& path, const QByteArray& bytes, const QString& like);
    ~Staged();
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;
    void commit();

private:
    QString m_path;
    QByteArray m_temporary;
    int m_fd = -1;
};

// Makes `to` hold what `from` holds, `from` staying as it is, with no moment where `to` is missing, partial or
// empty: a hard link made under a temporary name and renamed over `to`, or, where the file system has no hard
// links (a FAT stick), a copy staged as above. Raises "Ne peut créer le fichier %s" with `to`.
void duplicate(const QString& from, const QString& to);

// The name of the file a temporary file of the writer's replaces, from the temporary's name (without folder);
// empty for any other name.
QString temporaryTarget(const QString& name);

// Removes the temporary files that writes of this file killed half-way left beside it; one that a running write
// holds stays. Every write does it for its own file.
void removeStaleTemporaries(const QString& path);

// A file that exists but could not be read is never written over during the run: every reader reports such a
// file here, and a later successful reading of it lifts the ban.
void markUnreadable(const QString& path);
void markReadable(const QString& path);
// Whether the file is banned so: the one rule every writer and every owner of a file asks.
bool isUnreadable(const QString& path);

// The steps of a write, in order; an in-place write has no rename. A duplicate made through a hard link is
// Linked, then Renamed.
enum class Step
{
    Opened,
    Written,
    Synced,
    Renamed,
    Linked
};

// Lets a test see and disturb every write: a device that fails after some bytes, a process killed at a step.
class Probe
{
public:
    virtual ~Probe() = default;
    // The device the bytes are written through, over the file's own; nothing writes into the file directly.
    virtual std::unique_ptr<QIODevice> device(QIODevice& file);
    virtual void reached(Step step);
};
// The caller keeps ownership; nullptr removes it.
void setProbe(Probe* probe);

} // namespace filewriter
