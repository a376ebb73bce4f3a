#include "core/Spreadsheet.h"

#include "core/Csv.h"
#include "core/FileWriter.h"
#include "core/FrenchNumbers.h"
#include "core/PlatformError.h"
#include "core/ZipWriter.h"

#include <QDateTime>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <unordered_map>

namespace spreadsheet {
namespace {

// The most characters a cell of a workbook holds.
constexpr qsizetype MaxCellText = 32767;
constexpr qsizetype MaxSheetName = 31;

QString cellText(const Cell& cell)
{
    switch (cell.kind) {
    case Cell::Kind::Decimal:
        return frnum::format00(cell.number);
    case Cell::Kind::Whole:
        return QString::number(qint64(cell.number));
    case Cell::Kind::Text:
        break;
    }
    return cell.text;
}

// What a workbook's sheet and cells hold at most.
constexpr int MaxRows = 1048576;
constexpr int MaxCols = 16384;

// The parts' XML, written as UTF-8 bytes.
const char XmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char MainNamespace[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char RelationshipsNamespace[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}
bool isHexDigit(QChar c)
{
    return c.unicode() < 0x80 && std::isxdigit(c.unicode());
}

// Appends the text as XML: & < > escaped, and " where it stands in an attribute. A character XML 1.0 cannot
// hold (a control character but tab and line end, U+FFFE, U+FFFF) is written as spreadsheets write it in a cell,
// _xHHHH_ (carriage return included, which XML readers would make a line end), and so is the underscore that
// starts a text of that form, so that it reads back as typed; in an attribute it becomes "_". A half of a
// surrogate pair without the other becomes "?".
void appendXml(QByteArray& out, QStringView text, bool attribute)
{
    const auto escaped = [&](char32_t c) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "_x%04X_", unsigned(c));
        out += attribute ? "_" : hex;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            if (c == '&')
                out += "&amp;";
            else if (c == '<')
                out += "&lt;";
            else if (c == '>')
                out += "&gt;";
            else if (c == '"' && attribute)
                out += "&quot;";
            else if (c < 0x20 && c != '\t' && c != '\n')
                escaped(c);
            else if (c == '_' && !attribute && text.size() - i >= 7 && text[i + 1] == u'x' && text[i + 6] == u'_' &&
                     std::all_of(text.begin() + i + 2, text.begin() + i + 6, isHexDigit))
                escaped(c);
            else
                out += char(c);
        } else if (c == 0xFFFE || c == 0xFFFF) {
            escaped(c);
        } else if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1].unicode())) {
            const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[++i].unicode() - 0xDC00);
            out.append(char(0xF0 | (u >> 18))).append(char(0x80 | ((u >> 12) & 0x3F)));
            out.append(char(0x80 | ((u >> 6) & 0x3F))).append(char(0x80 | (u & 0x3F)));
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            out += '?';
        } else if (c < 0x800) {
            out.append(char(0xC0 | (c >> 6))).append(char(0x80 | (c & 0x3F)));
        } else {
            out.append(char(0xE0 | (c >> 12))).append(char(0x80 | ((c >> 6) & 0x3F))).append(char(0x80 | (c & 0x3F)));
        }
    }
}

QByteArray attributeXml(QStringView text)
{
    QByteArray out;
    appendXml(out, text, true);
    return out;
}

// A cell's text as the workbook holds it: at most as many characters as a cell holds, never ending on half a
// character.
QStringView shownText(const QString& text)
{
    QStringView shown = QStringView(text).left(MaxCellText);
    if (shown.size() < text.size() && isHighSurrogate(shown.back().unicode()))
        shown.chop(1);
    return shown;
}

// A spreadsheet keeps the blanks at either end of a text only when told.
bool keepsBlanks(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || (c.unicode() >= '\t' && c.unicode() <= '\r'); };
    return !text.isEmpty() && (blank(text.front()) || blank(text.back()));
}

// The shortest form that reads back as the same number.
QByteArray number(double value)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return QByteArray(digits, result.ptr - digits);
}

// Appends the whole number without the temporary QByteArray::number makes: a sheet has thousands of them.
void appendInteger(QByteArray& out, long long value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

// A1, B2... AA1: the column's letters, then the row's number.
void appendCellName(QByteArray& out, int row, int col)
{
    char letters[8];
    int n = sizeof letters;
    for (int c = col + 1; c > 0; c = (c - 1) / 26)
        letters[--n] = char('A' + (c - 1) % 26);
    out.append(letters + n, qsizetype(sizeof letters) - n);
    appendInteger(out, row + 1LL);
}

QByteArray cellName(int row, int col)
{
    QByteArray name;
    appendCellName(name, row, col);
    return name;
}

// A width in characters as spreadsheets store it: the characters of the default font (7 pixels a digit) and the
// cell's 5 pixels of padding, in 256ths of a character. The default width (8.43) is not marked as chosen.
QByteArray columnElement(int col, double characters)
{
    constexpr double Digit = 7, Padding = 5, Default = 8.43;
    const double w = std::clamp(characters, 0.0, 255.0);
    double stored = 0;
    if (w > 0 && w < 1)
        stored = std::floor(std::floor(w * (Digit + Padding) + 0.5) / Digit * 256) / 256;
    else if (w >= 1)
        stored = std::floor((std::floor(w * Digit + 0.5) + Padding) / Digit * 256) / 256;
    const QByteArray n = QByteArray::number(col + 1);
    return "<col min=\"" + n + "\" max=\"" + n + "\" width=\"" + number(stored) + '"' +
           (w == Default ? "" : " customWidth=\"1\"") + "/>";
}

// The texts of every sheet, once each, in the order they first appear.
class SharedStrings
{
public:
    int index(QStringView text)
    {
        ++m_count;
        const auto [it, added] = m_indexes.try_emplace(text.toString(), int(m_indexes.size()));
        if (added) {
            m_xml += keepsBlanks(text) ? "<si><t xml:space=\"preserve\">" : "<si><t>";
            appendXml(m_xml, text, false);
            m_xml += "</t></si>";
        }
        return it->second;
    }
    bool isEmpty() const { return m_count == 0; }
    QByteArray part() const
    {
        return XmlDeclaration + QByteArray("<sst xmlns=\"") + MainNamespace + "\" count=\"" +
               QByteArray::number(m_count) + "\" uniqueCount=\"" + QByteArray::number(qsizetype(m_indexes.size())) +
               "\">" + m_xml + "</sst>";
    }

private:
    std::unordered_map<QString, int> m_indexes;
    qsizetype m_count = 0;
    QByteArray m_xml;
};

// The panes that stay in view, as a frozen split, with the selections spreadsheets give each pane.
QByteArray sheetView(const Sheet& sheet, bool first)
{
    QByteArray view = first ? "<sheetView tabSelected=\"1\" workbookViewId=\"0\"" : "<sheetView workbookViewId=\"0\"";
    const int rows = sheet.frozenRows, cols = sheet.frozenCols;
    if (rows <= 0 && cols <= 0)
        return view + "/>";
    view += '>';
    const QByteArray topLeft = cellName(std::max(rows, 0), std::max(cols, 0));
    if (rows > 0 && cols > 0) {
        const QByteArray right = cellName(0, cols), below = cellName(rows, 0);
        view += "<pane xSplit=\"" + QByteArray::number(cols) + "\" ySplit=\"" + QByteArray::number(rows) +
                "\" topLeftCell=\"" + topLeft + "\" activePane=\"bottomRight\" state=\"frozen\"/>" +
                "<selection pane=\"topRight\" activeCell=\"" + right + "\" sqref=\"" + right + "\"/>" +
                "<selection pane=\"bottomLeft\" activeCell=\"" + below + "\" sqref=\"" + below + "\"/>" +
                "<selection pane=\"bottomRight\"/>";
    } else if (rows > 0) {
        view += "<pane ySplit=\"" + QByteArray::number(rows) + "\" topLeftCell=\"" + topLeft +
                "\" activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/>";
    } else {
        view += "<pane xSplit=\"" + QByteArray::number(cols) + "\" topLeftCell=\"" + topLeft +
                "\" activePane=\"topRight\" state=\"frozen\"/><selection pane=\"topRight\"/>";
    }
    return view + "</sheetView>";
}

bool written(const Cell& cell)
{
    return cell.kind != Cell::Kind::Text || !cell.text.isEmpty();
}

QByteArray worksheet(const Sheet& sheet, bool first, SharedStrings& strings)
{
    // The rows and columns that hold a cell, and for each block of 16 rows the columns its rows span (a hint that
    // spreadsheets read rows with).
    int firstRow = -1, lastRow = -1, firstCol = MaxCols, lastCol = -1;
    QList<std::pair<int, int>> spans((sheet.rows.size() + 15) / 16, {MaxCols, -1});
    for (int r = 0; r < sheet.rows.size(); ++r)
        for (int c = 0; c < sheet.rows[r].size(); ++c)
            if (written(sheet.rows[r][c])) {
                firstRow = firstRow < 0 ? r : firstRow;
                lastRow = r;
                firstCol = std::min(firstCol, c);
                lastCol = std::max(lastCol, c);
                spans[r / 16] = {std::min(spans[r / 16].first, c), std::max(spans[r / 16].second, c)};
            }
    QByteArray out = XmlDeclaration + QByteArray("<worksheet xmlns=\"") + MainNamespace + "\" xmlns:r=\"" +
                     RelationshipsNamespace + "\"><dimension ref=\"";
    if (lastRow >= 0)
        out.reserve(1024 + qsizetype(lastRow - firstRow + 1) * (lastCol - firstCol + 1) * 32);
    if (lastRow < 0)
        out += "A1";
    else if (firstRow == lastRow && firstCol == lastCol)
        out += cellName(firstRow, firstCol);
    else
        out += cellName(firstRow, firstCol) + ':' + cellName(lastRow, lastCol);
    out += "\"/><sheetViews>" + sheetView(sheet, first) + "</sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
    if (!sheet.columnWidths.isEmpty()) {
        out += "<cols>";
        for (int c = 0; c < sheet.columnWidths.size(); ++c)
            out += columnElement(c, sheet.columnWidths[c]);
        out += "</cols>";
    }
    if (lastRow < 0) {
        out += "<sheetData/>";
    } else {
        out += "<sheetData>";
        for (int r = firstRow; r <= lastRow; ++r) {
            const QList<Cell>& row = sheet.rows[r];
            if (std::none_of(row.begin(), row.end(), written))
                continue;
            const auto [spanFirst, spanLast] = spans[r / 16];
            out += "<row r=\"";
            appendInteger(out, r + 1LL);
            out += "\" spans=\"";
            appendInteger(out, spanFirst + 1LL);
            out += ':';
            appendInteger(out, spanLast + 1LL);
            out += "\">";
            for (int c = 0; c < row.size(); ++c) {
                const Cell& cell = row[c];
                if (!written(cell))
                    continue;
                out += "<c r=\"";
                appendCellName(out, r, c);
                // The cell's style is its index in styles.xml: 1 two decimals, 2 none, 3 a text of lines.
                if (cell.kind == Cell::Kind::Text) {
                    const QStringView shown = shownText(cell.text);
                    out += shown.contains(u'\n') ? "\" s=\"3\" t=\"s\"><v>" : "\" t=\"s\"><v>";
                    appendInteger(out, strings.index(shown));
                } else {
                    out += cell.kind == Cell::Kind::Decimal ? "\" s=\"1\"" : "\" s=\"2\"";
                    // A number no spreadsheet holds shows as the error spreadsheets give it.
                    if (std::isfinite(cell.number))
                        out += "><v>" + number(cell.number);
                    else
                        out += " t=\"e\"><v>#NUM!";
                }
                out += "</v></c>";
            }
            out += "</row>";
        }
        out += "</sheetData>";
    }
    return out + "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" "
                 "footer=\"0.3\"/></worksheet>";
}

QByteArray contentTypes(qsizetype sheets, bool hasStrings)
{
    const QByteArray office = "application/vnd.openxmlformats-officedocument.";
    const auto override = [](const QByteArray& part, const QByteArray& type) {
        return "<Override PartName=\"" + part + "\" ContentType=\"" + type + "\"/>";
    };
    QByteArray out = XmlDeclaration +
                     QByteArray("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                                "<Default Extension=\"rels\" "
                                "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>") +
                     override("/docProps/app.xml", office + "extended-properties+xml") +
                     override("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml") +
                     override("/xl/styles.xml", office + "spreadsheetml.styles+xml") +
                     override("/xl/workbook.xml", office + "spreadsheetml.sheet.main+xml");
    for (qsizetype i = 1; i <= sheets; ++i)
        out +=
            override("/xl/worksheets/sheet" + QByteArray::number(i) + ".xml", office + "spreadsheetml.worksheet+xml");
    if (hasStrings)
        out += override("/xl/sharedStrings.xml", office + "spreadsheetml.sharedStrings+xml");
    return out + "</Types>";
}

QByteArray relationship(qsizetype id, const QByteArray& type, const QByteArray& target)
{
    return "<Relationship Id=\"rId" + QByteArray::number(id) + "\" Type=\"" + type + "\" Target=\"" + target + "\"/>";
}

QByteArray packageRelationships()
{
    const QByteArray package = "http://schemas.openxmlformats.org/package/2006/relationships/";
    return XmlDeclaration +
           QByteArray("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">") +
           relationship(1, RelationshipsNamespace + QByteArray("/officeDocument"), "xl/workbook.xml") +
           relationship(2, package + "metadata/core-properties", "docProps/core.xml") +
           relationship(3, RelationshipsNamespace + QByteArray("/extended-properties"), "docProps/app.xml") +
           "</Relationships>";
}

QByteArray workbookRelationships(qsizetype sheets, bool hasStrings)
{
    const QByteArray type = RelationshipsNamespace + QByteArray("/");
    QByteArray out =
        XmlDeclaration +
        QByteArray("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (qsizetype i = 1; i <= sheets; ++i)
        out += relationship(i, type + "worksheet", "worksheets/sheet" + QByteArray::number(i) + ".xml");
    out += relationship(sheets + 1, type + "styles", "styles.xml");
    if (hasStrings)
        out += relationship(sheets + 2, type + "sharedStrings", "sharedStrings.xml");
    return out + "</Relationships>";
}

QByteArray workbook(const QList<Sheet>& sheets)
{
    QByteArray out = XmlDeclaration + QByteArray("<workbook xmlns=\"") + MainNamespace + "\" xmlns:r=\"" +
                     RelationshipsNamespace +
                     "\"><fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4505\"/>"
                     "<workbookPr defaultThemeVersion=\"124226\"/><bookViews><workbookView xWindow=\"240\" "
                     "yWindow=\"15\" windowWidth=\"16095\" windowHeight=\"9660\"/></bookViews><sheets>";
    for (qsizetype i = 0; i < sheets.size(); ++i)
        out += "<sheet name=\"" + attributeXml(sheets[i].name) + "\" sheetId=\"" + QByteArray::number(i + 1) +
               "\" r:id=\"rId" + QByteArray::number(i + 1) + "\"/>";
    return out + "</sheets><calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/></workbook>";
}

// The cells' styles: 0 plain, 1 and 2 the number formats "0.00" and "0", 3 a text of several lines, wrapped at
// the top of its cell.
QByteArray styles()
{
    return XmlDeclaration + QByteArray("<styleSheet xmlns=\"") + MainNamespace +
           "\"><numFmts count=\"2\"><numFmt numFmtId=\"164\" formatCode=\"0.00\"/>"
           "<numFmt numFmtId=\"165\" formatCode=\"0\"/></numFmts>"
           "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
           "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
           "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
           "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
           "<cellXfs count=\"4\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
           "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
           "<xf numFmtId=\"165\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
           "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyAlignment=\"1\">"
           "<alignment vertical=\"top\" wrapText=\"1\"/></xf></cellXfs>"
           "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           "<dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
           "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>";
}

// The properties spreadsheets show for a workbook: its sheets, and when it was made.
QByteArray applicationProperties(const QList<Sheet>& sheets)
{
    const QByteArray count = QByteArray::number(sheets.size());
    QByteArray out =
        XmlDeclaration +
        QByteArray(
            "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
            "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
            "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
            "<HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>Worksheets</vt:lpstr>"
            "</vt:variant><vt:variant><vt:i4>") +
        count + "</vt:i4></vt:variant></vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"" + count +
        "\" baseType=\"lpstr\">";
    for (const Sheet& sheet : sheets)
        out += "<vt:lpstr>" + attributeXml(sheet.name) + "</vt:lpstr>";
    return out + "</vt:vector></TitlesOfParts><Company></Company><LinksUpToDate>false</LinksUpToDate>"
                 "<SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged>"
                 "<AppVersion>12.0000</AppVersion></Properties>";
}

QByteArray coreProperties(const QDateTime& made)
{
    const QByteArray time = made.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")).toLatin1();
    return XmlDeclaration +
           QByteArray("<cp:coreProperties "
                      "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                      "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
                      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator></dc:creator>"
                      "<cp:lastModifiedBy></cp:lastModifiedBy><dcterms:created xsi:type=\"dcterms:W3CDTF\">") +
           time + "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + time +
           "</dcterms:modified></cp:coreProperties>";
}

// A name spreadsheets open: 1 to 31 characters, none of [ ] : * ? / \ nor a character XML cannot hold, no
// apostrophe at either end, and no other sheet of the same name in any case.
bool validNames(const QList<Sheet>& sheets)
{
    QStringList seen;
    for (const Sheet& sheet : sheets) {
        const QString& name = sheet.name;
        if (name.isEmpty() || name.size() > MaxSheetName || name.startsWith(u'\'') || name.endsWith(u'\'') ||
            seen.contains(name, Qt::CaseInsensitive) || std::any_of(name.begin(), name.end(), [](QChar c) {
                return QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20 || c.unicode() >= 0xFFFE;
            }))
            return false;
        seen << name;
    }
    return true;
}

} // namespace

QString sheetName(const QString& wanted, const QString& fallback)
{
    QString name = wanted;
    for (QChar& c : name)
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20)
            c = u'_';
    name = name.left(MaxSheetName);
    while (name.startsWith(u'\'') || name.endsWith(u'\''))
        name = name.startsWith(u'\'') ? name.mid(1) : name.chopped(1);
    name = name.trimmed();
    if (name.isEmpty() || name.compare(QStringLiteral("History"), Qt::CaseInsensitive) == 0)
        return fallback;
    return name;
}

void writeXlsx(const QString& path, const QList<Sheet>& sheets)
{
    const bool fits = std::all_of(sheets.begin(), sheets.end(), [](const Sheet& sheet) {
        return sheet.rows.size() <= MaxRows && sheet.columnWidths.size() <= MaxCols &&
               std::all_of(sheet.rows.begin(), sheet.rows.end(),
                           [](const QList<Cell>& row) { return row.size() <= MaxCols; });
    });
    if (sheets.isEmpty() || !fits || !validNames(sheets))
        throw PlatformError::cannotCreate(path);
    SharedStrings strings;
    QList<zipwriter::File> sheetParts;
    for (qsizetype i = 0; i < sheets.size(); ++i)
        sheetParts.append(
            {"xl/worksheets/sheet" + QByteArray::number(i + 1) + ".xml", worksheet(sheets[i], i == 0, strings)});
    const bool hasStrings = !strings.isEmpty();
    QList<zipwriter::File> parts = {
        {"[Content_Types].xml", contentTypes(sheets.size(), hasStrings)},
        {"_rels/.rels", packageRelationships()},
        {"docProps/app.xml", applicationProperties(sheets)},
        {"docProps/core.xml", coreProperties(QDateTime::currentDateTimeUtc())},
        {"xl/workbook.xml", workbook(sheets)},
        {"xl/_rels/workbook.xml.rels", workbookRelationships(sheets.size(), hasStrings)},
        {"xl/styles.xml", styles()},
    };
    if (hasStrings)
        parts.append({"xl/sharedStrings.xml", strings.part()});
    parts += sheetParts;
    const std::optional<QByteArray> bytes = zipwriter::archive(parts);
    if (!bytes)
        throw PlatformError::cannotCreate(path);
    filewriter::write(path, *bytes);
}

QByteArray csvBytes(const Sheet& sheet)
{
    // Every line as wide as the widest, as the programs that read CSV files expect.
    qsizetype width = 0;
    for (const QList<Cell>& row : sheet.rows)
        width = std::max(width, row.size());
    QList<QStringList> rows;
    for (const QList<Cell>& row : sheet.rows) {
        QStringList texts;
        for (const Cell& cell : row)
            texts << (cell.kind == Cell::Kind::Text ? csv::plainText(cell.text) : cellText(cell));
        while (texts.size() < width)
            texts << QString();
        rows << texts;
    }
    return csv::utf8File(rows);
}

} // namespace spreadsheet
