#include "tools/Pocket.h"

#include "common/Fonts.h"

TPocket::TPocket(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Pocket"));
    setWindowTitle(QStringLiteral("Calculatrice"));
    resize(342, 219);
    setFixedSize(342, 219);
}
