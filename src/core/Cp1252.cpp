#include "core/Cp1252.h"

#include "core/MessageText.h"

#include <QSet>
#include <QStringList>

namespace {

// 0x80 to 0x9F; the undefined bytes keep the C1 control of the same value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int lookup(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace

namespace cp1252 {

QString refusedCharacters(const QString& text)
{
    QSet<char32_t> seen;
    QStringList names;
    for (const char32_t c : text.toUcs4()) {
        const bool single = c <= 0xFFFF && !QChar::isSurrogate(c);
        if ((single && lookup(char16_t(c)) >= 0) || seen.contains(c))
            continue;
        seen.insert(c);
        if (names.size() >= messagetext::ListedItems)
            continue;
        const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        // A character that shows nothing (a control, a lone half of a pair) is named by its code only.
        names << (QChar::isPrint(c) ? QString::fromUcs4(&c, 1) + QStringLiteral(" (") + code + QLatin1Char(')') : code);
    }
    return messagetext::listed(names, seen.size(), QStringLiteral(", "), QStringLiteral("caractères"));
}

QString decode(const QByteArray& bytes)
{
    // Latin-1 but for bytes 0x80 to 0x9F: Qt's own Latin-1 conversion, then those few bytes.
    QString out = QString::fromLatin1(bytes);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (b[i] >= 0x80 && b[i] < 0xA0)
            out[i] = QChar(kHigh[b[i] - 0x80]);
    return out;
}

QByteArray encode(const QString& text)
{
    QByteArray out;
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = static_cast<char>(byteOf(text[i]));
    return out;
}

bool canEncode(QChar c)
{
    return lookup(c.unicode()) >= 0;
}

unsigned char byteOf(QChar c)
{
    const int b = lookup(c.unicode());
    return static_cast<unsigned char>(b < 0 ? '?' : b);
}

} // namespace cp1252
