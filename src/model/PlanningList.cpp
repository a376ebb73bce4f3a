#include "model/PlanningList.h"

#include "core/TextFile.h"

namespace planning {
namespace {

QString yearText(int year)
{
    return QString::number(year);
}

QString projectPrefix(int subject)
{
    return QStringLiteral("PRJ") + QString::number(subject);
}

// The month of a line's fifth character, 0 when it is not a hexadecimal digit.
int monthOf(QChar ch)
{
    const ushort u = ch.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return 0;
}

} // namespace

int daysInMonth(int month, int year)
{
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

QString monthLine(int year, int month, const std::array<QString, Days>& days)
{
    QString line = yearText(year) + QString::number(month, 16).toUpper();
    for (const QString& day : days)
        line += day.isEmpty() ? QChar(u' ') : day.at(0);
    return line;
}

QColor subjectColour(int subject)
{
    static const QColor colours[Subjects] = {
        QColor(0, 128, 0),   QColor(0, 0, 255), QColor(255, 255, 0), QColor(0, 255, 255),
        QColor(0, 128, 128), QColor(255, 0, 0), QColor(255, 0, 255), QColor(0, 255, 0),
    };
    if (subject < 1 || subject > Subjects)
        return Qt::white;
    return colours[subject - 1];
}

QColor dayColour(const QString& cell)
{
    if (cell.isEmpty())
        return Qt::white;
    bool ok = false;
    const int n = cell.toInt(&ok);
    if (!ok)
        return QColor(192, 192, 192);
    return subjectColour(n);
}

QRect daySquare(int col, int row)
{
    return QRect(QPoint(17 * col + 70, 17 * row + 1), QPoint(17 * col + 84, 17 * row + 15));
}

void PlanningList::EcritAn(int year, const YearCells& cells)
{
    const QString y = yearText(year);
    m_lines.removeIf([&](const QString& line) { return line.left(4) == y; });
    for (int m = 1; m <= Months; ++m)
        m_lines << monthLine(year, m, cells[m - 1]);
}

YearCells PlanningList::LitAn(int year) const
{
    YearCells cells;
    const QString y = yearText(year);
    for (const QString& line : m_lines) {
        if (line.left(4) != y || line.size() < 5)
            continue;
        const int month = monthOf(line.at(4));
        if (month < 1 || month > Months)
            continue;
        for (int day = 1; day <= Days; ++day) {
            const qsizetype at = 4 + day;
            // Blanks and control characters are empty days, as is the missing end of a short line.
            const QChar ch = at < line.size() ? line.at(at) : QChar(u' ');
            cells[month - 1][day - 1] = ch.unicode() <= ' ' ? QString() : QString(ch);
        }
    }
    return cells;
}

bool PlanningList::MajPrj(int subject, const QString& given)
{
    // A line break in a name would cut its line in two in the file.
    QString name = given;
    name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString prefix = projectPrefix(subject);
    for (QString& line : m_lines) {
        if (line.left(4) == prefix) {
            line = prefix + name;
            return true;
        }
    }
    m_lines << prefix + name;
    return false;
}

std::optional<QString> PlanningList::projectName(int subject) const
{
    const QString prefix = projectPrefix(subject);
    for (const QString& line : m_lines)
        if (line.left(4) == prefix)
            return line.mid(4);
    return std::nullopt;
}

QByteArray PlanningList::toBytes() const
{
    return textfile::joinLines(m_lines);
}

PlanningList PlanningList::fromBytes(const QByteArray& bytes)
{
    PlanningList list;
    list.m_lines = textfile::splitLines(bytes);
    return list;
}

} // namespace planning
