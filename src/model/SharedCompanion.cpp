#include "model/SharedCompanion.h"

#include "core/FileNames.h"
#include "core/FileWriter.h"
#include "core/TextFile.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>

namespace {

void raise(const std::optional<PlatformError>& failure)
{
    if (failure)
        throw *failure;
}

} // namespace

SharedCompanion::SharedCompanion(const QString& extension, CompanionDocument& document, Rules rules, QObject* parent)
    : QObject(parent), m_extension(extension), m_document(document), m_rules(rules)
{
}

QString SharedCompanion::companionOf(const QString& classFile) const
{
    return classFile.isEmpty() ? QString() : filenames::companionOnDisk(classFile, m_extension);
}

void SharedCompanion::remember(ClassKey cls, const QString& classFile)
{
    if (cls)
        m_classes.insert(cls, companionOf(classFile));
}

SharedCompanion::ClassKey SharedCompanion::otherWindowOf(ClassKey cls, const QString& file) const
{
    for (auto it = m_classes.cbegin(); it != m_classes.cend(); ++it)
        if (it.key() != cls && filenames::sameFile(it.value(), file))
            return it.key();
    return nullptr;
}

void SharedCompanion::follow(ClassKey cls, const QString& file)
{
    if (!cls || file.isEmpty())
        return;
    const auto moved = [&](Owner& owner) {
        if (owner.cls != cls || filenames::sameFile(owner.file, file))
            return false;
        // The class is still open under its old name in another window, which keeps it.
        if (ClassKey other = otherWindowOf(cls, owner.file)) {
            owner.cls = other;
            return false;
        }
        owner.file = file;
        return true;
    };
    // Like the class file, the document is written under the new name even when nothing changed.
    if (moved(m_owner))
        m_document.setModified(true);
    for (Waiting& waiting : m_waiting)
        moved(waiting.owner);
}

bool SharedCompanion::writeOver(const QString& file, const QByteArray& bytes, const MayReplace& mayReplace)
{
    const QString key = filenames::canonicalPath(file);
    if (const auto known = m_disk.constFind(key); known != m_disk.cend() && !mayWriteOver(*known, mayReplace))
        return false;
    textfile::writeBytes(file, bytes);
    m_disk.insert(key, DiskState::of(file, bytes));
    return true;
}

void SharedCompanion::displace(std::optional<PlatformError>& failure, bool mayWrite, const MayReplace& mayReplace)
{
    if (!m_document.modified() || m_owner.isNobody())
        return;
    const QByteArray bytes = m_document.toBytes();
    if (!mayWrite) {
        // They wait for their class's next save.
    } else if (filewriter::isUnreadable(m_owner.file)) {
        // Changes made where the file could not be read are never written over it: they wait, and the
        // teacher is told that they could not be written.
        if (!failure)
            failure = PlatformError::cannotCreate(m_owner.file);
    } else if (!m_owner.file.isEmpty()) {
        try {
            if (writeOver(m_owner.file, bytes, mayReplace)) {
                m_document.setModified(false);
                return;
            }
        } catch (const PlatformError& error) {
            if (!failure)
                failure = error;
        }
    }
    m_waiting.append({m_owner, bytes});
}

bool SharedCompanion::bringBack(ClassKey cls, const QString& file, std::optional<PlatformError>& failure, bool mayWrite,
                                const MayReplace& mayReplace)
{
    for (qsizetype i = 0; i < m_waiting.size(); ++i) {
        const Owner& owner = m_waiting.at(i).owner;
        if (!(cls && owner.cls == cls) && !filenames::sameFile(owner.file, file))
            continue;
        const Waiting back = m_waiting.takeAt(i);
        displace(failure, mayWrite, mayReplace);
        m_document.load(back.bytes);
        m_document.setModified(true);
        m_owner = {cls ? cls : back.owner.cls, file.isEmpty() ? back.owner.file : file};
        return true;
    }
    return false;
}

void SharedCompanion::load(ClassKey cls, const QString& classFile, const MayReplace& mayReplace, bool readOnly)
{
    take(cls, classFile, !readOnly, mayReplace, readOnly);
}

void SharedCompanion::take(ClassKey cls, const QString& classFile, bool mayWrite, const MayReplace& mayReplace,
                           bool readOnly)
{
    const auto tell = qScopeGuard([this] { emit changed(); });
    remember(cls, readOnly ? QString() : classFile);
    const QString file = companionOf(classFile);
    if (file.isEmpty())
        return;
    // The file the class's document is written to: none for a class read-only.
    const QString owned = readOnly ? QString() : file;
    std::optional<PlatformError> failure;
    // Changes of this class that could not be written are newer than its file.
    if (!readOnly && bringBack(cls, file, failure, mayWrite, mayReplace))
        return raise(failure);
    // The class's own file, or the file an older version named for it, which is only ever read.
    QString source = filenames::companionToRead(classFile, m_extension);
    if (!QFileInfo::exists(source)) {
        m_disk.insert(filenames::canonicalPath(file), DiskState::of(file));
        // The document held stays shown; it becomes this class's only when it belongs to nobody.
        if (m_rules.takenByLoading && m_owner.isNobody())
            m_owner = {cls, owned};
        return;
    }
    // The same class loaded again: its changes go to its file first and are read back from there.
    if (mayWrite && filenames::sameFile(m_owner.file, file) && m_document.modified() &&
        !filewriter::isUnreadable(file)) {
        try {
            // Not over a change made elsewhere without a yes: they stay held, newer than the file.
            if (!writeOver(file, m_document.toBytes(), mayReplace)) {
                if (cls)
                    m_owner.cls = cls;
                return;
            }
            m_document.setModified(false);
            source = file;
        } catch (const PlatformError&) {
            // They stay held, newer than the file.
            if (cls)
                m_owner.cls = cls;
            throw;
        }
    }
    QByteArray bytes;
    try {
        bytes = textfile::readBytes(source, m_rules.limit);
    } catch (const PlatformError&) {
        // The reader has banned the file from being written over.
        if (m_rules.unreadableGivesEmpty) {
            displace(failure, mayWrite, mayReplace);
            m_document.reset();
            m_owner = {cls, owned};
        }
        throw;
    }
    m_disk.insert(filenames::canonicalPath(file), source == file ? DiskState::of(file, bytes) : DiskState::of(file));
    displace(failure, mayWrite, mayReplace);
    m_document.load(bytes);
    m_owner = {cls, owned};
    raise(failure);
}

void SharedCompanion::restore(ClassKey cls, const QString& classFile, const std::optional<QByteArray>& changes)
{
    if (!changes)
        return take(cls, classFile, false, {}, false);
    const auto tell = qScopeGuard([this] { emit changed(); });
    remember(cls, classFile);
    std::optional<PlatformError> none;
    displace(none, false, {});
    m_document.load(*changes);
    m_document.setModified(true);
    m_owner = {cls, companionOf(classFile)};
}

bool SharedCompanion::holdsChangesOf(ClassKey cls) const
{
    if (!cls)
        return false;
    if (m_document.modified() && (m_owner.cls == cls || (m_owner.isNobody() && m_showing == cls)))
        return true;
    return std::any_of(m_waiting.cbegin(), m_waiting.cend(), [cls](const Waiting& w) { return w.owner.cls == cls; });
}

std::optional<QByteArray> SharedCompanion::changesOf(ClassKey cls) const
{
    if (!holdsChangesOf(cls))
        return std::nullopt;
    if (m_document.modified() && (m_owner.cls == cls || (m_owner.isNobody() && m_showing == cls)))
        return m_document.toBytes();
    // The latest of them.
    for (auto it = m_waiting.crbegin(); it != m_waiting.crend(); ++it)
        if (it->owner.cls == cls)
            return it->bytes;
    return std::nullopt;
}

void SharedCompanion::save(ClassKey cls, const QString& classFile, const MayReplace& mayReplace)
{
    const auto tell = qScopeGuard([this] { emit changed(); });
    m_document.settle();
    const QString file = companionOf(classFile);
    follow(cls, file);
    remember(cls, classFile);
    if (file.isEmpty())
        return;
    // A file that could not be read is never written over: changes for it are reported instead.
    if (filewriter::isUnreadable(file)) {
        const bool waiting = std::any_of(m_waiting.cbegin(), m_waiting.cend(),
                                         [&file](const Waiting& w) { return filenames::sameFile(w.owner.file, file); });
        if (waiting || (filenames::sameFile(m_owner.file, file) && m_document.modified()))
            throw PlatformError::cannotCreate(file);
        return;
    }
    std::optional<PlatformError> failure;
    for (qsizetype i = 0; i < m_waiting.size();) {
        if (!filenames::sameFile(m_waiting.at(i).owner.file, file)) {
            ++i;
            continue;
        }
        try {
            if (writeOver(file, m_waiting.at(i).bytes, mayReplace))
                m_waiting.removeAt(i);
            else
                ++i;
        } catch (const PlatformError& error) {
            if (!failure)
                failure = error;
            ++i;
        }
    }
    if (m_owner.isNobody() && m_document.modified())
        m_owner = {cls, file};
    if (filenames::sameFile(m_owner.file, file) && m_document.modified()) {
        // A failure leaves the document modified, so that the next save tries again.
        try {
            if (writeOver(file, m_document.toBytes(), mayReplace))
                m_document.setModified(false);
        } catch (const PlatformError& error) {
            if (!failure)
                failure = error;
        }
    }
    raise(failure);
}

void SharedCompanion::showing(ClassKey cls, const QString& classFile)
{
    const auto tell = qScopeGuard([this] { emit changed(); });
    remember(cls, classFile);
    std::optional<PlatformError> failure;
    // With nothing else to show, the changes that wait for this class come back.
    if (m_owner.isNobody())
        bringBack(cls, companionOf(classFile), failure, true, {});
    raise(failure);
    // Shown now: what is changed there while it belongs to nobody is that class's.
    m_showing = cls;
}

void SharedCompanion::shown(ClassKey cls, const QString& classFile)
{
    remember(cls, classFile);
    m_showing = nullptr;
    // A document that belonged to nobody and was changed there is that class's from now on.
    if (m_owner.isNobody() && m_document.modified())
        m_owner = {cls, companionOf(classFile)};
}

bool SharedCompanion::changesWithoutFile(ClassKey cls) const
{
    if (!cls)
        return false;
    if (m_owner.cls == cls && m_owner.file.isEmpty() && m_document.modified())
        return true;
    return std::any_of(m_waiting.cbegin(), m_waiting.cend(),
                       [cls](const Waiting& w) { return w.owner.cls == cls && w.owner.file.isEmpty(); });
}

void SharedCompanion::closed(ClassKey cls)
{
    if (!cls)
        return;
    const auto tell = qScopeGuard([this] { emit changed(); });
    m_classes.remove(cls);
    if (m_showing == cls)
        m_showing = nullptr;
    if (m_owner.cls == cls) {
        if (ClassKey other = otherWindowOf(cls, m_owner.file)) {
            m_owner.cls = other;
        } else {
            if (m_document.modified() && !m_owner.file.isEmpty())
                m_waiting.append({{nullptr, m_owner.file}, m_document.toBytes()});
            m_document.reset();
            m_owner = {};
        }
    }
    for (qsizetype i = m_waiting.size(); i-- > 0;) {
        Owner& owner = m_waiting[i].owner;
        if (owner.cls != cls)
            continue;
        owner.cls = otherWindowOf(cls, owner.file);
        // A class never saved takes its changes with it.
        if (owner.isNobody())
            m_waiting.removeAt(i);
    }
}
