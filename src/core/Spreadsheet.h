#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Sheets of text and number cells, written as an .xlsx workbook or as a CSV file.
namespace spreadsheet {

struct Cell
{
    enum class Kind
    {
        Text,
        Decimal, // a number shown with two decimals
        Whole    // a number shown without decimals
    };
    Kind kind = Kind::Text;
    QString text;
    double number = 0;

    static Cell ofText(const QString& text) { return {Kind::Text, text, 0}; }
    static Cell ofDecimal(double value) { return {Kind::Decimal, {}, value}; }
    static Cell ofWhole(int value) { return {Kind::Whole, {}, double(value)}; }
};

struct Sheet
{
    QString name;
    QList<QList<Cell>> rows;
    // Rows at the top and columns at the left that stay in view while the rest scrolls.
    int frozenRows = 0;
    int frozenCols = 0;
    // Widths of the first columns, in characters; the others keep the spreadsheet's own.
    QList<double> columnWidths;
};

// A name the spreadsheets take for a sheet: none of [ ] : * ? / \, no apostrophe at either end, at most 31
// characters, never empty (the fallback then) nor the word "History" that one of them keeps for itself.
QString sheetName(const QString& wanted, const QString& fallback);

// The .xlsx workbook: each sheet with its cells (a text of several lines wrapped, a longer text than a cell holds
// cut), its frozen panes and its columns' widths, made whole in memory and written once by the file writer, so
// that a failure never leaves a half-written file. Raises "Ne peut créer le fichier" on failure, and for sheets a
// workbook cannot hold: none, a name that sheetName would change or that two sheets share (in any case), more
// rows or columns than a sheet has.
void writeXlsx(const QString& path, const QList<Sheet>& sheets);

// The sheet as CSV (see csv::utf8File): numbers with the decimal comma, two decimals for a Decimal cell; a text
// that would open as a formula is made plain text (see csv::plainText).
QByteArray csvBytes(const Sheet& sheet);

} // namespace spreadsheet
