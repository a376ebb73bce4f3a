#pragma once

#include "model/RecoveryCopy.h"

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

// The recovery copies of one running instance of the program, in a folder of the user's own (never a class
// folder), and those that instances killed before they could clean up left there.
// - Each instance holds a lock file "<instance>.lock" in the folder while it runs (QLockFile: the kernel lets it
//   go when the process dies, and a lock whose process is gone is known as stale); its copies are named
//   "<instance>-<slot>.vlr". The copies of an instance that holds its lock are never offered to another.
// - A copy is written through the file writer (a temporary file, synced, renamed), on a thread of the store's own:
//   the window's thread only hands over what it took. Writes and removals of one copy keep their order; a write
//   asked while another of the same copy waits replaces it.
// - A clean end (the store destroyed) removes every copy of the instance and its lock; a killed instance leaves
//   them, and the next start offers them.
class RecoveryStore : public QObject
{
    Q_OBJECT

public:
    // A copy left by an instance that is gone.
    struct Orphan
    {
        QString path;
        recovery::Copy copy;
    };

    // The folder is made, readable by the user alone, when missing.
    explicit RecoveryStore(const QString& folder, QObject* parent = nullptr);
    ~RecoveryStore() override;
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const QString& folder() const { return m_folder; }
    // False when the folder could not be made or locked: no copy is kept, and why() says why.
    bool isActive() const { return m_active; }
    const QString& why() const { return m_why; }
    // How long after a change its copy is written, at most (a copy is written once a change has waited so long,
    // however fast the changes come).
    int delayMs() const { return m_delayMs; }
    void setDelayMs(int ms) { m_delayMs = ms; }

    // A name for a new copy of this instance, one per document; empty when the store is not active.
    QString newCopyPath(const QString& slot);
    // The copy's bytes, from what the window's thread took, are made and written on the store's thread.
    void write(const QString& path, std::function<QByteArray()> bytes);
    void remove(const QString& path);
    // An orphan's file becomes the copy at `path` of this instance, as it is.
    void adopt(const QString& orphanPath, const QString& path);
    // Waits until everything asked so far is done.
    void flush();

    // Claims every instance gone without cleaning up and returns their copies that read whole, the oldest change
    // first; their copies that do not read whole (cut short, damaged) and the temporary files of their killed
    // writes are removed. An instance that runs is never claimed. The claims hold until releaseClaims().
    QList<Orphan> claimOrphans();
    // Removes the orphans' files.
    void discard(const QList<Orphan>& orphans);
    // Lets the instances claimed go, once what was asked is done: their copies left are offered at a later start.
    void releaseClaims();

signals:
    // A copy could not be written: in French, why; told once until a copy is written again.
    void failed(const QString& message);

private:
    struct Job
    {
        enum Kind
        {
            Write,
            Remove,
            Move
        } kind = Write;
        std::function<QByteArray()> bytes;
        QString from;
    };

    void enqueue(const QString& path, Job job);
    void run();
    void perform(const QString& path, const Job& job);
    // Every copy of an instance, by the name of its file.
    QStringList copiesOf(const QString& instance) const;

    QString m_folder;
    QString m_instance;
    std::unique_ptr<QLockFile> m_lock;
    bool m_active = false;
    QString m_why;
    int m_delayMs = 1000;
    int m_slots = 0;
    // The instances claimed, by name.
    std::map<QString, std::unique_ptr<QLockFile>> m_claims;

    // Shared with the writing thread.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<QString> m_order;
    std::map<QString, Job> m_pending;
    bool m_busy = false;
    bool m_stopping = false;
    bool m_failing = false;
    std::thread m_thread;
};
