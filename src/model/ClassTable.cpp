#include "model/ClassTable.h"

#include <utility>

void ClassTable::clear()
{
    for (auto& row : m_rows)
        for (auto& slot : row)
            slot.clear();
}

void ClassTable::swapRows(int a, int b)
{
    std::swap(m_rows[a - FirstRow], m_rows[b - FirstRow]);
}

void ClassTable::copyRow(int from, int to)
{
    m_rows[to - FirstRow] = m_rows[from - FirstRow];
}

void ClassTable::clearRow(int row)
{
    for (auto& slot : m_rows[row - FirstRow])
        slot.clear();
}
