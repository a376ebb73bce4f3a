#include "classbook/MDIChild.h"

#include "classbook/SpreadsheetExchange.h"
#include "widgets/StringGrid.h"

// The class to a spreadsheet, and a list of students from one.

ClassTable TMDIChild::currentTable() const
{
    ClassTable table = m_table;
    if (isCardPage())
        cardInto(table);
    else
        gridInto(table);
    return table;
}

void TMDIChild::Exporter()
{
    // A mark still being typed is part of the class the teacher sees.
    finishCellEdit();
    spreadsheetexchange::exportClass(this, currentTable(), m_fileName, windowTitle());
}

void TMDIChild::Importer()
{
    // The list is planned against the class as the teacher sees it.
    finishCellEdit();
    ClassTable filled = currentTable();
    const QList<int> rows = spreadsheetexchange::importList(this, filled);
    if (!rows.isEmpty()) {
        m_table = filled;
        m_modified = true;
        // Only the new names are shown: the marks already there stay exactly as they are in the grid.
        for (int n : rows)
            showName(n);
        if (isCardPage())
            LitFiche();
    }
}
