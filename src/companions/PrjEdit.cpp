#include "companions/PrjEdit.h"

#include "common/Fonts.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TPrjEdit::TPrjEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrjEdit"));
    setWindowTitle(QStringLiteral("Définir les Projets"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(fonts::msSansSerif(11));
    setFixedSize(306, 65);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 169, 49);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(15, 21, 148, 24);
    Edit1->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("Annuler"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(212, 4, 75, 25);
    Button2 = new QPushButton(QStringLiteral("OK"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(212, 36, 75, 25);
    // Neither button is pressed by Enter elsewhere than in the box; Escape cancels, as QDialog does.
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
}

void TPrjEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Edit1->setFocus();
    Edit1->selectAll();
}

bool TPrjEdit::eventFilter(QObject* watched, QEvent* event)
{
    // Edit1KeyPress: Enter in the box ends the dialog as "OK" does, and goes no further.
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
