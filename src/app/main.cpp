#include "app/MainForm.h"
#include "app/Splash.h"
#include "app/StartupFiles.h"
#include "app/ToolWindows.h"
#include "model/RecoveryStore.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Class files named on the command line (a file manager's "Open with"); Qt has taken its own options.
    const QStringList classFiles = startupfiles::classFiles(QApplication::arguments(), QDir::currentPath());
    fonts::install();
    // Qt's own dialogs (files, printing, fonts) speak French like the rest of the program.
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtFrench);

    auto splash = std::make_unique<TSplash>();
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Vire Lan"));
    // A desktop matches the windows to the menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VIRELAN_APP_ID));

    // The recovery copies live in the user's data folder, never beside a class; this run's go at its clean end,
    // after the frame and its windows.
    RecoveryStore recovery(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                           QStringLiteral("/recovery"));

    // The frame, then the tool windows it owns.
    TMainForm mainForm;
    mainForm.setRecovery(&recovery);
    mainForm.toolWindows().keepPhotosOnDisk();

    splash.reset();

    mainForm.show();
    // Once the frame is on screen with its notes and phrases loaded: what a killed run left is offered first, then
    // the files named open as if chosen with "&Ouvrir...".
    QTimer::singleShot(0, &mainForm, [&mainForm, classFiles] {
        mainForm.offerRecovery();
        if (!classFiles.isEmpty())
            mainForm.OpenClassFiles(classFiles);
    });
    return app.exec();
}
