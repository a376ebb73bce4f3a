#include "analysis/PrintPainter.h"

#include "core/PlatformError.h"
#include "widgets/Fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

namespace printpainter {

namespace {

const QString InvalidPrinter = QStringLiteral("L'imprimante sélectionnée n'est pas valide");
const QString PrintingFailed = QStringLiteral("Erreur d'impression");

// One text with its top at the given height. A tab moves on to the next stop counted from the start
// of the text; the printer's own tab handling depends on its resolution, so it is not relied on.
void drawLine(QPainter& painter, const QFontMetrics& metrics, const printlayout::Text& text, int tabStop)
{
    const int baseline = text.y + metrics.ascent();
    if (tabStop <= 0) {
        painter.drawText(text.x, baseline, text.text);
        return;
    }
    const QStringList pieces = text.text.split(QLatin1Char('\t'));
    int x = text.x;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            x = text.x + ((x - text.x) / tabStop + 1) * tabStop;
        painter.drawText(x, baseline, pieces[i]);
        x += metrics.horizontalAdvance(pieces[i]);
    }
}

} // namespace

printlayout::PrinterGeometry geometry(const QPrinter& printer)
{
    return {printer.width(), printer.height(), printer.widthMM(), printer.heightMM(), printer.logicalDpiX()};
}

QFont printerFont(int points)
{
    QFont font = fonts::pixelFont(QStringLiteral("Arial"), 12);
    font.setPointSize(points);
    return font;
}

void paintPage(QPainter& painter, const printlayout::Page& page, const QImage& photo)
{
    const QFontMetrics metrics = painter.fontMetrics();
    for (const printlayout::Text& text : page.texts) {
        if (text.clip.isNull()) {
            drawLine(painter, metrics, text, page.tabStop);
            continue;
        }
        painter.save();
        painter.setClipRect(text.clip);
        drawLine(painter, metrics, text, page.tabStop);
        painter.restore();
    }
    if (!page.image.isNull() && !photo.isNull())
        painter.drawImage(page.image, photo);
}

void print(QPrinter& printer, const QFont& font,
           const std::function<printlayout::Layout(const QFontMetrics& metrics)>& build, const QImage& photo)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw PlatformError(InvalidPrinter);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const printlayout::Layout layout = build(metrics);
    for (qsizetype p = 0; p < layout.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            throw PlatformError(PrintingFailed);
        }
        paintPage(painter, layout[p], photo);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlatformError(PrintingFailed);
}

} // namespace printpainter
