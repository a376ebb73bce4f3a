// The yardstick for start-up time and idle memory: a bare Qt main window with a menu bar and a status bar,
// maximised over the whole screen as the program's frame is, shown and left running.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.menuBar()->addMenu(QStringLiteral("&Fichier"));
    window.statusBar()->showMessage(QStringLiteral("Prêt"));
    window.setGeometry(QApplication::primaryScreen()->availableGeometry());
    window.setWindowState(Qt::WindowMaximized);
    window.show();
    return app.exec();
}
