#include "widgets/Printer.h"

#include "core/PlatformError.h"

#include <QDir>
#include <QLibrary>

namespace {

printermodule::Maker g_linkedPrinter = nullptr;

} // namespace

void printermodule::link(Maker make)
{
    g_linkedPrinter = make;
}

std::unique_ptr<Printer> printermodule::load(const QString& executableDir)
{
    if (g_linkedPrinter)
        return std::unique_ptr<Printer>(g_linkedPrinter());
    // Beside the executable (the build tree), then in the library folder of the install it belongs to. The module
    // stays loaded for the rest of the run: the printer's code is its own.
    const QString installed =
        QDir::cleanPath(executableDir + QStringLiteral("/" VIRELAN_MODULES_FROM_BIN "/") + QLatin1String(FileName));
    for (const QString& candidate : {executableDir + QLatin1Char('/') + QLatin1String(FileName), installed}) {
        QLibrary module(candidate);
        if (const auto make = reinterpret_cast<Maker>(module.resolve(MakerName)))
            return std::unique_ptr<Printer>(make());
    }
    throw PlatformError(QStringLiteral("Impossible de charger le module d'impression %1").arg(installed));
}
