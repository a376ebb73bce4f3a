#include "widgets/ErrorHandler.h"

#include "core/FileNames.h"
#include "widgets/Seams.h"

#include <QCoreApplication>

namespace errors {

void report(const PlatformError& error, QWidget* parent)
{
    seams().message(parent, Seams::MessageKind::Error, QCoreApplication::applicationName(), error.message(),
                    {QStringLiteral("OK")}, 0, 0);
}

bool leaveWithout(QWidget* parent, const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << filenames::lastComponent(file);
    const int answer = seams().message(parent, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
                                       QStringLiteral("Quitter sans enregistrer ") + names.join(QStringLiteral(", ")) +
                                           QStringLiteral(" ?"),
                                       {QStringLiteral("&Oui"), QStringLiteral("&Non")}, 1, 1);
    return answer == 0;
}

bool mayReplace(QWidget* parent, const QString& file)
{
    const int answer = seams().message(parent, Seams::MessageKind::Warning, QStringLiteral("Avertissement"),
                                       QStringLiteral("Le fichier %1 a été modifié par un autre programme depuis son "
                                                      "ouverture. Le remplacer par cette version ?")
                                           .arg(filenames::lastComponent(file)),
                                       {QStringLiteral("&Oui"), QStringLiteral("&Non")}, 1, 1);
    return answer == 0;
}

} // namespace errors
