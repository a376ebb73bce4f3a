#pragma once

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>

// Where everything of a printed class sheet or student card goes, in device pixels from the top-left
// corner of the printable area, computed from the printer's geometry given as plain numbers.
namespace printlayout {

// The grid's column widths were designed on a large-font screen of 120 pixels per inch; the
// class sheet scales them to the printer from that resolution whatever screen the program runs on,
// so a sheet prints the same everywhere.
constexpr int ScreenPixelsPerInch = 120;

struct PrinterGeometry
{
    int pageWidth = 0;  // printable width in device pixels
    int pageHeight = 0; // printable height in device pixels
    int widthMm = 0;    // printable width in millimetres
    int heightMm = 0;   // printable height in millimetres
    int dpiX = 0;       // horizontal dots per inch
};

struct Text
{
    int x = 0;
    int y = 0; // top of the line
    QString text;
    bool operator==(const Text&) const = default;
};

struct Page
{
    QList<Text> texts;
    QRect image;     // where the photo is stretched; null when there is none
    int tabStop = 0; // distance between tab stops from the start of a text; 0 leaves it to the printer
};

using Layout = QList<Page>;
using TextWidth = std::function<int(const QString&)>;

// Printer dots per inch over the screen's pixels per inch.
double ratio(const PrinterGeometry& printer);
// A screen length in printer pixels, rounded to the nearest, halves to the even neighbour.
int scaled(int screenPixels, double ratio);
// Millimetres from the left and from the top, 5 mm in from the edges; the pixels per millimetre are
// truncated before they are multiplied.
int Mh(const PrinterGeometry& printer, int mm);
int Mv(const PrinterGeometry& printer, int mm);

// The class grid as the sheet needs it: cells by (column, row), all column widths.
struct Sheet
{
    int colCount = 0;
    int rowCount = 0;
    QList<int> colWidths;
    std::function<QString(int col, int row)> cell;
};

// The last grid row whose first rubric is filled, 2 when none is.
int lastStudentRow(const Sheet& sheet);
// The last column from 1 whose coefficient row (for column 1 its label) is filled; 0 when none is.
int lastPrintedColumn(const Sheet& sheet);
// Left edges of columns 1 to colCount − 1 and the right edge of the last one: index c holds the left
// edge of column c, index colCount the end of the last column. Index 0 is unused (column 0 never prints).
QList<int> columnEdges(const Sheet& sheet, double ratio);
// The line height of the sheet: 24 screen pixels.
int lineHeight(double ratio);

// Rows 0 to the last student row, one line apart; column 1 left-aligned at its edge, every other column
// right-aligned 2 pixels before its right edge. Lines that do not fit on the page go on further pages,
// each beginning with the headings and coefficients rows again. Empty cells are left out.
Layout sheetLayout(const Sheet& sheet, const PrinterGeometry& printer, const TextWidth& textWidth);

// The card as it is shown: the class file's path, the eleven one-line fields from "Nom" to
// "Métier envisagé" in the card's order, the remarks' lines, and whether a photo is shown.
struct Card
{
    QString fileName;
    QDate today;
    QStringList fields;
    QStringList remarks;
    bool hasPhoto = false;
};

// The labels carry a tab before their value. Tab stops every 35 mm put every value in one column
// after the longest label ("Métier envisagé"), as on the card on screen.
constexpr int CardTabStopMm = 35;

// The header line, the labelled lines, the remarks from 80 mm and the photo's rectangle. Remark lines
// that would run past the bottom (a line of lineHeight pixels from its top) go on further pages, which
// repeat the header line and continue from 20 mm.
Layout cardLayout(const Card& card, const PrinterGeometry& printer, int lineHeight);

// The lines of a remarks text as a memo holds them: split at line ends, without an empty last line.
QStringList memoLines(const QString& text);

} // namespace printlayout
