#include "analysis/PrintPainter.h"

#include "common/Fonts.h"
#include "common/PlatformError.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace printpainter {

namespace {

const QString InvalidPrinter = QStringLiteral("L'imprimante sélectionnée n'est pas valide");
const QString PrintingFailed = QStringLiteral("Erreur d'impression");

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

void print(QPrinter& printer, const QFont& font,
           const std::function<printlayout::Layout(const QFontMetrics& metrics)>& build, const QImage& photo)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw PlatformError(InvalidPrinter);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const printlayout::Layout layout = build(metrics);
    const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip;
    for (qsizetype p = 0; p < layout.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            throw PlatformError(PrintingFailed);
        }
        const printlayout::Page& page = layout[p];
        for (const printlayout::Text& text : page.texts) {
            const QRect box(text.x, text.y, metrics.horizontalAdvance(text.text) + metrics.maxWidth() * 8,
                            metrics.height());
            painter.drawText(box, textFlags, text.text);
        }
        if (!page.image.isNull() && !photo.isNull())
            painter.drawImage(page.image, photo);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw PlatformError(PrintingFailed);
}

} // namespace printpainter
