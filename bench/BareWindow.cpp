// The yardstick for start-up time: a bare Qt main window with a menu bar, shown and left running.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.menuBar()->addMenu(QStringLiteral("&Fichier"));
    window.resize(599, 454);
    window.show();
    return app.exec();
}
