#include "tools/Calendrier.h"

#include "common/Fonts.h"

TCalendrier::TCalendrier(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Calendrier"));
    setWindowTitle(QStringLiteral("Calendrier"));
    resize(369, 243);
}
