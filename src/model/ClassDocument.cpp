#include "model/ClassDocument.h"

#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/EarlierVersions.h"
#include "model/RecoverySlot.h"

#include <QFileInfo>
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

ClassDocument::ClassDocument(SharedCompanions companions, QObject* parent) : QObject(parent), m_companions(companions)
{
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

void ClassDocument::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void ClassDocument::change(const Edit& edit)
{
    if (edit)
        edit(m_contents);
    setModified(true);
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

void ClassDocument::load(const QString& path)
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
        bytes = classfile::readFile(m_fileName);
    } catch (const PlatformError& error) {
        if (QFileInfo::exists(m_fileName))
            classFailure = error;
    }
    m_contents.widths = classfile::read(bytes, m_contents.table);

    companionFailures.attempt([this] {
        if (m_companions.planning)
            m_companions.planning->load(this, m_fileName);
    });
    companionFailures.attempt([this] {
        if (m_companions.plan)
            m_companions.plan->load(this, m_fileName);
    });
    setModified(false);
    if (classFailure)
        m_fileName.clear();
    emit loaded();
    if (classFailure)
        throw *classFailure;
    companionFailures.raise();
}

void ClassDocument::rename(const QString& classFile)
{
    m_fileName = classFile;
    setModified(true);
}

QString ClassDocument::save()
{
    if (!m_modified)
        return {};
    if (m_view)
        m_view->storeInto(m_contents);
    // Written whole through a temporary file: a failure raises "Ne peut créer le fichier", keeps the old file as it
    // was and leaves the class modified. The file replaced is kept as a version.
    const QString versionFailure =
        versions::writeKeeping(m_fileName, classfile::write(m_contents.table, m_contents.widthsToWrite()));
    setModified(false);
    return versionFailure;
}

void ClassDocument::SauveTout()
{
    FailureList failures;
    failures.attempt([this] { SauveDevoir(); });
    failures.attempt([this] {
        if (m_companions.planning)
            m_companions.planning->save(this, m_fileName);
    });
    failures.attempt([this] {
        if (m_companions.plan)
            m_companions.plan->save(this, m_fileName);
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
}

void ClassDocument::SauveDevoir()
{
    const QString name = homework::fileName(m_fileName);
    if (name.isEmpty() || !homework::needsFile(m_contents.homework))
        return;
    // Raises "Ne peut créer le fichier" (a folder that cannot be written, a full disk): the file is written whole
    // or not at all, and the list stays as it is, to be written by the next save.
    textfile::writeBytes(name, homework::write(m_contents.homework));
}
