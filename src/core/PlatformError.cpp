#include "core/PlatformError.h"

#include "core/MessageText.h"

PlatformError::PlatformError(QString message, QStringList files)
    : m_message(std::move(message)), m_files(std::move(files)), m_utf8(m_message.toUtf8())
{
}

PlatformError PlatformError::cannotOpen(const QString& fileName)
{
    return PlatformError(QStringLiteral("Ne peut ouvrir le fichier %1").arg(fileName), {fileName});
}

PlatformError PlatformError::cannotCreate(const QString& fileName)
{
    return PlatformError(QStringLiteral("Ne peut créer le fichier %1").arg(fileName), {fileName});
}

PlatformError PlatformError::refusedFile(const QString& fileName, const QString& fault, QStringView what)
{
    return PlatformError(QStringLiteral("Le fichier %1 %2 : ce n'est pas %3.").arg(fileName, fault, what), {fileName});
}

PlatformError PlatformError::tooLarge(const QString& fileName, qint64 maxBytes, QStringView what)
{
    return refusedFile(fileName, QStringLiteral("est trop grand (plus de %1)").arg(messagetext::megabytes(maxBytes)),
                       what);
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

PlatformError PlatformError::combine(const std::vector<PlatformError>& failures)
{
    QStringList messages;
    QStringList files;
    for (const PlatformError& failure : failures) {
        messages << failure.message();
        files << failure.files();
    }
    return PlatformError(messages.join(QLatin1Char('\n')), files);
}

void FailureList::raise() const
{
    if (m_failures.size() == 1)
        throw m_failures.front();
    if (!m_failures.empty())
        throw PlatformError::combine(m_failures);
}
