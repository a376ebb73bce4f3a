#include "tools/EuroEngine.h"

#include "core/FrenchNumbers.h"

#include <limits>

EuroEngine::EuroEngine() : m_rate(Real48::store(DesignRate)) {}

QString EuroEngine::rateText() const
{
    return frnum::general15(m_rate.value() * 0.00001L);
}

void EuroEngine::Init()
{
    if (m_converted) {
        m_input.clear();
        m_result.clear();
    }
    m_converted = false;
}

void EuroEngine::press(QChar character)
{
    Init();
    m_input += character;
}

void EuroEngine::keyPress(QChar character)
{
    if (character == QLatin1Char('\r') && convert())
        return;
    Init();
    if (character == QLatin1Char('.'))
        character = QLatin1Char(',');
    if (character == QLatin1Char(',') || (character >= QLatin1Char('0') && character <= QLatin1Char('9')))
        m_input += character;
}

bool EuroEngine::convert()
{
    m_converted = true;
    const auto number = frnum::readExtended(m_input);
    if (!number)
        return false;
    try {
        const Real48 amount = Real48::store(*number);
        // Euros are counted in cents, francs in tenths: the franc result is rounded to 10 centimes.
        long double count = 0;
        long double unit = 0;
        if (m_francsToEuros) {
            const Real48 euros = Real48::store(amount.value() * 100000 / m_rate.value());
            count = frnum::roundHalfEven(euros.value() * 100);
            unit = 0.01L;
        } else {
            const Real48 tenthOfFrancs = Real48::store(amount.value() * m_rate.value() * 0.000001L);
            count = frnum::roundHalfEven(tenthOfFrancs.value() * 100);
            unit = 0.1L;
        }
        // The count is a signed 32-bit integer.
        if (count > std::numeric_limits<std::int32_t>::max() || count < std::numeric_limits<std::int32_t>::min())
            return false;
        m_result = frnum::general15(static_cast<std::int32_t>(count) * unit);
    } catch (const PlatformError&) {
        return false;
    }
    return true;
}

void EuroEngine::stepUp()
{
    m_rate = Real48::store(m_rate.value() + 1);
}

void EuroEngine::stepDown()
{
    setRate(m_rate.value() - 1);
}

void EuroEngine::setRate(long double hundredThousandths)
{
    m_rate = Real48::store(hundredThousandths < 1 ? 1 : hundredThousandths);
}
