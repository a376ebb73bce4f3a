#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

// Where everything of a printed class sheet or student card goes, in device pixels from the top-left
// corner of the printable area, computed from the printer's geometry given as plain numbers.
namespace printlayout {

// The screen resolution taken when none is known: the logical pixels per inch of an ordinary screen.
constexpr int DefaultScreenDpi = 96;

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
    Text() = default;
    Text(int x, int y, QString text, QRect clip = {}) : x(x), y(y), text(std::move(text)), clip(clip) {}

    int x = 0;
    int y = 0; // top of the line
    QString text;
    QRect clip; // the cell the text is cut to, as on screen; null when it is not cut
    bool operator==(const Text&) const = default;
};

struct Page
{
    QList<Text> texts;
    QRect image;     // where the photo is stretched; null when there is none
    int tabStop = 0; // distance between tab stops from the start of a text; 0 leaves it to the printer
    // The width of each text the layout measured, by text: the painter sees from it which texts stay inside
    // their cells without measuring them again.
    QHash<QString, int> widths;
};

using Layout = QList<Page>;
using TextWidth = std::function<int(const QString&)>;

// Printer dots per inch over the screen's pixels per inch (the unit of the grid's column widths).
double ratio(const PrinterGeometry& printer, int screenDpi);
// A screen length in printer pixels, rounded to the nearest, halves to the even neighbour.
int scaled(int screenPixels, double ratio);
// Millimetres from the left and from the top, 5 mm in from the edges; the pixels per millimetre are
// truncated before they are multiplied.
int Mh(const PrinterGeometry& printer, int mm);
int Mv(const PrinterGeometry& printer, int mm);

// The class grid as the sheet needs it: cells by (column, row), all column widths in screen pixels and the
// screen's logical pixels per inch.
struct Sheet
{
    int colCount = 0;
    int rowCount = 0;
    QList<int> colWidths;
    int screenDpi = DefaultScreenDpi;
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
// right-aligned 2 pixels before its right edge; each text cut to its cell. Lines that do not fit on the
// page go on further pages, each beginning with the headings and coefficients rows again. Rubrics that run
// past the right edge go on following pages of the same lines, each beginning with the names column again
// and holding at least one rubric; the pages of one set of lines follow each other, left to right.
// Empty cells are left out.
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
