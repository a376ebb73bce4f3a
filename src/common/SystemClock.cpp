#include "common/SystemClock.h"

#include <QProcess>
#include <ctime>

namespace systemclock {

bool setLocal(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return false;
    // timedatectl talks to timedated over D-Bus; it fails quickly where systemd does not run.
    QProcess timedatectl;
    timedatectl.start(QStringLiteral("timedatectl"),
                      {QStringLiteral("set-time"), dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
    // The system may first ask the user to authenticate in a window of its own: leave time to type a password.
    if (timedatectl.waitForFinished(120000) && timedatectl.exitStatus() == QProcess::NormalExit &&
        timedatectl.exitCode() == 0)
        return true;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(dateTime.toSecsSinceEpoch());
    ts.tv_nsec = 0;
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

} // namespace systemclock
