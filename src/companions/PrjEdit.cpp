#include "companions/PrjEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

TPrjEdit::TPrjEdit(QWidget* parent)
    : NameDialog(QStringLiteral("PrjEdit"), QStringLiteral("Définir les Projets"), 11, parent)
{
    Edit1->installEventFilter(this);
}

void TPrjEdit::showEvent(QShowEvent* event)
{
    NameDialog::showEvent(event);
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
    return NameDialog::eventFilter(watched, event);
}
