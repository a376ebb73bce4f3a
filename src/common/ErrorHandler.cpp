#include "common/ErrorHandler.h"

#include "common/Seams.h"

#include <QCoreApplication>

namespace errors {

void report(const PlatformError& error, QWidget* parent)
{
    seams().message(parent, Seams::MessageKind::Error, QCoreApplication::applicationName(), error.message(),
                    {QStringLiteral("OK")}, 0, 0);
}

} // namespace errors
