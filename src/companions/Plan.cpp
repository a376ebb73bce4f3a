#include "companions/Plan.h"

#include "common/Fonts.h"

TPlan::TPlan(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Plan"));
    setWindowTitle(QStringLiteral("Plan de la classe"));
    resize(536, 343);
    setFixedSize(536, 343);
}

void TPlan::Charge(const QString&)
{
}

void TPlan::Sauve(const QString&)
{
}
