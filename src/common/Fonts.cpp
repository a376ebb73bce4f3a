#include "common/Fonts.h"

#include <QRegularExpression>

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
    QFont font(family);
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
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return QString(family).remove(foundry);
}

} // namespace fonts
