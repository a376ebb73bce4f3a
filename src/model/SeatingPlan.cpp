#include "model/SeatingPlan.h"

#include "core/Cp1252.h"
#include "core/TextFile.h"

#include <algorithm>

namespace {

// A whole number as the file writes it: optional minus sign, decimal digits, nothing else.
bool readWhole(const QString& text, int& value)
{
    bool ok = false;
    const int read = text.toInt(&ok, 10);
    if (!ok || text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    value = read;
    return true;
}

} // namespace

int SeatingPlan::add(const QString& typedName)
{
    // The plan has room for 60 desks; the window tells the user before asking for a name.
    if (isFull())
        return 0;
    QString name = typedName;
    for (QChar& c : name)
        if (c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    Desk desk;
    desk.name = name.isEmpty() ? defaultName(count() + 1) : name;
    desk.left = NewLeft;
    desk.top = NewTop;
    desk.width = LongSide;
    desk.height = ShortSide;
    m_desks.append(desk);
    m_modified = true;
    return count();
}

void SeatingPlan::clear()
{
    ++m_generation;
    m_desks.clear();
    m_unshown.clear();
    m_selected = 0;
    m_dragging = false;
}

void SeatingPlan::reset()
{
    clear();
    m_modified = false;
}

void SeatingPlan::press(int n, QPoint offset)
{
    deselect();
    m_dragging = false;
    if (n < 1 || n > count())
        return;
    m_selected = n;
    m_dragging = true;
    m_grab = offset;
    // Even a press without any movement counts as a change of the plan.
    m_modified = true;
}

void SeatingPlan::dragTo(QPoint clientPos)
{
    if (!m_dragging || m_selected < 1 || m_selected > count())
        return;
    Desk& desk = m_desks[m_selected - 1];
    desk.left = clientPos.x() - m_grab.x();
    desk.top = clientPos.y() - m_grab.y();
    desk.unreadRest.clear();
}

void SeatingPlan::release()
{
    m_dragging = false;
}

void SeatingPlan::deselect()
{
    m_selected = 0;
}

bool SeatingPlan::removeSelected()
{
    if (count() < 1 || m_selected < 1 || m_selected > count())
        return false;
    m_desks.removeAt(m_selected - 1);
    m_selected = 0;
    m_dragging = false;
    m_modified = true;
    return true;
}

bool SeatingPlan::turnSelected()
{
    if (count() < 1 || m_selected < 1 || m_selected > count())
        return false;
    Desk& desk = m_desks[m_selected - 1];
    desk.width = desk.width == LongSide ? ShortSide : LongSide;
    desk.height = desk.height == ShortSide ? LongSide : ShortSide;
    desk.unreadRest.clear();
    return true;
}

void SeatingPlan::insertDesk(int n, const Desk& desk)
{
    const int at = std::clamp(n, 1, count() + 1);
    m_desks.insert(at - 1, desk);
    m_selected = at;
    m_dragging = false;
    m_modified = true;
}

void SeatingPlan::removeDesk(int n)
{
    if (n < 1 || n > count())
        return;
    m_desks.removeAt(n - 1);
    m_selected = 0;
    m_dragging = false;
    m_modified = true;
}

void SeatingPlan::replaceDesk(int n, const Desk& desk)
{
    if (n < 1 || n > count())
        return;
    m_desks[n - 1] = desk;
    m_selected = n;
    m_dragging = false;
    m_modified = true;
}

QByteArray SeatingPlan::toBytes() const
{
    QStringList lines;
    for (const Desk& d : m_desks)
        lines << d.name + QLatin1Char(',') +
                     (!d.unreadRest.isEmpty()
                          ? d.unreadRest
                          : QString::number(d.left) + QLatin1Char(',') + QString::number(d.top) + QLatin1Char(',') +
                                QString::number(d.width) + QLatin1Char(',') + QString::number(d.height));
    return textfile::joinLines(lines + m_unshown);
}

void SeatingPlan::load(const QByteArray& bytes)
{
    clear();
    const QStringList lines = textfile::splitLines(bytes);
    // Lines beyond the 60th have no desk to go to: they are kept as they are, for the file.
    for (const QString& line : lines) {
        if (isFull())
            m_unshown << line;
        else
            m_desks.append(parseLine(line, count() + 1));
    }
    m_modified = false;
}

Desk SeatingPlan::parseLine(const QString& line, int n)
{
    Desk desk;
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        desk.name = line.left(comma);
        const QString whole = line.mid(comma + 1);
        QString rest = whole.left(MaxRest);
        // The line says more than the desk holds: a number that does not read, or characters beyond those read.
        bool unread = whole.size() > MaxRest;
        // A number that does not read leaves it and every later one of the line at the label's
        // defaults: the desk keeps what was read before the fault.
        const auto next = [&rest, &unread](int& field) {
            const qsizetype c = rest.indexOf(QLatin1Char(','));
            if (c < 0)
                return false;
            int value = 0;
            if (!readWhole(rest.left(c), value)) {
                unread = true;
                return false;
            }
            field = value;
            rest = rest.mid(c + 1);
            return true;
        };
        if (next(desk.left) && next(desk.top)) {
            const qsizetype c = rest.indexOf(QLatin1Char(','));
            int width = 0;
            int height = 0;
            if (c >= 0 && !readWhole(rest.left(c), width)) {
                unread = true;
            } else if (c >= 0) {
                desk.width = width;
                if (readWhole(rest.mid(c + 1), height))
                    desk.height = height;
                else
                    unread = true;
            }
        }
        if (unread)
            desk.unreadRest = whole;
    }
    if (desk.name.isEmpty())
        desk.name = defaultName(n);
    return desk;
}
