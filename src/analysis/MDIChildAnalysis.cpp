#include "classbook/MDIChild.h"

#include "analysis/Averages.h"
#include "analysis/Rub.h"
#include "app/ToolWindows.h"
#include "common/Seams.h"
#include "common/StringGrid.h"
#include "tools/Texte.h"

// Rubrics, averages and the two charts of a class window.

void TMDIChild::Rubriques()
{
    if (isCardPage())
        return;
    // A mark still being typed belongs to the grid before the grid is copied into the class table.
    StringGrid1->commitEdit();
    TRub* rub = tools().Rub;
    rub->Init(*StringGrid1);
    // No cancel path: however the dialog is closed, what it shows becomes the class's rubrics.
    seams().execModal(rub);
    rub->Result(*StringGrid1);
    EcritGrille();
    setModified(true);
}

void TMDIChild::Moyennes()
{
    if (isCardPage())
        return;
    // The report reads the grid as the user sees it, a cell being typed into included.
    StringGrid1->commitEdit();
    const StringGrid::Range selection = StringGrid1->selection();
    averages::ReportInput input;
    input.fileName = fileName();
    input.today = seams().now().date();
    input.selection = {selection.top, selection.bottom, selection.left, selection.right};
    input.rowCount = StringGrid1->rowCount();
    input.colCount = StringGrid1->colCount();
    const QStringList lines =
        averages::report([grid = StringGrid1](int col, int row) { return grid->cell(col, row); }, input);
    TTexte* texte = tools().Texte;
    texte->Init();
    for (const QString& line : lines)
        texte->Ajout(line);
    seams().execModal(texte);
}

void TMDIChild::Graphique() {}

void TMDIChild::Suivi() {}
