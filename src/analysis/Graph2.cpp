#include "analysis/Graph2.h"

#include "common/Fonts.h"

TGraph2::TGraph2(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graph2"));
    setWindowTitle(QStringLiteral("Suivi d'un élève"));
    resize(536, 344);
}
