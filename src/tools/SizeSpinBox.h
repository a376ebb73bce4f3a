#pragma once

#include <QAbstractSpinBox>

// The font size box of the text editor. The arrows keep the value within the bounds, but a size typed
// beyond them is taken as typed (and applied) until the box loses the focus, when it is brought within
// the bounds. Every change of the text is reported by textChanged.
class SizeSpinBox : public QAbstractSpinBox
{
    Q_OBJECT

public:
    // A typed size never goes beyond what a paragraph can hold.
    static constexpr int LargestTyped = 1638;

    SizeSpinBox(int minimum, int maximum, QWidget* parent);
    // The size the text stands for: a text that is not a whole number (or a size of 0) counts as the minimum.
    int value() const;
    // Shows the value held within the bounds.
    void setValue(int value);
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int clamp(int value) const;

    int m_min;
    int m_max;
};
