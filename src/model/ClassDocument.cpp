#include "model/ClassDocument.h"

#include "core/FileNames.h"
#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/EarlierVersions.h"
#include "model/RecoverySlot.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <optional>

classfile::Widths ClassContents::noWidths()
{
    classfile::Widths widths;
    widths.fill(classfile::NoWidth);
    return widths;
}

classfile::Widths ClassContents::widthsToWrite() const
{
    classfile::Widths out = widths;
    for (int c = 1; c <= classfile::WidthCount; ++c)
        if (out[c - 1] == classfile::NoWidth)
            out[c - 1] = c == 1 ? NamesWidth : RubricWidth;
    return out;
}

ClassDocument::ClassDocument(SharedCompanions companions, QObject* parent)
    : QObject(parent), m_companions(companions), m_history([this](const ClassPlace& place, const ClassChanges& changes,
                                                                  bool forward) { applyStep(place, changes, forward); })
{
    connect(&m_history, &ClassHistory::changed, this, &ClassDocument::updateModified);
}

ClassDocument::~ClassDocument()
{
    // Closed, the class keeps no recovery copy.
    delete m_recovery;
    if (m_companions.planning)
        m_companions.planning->closed(this);
    if (m_companions.plan)
        m_companions.plan->closed(this);
}

void ClassDocument::updateModified()
{
    const bool modified = m_typing || !m_history.isClean();
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void ClassDocument::setModified(bool modified)
{
    m_typing = false;
    if (modified)
        m_history.resetClean();
    else
        m_history.setClean();
    updateModified();
}

void ClassDocument::change(const Edit& edit)
{
    if (edit)
        edit(m_contents);
    if (m_stepDepth == 0) {
        if (edit)
            m_history.resetClean();
        else
            m_typing = true;
        updateModified();
    }
    emit changed();
}

void ClassDocument::step(const QString& text, const ClassPlace& place, const std::function<void()>& operation)
{
    if (m_stepDepth > 0) {
        operation();
        return;
    }
    keysLeft();
    const ClassContents before = currentContents();
    ++m_stepDepth;
    const auto recordStep = [&](bool always) {
        --m_stepDepth;
        ClassChanges changes = ClassChanges::between(before, currentContents());
        if (!always && changes.isEmpty())
            return;
        m_history.push(text, place, std::move(changes));
        m_typing = false;
        updateModified();
        emit changed();
    };
    try {
        operation();
    } catch (...) {
        recordStep(false);
        throw;
    }
    recordStep(true);
}

void ClassDocument::record(const QString& text, const ClassPlace& place, ClassChanges changes)
{
    if (m_stepDepth > 0)
        return;
    if (changes.isEmpty()) {
        // Keys typed that left the text as it was still count as a change, one that no undo takes back.
        keysLeft();
        return;
    }
    m_history.push(text, place, std::move(changes));
    m_typing = false;
    updateModified();
    emit changed();
}

void ClassDocument::keysLeft()
{
    if (!m_typing)
        return;
    m_typing = false;
    m_history.resetClean();
    updateModified();
}

void ClassDocument::undo()
{
    keysLeft();
    m_history.undo();
}

void ClassDocument::redo()
{
    keysLeft();
    m_history.redo();
}

void ClassDocument::applyStep(const ClassPlace& place, const ClassChanges& changes, bool forward)
{
    // What the view holds goes into the contents first, so that the step finds them whole.
    if (m_view)
        m_view->storeInto(m_contents);
    changes.apply(m_contents, forward);
    m_typing = false;
    if (m_stepView)
        m_stepView->showStep(place, changes);
    emit changed();
}

void ClassDocument::store(const Edit& edit)
{
    edit(m_contents);
}

ClassContents ClassDocument::currentContents() const
{
    ClassContents contents = m_contents;
    if (m_view)
        m_view->storeInto(contents);
    return contents;
}

void ClassDocument::Raz()
{
    m_contents.table.clear();
    for (QString& entry : m_contents.homework)
        entry.clear();
}

void ClassDocument::load(const QString& path, const std::optional<QByteArray>& classFileBytes)
{
    m_fileName = path;
    Raz();

    // A companion file that exists but cannot be read must not leave the class unread, so that a later save would
    // write the class shown over the class file: the class is read all the same, and the companions' failures are
    // raised once it is shown.
    FailureList companionFailures;
    companionFailures.attempt([this] { ChargeDevoir(); });

    // A class file that does not exist loads as an empty class, without a word; the file name stays, so that a
    // later save creates the file there. One that exists but cannot be read (no right to read it, a folder or a
    // pipe of that name, a file far larger than any class) must never be replaced by the empty class shown
    // instead: it is raised, and the class forgets the name so that a save asks for another one.
    QByteArray bytes;
    std::optional<PlatformError> classFailure;
    try {
        bytes = classFileBytes ? *classFileBytes : classfile::readFile(m_fileName);
        // Hashed aside while the class is built and shown; a save waits for the hash.
        m_disk = DiskState::ofAside(m_fileName, bytes);
    } catch (const PlatformError& error) {
        if (QFileInfo::exists(m_fileName))
            classFailure = error;
        else
            m_disk = DiskState::of(m_fileName);
    }
    m_contents.widths = classfile::read(bytes, m_contents.table);

    companionFailures.attempt([this] {
        if (m_companions.planning)
            m_companions.planning->load(this, m_fileName, m_mayReplace, m_readOnly);
    });
    companionFailures.attempt([this] {
        if (m_companions.plan)
            m_companions.plan->load(this, m_fileName, m_mayReplace, m_readOnly);
    });
    m_history.clear();
    setModified(false);
    if (classFailure) {
        m_fileName.clear();
        m_disk = {};
        m_lock.release();
    }
    emit loaded();
    if (classFailure)
        throw *classFailure;
    companionFailures.raise();
}

void ClassDocument::rename(const QString& classFile, ClassLock lock)
{
    if (!filenames::sameFile(classFile, m_fileName)) {
        // Another file: the save dialog chose it, and nothing of it was read.
        m_lock = std::move(lock);
        m_readOnly = false;
        m_disk = {};
        m_homeworkDisk = {};
    }
    m_fileName = classFile;
    setModified(true);
}

QString ClassDocument::save()
{
    if (!m_modified || m_readOnly || !mayWriteOver(m_disk, m_mayReplace))
        return {};
    if (m_view)
        m_view->storeInto(m_contents);
    // Written whole through a temporary file: a failure raises "Ne peut créer le fichier", keeps the old file as it
    // was and leaves the class modified. The file replaced is kept as a version.
    const QByteArray bytes = classfile::write(m_contents.table, m_contents.widthsToWrite());
    const QString versionFailure = versions::writeKeeping(m_fileName, bytes);
    m_disk = DiskState::of(m_fileName, bytes);
    setModified(false);
    return versionFailure;
}

void ClassDocument::SauveTout()
{
    if (m_readOnly)
        return;
    FailureList failures;
    failures.attempt([this] { SauveDevoir(); });
    failures.attempt([this] {
        if (m_companions.planning)
            m_companions.planning->save(this, m_fileName, m_mayReplace);
    });
    failures.attempt([this] {
        if (m_companions.plan)
            m_companions.plan->save(this, m_fileName, m_mayReplace);
    });
    failures.raise();
}

bool ClassDocument::companionsWithoutFile() const
{
    return (m_companions.plan && m_companions.plan->changesWithoutFile(this)) ||
           (m_companions.planning && m_companions.planning->changesWithoutFile(this));
}

void ClassDocument::ChargeDevoir()
{
    // No homework file is normal: the list stays empty. One that exists but cannot be read (no right to read it, a
    // folder or a pipe of that name) is raised, and is never written over during the run. A file named as older
    // versions named it is read when the class has none of its own; the next save writes the class's own.
    if (const std::optional<QByteArray> bytes =
            textfile::readIfPresent(homework::fileToRead(m_fileName), homework::FileLimit))
        m_contents.homework = homework::read(*bytes);
    // The file the next save writes, as it is now (the file read, or none where an older name was read).
    if (const QString name = homework::fileName(m_fileName); !name.isEmpty()) {
        m_homeworkDisk = DiskState::of(name);
        m_homeworkKept = homework::write(m_contents.homework);
    }
}

void ClassDocument::SauveDevoir()
{
    const QString name = homework::fileName(m_fileName);
    if (name.isEmpty() || !homework::needsFile(m_contents.homework))
        return;
    const QByteArray bytes = homework::write(m_contents.homework);
    // Changed elsewhere while this class changed nothing of it: what is there stays, unasked.
    if (m_homeworkDisk.changedOnDisk() && (bytes == m_homeworkKept || !mayWriteOver(m_homeworkDisk, m_mayReplace)))
        return;
    // Raises "Ne peut créer le fichier" (a folder that cannot be written, a full disk): the file is written whole
    // or not at all, and the list stays as it is, to be written by the next save.
    textfile::writeBytes(name, bytes);
    m_homeworkDisk = DiskState::of(name, bytes);
    m_homeworkKept = bytes;
}

void ClassDocument::takeVersion(const QByteArray& classFileBytes)
{
    ClassTable table;
    const classfile::Widths widths = classfile::read(classFileBytes, table);
    change([&](ClassContents& contents) {
        contents.table = std::move(table);
        // A column the file gives no width keeps the one it has.
        for (int c = 0; c < classfile::WidthCount; ++c)
            if (widths[c] != classfile::NoWidth)
                contents.widths[c] = widths[c];
    });
    emit loaded();
}
