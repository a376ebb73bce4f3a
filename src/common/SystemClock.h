#pragma once

#include <QDateTime>

namespace systemclock {

// Sets the computer's local date and time: through systemd's timedated where it runs,
// else directly with clock_settime. Returns whether the system accepted.
bool setLocal(const QDateTime& dateTime);

} // namespace systemclock
