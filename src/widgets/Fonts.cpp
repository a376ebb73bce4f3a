#include "widgets/Fonts.h"

namespace fonts {

void install()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("System"), QStringLiteral("Liberation Sans"));
}

QFont pixelFont(const QString& family, int pixelSize, bool bold)
{
    // The two Windows screen fonts, which no document names, take their Linux family at once. Under its own
    // name each would be looked up in vain, then among the fallbacks of every installed font, before its
    // substitute is found; and the same face at the same size would be loaded again for each name.
    const bool screenFont = family == QLatin1String("MS Sans Serif") || family == QLatin1String("System");
    QFont font(screenFont ? QFont::substitute(family) : family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont screenFont(const QString& family, int pixelSize, bool bold)
{
    QFont font(QFont::substitute(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont msSansSerif(int pixelSize)
{
    return pixelFont(QStringLiteral("MS Sans Serif"), pixelSize);
}

QFont system(int pixelSize)
{
    // The Windows "System" font is a bold sans serif.
    return pixelFont(QStringLiteral("System"), pixelSize, true);
}

QString plainFamily(const QString& family)
{
    // " [foundry]" at the end, with the blanks before it. Plain text handling: the text editor's font list
    // asks this of every family at start-up.
    if (!family.endsWith(QLatin1Char(']')))
        return family;
    const qsizetype open = family.lastIndexOf(QLatin1Char('['));
    if (open < 0 || family.indexOf(QLatin1Char(']'), open) != family.size() - 1)
        return family;
    qsizetype end = open;
    while (end > 0 && family[end - 1].isSpace())
        --end;
    return family.left(end);
}

} // namespace fonts
