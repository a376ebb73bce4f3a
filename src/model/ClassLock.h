#pragma once

#include <QDateTime>
#include <QString>
#include <future>
#include <memory>
#include <optional>

class QLockFile;

// The mark an open class leaves beside its file, so that another instance of the program (a colleague on a shared
// folder, or the same teacher with the program open twice) knows the class is open: the hidden file
// ".6A.prf.lock" beside 6A.prf (beside the file itself when it is reached through a link). Hidden, and ending in
// ".lock", it is never listed by the open dialog (which shows "*.prf") and is plainly a lock to whoever sees it.
//
// Qt's QLockFile takes it: it creates the file only where none exists, writes the process number, the program, the
// host and this machine's and this boot's ids one a line, and tells a lock left by a process of this host that no
// longer runs (or a boot ago) from a live one, removing the stale one. The user's name and the time the class was
// opened follow on lines of their own, which QLockFile does not read: on a shared folder every file may belong to
// one account, so the file's owner is only the answer for a lock without them.
class ClassLock
{
public:
    // Who has the class open, as the lock tells.
    struct Holder
    {
        QString user;
        QString host;
        qint64 pid = 0;
        QDateTime since;
    };

    enum class Outcome
    {
        Taken,
        // Another live process holds it (the holder tells who).
        HeldElsewhere,
        // The folder allows no lock to be created (read-only folder or medium, a full disk): the class opens
        // without one.
        Refused,
    };

    ClassLock();
    ~ClassLock();
    ClassLock(ClassLock&& other) noexcept;
    ClassLock& operator=(ClassLock&& other) noexcept;

    // The lock file of a class file.
    static QString lockFileOf(const QString& classFile);
    // The lock as it stands on disk: nothing when there is no lock file.
    static std::optional<Holder> holderOf(const QString& classFile);
    // "6A.prf est ouvert par marie sur salle-12 depuis le 13/05/2024 à 08:15."
    static QString heldMessage(const QString& classFile, const Holder& holder);
    // "6A.prf est ouvert sans verrou : le dossier ne permet pas d'en créer un."
    static QString refusedMessage(const QString& classFile);

    // Takes the lock of the class file, a stale one being removed without a word; a lock held before is released
    // once the new one is taken.
    Outcome take(const QString& classFile);
    // take() on a thread of its own, so that creating the lock file and syncing it to disk overlaps what the opener
    // does meanwhile (reading the class, building its window). The lock is not to be touched until the outcome is
    // known; the future, destroyed unread, waits for it.
    std::future<Outcome> takeAside(const QString& classFile);
    void release();
    bool isHeld() const { return m_lock != nullptr; }
    // The class file whose lock is held; empty when none is.
    const QString& classFile() const { return m_classFile; }

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_classFile;
};
