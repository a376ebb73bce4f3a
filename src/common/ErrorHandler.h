#pragma once

#include "common/PlatformError.h"

#include <QString>
#include <utility>

class QWidget;

namespace errors {

// The application's general error handler: shows the message in an error box captioned with the
// application title. The operation that raised it has stopped there.
void report(const PlatformError& error, QWidget* parent = nullptr);

// Runs one user command; a platform failure inside it is reported and ends the command.
template <typename F>
void guarded(QWidget* parent, F&& command)
{
    try {
        std::forward<F>(command)();
    } catch (const PlatformError& error) {
        report(error, parent);
    }
}

} // namespace errors
