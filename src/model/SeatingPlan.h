#pragma once

#include "core/TextFile.h"
#include "model/CompanionDocument.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>

// One student desk of the classroom: its name and its rectangle in the plan window's client area.
struct Desk
{
    // A desk read from a line that lacks some numbers keeps a label's usual place and size.
    static constexpr int DefaultLeft = 0;
    static constexpr int DefaultTop = 0;
    static constexpr int DefaultWidth = 65;
    static constexpr int DefaultHeight = 17;

    QString name;
    int left = DefaultLeft;
    int top = DefaultTop;
    int width = DefaultWidth;
    int height = DefaultHeight;
    // What followed the name on its line when some of it could not be read: it is written back as it was
    // until the desk is moved or turned.
    QString unreadRest;

    bool operator==(const Desk&) const = default;
};

// The seating plan: the desks in file order (numbered from 1), the selected desk, the drag under way and
// the modified flag. It knows nothing of widgets, so the window only mirrors it.
class SeatingPlan : public CompanionDocument
{
public:
    static constexpr int MaxDesks = 60;
    // Where a desk added by the user appears, and its landscape and portrait sizes.
    static constexpr int NewLeft = 200;
    static constexpr int NewTop = 180;
    static constexpr int LongSide = 100;
    static constexpr int ShortSide = 25;
    // What follows the name on a line is read up to this many characters.
    static constexpr int MaxRest = 255;
    // Far more than a plan of 60 desks (about 2 KB); a larger file is refused before it is read.
    static constexpr textfile::Limit FileLimit{1024 * 1024, u"un plan de classe"};

    const QList<Desk>& desks() const { return m_desks; }
    int count() const { return static_cast<int>(m_desks.size()); }
    // Desk n, 1 to count.
    const Desk& desk(int n) const { return m_desks.at(n - 1); }
    bool isFull() const { return count() >= MaxDesks; }
    int selected() const { return m_selected; }
    bool dragging() const { return m_dragging; }
    QPoint grabOffset() const { return m_grab; }
    bool modified() const override { return m_modified; }
    void setModified(bool modified) override { m_modified = modified; }
    // Lines of the file beyond the 60th desk: never shown, written back after the desks.
    const QStringList& unshownLines() const { return m_unshown; }

    // Adds a desk with the typed name at the usual place; returns its number, or 0 when the plan is full.
    // A comma would end the name when the file is read back and a line break would split the line,
    // so both become blanks.
    int add(const QString& typedName);
    // Forgets every desk, the lines not shown and the selection; the modified flag is left to the caller.
    void clear();
    void reset() override;

    // A mouse button went down on desk n (0: on the empty area) at the given place inside the desk.
    void press(int n, QPoint offset);
    // The mouse, while dragging, is at this place of the client area.
    void dragTo(QPoint clientPos);
    void release();
    void deselect();
    // Both do nothing without a selected desk; they return whether something changed.
    bool removeSelected();
    bool turnSelected();
    // Undo and redo: a desk put back as number n (the later ones move up), desk n taken away, desk n as it was.
    // The plan is modified, and desk n selected when there is one.
    void insertDesk(int n, const Desk& desk);
    void removeDesk(int n);
    void replaceDesk(int n, const Desk& desk);
    // Changes whenever the desks are replaced whole (loaded, started afresh): the steps of the plan held before
    // are meaningless then.
    int generation() const { return m_generation; }

    // The plan file: one line "name,left,top,width,height" per desk, Windows-1252, CR LF.
    QByteArray toBytes() const override;
    // Replaces the desks by those of a plan file; the plan is then not modified and nothing is selected.
    void load(const QByteArray& bytes) override;
    // One line of a plan file read as desk n (n gives the name of a desk without one).
    static Desk parseLine(const QString& line, int n);
    static QString defaultName(int n) { return QStringLiteral("Bureau") + QString::number(n); }

private:
    QList<Desk> m_desks;
    QStringList m_unshown;
    int m_selected = 0;
    bool m_dragging = false;
    QPoint m_grab;
    bool m_modified = false;
    int m_generation = 0;
};
