#include "common/MessageText.h"

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
        if (first[i].size() <= ListedLength) {
            shown << first[i];
            continue;
        }
        // Never half of a character written as a pair.
        qsizetype cut = ListedLength - 1;
        if (first[i][cut - 1].isHighSurrogate())
            --cut;
        shown << first[i].left(cut) + QChar(0x2026);
    }
    if (total > shown.size())
        shown << QStringLiteral("... et %1 autres %2.").arg(number(total - shown.size()), others);
    return shown.join(separator);
}

} // namespace messagetext
