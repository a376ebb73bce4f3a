#include "companions/PlnEdit.h"

#include "common/Fonts.h"

TPlnEdit::TPlnEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PlnEdit"));
    setWindowTitle(QStringLiteral("Nom de l'élève"));
    resize(306, 65);
    setFixedSize(306, 65);
}
