#include "core/MessageText.h"

namespace messagetext {

QString number(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QChar(0x00A0));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString megabytes(qint64 bytes)
{
    return number(bytes / (1024 * 1024)) + QStringLiteral(" Mo");
}

QString listed(const QStringList& first, qsizetype total, const QString& separator, const QString& others)
{
    QStringList shown;
    for (qsizetype i = 0; i < first.size() && i < ListedItems; ++i) {
        QString item = first[i].size() <= ListedLength ? first[i] : first[i].left(ListedLength - 1);
        // Never half of a character written as a pair.
        if (item.size() < first[i].size()) {
            if (item.back().isHighSurrogate())
                item.chop(1);
            item += QChar(0x2026);
        }
        // Each item stays on its line.
        for (QChar& c : item)
            if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
                c = u' ';
        shown << item;
    }
    if (total > shown.size())
        shown << QStringLiteral("... et %1 autres %2.").arg(number(total - shown.size()), others);
    return shown.join(separator);
}

} // namespace messagetext
