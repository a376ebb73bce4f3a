#include "tools/Blocnotes.h"

#include "common/Fonts.h"

TBlocnotes::TBlocnotes(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Blocnotes"));
    setWindowTitle(QStringLiteral("Bloc-notes"));
    resize(533, 334);
    setFixedSize(533, 334);
}

void TBlocnotes::Charge(const QString&)
{
}

void TBlocnotes::Sauve(const QString&)
{
}
