#include "companions/PlnEdit.h"

#include "common/Fonts.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>

TPlnEdit::TPlnEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PlnEdit"));
    setWindowTitle(QStringLiteral("Nom de l'élève"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(306, 65);
    setFont(fonts::msSansSerif(13));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(8, 8, 169, 49);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(15, 21, 148, 24);
    // The plan file ends a name at its first comma: a comma cannot be typed into a name, nor pasted.
    Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,]*")), Edit1));

    Button1 = new QPushButton(QStringLiteral("Annuler"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(212, 4, 75, 25);
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(212, 36, 75, 25);
    // Neither button is the default one, so Enter in the box closes nothing.
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
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
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TPlnEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - frameGeometry().center() + pos());
    FormActivate();
}
