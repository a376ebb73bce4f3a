#include "analysis/Graph.h"

#include "common/Fonts.h"

TGraph::TGraph(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graph"));
    setWindowTitle(QStringLiteral("Graphique des moyennes"));
    resize(536, 344);
}
