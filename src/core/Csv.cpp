#include "core/Csv.h"

#include "core/Cp1252.h"
#include "core/FrenchNumbers.h"

#include <QStringDecoder>

namespace csv {
namespace {

constexpr QChar Quote = u'"';

} // namespace

QString field(const QString& text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(Quote) && !text.contains(u'\r') && !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(Quote, QStringLiteral("\"\""));
    return Quote + quoted + Quote;
}

QString plainText(const QString& text)
{
    if (text.isEmpty() || !QStringView(u"=+-@\t\r").contains(text.front()))
        return text;
    // A sign alone, and a number with its sign, are taken for what they are.
    if (text == u"-" || text == u"+" || frnum::read(text))
        return text;
    return u'\'' + text;
}

QByteArray utf8File(const QList<QStringList>& rows)
{
    QByteArray out = "\xEF\xBB\xBF";
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& text : row)
            fields << field(text, u';');
        out += fields.join(u';').toUtf8();
        out += "\r\n";
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    // The byte-order mark is no part of the text; a second one, or one the text begins with, is.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        QString text = utf16(QByteArrayView(bytes).sliced(2));
        // A surrogate without its pair is no character: it becomes the replacement character, as invalid UTF-8 does.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (text.at(i).isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return utf8(QByteArrayView(bytes).sliced(3));
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(bytes);
}

QChar detectSeparator(const QString& text)
{
    const QChar candidates[] = {u';', u'\t', u','};
    int counts[3] = {0, 0, 0};
    bool quoted = false;
    bool seen = false;
    for (const QChar c : text) {
        if (c == Quote)
            quoted = !quoted;
        if (!quoted && (c == u'\r' || c == u'\n')) {
            if (seen)
                break;
            continue;
        }
        if (!c.isSpace())
            seen = true;
        for (int i = 0; i < 3; ++i)
            if (!quoted && c == candidates[i])
                ++counts[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
            best = i;
    return candidates[best];
}

Reader::Reader(const QString& text, QChar separator, qsizetype maxFields)
    : m_text(text), m_separator(separator), m_maxFields(maxFields)
{
}

void Reader::append(QStringView text)
{
    m_field += text;
    for (qsizetype i = 0; m_blankField && i < text.size(); ++i)
        m_blankField = text[i].isSpace();
}

void Reader::endField()
{
    if (m_record.fields.size() < m_maxFields)
        m_record.fields << m_field;
    ++m_record.fieldCount;
    m_blankRecord = m_blankRecord && m_blankField;
    m_field.clear();
    m_blankField = true;
}

bool Reader::endRecord(Record& record)
{
    endField();
    // A line of empty fields (a spreadsheet's empty row) holds no record.
    const bool kept = !m_blankRecord;
    if (kept)
        record = std::move(m_record);
    m_record = Record{m_line, {}, 0};
    m_blankRecord = true;
    return kept;
}

bool Reader::next(Record& record)
{
    // A record ends only outside quotes, so every call starts outside them.
    bool quoted = false;
    const qsizetype n = m_text.size();
    const auto nextIs = [&](QChar d) { return m_pos < n && m_text[m_pos] == d; };
    const auto plain = [&](QChar c) { return c != Quote && c != u'\r' && c != u'\n' && (quoted || c != m_separator); };
    while (m_pos < n) {
        // A run of ordinary characters goes into the field at once.
        const qsizetype run = m_pos;
        while (m_pos < n && plain(m_text[m_pos]))
            ++m_pos;
        if (m_pos > run)
            append(QStringView(m_text).mid(run, m_pos - run));
        if (m_pos == n)
            break;
        const QChar c = m_text[m_pos++];
        if (quoted) {
            if (c == Quote && nextIs(Quote)) {
                append(QStringView(&Quote, 1));
                ++m_pos;
            } else if (c == Quote) {
                quoted = false;
            } else {
                if (c == u'\n' || (c == u'\r' && !nextIs(u'\n')))
                    ++m_line;
                append(QStringView(&c, 1));
            }
        } else if (c == Quote && m_blankField) {
            // A quote opens a field only at its start; blanks before it are the writer's padding.
            m_field.clear();
            quoted = true;
        } else if (c == m_separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && nextIs(u'\n'))
                ++m_pos;
            ++m_line;
            if (endRecord(record))
                return true;
        } else {
            append(QStringView(&c, 1));
        }
    }
    if (m_done)
        return false;
    m_done = true;
    return (!m_field.isEmpty() || m_record.fieldCount > 0 || quoted) && endRecord(record);
}

} // namespace csv
