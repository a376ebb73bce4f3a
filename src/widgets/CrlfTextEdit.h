#pragma once

#include <QPlainTextEdit>

// A plain-text box over a text whose lines end in CR LF. The text it is given comes back exactly, whatever it
// holds, until the user changes it; from then on it comes back as the box shows it, non-breaking spaces
// included, every line ending in CR LF. (The box's own plain-text form turns non-breaking spaces into
// blanks, and a lone CR, a lone LF and CR LF all into one kind of line end.)
class CrlfTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CrlfTextEdit(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}

    void setCrlfText(const QString& text);
    QString crlfText() const;

private:
    QString m_given;
    // The document's own text right after m_given was shown: while it stays the same, nothing was changed.
    QString m_shown;
};
