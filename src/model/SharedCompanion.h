#pragma once

#include "core/PlatformError.h"
#include "core/TextFile.h"
#include "model/CompanionDocument.h"
#include "model/DiskState.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

// The seating plan and the annual planning are each one document for the whole program, held by one
// window, while several classes may be open. This decides which class the document held belongs to, and
// so which file may receive it:
// - a class loaded with its own file takes the document; the changes of the class that held it before go
//   to that class's file first or, when they cannot be written there (a class never saved, a file that
//   cannot be created), wait for that class's next save;
// - a class's save-all step writes only that class's document to that class's file; a class saved under
//   another name takes its document along;
// - a class closed leaves nothing to the next: what it held goes, unless the same class is still open in
//   another window; changes it could not write wait for it to be loaded again;
// - a file that exists but could not be read is never written over during the run (the file writer's rule);
//   changes made for it stay and are reported at each save;
// - a file changed elsewhere since it was read or written here is written over only when the class's question
//   answers yes; else the changes stay, modified or waiting, for a later save;
// - a class read-only reads its document but never writes it: its changes are those of a class never saved.
// The class documents call it; the window that shows the document follows changed().
class SharedCompanion : public QObject
{
    Q_OBJECT

public:
    // A class (its document), only ever compared; nullptr for a class known only by its file name.
    using ClassKey = const void*;

    struct Rules
    {
        // A class loaded without a file of its own takes a document that belongs to nobody.
        bool takenByLoading = false;
        // A file that exists but cannot be read gives the start-up document; else the document held stays.
        bool unreadableGivesEmpty = false;
        // The largest file read; a larger one counts as one that cannot be read.
        textfile::Limit limit{1024 * 1024, u"un fichier"};
    };

    SharedCompanion(const QString& extension, CompanionDocument& document, Rules rules, QObject* parent = nullptr);

    // Each raises the first failure (PlatformError) once everything it could do is done, and tells changed()
    // first, whether or not it raises. mayReplace is the class's question before a file changed elsewhere is
    // written over; without it such a file is never written over.
    void load(ClassKey cls, const QString& classFile, const MayReplace& mayReplace = {}, bool readOnly = false);
    void save(ClassKey cls, const QString& classFile, const MayReplace& mayReplace = {});
    // Before and after the document is shown for a class, which may change it there.
    void showing(ClassKey cls, const QString& classFile);
    void shown(ClassKey cls, const QString& classFile);
    void closed(ClassKey cls);

    // Changes made for that class while it has no name: only a save under a name keeps them.
    bool changesWithoutFile(ClassKey cls) const;

    // For the recovery copy of a class: whether the document held, or changes waiting, are that class's and not
    // written yet (the document shown for it while it belongs to nobody counts), and those changes as the file
    // would hold them.
    bool holdsChangesOf(ClassKey cls) const;
    std::optional<QByteArray> changesOf(ClassKey cls) const;
    // A class brought back from its recovery copy: with the changes the copy holds, they become the document held,
    // that class's, modified; without, the class loads as load() does. Either way nothing is written: the changes
    // the document held before wait for their class's next save.
    void restore(ClassKey cls, const QString& classFile, const std::optional<QByteArray>& changes);
    // The window showing the document tells each change the teacher makes in it.
    void tellEdited() { emit edited(); }

    // The file the document held belongs to, as derived from its class file name; empty while it belongs
    // to nobody or to a class never saved.
    const QString& ownerFile() const { return m_owner.file; }

signals:
    // The document may have been read, started afresh or brought back: the window showing it shows it again.
    void changed();
    // The teacher changed the document.
    void edited();

private:
    struct Owner
    {
        ClassKey cls = nullptr;
        QString file;
        bool isNobody() const { return !cls && file.isEmpty(); }
    };
    struct Waiting
    {
        Owner owner;
        QByteArray bytes;
    };

    // The file a class's document is written to, as filenames names it; empty for a class never saved.
    QString companionOf(const QString& classFile) const;
    void remember(ClassKey cls, const QString& classFile);
    // Another open window of the class of that companion file (the same class opened twice).
    ClassKey otherWindowOf(ClassKey cls, const QString& file) const;
    // A class saved under a new name: what it owns moves with it.
    void follow(ClassKey cls, const QString& file);
    // load(), and restore() without changes, which writes nothing (mayWrite false).
    void take(ClassKey cls, const QString& classFile, bool mayWrite, const MayReplace& mayReplace, bool readOnly);
    // The document held is about to be replaced: its changes go to their file (when it may write), or wait.
    void displace(std::optional<PlatformError>& failure, bool mayWrite, const MayReplace& mayReplace);
    // Changes waiting for that class (or file) become the document held again.
    bool bringBack(ClassKey cls, const QString& file, std::optional<PlatformError>& failure, bool mayWrite,
                   const MayReplace& mayReplace);
    // Writes the file unless it changed elsewhere since it was read or written here and the answer is no (false);
    // raises the writer's failure.
    bool writeOver(const QString& file, const QByteArray& bytes, const MayReplace& mayReplace);

    QString m_extension;
    CompanionDocument& m_document;
    Rules m_rules;
    Owner m_owner;
    QList<Waiting> m_waiting;
    // The open classes that have been seen, with their companion file.
    QHash<ClassKey, QString> m_classes;
    // The class the document is being shown for.
    ClassKey m_showing = nullptr;
    // What was last read or written of each file, by its canonical path.
    QHash<QString, DiskState> m_disk;
};
