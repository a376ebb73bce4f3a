#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "model/ClassDocument.h"
#include "model/RecoveryCopy.h"
#include "model/RecoverySlot.h"

// The class document's part in the recovery after a crash: the copy it keeps, and the class brought back from one.

void ClassDocument::keepRecoveryCopies(RecoveryStore& store)
{
    delete m_recovery;
    m_recovery =
        new RecoverySlot(store, QStringLiteral("classe"),
                         {[this] { return hasUnsavedChanges(); }, [this] { return takeRecoveryCopy(); }}, this);
    connect(this, &ClassDocument::changed, m_recovery, &RecoverySlot::changed);
    connect(this, &ClassDocument::modifiedChanged, m_recovery, &RecoverySlot::check);
    for (SharedCompanion* companion : {m_companions.planning, m_companions.plan}) {
        if (!companion)
            continue;
        // Loaded, saved or handed to another class: what this class owns may have changed.
        connect(companion, &SharedCompanion::changed, m_recovery, &RecoverySlot::check);
        connect(companion, &SharedCompanion::edited, m_recovery, [this, companion] {
            if (companion->holdsChangesOf(this))
                m_recovery->changed();
        });
    }
}

bool ClassDocument::hasUnsavedChanges() const
{
    return m_modified || (m_companions.planning && m_companions.planning->holdsChangesOf(this)) ||
           (m_companions.plan && m_companions.plan->holdsChangesOf(this));
}

std::function<recovery::Copy()> ClassDocument::takeRecoveryCopy() const
{
    recovery::Copy taken;
    taken.kind = recovery::Kind::Class;
    taken.fileName = m_fileName;
    taken.caption = m_view ? m_view->caption() : QString();
    // A class read-only never writes its file: it comes back as a copy never saved.
    if (m_readOnly) {
        taken.caption = QStringLiteral("Copie de ") + filenames::lastComponent(m_fileName);
        taken.fileName.clear();
    }
    if (m_companions.planning)
        taken.planning = m_companions.planning->changesOf(this);
    if (m_companions.plan)
        taken.plan = m_companions.plan->changesOf(this);
    // The texts are shared with the class, not copied; the file is made from them later.
    return [taken, contents = currentContents()] {
        recovery::Copy copy = taken;
        copy.classFile = classfile::write(contents.table, contents.widthsToWrite());
        copy.homework = homework::write(contents.homework);
        return copy;
    };
}

void ClassDocument::restore(const recovery::Copy& copy)
{
    m_fileName = copy.fileName;
    Raz();
    m_contents.homework = homework::read(copy.homework);
    m_contents.widths = classfile::read(copy.classFile, m_contents.table);
    // The files as they are now are what the class replaces at its next save.
    m_disk = m_fileName.isEmpty() ? DiskState() : DiskState::of(m_fileName);
    const QString homeworkFile = homework::fileName(m_fileName);
    m_homeworkDisk = homeworkFile.isEmpty() ? DiskState() : DiskState::of(homeworkFile);
    FailureList failures;
    failures.attempt([&] {
        if (m_companions.planning)
            m_companions.planning->restore(this, m_fileName, copy.planning);
    });
    failures.attempt([&] {
        if (m_companions.plan)
            m_companions.plan->restore(this, m_fileName, copy.plan);
    });
    m_history.clear();
    setModified(true);
    emit loaded();
    failures.raise();
}

void ClassDocument::adoptRecoveryCopy(const QString& orphanPath, const recovery::Copy& copy)
{
    if (m_recovery)
        m_recovery->adopt(orphanPath, copy.changed);
}
