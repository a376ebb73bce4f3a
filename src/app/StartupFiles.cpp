#include "app/StartupFiles.h"

#include <QDir>

namespace startupfiles {

QStringList classFiles(const QStringList& arguments, const QString& startDir)
{
    QStringList files;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
            continue;
        }
        if (argument.isEmpty() || (options && argument.startsWith(QLatin1Char('-'))))
            continue;
        files << QDir::cleanPath(QDir(startDir).absoluteFilePath(argument));
    }
    return files;
}

} // namespace startupfiles
