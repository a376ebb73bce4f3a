#include "core/SystemClock.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <cerrno>
#include <ctime>

namespace systemclock {

namespace {

// Time enough to type a password in the system's authentication window.
constexpr int AnswerTimeoutMs = 120000;

const QString Generic = QStringLiteral("Le système a refusé de changer la date et l'heure.");

} // namespace

Answer answerOf(const QString& errorName)
{
    if (errorName.isEmpty())
        return Answer::Set;
    // No bus, nobody owning the service's name, or a service that could not be started.
    static const QStringList absent = {
        QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
        QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
        QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
        QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
    };
    if (absent.contains(errorName) || errorName.startsWith(QStringLiteral("org.freedesktop.DBus.Error.Spawn.")))
        return Answer::NoService;
    return Answer::Refused;
}

QString refusalText(const QString& errorName)
{
    if (errorName == QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"))
        return QStringLiteral("L'heure de l'ordinateur est réglée automatiquement : le système ne la laisse pas "
                              "changer à la main.");
    if (errorName == QStringLiteral("org.freedesktop.DBus.Error.AccessDenied") ||
        errorName == QStringLiteral("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired") ||
        errorName.startsWith(QStringLiteral("org.freedesktop.PolicyKit1.")))
        return QStringLiteral("Le système n'a pas autorisé le changement de la date et de l'heure.");
    if (errorName == QStringLiteral("org.freedesktop.DBus.Error.NoReply") ||
        errorName == QStringLiteral("org.freedesktop.DBus.Error.Timeout"))
        return QStringLiteral("Le système n'a pas répondu : la date et l'heure n'ont pas été changées.");
    return Generic;
}

QString setDirectly(const QDateTime& dateTime)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(dateTime.toSecsSinceEpoch());
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return {};
    if (errno == EPERM)
        return QStringLiteral("Vous n'avez pas le droit de changer la date et l'heure de l'ordinateur.");
    return Generic;
}

void setLocal(const QDateTime& dateTime, QObject* context, const std::function<void(const QString& refusal)>& done)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    // Microseconds since the epoch, absolute, and the user may be asked to authenticate.
    call << qlonglong(dateTime.toMSecsSinceEpoch() * 1000) << false << true;
    call.setInteractiveAuthorizationAllowed(true);
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        // No system bus, so no time service (and no call whose answer would ever come): the clock is set
        // directly, and the answer still comes as an event.
        QMetaObject::invokeMethod(
            context, [dateTime, done] { done(setDirectly(dateTime)); }, Qt::QueuedConnection);
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, AnswerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [dateTime, done](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         const QString error = w->isError() ? w->error().name() : QString();
                         switch (answerOf(error)) {
                         case Answer::Set:
                             done({});
                             break;
                         case Answer::NoService:
                             done(setDirectly(dateTime));
                             break;
                         case Answer::Refused:
                             done(refusalText(error));
                             break;
                         }
                     });
}

} // namespace systemclock
