#include "tools/ReportPrint.h"

#include "core/PlatformError.h"
#include "widgets/Printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace reportprint {

std::unique_ptr<QTextDocument> layoutFor(const QTextDocument& text, QPaintDevice& device, const QSizeF& page)
{
    std::unique_ptr<QTextDocument> doc(text.clone());
    // The layout scales fonts, tab stops and list indents to the device's resolution, but not the paragraph
    // indents: those are scaled here.
    doc->documentLayout()->setPaintDevice(&device);
    const double scale = device.logicalDpiX() / 96.0;
    QTextCursor cursor(doc.get());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(format.leftMargin() * scale);
        format.setRightMargin(format.rightMargin() * scale);
        format.setTextIndent(format.textIndent() * scale);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setMargin(0);
    doc->rootFrame()->setFrameFormat(frame);
    doc->setPageSize(page);
    return doc;
}

void print(const QTextDocument& text, Printer& printer)
{
    printer.setDocName(QString());
    QPainter painter;
    if (!painter.begin(&printer.device())) {
        // Printing into a file that cannot be made, or to no printer at all.
        if (!printer.outputFileName().isEmpty())
            throw PlatformError::cannotCreate(printer.outputFileName());
        throw PlatformError(QStringLiteral("Aucune imprimante par défaut sélectionnée"));
    }
    const QRectF page = printer.pageRect();
    const std::unique_ptr<QTextDocument> doc = layoutFor(text, printer.device(), page.size());
    const int pages = doc->pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.device().newPage()) {
            painter.end();
            throw PlatformError(QStringLiteral("Erreur d'impression"));
        }
        // The painter's origin is the printable area's corner; each page shows its slice of the layout.
        painter.save();
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * page.height(), page.width(), page.height());
        painter.setClipRect(context.clip);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    painter.end();
}

} // namespace reportprint
