#include "model/PhraseList.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

void PhraseList::load(const QString& fileName)
{
    // A folder, a pipe or a file without read right of that name is reported, never taken for a missing file.
    if (const std::optional<QByteArray> bytes = textfile::readIfPresent(fileName, FileLimit))
        m_phrases = textfile::splitLines(*bytes);
    m_disk = DiskState::of(fileName);
    m_modified = false;
}

void PhraseList::save(const QString& fileName, const MayReplace& mayReplace)
{
    if (!m_modified || (filenames::sameFile(m_disk.path(), fileName) && !mayWriteOver(m_disk, mayReplace)))
        return;
    const QByteArray bytes = textfile::joinLines(m_phrases);
    textfile::writeBytes(fileName, bytes);
    m_disk = DiskState::of(fileName, bytes);
    m_modified = false;
}

void PhraseList::restore(const QStringList& phrases)
{
    m_phrases.clear();
    for (const QString& phrase : phrases)
        m_phrases << oneLine(phrase);
    m_modified = true;
}

void PhraseList::append(const QString& phrase)
{
    m_phrases << oneLine(phrase);
    m_modified = true;
}

void PhraseList::replace(int index, const QString& phrase)
{
    if (index < 0 || index >= count())
        return;
    m_phrases[index] = oneLine(phrase);
    m_modified = true;
}

void PhraseList::remove(int index)
{
    if (m_phrases.isEmpty())
        return;
    if (index >= 0 && index < count())
        m_phrases.removeAt(index);
    m_modified = true;
}

QString PhraseList::oneLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : line)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return line;
}
