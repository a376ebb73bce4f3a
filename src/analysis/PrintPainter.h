#pragma once

#include "analysis/PrintLayout.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <functional>
#include <memory>

class QFontMetrics;
class QPaintDevice;
class QPainter;
class Printer;
class QTextLayout;

// Draws a printed layout on the printer: one document, one printer page per layout page.
namespace printpainter {

// The printer's printable area and resolution as the layouts need them.
printlayout::PrinterGeometry geometry(const QPaintDevice& printer);
// "Arial" (under its installed substitute) at a size in points, measured on the printer.
QFont printerFont(int points);

// The texts of one document shaped once each, in a font on the printer: the width of each for the layout, then its
// glyphs drawn wherever it appears, as QPainter::drawText draws them.
class Shapes
{
public:
    Shapes(const QFont& font, QPaintDevice* device);
    ~Shapes();
    Shapes(const Shapes&) = delete;
    Shapes& operator=(const Shapes&) = delete;

    // As QFontMetrics::horizontalAdvance measures it.
    int width(const QString& text);
    // Whether draw() draws the text: one line of printable characters (a tab or a control character is left to
    // QPainter::drawText).
    static bool drawable(const QString& text);
    // The text with its baseline's left end at x, baseline, the painter's font being the one given.
    void draw(QPainter& painter, int x, int baseline, const QString& text);

private:
    QTextLayout& shaped(const QString& text);

    QFont m_font;
    QPaintDevice* m_device;
    QHash<QString, std::shared_ptr<QTextLayout>> m_shaped;
};

// Draws one page with the painter's font: the texts, each cut to its cell when it has one and its ink may reach out
// of it, then the photo over them. With `shapes` (of the painter's font on its device), each text is drawn from the
// glyphs shaped once for the document.
void paintPage(QPainter& painter, const printlayout::Page& page, const QImage& photo, Shapes* shapes = nullptr);

// Begins the document with the font, builds the layout with the printer's metrics of that font and the width of
// each text as Shapes measures it, draws every text at the top of its line and the photo stretched into its
// rectangle after the texts of its page, and ends the document. A printer that cannot start, take a new page or
// finish the document raises the platform's error; the class is left as it was.
using Build = std::function<printlayout::Layout(const QFontMetrics& metrics, const printlayout::TextWidth& width)>;
void print(Printer& printer, const QFont& font, const Build& build, const QImage& photo = {});

} // namespace printpainter
