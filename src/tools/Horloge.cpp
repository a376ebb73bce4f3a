#include "tools/Horloge.h"

#include "common/Fonts.h"

THorloge::THorloge(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Horloge"));
    setWindowTitle(QStringLiteral("Horloge"));
    resize(277, 156);
    setFixedSize(277, 156);
}
