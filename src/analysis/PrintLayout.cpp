#include "analysis/PrintLayout.h"

#include "core/FileNames.h"
#include "core/FrenchDates.h"
#include "core/FrenchNumbers.h"

#include <algorithm>

namespace printlayout {

double ratio(const PrinterGeometry& printer, int screenDpi)
{
    return static_cast<double>(printer.dpiX) / (screenDpi > 0 ? screenDpi : DefaultScreenDpi);
}

int scaled(int screenPixels, double ratio)
{
    return static_cast<int>(frnum::roundHalfEven(static_cast<long double>(screenPixels) * ratio));
}

int Mh(const PrinterGeometry& printer, int mm)
{
    const int perMm = printer.widthMm > 0 ? printer.pageWidth / printer.widthMm : 0;
    return perMm * (mm + 5);
}

int Mv(const PrinterGeometry& printer, int mm)
{
    const int perMm = printer.heightMm > 0 ? printer.pageHeight / printer.heightMm : 0;
    return perMm * (mm + 5);
}

int lastStudentRow(const Sheet& sheet)
{
    for (int row = sheet.rowCount - 1; row >= 2; --row)
        if (!sheet.cell(2, row).isEmpty())
            return row;
    return 2;
}

int lastPrintedColumn(const Sheet& sheet)
{
    for (int col = sheet.colCount - 1; col >= 1; --col)
        if (!sheet.cell(col, 1).isEmpty())
            return col;
    return 0;
}

QList<int> columnEdges(const Sheet& sheet, double ratio)
{
    QList<int> edges(std::max(sheet.colCount + 1, 2), 0);
    int x = 0;
    for (int col = 1; col < sheet.colCount; ++col) {
        edges[col] = x;
        x += scaled(sheet.colWidths.value(col), ratio);
    }
    edges[sheet.colCount] = x;
    return edges;
}

int lineHeight(double ratio)
{
    return scaled(24, ratio);
}

namespace {

// A printed column: its grid column and its edges on the page.
struct Column
{
    int col = 0;
    int left = 0;
    int right = 0;
};

// The columns of each page across: the names column, then as many rubrics as the page width holds, and
// at least one so that printing ends. A sheet that fits keeps the edges of columnEdges.
QList<QList<Column>> columnBands(const QList<int>& edges, int lastCol, int pageWidth)
{
    if (lastCol < 1)
        return {{}};
    const auto width = [&edges](int col) { return edges.value(col + 1) - edges.value(col); };
    QList<QList<Column>> bands;
    int next = 2;
    do {
        QList<Column> band{{1, 0, width(1)}};
        for (int x = width(1); next <= lastCol && (band.size() == 1 || x + width(next) <= pageWidth); ++next) {
            band << Column{next, x, x + width(next)};
            x += width(next);
        }
        bands << band;
    } while (next <= lastCol);
    return bands;
}

// Each text measured once, however often the sheet holds it (the same marks, the headings on every page).
class Measured
{
public:
    explicit Measured(const TextWidth& textWidth) : m_textWidth(textWidth) {}
    int operator()(const QString& text)
    {
        const auto found = m_widths.constFind(text);
        if (found != m_widths.constEnd())
            return *found;
        const int width = m_textWidth(text);
        m_widths.insert(text, width);
        return width;
    }
    const QHash<QString, int>& widths() const { return m_widths; }

private:
    const TextWidth& m_textWidth;
    QHash<QString, int> m_widths;
};

// One printed grid row at the height y.
void addSheetRow(Page& page, const Sheet& sheet, int row, int y, int L, const QList<Column>& columns,
                 Measured& textWidth)
{
    for (const Column& c : columns) {
        const QString text = sheet.cell(c.col, row);
        if (text.isEmpty())
            continue;
        const int width = textWidth(text);
        const int x = c.col == 1 ? c.left : c.right - width - 2;
        page.texts << Text{x, y, text, QRect(c.left, y, c.right - c.left, L)};
    }
}

} // namespace

Layout sheetLayout(const Sheet& sheet, const PrinterGeometry& printer, const TextWidth& textWidth)
{
    const double r = ratio(printer, sheet.screenDpi);
    const QList<int> edges = columnEdges(sheet, r);
    const int lastCol = lastPrintedColumn(sheet);
    const int lastRow = lastStudentRow(sheet);
    const int L = lineHeight(r);
    // Lines whose whole height lies on the page; a continuation page spends two on the headings and
    // coefficients, and always carries at least one student so that printing ends.
    const int perPage = L > 0 ? printer.pageHeight / L : lastRow + 1;

    // The grid rows of each page down: as many lines as the page holds, then the headings and coefficients
    // again before the next students.
    const int firstPageRows = lastRow + 1 <= perPage ? lastRow + 1 : std::max(perPage, 3);
    QList<QList<int>> rowPages{{}};
    for (int k = 0; k < firstPageRows && k <= lastRow; ++k)
        rowPages.last() << k;
    const int studentsPerPage = std::max(perPage - 2, 1);
    for (int next = firstPageRows; next <= lastRow; next += studentsPerPage) {
        rowPages << QList<int>{0, 1};
        for (int k = next; k < next + studentsPerPage && k <= lastRow; ++k)
            rowPages.last() << k;
    }

    const QList<QList<Column>> bands = columnBands(edges, lastCol, printer.pageWidth);
    Measured measured(textWidth);
    Layout layout;
    for (const QList<int>& rows : rowPages)
        for (const QList<Column>& columns : bands) {
            layout << Page{};
            for (int i = 0; i < rows.size(); ++i)
                addSheetRow(layout.last(), sheet, rows[i], i * L, L, columns, measured);
        }
    for (Page& page : layout)
        page.widths = measured.widths();
    return layout;
}

QStringList memoLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = plain.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

Layout cardLayout(const Card& card, const PrinterGeometry& printer, int lineHeight)
{
    static const char16_t* const labels[] = {
        u"Nom \t",  u"Prénom \t", u"Né(e) le \t", u"Classe \t", u"Adresse \t",         u"Adresse \t",
        u"C.P. \t", u"Ville \t",  u"Tél. \t",     u"Tél. \t",   u"Métier envisagé \t",
    };
    const int x = Mh(printer, 0);
    const QString header = filenames::lastComponent(card.fileName) + frdate::shortDate(card.today);

    const int tabStop = Mh(printer, CardTabStopMm) - Mh(printer, 0);

    Layout layout;
    layout << Page{};
    Page& first = layout.last();
    first.tabStop = tabStop;
    first.texts << Text{x, Mv(printer, 10), header};
    for (int i = 0; i < 11; ++i)
        first.texts << Text{x, Mv(printer, 20 + 5 * i), QString::fromUtf16(labels[i]) + card.fields.value(i)};
    if (card.hasPhoto)
        first.image =
            QRect(QPoint(Mh(printer, 20), Mv(printer, 100)), QPoint(Mh(printer, 50) - 1, Mv(printer, 125) - 1));

    // Remarks from 80 mm; on a further page from 20 mm under the repeated header line. A further page
    // takes its first line without asking whether it fits, so that even a page too small for one line
    // ends the printing.
    int mm = 80;
    for (const QString& line : card.remarks) {
        int y = Mv(printer, mm);
        if (y + lineHeight > printer.pageHeight) {
            layout << Page{};
            layout.last().tabStop = tabStop;
            layout.last().texts << Text{x, Mv(printer, 10), header};
            mm = 20;
            y = Mv(printer, mm);
        }
        layout.last().texts << Text{x, y, line};
        mm += 5;
    }
    return layout;
}

} // namespace printlayout
