#include "tools/Eurof.h"

#include "common/Fonts.h"

TEurof::TEurof(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Eurof"));
    setWindowTitle(QStringLiteral("Euro convertisseur"));
    resize(260, 273);
    setFixedSize(260, 273);
}
