#include "tools/SizeSpinBox.h"

#include <QLineEdit>
#include <algorithm>

SizeSpinBox::SizeSpinBox(int minimum, int maximum, QWidget* parent)
    : QAbstractSpinBox(parent), m_min(minimum), m_max(maximum)
{
    connect(lineEdit(), &QLineEdit::textChanged, this, &SizeSpinBox::textChanged);
}

int SizeSpinBox::value() const
{
    bool ok = false;
    const int typed = text().trimmed().toInt(&ok);
    if (!ok || typed <= 0)
        return m_min;
    return std::min(typed, LargestTyped);
}

int SizeSpinBox::clamp(int value) const
{
    return std::clamp(value, m_min, m_max);
}

void SizeSpinBox::setValue(int value)
{
    const QString shown = QString::number(clamp(value));
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}

void SizeSpinBox::stepBy(int steps)
{
    setValue(value() + steps);
    selectAll();
}

QValidator::State SizeSpinBox::validate(QString& input, int&) const
{
    // Digits only, as many as the largest size has.
    if (input.size() > 4)
        return QValidator::Invalid;
    for (const QChar c : input)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SizeSpinBox::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void SizeSpinBox::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    bool ok = false;
    const int typed = text().trimmed().toInt(&ok);
    if (!ok || clamp(typed) != typed)
        setValue(value());
}
