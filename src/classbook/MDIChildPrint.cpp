#include "classbook/MDIChild.h"

#include "analysis/PrintLayout.h"
#include "analysis/PrintPainter.h"
#include "classbook/CardPage.h"
#include "core/PlatformError.h"
#include "model/PhotoFit.h"
#include "model/PhotoLoader.h"
#include "widgets/Printer.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

// Printing the class sheet or the student card on the current printer.

void TMDIChild::Imprimer()
{
    if (isCardPage())
        ImprimFiche();
    else
        ImprimFeuille();
}

void TMDIChild::ImprimFeuille()
{
    finishCellEdit();
    Printer& printer = seams().printer();
    printlayout::Sheet sheet;
    sheet.colCount = m_grid->colCount();
    sheet.rowCount = m_grid->rowCount();
    for (int c = 0; c < sheet.colCount; ++c)
        sheet.colWidths << m_grid->colWidth(c);
    sheet.cell = [this](int c, int r) { return m_grid->cell(c, r); };
    sheet.screenDpi = m_grid->logicalDpiX();
    const printlayout::PrinterGeometry geometry = printpainter::geometry(printer.device());
    printpainter::print(printer, printpainter::printerFont(8),
                        [&](const QFontMetrics&, const printlayout::TextWidth& width) {
                            return printlayout::sheetLayout(sheet, geometry, width);
                        });
}

void TMDIChild::ImprimFiche()
{
    Printer& printer = seams().printer();
    printlayout::Card card;
    card.fileName = fileName();
    card.today = seams().now().date();
    QStringList texts = this->card()->copiedTexts();
    card.remarks = printlayout::memoLines(texts.takeLast());
    card.fields = texts;
    // The card keeps its photo only at the frame's size, and may still be reading it: the photo is read again as the
    // card reads it, whole for a small picture, reduced by libjpeg for a large one. A photo that cannot be read is
    // printed without, as the card shows it without.
    QImage photo;
    if (!photoPath().isEmpty()) {
        try {
            photo = photoloader::load(photoPath(), photofit::decodedSize).image;
        } catch (const PlatformError&) {
        }
    }
    card.hasPhoto = !photo.isNull();
    const printlayout::PrinterGeometry geometry = printpainter::geometry(printer.device());
    printpainter::print(
        printer, printpainter::printerFont(10),
        [&](const QFontMetrics& metrics, const printlayout::TextWidth&) {
            return printlayout::cardLayout(card, geometry, metrics.height());
        },
        photo);
}
