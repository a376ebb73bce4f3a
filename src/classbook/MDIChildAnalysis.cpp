#include "classbook/MDIChild.h"

#include "analysis/ChartLayout.h"
#include "analysis/Graph.h"
#include "analysis/Graph2.h"
#include "analysis/Rub.h"
#include "model/Averages.h"
#include "tools/Texte.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"

#include <QCoreApplication>

// Rubrics, averages and the two charts of a class window.

void TMDIChild::Rubriques()
{
    if (isCardPage())
        return;
    // A mark still being typed belongs to the grid before the grid is copied into the class table.
    StringGrid1->commitEdit();
    TRub* rub = m_shared.Rub;
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
    TTexte* texte = m_shared.Texte;
    texte->Init();
    for (const QString& line : lines)
        texte->Ajout(line);
    seams().execModal(texte);
}

void TMDIChild::Graphique()
{
    if (isCardPage())
        return;
    StringGrid1->commitEdit();
    const StringGrid::Range selection = StringGrid1->selection();
    // The same rows and the same averages as the report; a student with no counted rubric has no average
    // there and is left out of the chart likewise.
    const QVector<averages::RowAverage> rows =
        averages::selectionAverages([grid = StringGrid1](int col, int row) { return grid->cell(col, row); },
                                    {selection.top, selection.bottom, selection.left, selection.right},
                                    StringGrid1->rowCount(), StringGrid1->colCount());
    QVector<double> values;
    for (const averages::RowAverage& row : rows)
        values.append(row.average);
    TGraph* graph = m_shared.Graph;
    graph->Init(values, int(values.size()));
    seams().execModal(graph);
}

void TMDIChild::Suivi()
{
    if (isCardPage())
        return;
    StringGrid1->commitEdit();
    const StringGrid::Range selection = StringGrid1->selection();
    if (selection.top != selection.bottom) {
        seams().message(this, Seams::MessageKind::Information, QCoreApplication::applicationName(),
                        QStringLiteral("Sélectionnez un seul élève"), {QStringLiteral("OK")}, 0, 0);
        return;
    }
    const int row = selection.top;
    const int firstCol = selection.isSingleCell() ? 2 : selection.left;
    const int lastCol = selection.isSingleCell() ? StringGrid1->colCount() - 1 : selection.right;
    const QVector<charts::Point> points = charts::followUpPoints(
        [grid = StringGrid1](int col, int r) { return grid->cell(col, r); }, row, firstCol, lastCol);
    QVector<double> marks;
    QStringList labels;
    for (const charts::Point& point : points) {
        marks.append(point.mark);
        labels.append(point.label);
    }
    TGraph2* graph = m_shared.Graph2;
    graph->Init(marks, labels, int(points.size()), StringGrid1->cell(1, row));
    seams().execModal(graph);
}
