#include "app/MainForm.h"
#include "app/HelpWindow.h"
#include "app/Splash.h"
#include "app/ToolWindows.h"
#include "common/Fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    fonts::install();
    // Qt's own dialogs (files, printing, fonts) speak French like the rest of the program.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

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
