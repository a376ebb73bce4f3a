#include "analysis/Rub.h"

#include "common/Fonts.h"

TRub::TRub(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Rub"));
    setWindowTitle(QStringLiteral("Définition des rubriques"));
    resize(334, 343);
    setFixedSize(334, 343);
}
