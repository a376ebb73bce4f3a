#include "tools/Texte.h"

#include "common/Fonts.h"

TTexte::TTexte(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Texte"));
    setWindowTitle(QStringLiteral("Texte"));
    resize(676, 402);
}

void TTexte::Init()
{
}

void TTexte::Ajout(const QString&)
{
}
