#include "companions/Planning.h"

#include "common/Fonts.h"

TPlanning::TPlanning(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Planning"));
    setWindowTitle(QStringLiteral("Planning"));
    resize(620, 340);
}

void TPlanning::Charge(const QString&)
{
}

void TPlanning::Sauve(const QString&)
{
}
