#include "companions/Obs.h"

#include "common/Fonts.h"

TObs::TObs(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Obs"));
    setWindowTitle(QStringLiteral("Observations"));
    resize(446, 343);
    setFixedSize(446, 343);
}

void TObs::Charge()
{
}

void TObs::Sauve()
{
}

void TObs::Result(QString&)
{
}
