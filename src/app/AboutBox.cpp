#include "app/AboutBox.h"

#include "app/Emblem.h"
#include "widgets/FirstShow.h"
#include "widgets/Fonts.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("A propos"));
    setFont(fonts::msSansSerif(14));
    setFixedSize(367, 226);

    auto* panel = new QFrame(this);
    panel->setGeometry(10, 10, 346, 167);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setGeometry(10, 10, 80, 79);
    ProgramIcon->setPixmap(emblem::picture(80, 79));
    ProgramIcon->setScaledContents(true);

    ProductName = new QLabel(QStringLiteral("Vire Lan"), panel);
    ProductName->setFont(fonts::pixelFont(QStringLiteral("MS Sans Serif"), 17, true));
    ProductName->move(108, 20);
    firstshow::fitText(ProductName);

    Version = new QLabel(QStringLiteral("Version 2.0"), panel);
    Version->setFont(fonts::pixelFont(QStringLiteral("MS Sans Serif"), 17));
    Version->move(108, 49);
    firstshow::fitText(Version);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(148, 187, 80, 30);
    OKButton->setDefault(true);
    OKButton->setFocus();
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
