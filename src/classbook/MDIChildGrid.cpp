#include "classbook/MDIChild.h"

#include "core/FrenchNumbers.h"
#include "widgets/StringGrid.h"

#include <QStackedWidget>

// The grid page: the class grid, its transfers with the class table and the marks typed into it.

namespace {

// Blanks and control characters at both ends, as the number normaliser trims them.
QStringView trimBlanks(const QString& text)
{
    qsizetype start = 0, end = text.size();
    while (start < end && text[start].unicode() <= ' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= ' ')
        --end;
    return QStringView(text).mid(start, end - start);
}

} // namespace

void TMDIChild::buildGridPage()
{
    m_grid = new StringGrid(GridCols, GridRows, 2, 2);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setDefaultColWidth(ClassContents::RubricWidth);
    m_grid->setDefaultRowHeight(24);
    m_grid->setOptions(StringGrid::RangeSelect | StringGrid::Editing | StringGrid::ColSizing | StringGrid::ColMoving |
                       StringGrid::Tabs);
    m_grid->setCp1252Only(true);
    m_grid->setMaxEditLength(classfile::MaxText);
    m_grid->editMask = [](int, int) { return QStringLiteral("00,00"); };
    m_grid->keyPressHook = [this](QChar& key) { StringGrid1KeyPress(key); };
    connect(m_grid, &StringGrid::columnMoved, this, &TMDIChild::StringGrid1ColumnMoved);
    // Deleting or pasting in the cell editor changes the class as typing does; the cell left is one step.
    connect(m_grid, &StringGrid::editorChanged, this, [this] { m_document.change(); });
    connect(m_grid, &StringGrid::cellEdited, this, &TMDIChild::cellTyped);
    connect(m_grid, &StringGrid::editCancelled, this,
            [this](int col, int row) { cellTyped(col, row, m_grid->cell(col, row)); });
    m_notebook->addWidget(m_grid);
}

void TMDIChild::StringGrid1KeyPress(QChar& key)
{
    if (key == QLatin1Char('.'))
        key = QLatin1Char(',');
    m_document.change();
}

void TMDIChild::Edit1KeyPress(QChar&)
{
    m_document.change();
}

void TMDIChild::StringGrid1ColumnMoved(int from, int to)
{
    // The grid moves the column's cells and width; the class table follows at the next EcritGrille. The move is one
    // step, taken from the columns as they were.
    m_grid->moveColumn(to, from);
    asStep(QStringLiteral("le déplacement de la colonne"), [this, from, to] { m_grid->moveColumn(from, to); });
}

void TMDIChild::finishCellEdit()
{
    // A mark being typed belongs to the grid before the whole class is read from it, and must not come back
    // over what a paste wrote into its cell.
    if (m_grid->isEditing())
        m_grid->commitEdit();
}

void TMDIChild::EcritGrille()
{
    // A mark still in the cell editor (a save chosen from the menu while typing) belongs to the class.
    finishCellEdit();
    m_document.store([this](ClassContents& contents) { gridInto(contents.table); });
}

void TMDIChild::gridInto(ClassTable& table) const
{
    for (int r = -1; r <= 62; ++r)
        for (int c = 2; c <= 31; ++c)
            table.at(r, c) = m_grid->shownCell(c, r + 1);
}

void TMDIChild::LitGrille()
{
    for (int r = -1; r <= 62; ++r)
        for (int c = 2; c <= 31; ++c)
            m_grid->setCell(c, r + 1, FormatNbr(table().at(r, c)));
    for (int n = 1; n <= StudentCount; ++n)
        showName(n);
}

void TMDIChild::showName(int n)
{
    m_grid->setCell(1, n + 1,
                    table().at(n, ClassTable::Surname) + QLatin1Char(' ') + table().at(n, ClassTable::FirstName));
}

QString TMDIChild::FormatNbr(const QString& text)
{
    const QStringView number = trimBlanks(text);
    if (number.isEmpty() || number[0].unicode() < '0' || number[0].unicode() > '9')
        return text;
    // A full stop typed for the comma counts as the comma.
    const qsizetype dot = number.indexOf(QLatin1Char('.'));
    QString withComma;
    if (dot >= 0) {
        withComma = number.toString();
        withComma[dot] = QLatin1Char(',');
    }
    const QStringView digits = dot >= 0 ? QStringView(withComma) : number;
    // The marks and coefficients a teacher types take the short way.
    // A mark already in that form (as every class saved holds it) is the class's own text: the grid and the class
    // then hold one copy of it.
    if (QString plain = frnum::plainHash00(digits); !plain.isEmpty())
        return plain == text ? text : plain;
    const QString trimmed = digits.toString();
    if (const auto value = frnum::read(trimmed))
        return frnum::formatHash00(*value);
    return trimmed;
}
