#include "tools/PocketEngine.h"

#include "core/FrenchNumbers.h"

#include <cmath>
#include <optional>

void PocketEngine::clear()
{
    m_display.clear();
    m_accumulator = Real48();
    m_operand = Real48();
    m_running = false;
    m_pending = QChar();
}

void PocketEngine::type(QChar character)
{
    if (m_freshEntry)
        m_display.clear();
    m_display += character;
    m_freshEntry = false;
}

Real48 PocketEngine::readOperand()
{
    const auto number = frnum::readExtended(m_display);
    if (!number)
        throw PlatformError::notAFloat(m_display);
    m_operand = Real48::store(*number);
    return m_operand;
}

void PocketEngine::evaluate()
{
    if (!m_running) {
        // The first value: a text that is no number, or one the 6-byte real cannot hold, is simply
        // wiped so that the user types again.
        const auto number = frnum::readExtended(m_display);
        std::optional<Real48> first;
        if (number) {
            try {
                first = Real48::store(*number);
            } catch (const PlatformError&) {
            }
        }
        if (!first) {
            m_display.clear();
            return;
        }
        m_accumulator = *first;
        m_running = true;
        m_freshEntry = true;
        return;
    }

    // The operand is always the number now shown, a result included: a repeated "=" applies the
    // pending operator with the previous result, so 2 + 3 = = = shows 5, 10, 20.
    const long double left = m_accumulator.value();
    const long double right = readOperand().value();
    long double result = left;
    switch (m_pending.unicode()) {
    case '+':
        result = left + right;
        break;
    case '-':
        result = left - right;
        break;
    case '*':
        result = left * right;
        break;
    case '/':
        if (right == 0)
            throw left == 0 ? fpu::invalidOperation() : fpu::divisionByZero();
        result = left / right;
        break;
    default:
        break;
    }
    m_accumulator = Real48::store(result);
    m_display = m_accumulator.displayText();
    m_freshEntry = true;
}

void PocketEngine::applyOperator(QChar op)
{
    evaluate();
    m_pending = op;
}

// The result is shown before it is stored: a reciprocal beyond the 6-byte range stays on the display
// while the overflow leaves the running value as it was.
void PocketEngine::showUnary(long double result)
{
    m_display = frnum::general15(result);
    m_accumulator = Real48::store(result);
    m_running = true;
    m_freshEntry = true;
}

void PocketEngine::reciprocal()
{
    const long double x = readOperand().value();
    if (x == 0)
        throw fpu::divisionByZero();
    showUnary(1.0L / x);
}

void PocketEngine::squareRoot()
{
    const long double x = readOperand().value();
    if (x < 0)
        throw fpu::invalidOperation();
    showUnary(std::sqrt(x));
}
