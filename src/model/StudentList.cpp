#include "model/StudentList.h"

#include "core/FrenchDates.h"
#include "core/MessageText.h"
#include "core/PlatformError.h"
#include "core/ZipArchive.h"

#include <QDate>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace studentlist {
namespace {

const QString NotAList = QStringLiteral("ce n'est pas une liste d'élèves");
// Repeats and counts beyond this mean nothing more: the budget is spent long before.
constexpr qint64 MaxRepeat = qint64(1) << 40;

// An attribute by its name without its prefix ("table:number-rows-repeated"); empty when there is none.
QStringView attribute(const QXmlStreamAttributes& attributes, QStringView name)
{
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == name)
            return a.value();
    return {};
}

// A count given by an attribute, 1 when it gives none.
qint64 repeat(const QXmlStreamAttributes& attributes, QStringView name)
{
    return std::clamp<qint64>(attribute(attributes, name).toLongLong(), 1, MaxRepeat);
}

[[noreturn]] void refuse(const QString& fileName, const QString& why)
{
    throw PlatformError(QStringLiteral("Le fichier %1 %2.").arg(fileName, why), {fileName});
}

[[noreturn]] void tooLarge(const QString& fileName)
{
    throw PlatformError::refusedFile(
        fileName,
        QStringLiteral("est trop grand une fois décompressé (plus de %1)").arg(messagetext::megabytes(FileLimit.bytes)),
        FileLimit.what);
}

[[noreturn]] void damaged(const QString& fileName)
{
    refuse(fileName, QStringLiteral("est un classeur endommagé, que le programme ne sait pas lire"));
}

// --- texts ---------------------------------------------------------------------------------------------------

class TextLines : public Lines
{
public:
    explicit TextLines(const QString& text) : m_reader(text, csv::detectSeparator(text), MaxColumns) {}
    bool next(csv::Record& record) override { return m_reader.next(record); }

private:
    csv::Reader m_reader;
};

// --- workbooks -------------------------------------------------------------------------------------------------

// Whatever the workbook asks to produce counts against one budget: the XML unpacked, then the cells' texts as
// repeated, so that neither a small archive nor a sheet repeating one long text a million times can take more
// than a list may hold.
class Budget
{
public:
    explicit Budget(const QString& fileName) : m_fileName(fileName) {}
    const QString& fileName() const { return m_fileName; }
    qint64 left() const { return FileLimit.bytes - m_used; }
    void spend(qint64 amount)
    {
        m_used += amount;
        if (m_used > FileLimit.bytes)
            tooLarge(m_fileName);
    }
    // A file of the archive unpacked within what is left; an empty text when the archive has none of that name.
    QByteArray unpack(const ZipArchive& zip, const QByteArray& name)
    {
        QByteArray out;
        switch (zip.read(name, left(), out)) {
        case ZipArchive::Status::Ok:
            spend(out.size());
            return out;
        case ZipArchive::Status::Missing:
            return {};
        case ZipArchive::Status::TooLarge:
            tooLarge(m_fileName);
        case ZipArchive::Status::Encrypted:
            refuse(m_fileName, QStringLiteral("est protégé par un mot de passe : enregistrez-le sans mot de passe"));
        case ZipArchive::Status::Damaged:
            break;
        }
        damaged(m_fileName);
    }

private:
    QString m_fileName;
    qint64 m_used = 0;
};

// One row of a sheet being built: cells placed by column, blanks materialised only when a cell follows them.
class RowBuilder
{
public:
    explicit RowBuilder(Budget& budget) : m_budget(budget) {}
    void start(int line)
    {
        m_record = csv::Record{line, {}, 0};
        m_blank = true;
    }
    // count copies of text from column `column` (from 0).
    void place(qsizetype column, const QString& text, qint64 count = 1)
    {
        if (text.trimmed().isEmpty() || count <= 0)
            return;
        m_blank = false;
        count = std::min(count, MaxRepeat);
        m_budget.spend(count * (text.size() + 1));
        for (qint64 i = 0; i < count && column + i < MaxColumns; ++i) {
            while (m_record.fields.size() < column + i)
                m_record.fields << QString();
            m_record.fields << text;
        }
        m_record.fieldCount = std::max(m_record.fieldCount, qsizetype(column + count));
    }
    bool isBlank() const { return m_blank; }
    const csv::Record& record() const { return m_record; }

private:
    Budget& m_budget;
    csv::Record m_record;
    bool m_blank = true;
};

QString shortDate(const QDate& date)
{
    return date.isValid() ? frdate::shortDate(date) : QString();
}

// "2012-04-01" or "2012-04-01T00:00:00" as the program writes dates.
QString isoDate(QStringView text)
{
    const QDate date = QDate::fromString(text.left(10).toString(), Qt::ISODate);
    return date.isValid() ? frdate::shortDate(date) : text.toString();
}

QString number(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15).replace(u'.', u',');
}

// --- .ods --------------------------------------------------------------------------------------------------------

class OdsLines : public Lines
{
public:
    OdsLines(const QByteArray& content, Budget budget) : m_xml(content), m_budget(std::move(budget)), m_row(m_budget)
    {
        m_reader.addData(m_xml);
    }

    bool next(csv::Record& record) override
    {
        while (true) {
            if (m_repeats > 0) {
                // The same row again: its texts count once more.
                if (m_line >= m_row.record().line) {
                    qint64 size = 0;
                    for (const QString& field : m_row.record().fields)
                        size += field.size() + 1;
                    m_budget.spend(size);
                }
                --m_repeats;
                ++m_line;
                record = m_row.record();
                record.line = m_line;
                return true;
            }
            if (!nextRow())
                return false;
            const qint64 repeated = repeat(m_reader.attributes(), u"number-rows-repeated");
            readRow();
            if (m_row.isBlank()) {
                m_line = int(std::min<qint64>(m_line + repeated, 1 << 30));
                continue;
            }
            m_repeats = repeated;
        }
    }

private:
    // Onto the next row of the first table; false at its end.
    bool nextRow()
    {
        while (!m_done && !m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::StartElement && m_reader.name() == u"table") {
                if (m_inTable)
                    m_reader.skipCurrentElement();
                m_inTable = true;
            } else if (token == QXmlStreamReader::EndElement && m_reader.name() == u"table" && m_inTable) {
                m_done = true;
            } else if (token == QXmlStreamReader::StartElement && m_inTable && m_reader.name() == u"table-row") {
                return true;
            }
        }
        if (m_reader.hasError())
            damaged(m_budget.fileName());
        return false;
    }

    void readRow()
    {
        m_row.start(m_line + 1);
        qint64 column = 0;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::EndElement && m_reader.name() == u"table-row")
                return;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (m_reader.name() != u"table-cell" && m_reader.name() != u"covered-table-cell") {
                m_reader.skipCurrentElement();
                continue;
            }
            const QXmlStreamAttributes attributes = m_reader.attributes();
            const qint64 repeated = repeat(attributes, u"number-columns-repeated");
            QString text = cellText();
            if (attribute(attributes, u"value-type") == u"date")
                text = isoDate(attribute(attributes, u"date-value"));
            else if (text.isEmpty() && !attribute(attributes, u"value").isEmpty())
                text = number(attribute(attributes, u"value").toDouble());
            else if (text.isEmpty())
                text = attribute(attributes, u"string-value").toString();
            m_row.place(column, text, repeated);
            column = std::min(column + repeated, MaxRepeat);
        }
        damaged(m_budget.fileName());
    }

    // The text a cell shows: its paragraphs one per line, without its notes.
    QString cellText()
    {
        QString text;
        int depth = 0, paragraphs = 0, inParagraph = 0, inNote = 0;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::StartElement) {
                ++depth;
                const QStringView name = m_reader.name();
                if (name == u"annotation")
                    ++inNote;
                if (inNote)
                    continue;
                if (name == u"p" || name == u"h") {
                    if (inParagraph == 0 && paragraphs++ > 0)
                        text += u'\n';
                    ++inParagraph;
                } else if (name == u"s") {
                    const qint64 count = repeat(m_reader.attributes(), u"c");
                    m_budget.spend(count);
                    text += QString(qsizetype(count), u' ');
                } else if (name == u"tab") {
                    text += u'\t';
                } else if (name == u"line-break") {
                    text += u'\n';
                }
            } else if (token == QXmlStreamReader::EndElement) {
                if (depth-- == 0)
                    return text;
                const QStringView name = m_reader.name();
                if (name == u"annotation")
                    --inNote;
                else if (!inNote && (name == u"p" || name == u"h"))
                    --inParagraph;
            } else if (token == QXmlStreamReader::Characters && inParagraph > 0 && !inNote) {
                m_budget.spend(m_reader.text().size());
                text += m_reader.text();
            }
        }
        damaged(m_budget.fileName());
    }

    QByteArray m_xml;
    Budget m_budget;
    QXmlStreamReader m_reader;
    RowBuilder m_row;
    bool m_inTable = false;
    bool m_done = false;
    int m_line = 0;
    qint64 m_repeats = 0;
};

// --- .xlsx ----------------------------------------------------------------------------------------------------------

// The texts every cell of the workbook refers to by number, kept in one string.
class SharedStrings
{
public:
    void append(const QString& text)
    {
        m_starts << m_all.size();
        m_all += text;
    }
    QString at(qsizetype i) const
    {
        if (i < 0 || i >= m_starts.size())
            return QString();
        const qsizetype end = i + 1 < m_starts.size() ? m_starts[i + 1] : m_all.size();
        return m_all.mid(m_starts[i], end - m_starts[i]);
    }

private:
    QString m_all;
    QList<qsizetype> m_starts;
};

// How a number of a cell shows, from its style.
enum class Shown
{
    Number,
    Date,
    Padded // as many digits as its format has zeros: a postcode 01000 kept as a number
};
struct Style
{
    Shown shown = Shown::Number;
    int digits = 0;
};

Style styleOf(int builtIn, const QString& code)
{
    if ((builtIn >= 14 && builtIn <= 17) || builtIn == 22 || (builtIn >= 27 && builtIn <= 36) ||
        (builtIn >= 50 && builtIn <= 58))
        return {Shown::Date, 0};
    if (code.isEmpty() || code.compare(u"General", Qt::CaseInsensitive) == 0 ||
        code.compare(u"Standard", Qt::CaseInsensitive) == 0)
        return {};
    if (code.count(u'0') == code.size())
        return {Shown::Padded, int(code.size())};
    // Days or years outside quotes, brackets and escaped characters make a date.
    bool quoted = false;
    int bracket = 0;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'[')
            ++bracket;
        else if (!quoted && c == u']')
            bracket = std::max(0, bracket - 1);
        else if (!quoted && c == u'\\')
            ++i;
        else if (!quoted && bracket == 0 && (c == u'd' || c == u'y'))
            return {Shown::Date, 0};
    }
    return {};
}

// "_x000D_" and the like: characters the format writes as their code.
QString unescaped(const QString& text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        const uint code = i + 7 <= text.size() && text[i] == u'_' && text[i + 1] == u'x' && text[i + 6] == u'_'
                              ? text.mid(i + 2, 4).toUInt(&ok, 16)
                              : 0;
        if (ok) {
            out += QChar(char16_t(code));
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The text of a rich string (<si>, <is>): its runs one after the other, without their phonetic guides.
QString richText(QXmlStreamReader& reader, Budget& budget)
{
    QString text;
    int depth = 0, inText = 0, inGuide = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (reader.name() == u"rPh")
                ++inGuide;
            else if (reader.name() == u"t")
                ++inText;
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth-- == 0)
                return unescaped(text);
            if (reader.name() == u"rPh")
                --inGuide;
            else if (reader.name() == u"t")
                --inText;
        } else if (token == QXmlStreamReader::Characters && inText > 0 && inGuide == 0) {
            budget.spend(reader.text().size());
            text += reader.text();
        }
    }
    damaged(budget.fileName());
}

// "A1" -> 0, "AB7" -> 27; -1 when the reference names no column.
qint64 columnOf(QStringView reference)
{
    qint64 column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter() && i < 8; ++i)
        column = column * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
    return i == 0 ? -1 : column - 1;
}

// A part's path from the part that names it: "worksheets/sheet1.xml" from "xl/workbook.xml" is
// "xl/worksheets/sheet1.xml"; a target that begins with "/" is from the archive's root.
QByteArray partPath(const QByteArray& from, const QString& target)
{
    QStringList parts =
        target.startsWith(u'/')
            ? QStringList()
            : QString::fromUtf8(from).section(u'/', 0, -2, QString::SectionSkipEmpty).split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : target.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts << part;
        }
    }
    return parts.join(u'/').toUtf8();
}

// The relationships of a part: identifier -> (type, target part).
QHash<QString, std::pair<QString, QByteArray>> relationships(const ZipArchive& zip, const QByteArray& part,
                                                             Budget& budget)
{
    const qsizetype slash = part.lastIndexOf('/');
    const QByteArray relsName = part.left(slash + 1) + "_rels/" + part.mid(slash + 1) + ".rels";
    QHash<QString, std::pair<QString, QByteArray>> out;
    QXmlStreamReader reader(budget.unpack(zip, relsName));
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"Relationship") {
            const QXmlStreamAttributes a = reader.attributes();
            out.insert(attribute(a, u"Id").toString(),
                       {attribute(a, u"Type").toString(), partPath(part, attribute(a, u"Target").toString())});
        }
    }
    return out;
}

class XlsxLines : public Lines
{
public:
    XlsxLines(const ZipArchive& zip, Budget budget) : m_budget(std::move(budget)), m_row(m_budget)
    {
        QByteArray workbook = "xl/workbook.xml";
        for (const auto& [type, target] : relationships(zip, "", m_budget))
            if (type.endsWith(QStringLiteral("/officeDocument")))
                workbook = target;
        if (!workbook.endsWith("workbook.xml"))
            refuse(m_budget.fileName(), QStringLiteral("n'est pas un classeur .xlsx ou .ods : ") + NotAList);
        // The first sheet that shows, and whether the workbook counts its days from 1904.
        QString sheetId;
        QXmlStreamReader reader(m_budget.unpack(zip, workbook));
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = reader.attributes();
            if (reader.name() == u"workbookPr")
                m_from1904 = attribute(a, u"date1904") == u"1" || attribute(a, u"date1904") == u"true";
            if (reader.name() == u"sheet" && sheetId.isEmpty() &&
                (attribute(a, u"state").isEmpty() || attribute(a, u"state") == u"visible"))
                for (const QXmlStreamAttribute& attribute : a)
                    if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                        sheetId = attribute.value().toString();
        }
        if (reader.hasError() || sheetId.isEmpty())
            damaged(m_budget.fileName());
        QByteArray sheet, strings, styles;
        const auto parts = relationships(zip, workbook, m_budget);
        for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
            if (it.key() == sheetId)
                sheet = it->second;
            else if (it->first.endsWith(QStringLiteral("/sharedStrings")))
                strings = it->second;
            else if (it->first.endsWith(QStringLiteral("/styles")))
                styles = it->second;
        }
        readStrings(zip, strings);
        readStyles(zip, styles);
        m_xml = m_budget.unpack(zip, sheet);
        if (m_xml.isEmpty())
            damaged(m_budget.fileName());
        m_reader.addData(m_xml);
    }

    bool next(csv::Record& record) override
    {
        while (!m_reader.atEnd()) {
            if (m_reader.readNext() != QXmlStreamReader::StartElement || m_reader.name() != u"row")
                continue;
            const qint64 r = attribute(m_reader.attributes(), u"r").toLongLong();
            m_line = r > m_line && r < (1 << 30) ? int(r) : m_line + 1;
            readRow();
            if (!m_row.isBlank()) {
                record = m_row.record();
                return true;
            }
        }
        if (m_reader.hasError())
            damaged(m_budget.fileName());
        return false;
    }

private:
    void readStrings(const ZipArchive& zip, const QByteArray& part)
    {
        QXmlStreamReader reader(m_budget.unpack(zip, part.isEmpty() ? QByteArray("xl/sharedStrings.xml") : part));
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"si")
                m_strings.append(richText(reader, m_budget));
        if (reader.hasError())
            damaged(m_budget.fileName());
    }

    void readStyles(const ZipArchive& zip, const QByteArray& part)
    {
        QXmlStreamReader reader(m_budget.unpack(zip, part.isEmpty() ? QByteArray("xl/styles.xml") : part));
        QHash<int, QString> codes;
        bool inCellStyles = false;
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::EndElement && reader.name() == u"cellXfs")
                inCellStyles = false;
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QXmlStreamAttributes a = reader.attributes();
            if (reader.name() == u"numFmt")
                codes.insert(attribute(a, u"numFmtId").toInt(), attribute(a, u"formatCode").toString());
            else if (reader.name() == u"cellXfs")
                inCellStyles = true;
            else if (inCellStyles && reader.name() == u"xf") {
                const int id = attribute(a, u"numFmtId").toInt();
                m_styles << styleOf(id, codes.value(id));
            }
        }
    }

    void readRow()
    {
        m_row.start(m_line);
        qint64 column = -1;
        int depth = 0;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::EndElement && depth-- == 0)
                return;
            if (token != QXmlStreamReader::StartElement)
                continue;
            ++depth;
            if (m_reader.name() != u"c")
                continue;
            const QXmlStreamAttributes a = m_reader.attributes();
            const qint64 named = columnOf(attribute(a, u"r"));
            column = named > column ? named : column + 1;
            const QString type = attribute(a, u"t").toString();
            const Style style = m_styles.value(attribute(a, u"s").toInt());
            m_row.place(column, cellText(type, style));
            --depth; // the cell's end is read with its content
        }
        damaged(m_budget.fileName());
    }

    QString cellText(const QString& type, const Style& style)
    {
        QString value;
        QString inline_;
        int depth = 0;
        while (!m_reader.atEnd()) {
            const QXmlStreamReader::TokenType token = m_reader.readNext();
            if (token == QXmlStreamReader::EndElement && depth-- == 0)
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (m_reader.name() == u"v") {
                value = m_reader.readElementText(QXmlStreamReader::SkipChildElements);
                m_budget.spend(value.size());
            } else if (m_reader.name() == u"is") {
                inline_ = richText(m_reader, m_budget);
            } else {
                ++depth;
            }
        }
        if (type == u"s")
            return m_strings.at(value.toLongLong());
        if (type == u"inlineStr")
            return inline_;
        if (type == u"str" || type == u"e")
            return unescaped(value);
        if (type == u"b")
            return value.isEmpty()           ? QString()
                   : value.trimmed() == u"1" ? QStringLiteral("VRAI")
                                             : QStringLiteral("FAUX");
        if (type == u"d")
            return isoDate(value);
        bool ok = false;
        const double x = value.toDouble(&ok);
        if (!ok)
            return value;
        if (style.shown == Shown::Date) {
            // Days from the workbook's start; in the 1900 count, day 60 is a 29 February 1900 that never was.
            const qint64 day = qint64(std::floor(x));
            if (day < 1 || day > 2958465)
                return number(x);
            const QDate date =
                m_from1904 ? QDate(1904, 1, 1).addDays(day) : QDate(1899, 12, day < 60 ? 31 : 30).addDays(day);
            return shortDate(date);
        }
        QString shown = number(x);
        if (style.shown == Shown::Padded && x >= 0 && x == std::trunc(x) && shown.size() < style.digits)
            shown = QString(style.digits - shown.size(), u'0') + shown;
        return shown;
    }

    Budget m_budget;
    RowBuilder m_row;
    SharedStrings m_strings;
    QList<Style> m_styles;
    bool m_from1904 = false;
    QByteArray m_xml;
    QXmlStreamReader m_reader;
    int m_line = 0;
};

} // namespace

std::unique_ptr<Lines> read(const QByteArray& bytes, const QString& fileName)
{
    if (bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        refuse(fileName, QStringLiteral("est un classeur Excel 97-2003 (.xls) ou protégé par un mot de passe, que le "
                                        "programme ne sait pas lire : enregistrez-le en .xlsx, en .ods ou en CSV"));
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06")) {
        const std::optional<ZipArchive> zip = ZipArchive::open(bytes);
        if (!zip)
            damaged(fileName);
        Budget budget(fileName);
        if (zip->contains("content.xml") && !zip->contains("xl/workbook.xml")) {
            QByteArray type = budget.unpack(*zip, "mimetype");
            if (!type.isEmpty() && !type.startsWith("application/vnd.oasis.opendocument.spreadsheet"))
                refuse(fileName, QStringLiteral("n'est pas un classeur .xlsx ou .ods : ") + NotAList);
            QByteArray content = budget.unpack(*zip, "content.xml");
            return std::make_unique<OdsLines>(content, std::move(budget));
        }
        if (zip->contains("xl/workbook.xml") || zip->contains("_rels/.rels"))
            return std::make_unique<XlsxLines>(*zip, std::move(budget));
        refuse(fileName, QStringLiteral("n'est pas un classeur .xlsx ou .ods : ") + NotAList);
    }
    const QString text = csv::decode(bytes);
    if (text.contains(QChar(0)))
        refuse(fileName, QStringLiteral("n'est ni un classeur ni un texte que le programme sait lire (UTF-8, UTF-16 "
                                        "avec sa marque d'ordre, Windows-1252) : enregistrez la liste en CSV, en "
                                        "texte Unicode, en .xlsx ou en .ods"));
    return std::make_unique<TextLines>(text);
}

std::unique_ptr<Lines> open(const QString& path)
{
    return read(textfile::readBytes(path, FileLimit), path);
}

} // namespace studentlist
