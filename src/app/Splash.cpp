#include "app/Splash.h"

#include "app/Emblem.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>

TSplash::TSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(318, 221);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::yellow);
    setPalette(pal);

    auto* panel = new QFrame(this);
    panel->setGeometry(0, 0, 318, 221);
    panel->setAutoFillBackground(true);
    QPalette teal = panel->palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    teal.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(teal);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setMidLineWidth(3);

    auto* image = new QLabel(panel);
    image->setGeometry(32, 16, 89, 113);
    image->setPixmap(emblem::picture(89, 113));
    image->setScaledContents(true);

    // Each text at the top left of a box that reaches the panel's inner edge, rather than a box measured to the
    // text: nothing is measured, and a font is loaded only when the splash is painted.
    auto* name = new QLabel(QStringLiteral("Vire Lan"), panel);
    name->setFont(fonts::screenFont(QStringLiteral("Arial"), 23, true));
    name->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    name->setGeometry(144, 48, 169, 40);

    auto* version = new QLabel(QStringLiteral("Version 2.0"), panel);
    version->setFont(fonts::pixelFont(QStringLiteral("MS Sans Serif"), 17, true));
    version->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    version->setGeometry(144, 96, 169, 40);

    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplash::showNow()
{
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
