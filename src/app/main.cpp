#include "app/MainForm.h"
#include "app/HelpWindow.h"
#include "app/Splash.h"
#include "app/ToolWindows.h"
#include "common/Fonts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fonts::install();

    auto* splash = new TSplash;
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
    HelpWindow::setHelpFile(QStringLiteral("Virelan.hlp"));

    auto* mainForm = new TMainForm;
    createToolWindows();

    delete splash;

    mainForm->show();
    const int result = app.exec();
    delete mainForm;
    destroyToolWindows();
    return result;
}
