#include "classbook/MDIChild.h"

#include "classbook/SpreadsheetExchange.h"

// The class to a spreadsheet, and a list of students from one.

void TMDIChild::Exporter()
{
    // A mark still being typed is part of the class the teacher sees.
    finishCellEdit();
    spreadsheetexchange::exportClass(this, currentTable(), fileName(), windowTitle());
}

void TMDIChild::Importer()
{
    // The list is planned against the class as the teacher sees it, typing settled.
    settleTyping();
    storeVisiblePage();
    ClassTable filled = table();
    const QList<int> rows = spreadsheetexchange::importList(this, filled);
    if (!rows.isEmpty()) {
        asStep(QStringLiteral("l'importation"), [&] {
            m_document.change([&filled](ClassContents& contents) { contents.table = std::move(filled); });
            // Only the new names are shown: the marks already there stay exactly as they are in the grid.
            for (int n : rows)
                showName(n);
            if (isCardPage())
                LitFiche();
        });
    }
}
