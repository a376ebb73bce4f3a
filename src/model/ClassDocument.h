#pragma once

#include "model/ClassFile.h"
#include "model/ClassHistory.h"
#include "model/ClassLock.h"
#include "model/ClassTable.h"
#include "model/DiskState.h"
#include "model/HomeworkList.h"
#include "model/SharedCompanion.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class RecoverySlot;
class RecoveryStore;
namespace recovery {
struct Copy;
}

// The plan and the planning a class shares with every other open class, each with its rule of which class it
// belongs to. The frame's tool windows hold them and show them; each class document is handed them.
struct SharedCompanions
{
    SharedCompanion* planning = nullptr;
    SharedCompanion* plan = nullptr;
};

// What the class file and the homework file hold.
struct ClassContents
{
    // The widths a new class gives the names column (grid column 1) and each rubric column.
    static constexpr int NamesWidth = 192;
    static constexpr int RubricWidth = 32;

    ClassTable table;
    // The widths of grid columns 1 to 31; classfile::NoWidth where the file read gave none, the view then keeping
    // its own.
    classfile::Widths widths = noWidths();
    // ListeDevoirs.
    homework::List homework;

    static classfile::Widths noWidths();
    // The widths a save writes: a column the view has never shown keeps the width a new class gives it.
    classfile::Widths widthsToWrite() const;
};

// One class as a document: its contents, its file name and its modified flag, its loading and saving with the
// versions kept, its history of steps, and the save-all step of its companions; its lock, and what it last read or
// wrote of its files, so that no save writes over a change made elsewhere. It never asks or shows anything: its window
// asks, shows, and calls it (the question before writing over a change made elsewhere is the window's, handed over).
// Every change of the class comes through change() or step(), which mark it modified and tell changed().
class ClassDocument : public QObject
{
    Q_OBJECT

public:
    // What the window shows and the contents do not hold yet: the grid page's cells (a mark being typed
    // included) or the card page's fields, and the widths of the grid's columns.
    class View
    {
    public:
        virtual ~View() = default;
        // Stores what the view shows into the contents, leaving the view as it is.
        virtual void storeInto(ClassContents& contents) const = 0;
        // The caption the class is shown under.
        virtual QString caption() const { return QString(); }
    };

    using Edit = std::function<void(ClassContents& contents)>;

    explicit ClassDocument(SharedCompanions companions = {}, QObject* parent = nullptr);
    // The class leaves its plan and planning to no other class.
    ~ClassDocument() override;

    // The window that shows the class; without one, the contents are the whole class.
    void setView(const View* view) { m_view = view; }
    // The window that shows a step taken back or made again.
    void setStepView(ClassStepView* view) { m_stepView = view; }

    const ClassContents& contents() const { return m_contents; }
    const ClassTable& table() const { return m_contents.table; }
    const homework::List& ListeDevoirs() const { return m_contents.homework; }
    // The class file; empty for a class never saved.
    const QString& fileName() const { return m_fileName; }
    // The class differs from its file: typing not yet a step, or steps since the class was saved or loaded, or a
    // change that is no step.
    bool isModified() const { return m_modified; }
    // true: a change that is no step, which no undo takes back; false: the class is the one saved.
    void setModified(bool modified);

    // Every change of the class: the edit changes the contents (none for typing the view holds until it is settled
    // into a step, such as a mark being typed), then the class is modified and changed() told. An edit that raises
    // leaves the flag as it was. Inside a step, the edit is part of it; outside, with an edit, it is a change that no
    // undo takes back.
    void change(const Edit& edit = {});
    // One step of the teacher's, taken back and made again whole: the operation changes the contents, the view or
    // both (which the contents take when it is stored, as ever), from what a save would have written before it to
    // what a save writes after it. A step is recorded even
    // when it changed nothing, since the operation counts as a change; one that raises is recorded when it changed
    // something, and the failure goes on. A step inside a step is part of the outer one.
    void step(const QString& text, const ClassPlace& place, const std::function<void()>& operation);
    // A step the view has made already and holds, whose changes it knows (a mark typed, a card field left): the typing
    // is settled into it. Nothing is recorded when nothing changed: the keys typed still count, as a change that no
    // undo takes back.
    void record(const QString& text, const ClassPlace& place, ClassChanges changes);
    // The class's steps. Taking one back or making it again stores the view into the contents first, then shows the
    // contents changed at the step's place.
    ClassHistory& history() { return m_history; }
    const ClassHistory& history() const { return m_history; }
    void undo();
    void redo();
    // What the view took is stored into the contents (EcritGrille, EcritFiche), or a class is filled before it
    // is shown: no change of the class, which was counted when the teacher made it.
    void store(const Edit& edit);
    // The class as a save would store it, the view's part included; the document stays as it is.
    ClassContents currentContents() const;
    ClassTable currentTable() const { return currentContents().table; }

    // Empties the class table and the homework list.
    void Raz();
    // Charge: the file name, then Raz, the homework file, the class file, the planning and the plan. The class is
    // then not modified and loaded() told, even when something could not be read. A class file that exists but
    // cannot be read raises its failure and leaves the class without a name, so that a save asks for one; then
    // the companions' failures are raised together. The class file's bytes may be handed over, read already (as
    // classfile::readFile reads them): the class and what a save checks are then those very bytes.
    void load(const QString& path, const std::optional<QByteArray>& classFileBytes = std::nullopt);
    // The class is to be saved under this name: written there at the next save even when nothing changed. Under
    // another file than its own, the class takes that file's lock (taken by the caller, or none) and leaves its
    // own, and is no longer read-only.
    void rename(const QString& classFile, ClassLock lock = {});
    // Writes the class file whole when the class is modified (an unchanged class is not rewritten), keeping the
    // file replaced as a version; the class is then not modified. Raises "Ne peut créer le fichier" and stays
    // modified when it cannot be written. A file changed elsewhere since the class read or wrote it is written
    // over only when the question answers yes; else nothing is written and the class stays modified, as does a
    // class read-only. Returns, in French, why a version could not be kept (empty when it was).
    QString save();
    // The homework file, the planning and the plan, each attempted whatever became of the one before; their
    // failures are raised together. Nothing for a class read-only.
    void SauveTout();
    // The plan or the planning changed for this class while it has no name: only a save under a name keeps them.
    bool companionsWithoutFile() const;
    void ChargeDevoir();
    void SauveDevoir();

    // --- recovery after a crash (ClassDocumentRecovery.cpp) ---
    // From now on, while the class (or the plan or planning it owns) has changes no file holds, a recovery copy of
    // it is kept in the store; a save removes it, and so does closing the class.
    void keepRecoveryCopies(RecoveryStore& store);
    bool hasUnsavedChanges() const;
    // What the copy of the class is made from, taken now: the class as a save would write it (the view's part
    // included), its homework, file name and caption, and the plan and planning it owns with changes not yet
    // written. The function returned makes the copy, on any thread.
    std::function<recovery::Copy()> takeRecoveryCopy() const;
    // The class as the copy holds it, under its file name, modified; the plan and planning from the copy when it
    // holds them, else from their files. Nothing is written. Raises, once the class is shown, what could not be
    // read.
    void restore(const recovery::Copy& copy);
    // The copy left by a killed run, brought back into this class, becomes its own.
    void adoptRecoveryCopy(const QString& orphanPath, const recovery::Copy& copy);

    // --- the class file as others see it ---------------------------------------------------------------------
    // The lock of the class file, which the opener takes (see ClassLock) and the document releases with itself.
    ClassLock& lock() { return m_lock; }
    const ClassLock& lock() const { return m_lock; }
    // A class opened read-only (open elsewhere, or a kept version): none of its files is ever written; a save goes
    // under another name.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // Asked before a save writes over a file of the class (the class file, its homework, plan or planning) that
    // someone else changed since the class read or wrote it; without it such a file is never written over.
    void setMayReplace(MayReplace mayReplace) { m_mayReplace = std::move(mayReplace); }
    // The class file is no longer what the class last read or wrote of it.
    bool changedOnDisk() const { return m_disk.changedOnDisk(); }
    // Brings the class a class file held (a kept version, or the class file itself, as classfile::readFile read
    // it) into the document in place of its class, its homework staying: the class is then modified and keeps its
    // name, and loaded() is told.
    void takeVersion(const QByteArray& classFileBytes);
    // The class file the companions go with: none for a class read-only, whose companions wait for a save under
    // another name.
    QString companionsClassFile() const { return m_readOnly ? QString() : m_fileName; }

signals:
    // Every change of the class, as change() and step() tell it, a step taken back or made again included.
    void changed();
    void modifiedChanged(bool modified);
    // The contents were read from the files: the view shows them again.
    void loaded();

private:
    // A step taken back (forward false) or made again.
    void applyStep(const ClassPlace& place, const ClassChanges& changes, bool forward);
    void updateModified();
    // Keys typed that no step took (the view settles its typing before a step): a change no undo takes back.
    void keysLeft();

    SharedCompanions m_companions;
    const View* m_view = nullptr;
    ClassStepView* m_stepView = nullptr;
    ClassContents m_contents;
    QString m_fileName;
    bool m_modified = false;
    // The teacher has typed since the last step: the class is modified until the typing is settled.
    bool m_typing = false;
    // Steps open around the operation running: what it changes belongs to the outermost.
    int m_stepDepth = 0;
    ClassHistory m_history;
    RecoverySlot* m_recovery = nullptr;
    ClassLock m_lock;
    bool m_readOnly = false;
    MayReplace m_mayReplace;
    // What the class last read or wrote of its class file and of its homework file, and the homework as it was
    // then, as it is written.
    DiskState m_disk;
    DiskState m_homeworkDisk;
    QByteArray m_homeworkKept;
};
