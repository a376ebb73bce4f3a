#include "classbook/MDIChild.h"

#include "analysis/PrintLayout.h"
#include "analysis/PrintPainter.h"
#include "core/PlatformError.h"
#include "model/PhotoFit.h"
#include "model/PhotoLoader.h"
#include "widgets/Seams.h"
#include "widgets/StringGrid.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>

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
    QPrinter& printer = seams().printer();
    printlayout::Sheet sheet;
    sheet.colCount = StringGrid1->colCount();
    sheet.rowCount = StringGrid1->rowCount();
    for (int c = 0; c < sheet.colCount; ++c)
        sheet.colWidths << StringGrid1->colWidth(c);
    sheet.cell = [this](int c, int r) { return StringGrid1->cell(c, r); };
    sheet.screenDpi = StringGrid1->logicalDpiX();
    const printlayout::PrinterGeometry geometry = printpainter::geometry(printer);
    printpainter::print(printer, printpainter::printerFont(8), [&](const QFontMetrics& metrics) {
        return printlayout::sheetLayout(sheet, geometry,
                                        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); });
    });
}

void TMDIChild::ImprimFiche()
{
    QPrinter& printer = seams().printer();
    printlayout::Card card;
    card.fileName = m_fileName;
    card.today = seams().now().date();
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11})
        card.fields << edit->text();
    card.remarks = printlayout::memoLines(Memo1->crlfText());
    // The card keeps its photo only at the frame's size, and may still be reading it: the photo is read again as the
    // card reads it, whole for a small picture, reduced by libjpeg for a large one. A photo that cannot be read is
    // printed without, as the card shows it without.
    QImage photo;
    if (!m_photoPath.isEmpty()) {
        try {
            photo = photoloader::load(m_photoPath, photofit::decodedSize).image;
        } catch (const PlatformError&) {
        }
    }
    card.hasPhoto = !photo.isNull();
    const printlayout::PrinterGeometry geometry = printpainter::geometry(printer);
    printpainter::print(
        printer, printpainter::printerFont(10),
        [&](const QFontMetrics& metrics) { return printlayout::cardLayout(card, geometry, metrics.height()); }, photo);
}
