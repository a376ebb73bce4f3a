#include "companions/Devoirs.h"

#include "common/Fonts.h"

TDevoirs::TDevoirs(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Devoirs"));
    setWindowTitle(QStringLiteral("Dates des devoirs"));
    resize(531, 319);
    setFixedSize(531, 319);
}
