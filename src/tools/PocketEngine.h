#pragma once

#include "tools/Real48.h"

#include <QChar>
#include <QString>

// The calculator without its window: a display text, a running value and a pending operator, evaluated
// left to right without precedence. Failures are raised as PlatformError where the operation stops,
// so whatever had not yet been stored keeps its former value.
class PocketEngine
{
public:
    const QString& display() const { return m_display; }
    Real48 accumulator() const { return m_accumulator; }
    Real48 operand() const { return m_operand; }
    // '+', '-', '*', '/' or a null character when none is pending.
    QChar pendingOperator() const { return m_pending; }
    bool isRunning() const { return m_running; }
    bool isFreshEntry() const { return m_freshEntry; }

    // Empties the display and forgets the running value and the pending operator; the fresh-entry
    // flag stays as it was.
    void clear();
    // A digit '0' to '9' or the comma: replaces the display after a result, extends it otherwise.
    void type(QChar character);
    // "=": folds the number on the display into the running value with the pending operator.
    void evaluate();
    // "+", "-", "*", "/": evaluates, then makes the operator pending.
    void applyOperator(QChar op);
    // "1/x" and "sqr": computed in long double, shown with 15 digits, then taken as the running value.
    void reciprocal();
    void squareRoot();

private:
    Real48 readOperand();
    void showUnary(long double result);

    QString m_display;
    Real48 m_accumulator;
    Real48 m_operand;
    QChar m_pending;
    bool m_running = false;
    bool m_freshEntry = false;
};
