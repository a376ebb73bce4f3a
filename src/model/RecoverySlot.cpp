#include "model/RecoverySlot.h"

#include "model/RecoveryStore.h"

RecoverySlot::RecoverySlot(RecoveryStore& store, const QString& slot, Source source, QObject* parent)
    : QObject(parent), m_store(store), m_path(store.newCopyPath(slot)), m_source(std::move(source))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &RecoverySlot::update);
}

RecoverySlot::~RecoverySlot()
{
    if (m_written)
        m_store.remove(m_path);
}

void RecoverySlot::changed()
{
    m_changed = QDateTime::currentDateTimeUtc();
    check();
}

void RecoverySlot::check()
{
    if (m_path.isEmpty())
        return;
    if (!m_source.unsaved()) {
        m_timer.stop();
        if (m_written)
            m_store.remove(m_path);
        m_written = false;
        return;
    }
    // Not restarted by the changes that follow: typing without a pause is copied all the same.
    if (!m_timer.isActive())
        m_timer.start(m_store.delayMs());
}

void RecoverySlot::update()
{
    if (!m_source.unsaved()) {
        check();
        return;
    }
    if (!m_changed.isValid())
        m_changed = QDateTime::currentDateTimeUtc();
    std::function<recovery::Copy()> make = m_source.take();
    m_store.write(m_path, [make = std::move(make), changed = m_changed] {
        recovery::Copy copy = make();
        copy.changed = changed;
        return recovery::encode(copy);
    });
    m_written = true;
}

void RecoverySlot::adopt(const QString& orphanPath, const QDateTime& changed)
{
    if (m_path.isEmpty())
        return;
    m_timer.stop();
    m_store.adopt(orphanPath, m_path);
    m_changed = changed;
    m_written = true;
}
