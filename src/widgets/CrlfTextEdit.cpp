#include "widgets/CrlfTextEdit.h"

#include <QTextDocument>

void CrlfTextEdit::setCrlfText(const QString& text)
{
    setPlainText(text);
    m_given = text;
    m_shown = document()->toRawText();
}

QString CrlfTextEdit::crlfText() const
{
    const QString raw = document()->toRawText();
    if (raw == m_shown)
        return m_given;
    QString out;
    out.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == QLatin1Char('\n'))
            out += QLatin1String("\r\n");
        else
            out += c;
    }
    return out;
}
