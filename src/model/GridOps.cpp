#include "model/GridOps.h"

#include "core/Cp1252.h"

#include <algorithm>

namespace gridops {

QByteArray sortKey(const QString& surname)
{
    QByteArray key;
    key.reserve(surname.size());
    for (QChar ch : surname) {
        unsigned char byte = cp1252::byteOf(ch);
        if (byte >= 'a' && byte <= 'z')
            byte = static_cast<unsigned char>(byte - 'a' + 'A');
        key.append(static_cast<char>(byte));
    }
    return key;
}

int compareKeys(const QByteArray& a, const QByteArray& b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

int lastNamedStudent(const ClassTable& table)
{
    for (int n = 62; n >= 1; --n)
        if (!table.at(n, ClassTable::Surname).isEmpty())
            return n;
    return 0;
}

void sortStudents(ClassTable& table)
{
    const int last = lastNamedStudent(table);
    for (int i = 1; i < last; ++i)
        for (int k = i + 1; k <= last; ++k)
            if (compareKeys(sortKey(table.at(i, ClassTable::Surname)), sortKey(table.at(k, ClassTable::Surname))) > 0)
                table.swapRows(i, k);
}

void deleteStudent(ClassTable& table, int student)
{
    if (student < 1 || student > 62)
        return;
    for (int s = student; s <= 63; ++s)
        table.copyRow(s + 1, s);
}

int fittedWidth(int currentWidth, int headingTextWidth)
{
    const int wanted = std::max(headingTextWidth + 4, 40);
    return std::max(currentWidth, wanted);
}

QStringList copyCells(const CellReader& cell, const Range& range)
{
    QStringList items;
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c)
            items << cell(c, r);
        items << RowEnd;
    }
    return items;
}

int pasteCells(const CellWriter& setCell, int colCount, int rowCount, int startCol, int startRow,
               const QStringList& items)
{
    int col = startCol, row = startRow, written = 0;
    for (const QString& item : items) {
        if (item == RowEnd) {
            ++row;
            col = startCol;
            continue;
        }
        if (col > colCount - 1 || row > rowCount - 1)
            break;
        setCell(col, row, item);
        ++written;
        ++col;
    }
    return written;
}

int pasteCard(QStringList& cardTexts, const QStringList& items)
{
    const int count = static_cast<int>(std::min<qsizetype>({items.size(), cardTexts.size(), CardItemCount}));
    for (int i = 0; i < count; ++i)
        cardTexts[i] = items[i];
    return count;
}

} // namespace gridops
