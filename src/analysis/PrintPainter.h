#pragma once

#include "analysis/PrintLayout.h"

#include <QFont>
#include <QImage>
#include <functional>

class QFontMetrics;
class QPainter;
class QPrinter;

// Draws a printed layout on the printer: one document, one printer page per layout page.
namespace printpainter {

// The printer's printable area and resolution as the layouts need them.
printlayout::PrinterGeometry geometry(const QPrinter& printer);
// "Arial" at a size in points, measured on the printer.
QFont printerFont(int points);

// Draws one page with the painter's font: the texts, each cut to its cell when it has one and its ink may reach out
// of it, then the photo over them.
void paintPage(QPainter& painter, const printlayout::Page& page, const QImage& photo);

// Begins the document with the font, builds the layout with the printer's metrics of that font, draws
// every text at the top of its line and the photo stretched into its rectangle after the texts of its
// page, and ends the document. A printer that cannot start, take a new page or finish the document
// raises the platform's error; the class is left as it was.
void print(QPrinter& printer, const QFont& font,
           const std::function<printlayout::Layout(const QFontMetrics& metrics)>& build, const QImage& photo = {});

} // namespace printpainter
