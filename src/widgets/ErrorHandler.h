#pragma once

#include "core/PlatformError.h"

#include <QString>
#include <QStringList>
#include <utility>

class QWidget;

namespace errors {

// The application's general error handler: shows the message in an error box captioned with the
// application title. The operation that raised it has stopped there.
void report(const PlatformError& error, QWidget* parent = nullptr);

// After a file could not be written at quit or close (the error already shown): asks whether to leave without
// those files. True for "&Oui"; "&Non", the default, keeps the program or the window open.
bool leaveWithout(QWidget* parent, const QStringList& files);

// Before a save writes over a file someone else changed since the program read or wrote it: asks whether to
// replace it. True for "&Oui"; "&Non", the default, writes nothing.
bool mayReplace(QWidget* parent, const QString& file);

// Runs one user command; a platform failure inside it is reported and ends the command.
template <typename F> void guarded(QWidget* parent, F&& command)
{
    try {
        std::forward<F>(command)();
    } catch (const PlatformError& error) {
        report(error, parent);
    }
}

} // namespace errors
