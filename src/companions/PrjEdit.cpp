#include "companions/PrjEdit.h"

#include "common/Fonts.h"

TPrjEdit::TPrjEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PrjEdit"));
    setWindowTitle(QStringLiteral("Définir les Projets"));
    resize(306, 65);
    setFixedSize(306, 65);
}
