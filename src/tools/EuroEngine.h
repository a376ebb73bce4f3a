#pragma once

#include "tools/Real48.h"

#include <QChar>
#include <QString>

// The franc/euro converter without its window. The rate is kept as a whole number of hundred-thousandths
// of a franc per euro, so that the arrows step it by exactly 0,00001. A conversion that cannot be made is
// never reported: both displays are emptied instead.
class EuroEngine
{
public:
    static constexpr long double DesignRate = 655957;

    EuroEngine();

    const QString& input() const { return m_input; }
    const QString& result() const { return m_result; }
    bool isConverted() const { return m_converted; }
    Real48 rate() const { return m_rate; }
    // The rate in francs for one euro, in the general format with 15 digits: "6,55957".
    QString rateText() const;
    bool francsToEuros() const { return m_francsToEuros; }
    void setFrancsToEuros(bool francsToEuros) { m_francsToEuros = francsToEuros; }

    // The window is shown again: the displays stay, the next character extends the old amount.
    void activate() { m_converted = false; }
    // Run before every character a button adds: after a conversion both displays start afresh.
    void Init();
    // A digit or comma button.
    void press(QChar character);
    // A character typed on the keyboard; a carriage return converts.
    void keyPress(QChar character);
    // Converts the input into the result; false when it could not be done (displays not yet emptied).
    bool convert();

    void stepUp();
    void stepDown();
    // Sets the stored rate directly (a whole number of hundred-thousandths); below 1 becomes 1.
    void setRate(long double hundredThousandths);

private:
    QString m_input;
    QString m_result;
    Real48 m_rate;
    bool m_converted = false;
    bool m_francsToEuros = true;
};
