#include "companions/PlnEdit.h"

#include <QEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

TPlnEdit::TPlnEdit(QWidget* parent)
    : NameDialog(QStringLiteral("PlnEdit"), QStringLiteral("Nom de l'élève"), 13, parent)
{
    // The plan file ends a name at its first comma: a comma cannot be typed into a name, nor pasted.
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,]*")), Edit1));
}

void TPlnEdit::Init(const QString& text)
{
    Edit1->setText(text);
}

void TPlnEdit::FormActivate()
{
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TPlnEdit::changeEvent(QEvent* event)
{
    NameDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}
