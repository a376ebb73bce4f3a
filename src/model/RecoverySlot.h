#pragma once

#include "model/RecoveryCopy.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class RecoveryStore;

// One recovery copy kept up to date for one document (a class, the notepad, the phrases): written at most the
// store's delay after a change while the document has changes no file holds, removed as soon as it has none, and
// removed with the slot (the document closed).
class RecoverySlot : public QObject
{
    Q_OBJECT

public:
    struct Source
    {
        // Whether the document has changes no file holds.
        std::function<bool()> unsaved;
        // What the copy is made from, taken on the window's thread (cheap: the texts are shared, not copied); the
        // function it returns makes the copy, on the store's thread.
        std::function<std::function<recovery::Copy()>()> take;
    };

    RecoverySlot(RecoveryStore& store, const QString& slot, Source source, QObject* parent = nullptr);
    ~RecoverySlot() override;

    const QString& path() const { return m_path; }
    // The teacher changed the document.
    void changed();
    // Something may have been saved, or changed without the teacher: the copy is brought in line.
    void check();
    // An orphan brought back into the document becomes its copy, changed at the time it says.
    void adopt(const QString& orphanPath, const QDateTime& changed);

private:
    void update();

    RecoveryStore& m_store;
    QString m_path;
    Source m_source;
    QTimer m_timer;
    QDateTime m_changed;
    bool m_written = false;
};
