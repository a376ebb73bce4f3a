#include "common/PlatformError.h"

PlatformError::PlatformError(QString message)
    : m_message(std::move(message)), m_utf8(m_message.toUtf8())
{
}

PlatformError PlatformError::cannotOpen(const QString& fileName)
{
    return PlatformError(QStringLiteral("Ne peut ouvrir le fichier %1").arg(fileName));
}

PlatformError PlatformError::cannotCreate(const QString& fileName)
{
    return PlatformError(QStringLiteral("Ne peut créer le fichier %1").arg(fileName));
}

PlatformError PlatformError::ioError(int code)
{
    return PlatformError(QStringLiteral("Erreur E/S %1").arg(code));
}

PlatformError PlatformError::notAFloat(const QString& text)
{
    return PlatformError(QStringLiteral("'%1' n'est pas une valeur flottante correcte").arg(text));
}

PlatformError PlatformError::notADate(const QString& text)
{
    return PlatformError(QStringLiteral("'%1' n'est pas une date correcte").arg(text));
}

PlatformError PlatformError::unknownPictureExtension(const QString& extension)
{
    return PlatformError(QStringLiteral("Extension de fichier graphique inconnue (.%1)").arg(extension));
}
