#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class QObject;

// Setting the computer's local date and time. The system's time service (systemd's timedated, over the
// system bus) is asked first and has the last word: only where there is no time service at all does the
// program set the clock itself.
namespace systemclock {

// What the system answered to a request.
enum class Answer
{
    Set,       // the clock is set
    NoService, // no time service runs here
    Refused,   // the service refused (automatic time on, authentication refused or cancelled, no answer...)
};

// Reads the time service's answer from the name of its D-Bus error, empty when it set the clock.
Answer answerOf(const QString& errorName);
// Why the clock was not set, in French, for a refusal of the service.
QString refusalText(const QString& errorName);

// Sets the clock without a service; returns why it could not, empty when it is set.
QString setDirectly(const QDateTime& dateTime);

// Asks the time service without waiting for its answer, which may take as long as the user takes to
// authenticate. `done` is then called on the context's thread with an empty text when the clock is set, or
// why it was not; not at all when the context is gone by then.
void setLocal(const QDateTime& dateTime, QObject* context, const std::function<void(const QString& refusal)>& done);

} // namespace systemclock
