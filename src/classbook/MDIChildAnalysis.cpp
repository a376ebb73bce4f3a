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
    settleTyping();
    TRub* rub = m_shared.Rub;
    rub->Init(*m_grid);
    // No cancel path: however the dialog is closed, what it shows becomes the class's rubrics, one step even when
    // nothing was touched.
    seams().execModal(rub);
    asStep(QStringLiteral("la définition des rubriques"), [this, rub] {
        rub->Result(*m_grid);
        EcritGrille();
    });
}

void TMDIChild::Moyennes()
{
    if (isCardPage())
        return;
    // The report reads the grid as the user sees it, a cell being typed into included.
    m_grid->commitEdit();
    const StringGrid::Range selection = m_grid->selection();
    averages::ReportInput input;
    input.fileName = fileName();
    input.today = seams().now().date();
    input.selection = {selection.top, selection.bottom, selection.left, selection.right};
    input.rowCount = m_grid->rowCount();
    input.colCount = m_grid->colCount();
    const QStringList lines =
        averages::report([grid = m_grid](int col, int row) { return grid->cell(col, row); }, input);
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
    m_grid->commitEdit();
    const StringGrid::Range selection = m_grid->selection();
    // The same rows and the same averages as the report; a student with no counted rubric has no average
    // there and is left out of the chart likewise.
    const QVector<averages::RowAverage> rows = averages::selectionAverages(
        [grid = m_grid](int col, int row) { return grid->cell(col, row); },
        {selection.top, selection.bottom, selection.left, selection.right}, m_grid->rowCount(), m_grid->colCount());
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
    m_grid->commitEdit();
    const StringGrid::Range selection = m_grid->selection();
    if (selection.top != selection.bottom) {
        seams().message(this, Seams::MessageKind::Information, QCoreApplication::applicationName(),
                        QStringLiteral("Sélectionnez un seul élève"), {QStringLiteral("OK")}, 0, 0);
        return;
    }
    const int row = selection.top;
    const int firstCol = selection.isSingleCell() ? 2 : selection.left;
    const int lastCol = selection.isSingleCell() ? m_grid->colCount() - 1 : selection.right;
    const QVector<charts::Point> points =
        charts::followUpPoints([grid = m_grid](int col, int r) { return grid->cell(col, r); }, row, firstCol, lastCol);
    QVector<double> marks;
    QStringList labels;
    for (const charts::Point& point : points) {
        marks.append(point.mark);
        labels.append(point.label);
    }
    TGraph2* graph = m_shared.Graph2;
    graph->Init(marks, labels, int(points.size()), m_grid->cell(1, row));
    seams().execModal(graph);
}
