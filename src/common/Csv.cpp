#include "common/Csv.h"

#include "common/Cp1252.h"

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
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
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

QList<Record> parse(const QString& text, QChar separator)
{
    QList<Record> records;
    Record record;
    QString current;
    bool quoted = false;
    int line = 1;
    record.line = 1;
    const auto endField = [&] {
        record.fields << current;
        current.clear();
    };
    const auto endRecord = [&] {
        endField();
        // A line of empty fields (a spreadsheet's empty row) holds no record.
        bool blank = true;
        for (const QString& f : record.fields)
            blank = blank && f.trimmed().isEmpty();
        if (!blank)
            records << record;
        record = Record{line, {}};
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == Quote && i + 1 < n && text[i + 1] == Quote) {
                current += Quote;
                ++i;
            } else if (c == Quote) {
                quoted = false;
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                    ++line;
                current += c;
            }
        } else if (c == Quote && current.trimmed().isEmpty()) {
            // A quote opens a field only at its start; blanks before it are the writer's padding.
            current.clear();
            quoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            ++line;
            endRecord();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty() || !record.fields.isEmpty() || quoted)
        endRecord();
    return records;
}

} // namespace csv
