#pragma once

#include "core/TextFile.h"
#include "model/DiskState.h"

#include <QString>
#include <QStringList>

// The installation's list of appraisal phrases, in the order the teacher entered them, and its file:
// one phrase per line, Windows-1252, each line ended by CR LF.
class PhraseList
{
public:
    // Far more than any list of phrases (500 phrases of two lines take 80 KB); a larger file is refused
    // before it is read.
    static constexpr textfile::Limit FileLimit{1024 * 1024, u"un fichier d'appréciations"};

    const QStringList& phrases() const { return m_phrases; }
    int count() const { return static_cast<int>(m_phrases.size()); }
    bool isModified() const { return m_modified; }

    // A missing file leaves the list as it is; a file that exists replaces it. Either way the list is then
    // unchanged since loading. Raises "Ne peut ouvrir le fichier" when the file exists but cannot be read.
    void load(const QString& fileName);
    // Writes the list only when it changed, replacing the whole file at once; a file changed elsewhere since it
    // was loaded or saved (another instance started in the same folder) only when mayReplace answers yes.
    // Raises "Ne peut créer le fichier" when it cannot be written; the list then still counts as changed, as it
    // does when nothing was written over a change made elsewhere.
    void save(const QString& fileName, const MayReplace& mayReplace = {});

    // The phrases as a recovery copy holds them: changed since the file was read, until written.
    void restore(const QStringList& phrases);

    void append(const QString& phrase);
    void replace(int index, const QString& phrase);
    // Removes the phrase at index, if there is one. On a list that is not empty the list counts as changed
    // even when nothing was removed; an empty list is left alone.
    void remove(int index);

    // A phrase is one line of the file: a line break that reached the edit box (a pasted text) would split
    // it in two at the next start, so each one becomes a blank.
    static QString oneLine(const QString& text);

private:
    QStringList m_phrases;
    bool m_modified = false;
    // What the file held when it was last loaded or saved.
    DiskState m_disk;
};
