#include "tools/Texte.h"

#include "common/Fonts.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

TTexte::TTexte(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Texte"));
    setWindowTitle(QStringLiteral("Texte"));
    resize(676, 402);
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(0, 65, 676, 337);
}

void TTexte::Init()
{
    RichEdit1->document()->clear();
    RichEdit1->setCurrentCharFormat(QTextCharFormat());
    m_hasLines = false;
}

void TTexte::Ajout(const QString& line)
{
    QTextCursor cursor(RichEdit1->document());
    cursor.movePosition(QTextCursor::End);
    if (m_hasLines || !RichEdit1->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(line, QTextCharFormat());
    m_hasLines = true;
}
